#pragma once

// The texts of the node window that need no window: the lines of the node list and the count
// under it. How a typed name is held is in name_bytes.h.

#include <cstdint>
#include <string>
#include <vector>

#include "core/network/network_store.h"
#include "core/numbers/real48.h"

// One line of the node list, 63 characters in fixed columns:
//    1-4  node number, right-aligned        24-35  first demand, grouped, 1 decimal
//    7-21 first 15 characters of the name,  38-49  second demand
//         right-aligned                     52-63  fixed cost
// with two blanks between the columns. Node 7 "North Riverside Depot", 1234.5, 0, 10000:
//   "   7  North Riverside       1,234.5           0.0      10,000.0"
std::string NodeWindowListLine(std::int32_t node, const std::string& name, Real48 firstDemand,
                               Real48 secondDemand, Real48 fixedCost);

// The lines of the node list for nodes 1..NumNodes of the store, in node order.
std::vector<std::string> NodeWindowListLines(const TNetworkStore& network);

// "12 Nodes in the network"; once the table is full
// "150 Nodes in the network.  NO MORE NODES MAY BE ADDED." (two blanks after the stop).
std::string NodeCountText(std::int32_t numNodes);

// The node that a text typed into a list of nodes finds, for the node list and the link
// window's node lists alike (line k - 1 is node k): digits alone find the node of that number
// ("76" node 76); any other text, or digits that number no node, the first node whose name
// begins with it, a letter of either case alike ("site 12" finds "Site 12 North"). The text is
// held bytes, as the names are (name_bytes.h). 0 when no node is found.
int NodeFoundByTyping(const TNetworkStore& network, const std::string& typed);
