#pragma once

// The links of a network rebuilt from its distances: the fewest direct links whose completed
// shortest distances (shortest_paths.h) give back the matrix exactly. A pair is joined
// directly unless a way through other nodes is as short. Nodes at distance 0 from each other
// both ways are joined in a ring of links of 0, so that no pair is lost; a pair at
// MaxDistance is taken as not joined (a distance file cannot tell it from a pair exactly
// MaxDistance apart, and completion writes both alike).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/network/network_store.h"

// The first pair, in the matrix's order, whose distance no links can give, and why.
struct TUngivenDistance {
    int From = 0;
    int To = 0;
    std::string Why;
};

struct TRebuiltLinks {
    std::vector<std::int32_t> Links;  // as the distances, NoLink where no direct link
    std::optional<TUngivenDistance> Refusal;
};
// The links of a distance matrix of nodes x nodes (the distance from i to j at
// MatrixIndex(nodes, i, j)); refused, naming the first such pair, when some
// d(i,j) > d(i,k) + d(k,j), as no links give.
TRebuiltLinks RebuildLinks(const std::vector<std::int32_t>& distances, int nodes);

// How many direct links the rebuild kept (each direction of a pair counts, as the link list
// shows them).
int RebuiltLinkCount(const TOpenedNetwork& opened);
