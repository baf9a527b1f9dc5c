#pragma once

// Which ordered pairs of a network cannot be joined within MaxDistance, and why: the details
// behind the warning that the network is not connected.
//
// Both functions read only NumNodes, LinkRows and NodeNames, so they may be called whether or
// not PathRows is allocated. Every live link entry must be NoLink or 0..MaxDistance, and
// NumNodes within 0..MaxNodes, as for the shortest paths; otherwise they raise ERangeError.

#include <cstdint>
#include <string>
#include <vector>

#include "core/network/network_store.h"

// An ordered pair whose shortest path is longer than MaxDistance, or that has no path at all.
struct TUnjoinedPair {
    int Origin = 0;
    int Destination = 0;
    bool HasPath = false;     // false: no path at all from Origin to Destination
    std::int32_t Length = 0;  // the uncapped length of the shortest path, when HasPath

    bool operator==(const TUnjoinedPair&) const = default;
};

// Every unjoined pair of the network, by origin and then by destination. The lengths are the
// true ones, so a pair joined by exactly MaxDistance is joined and is not among them.
std::vector<TUnjoinedPair> UnjoinedPairs(const TNetworkStore& network);

// The nodes cut off from the rest, by node number: those that no other node reaches (no path
// from any of the others) and those that reach no other node, as the details name them. Both
// are empty for a network of fewer than two nodes.
struct TCutOffNodes {
    std::vector<int> Unreached;
    std::vector<int> Unreaching;
};
TCutOffNodes CutOffNodes(const TNetworkStore& network);

// At most this many nodes are named in each of the two node lists of the details.
constexpr int DetailsListedNodes = 10;
// The details stop after this many lines; a last line then tells how many pairs were left.
constexpr int DetailsMaxLines = 50;

// The details text, lines separated by "\n", names as their stored bytes: the nodes that no
// other node reaches, the nodes that reach no other node, then the unjoined pairs grouped by
// origin, each with "no path" or the length of its shortest path:
//
//   Nodes that no other node reaches:
//     3 DEPOT
//   Nodes that reach no other node:
//     3 DEPOT
//   5 pairs cannot be joined within 10000:
//   From 1 NORTH
//     to 3 DEPOT: no path
//     to 4 HILL: shortest path 12000
//   ...
//   And 2 more pairs.
//
// Empty when every pair is joined.
std::string UnjoinedPairsDetails(const TNetworkStore& network);
