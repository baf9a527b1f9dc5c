#pragma once

// The link list as spreadsheet rows (tab_separated.h), to and from the clipboard: one
// direction of a link a row.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/network/network_store.h"
#include "core/rows/tab_separated.h"

// Every link as the link list shows them, under a header row: origin number and name,
// destination number and name, distance.
std::string LinkRowsText(const TNetworkStore& network);

struct TPastedLink {
    int Origin = 0;
    int Destination = 0;
    std::int32_t Distance = 0;
};

// All rows or none, as for nodes (node_rows.h).
struct TLinkRowsReading {
    std::vector<TPastedLink> Links;
    std::string Refusal;
};

constexpr std::string_view LinkRowShape =
    "A link row is origin, destination and distance, separated by tabs, or the five cells that "
    "Copy All Links writes.";
constexpr std::string_view NoLinkRows =
    "There are no link rows to add. A link row is origin, destination and distance, separated "
    "by tabs.";

// Reads rows of origin, destination and distance, or the rows that LinkRowsText writes
// (number, name, number, name, distance), against the nodes of the store. The distance is a
// distance cell (cell_values.h: 0 to 10000, rounded to an integer). A node is named by:
// - digits: the node of that number, unless a node is called by those digits; then that
//   node, if it is the one of that number or there is no node of that number, else the row
//   is refused naming both;   "01067" -> the node called 01067
// - any other text: the one node called so (as a typed name is held).
// In the copied form the number gives the node, and the name must be its name. A first row is
// a header when its distance cell (and, copied, its number cells) hold letters and no digit. The
// same link twice with two distances is refused naming both rows.
// Rows are checked one at a time as they are read; the links held are the distinct ones, at
// most one for each ordered pair of nodes.
TLinkRowsReading ReadLinkRows(std::string_view text, const TNetworkStore& network);
TLinkRowsReading ReadLinkRows(TTabSeparatedReader& rows, const TNetworkStore& network);

// Sets each link, one direction, to its distance; an existing link takes the new distance.
// The pending distance stays as it was.
void AddPastedLinks(TNetworkStore& network, const std::vector<TPastedLink>& links);
