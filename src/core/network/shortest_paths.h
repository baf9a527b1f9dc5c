#pragma once

// The shortest-distance matrix that the distance file is written from.
//
// CompleteShortestPaths reads the store's NumNodes and LinkRows (never changing them),
// allocates its PathRows[1..NumNodes], fills them with the shortest directed distance of
// every ordered pair, capped at MaxDistance, and sets NetworkConnected: true exactly
// when no distance had to be capped. A pair without any path therefore holds 10000 too.
//
//   link 1->2 of 5, one way:          PathRows 0, 5 / 10000, 0    not connected
//   links 1-2 and 2-3 of 6000 each:   (1,3) = (3,1) = 10000        not connected
//   links 1-2 and 2-3 of 5000 each:   (1,3) = (3,1) = 10000        connected
//
// Before anything is allocated, every link entry [i][j], i, j in 1..NumNodes, must be NoLink
// or 0..MaxDistance; any other value (or a NumNodes outside 0..MaxNodes) raises ERangeError.
// Every sum of two entries is then at most 2 * NoLink, well inside 32 bits.

#include <cstdint>
#include <vector>

#include "core/network/network_store.h"

// The save flow's completion: relaxation in the order k, i, j over whole rows.
void CompleteShortestPaths(TNetworkStore& network);

// The same relaxation without the cap, into a matrix of its own (nothing of the store
// changes): the shortest distance from node i to node j at [(i - 1) * NumNodes + j - 1], or
// NoLink where there is no path. The same checks raise ERangeError.
std::vector<std::int32_t> UncappedShortestPaths(const TNetworkStore& network);

// The links themselves in such a matrix, checked alike (0 on the diagonal), before any
// relaxation.
std::vector<std::int32_t> LinkMatrix(const TNetworkStore& network);

// Frees PathRows[1..NumNodes].
void ReleasePathRows(TNetworkStore& network);
