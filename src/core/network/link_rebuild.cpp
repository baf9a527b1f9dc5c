#include "core/network/link_rebuild.h"

#include <algorithm>
#include <cstddef>

namespace {

// The ways from i through k: whether one is shorter than row i says (a nonzero result), and,
// where through is given, a mark at each j whose way is as short. Blocks of 8 have a fixed
// trip count, so the compiler turns them into vector operations even at -O2.
constexpr int Block = 8;
template <bool Marks>
std::int32_t WaysThrough(const std::int32_t* __restrict__ rowI,
                         const std::int32_t* __restrict__ rowK, std::int32_t toK,
                         std::int32_t* __restrict__ through, int n) {
    std::int32_t shorter = 0;
    int j = 0;
    for (; j + Block <= n; j += Block) {
        for (int b = 0; b < Block; ++b) {
            const std::int32_t way = toK + rowK[j + b];
            shorter |= static_cast<std::int32_t>(way < rowI[j + b]);
            if constexpr (Marks) {
                through[j + b] |= static_cast<std::int32_t>(way == rowI[j + b]);
            }
        }
    }
    for (; j < n; ++j) {
        const std::int32_t way = toK + rowK[j];
        shorter |= static_cast<std::int32_t>(way < rowI[j]);
        if constexpr (Marks) {
            through[j] |= static_cast<std::int32_t>(way == rowI[j]);
        }
    }
    return shorter;
}

}  // namespace

TRebuiltLinks RebuildLinks(const std::vector<std::int32_t>& d, int nodes) {
    TRebuiltLinks rebuilt;
    const int n = nodes;
    const std::int32_t* const rows = d.data();
    // Nodes at 0 from each other both ways form a group; the first of each stands for it.
    std::vector<int> group(static_cast<std::size_t>(n) + 1, 0);
    for (int i = 1; i <= n; ++i) {
        group[static_cast<std::size_t>(i)] = i;
        for (int j = 1; j < i; ++j) {
            if (d[MatrixIndex(n, i, j)] == 0 && d[MatrixIndex(n, j, i)] == 0) {
                group[static_cast<std::size_t>(i)] = group[static_cast<std::size_t>(j)];
                break;
            }
        }
    }
    const auto first = [&group](int i) { return group[static_cast<std::size_t>(i)] == i; };
    rebuilt.Links.assign(static_cast<std::size_t>(n) * static_cast<std::size_t>(n), NoLink);
    // One pass over the ways i -> k -> j, row by row as the completion runs: a way shorter than
    // d(i,j) refuses the matrix; between the first nodes of groups, one as short as d(i,j) makes
    // the direct link (i,j) needless. With no ring of 0 among groups, the shortest way with the
    // most steps takes only the links that remain, so they give the matrix back.
    std::vector<std::int32_t> through(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i) {
        const std::int32_t* const rowI = rows + MatrixIndex(n, i, 1);
        std::fill(through.begin(), through.end(), 0);
        std::int32_t shorter = 0;
        for (int k = 1; k <= n; ++k) {
            const std::int32_t toK = rowI[k - 1];
            const std::int32_t* const rowK = rows + MatrixIndex(n, k, 1);
            if (toK >= MaxDistance) {
                continue;  // no way through k is shorter, nor as short as a pair below the cap
            }
            if (first(i) && first(k) && k != i) {
                // k is no way round to itself (d(k,k) = 0): what other nodes said of k stays.
                const std::int32_t toKThrough = through[static_cast<std::size_t>(k - 1)];
                shorter |= WaysThrough<true>(rowI, rowK, toK, through.data(), n);
                through[static_cast<std::size_t>(k - 1)] = toKThrough;
            } else {
                shorter |= WaysThrough<false>(rowI, rowK, toK, nullptr, n);
            }
        }
        if (shorter != 0) {
            // The first such pair of the row, and the first node it goes by.
            for (int j = 1; j <= n; ++j) {
                for (int k = 1; k <= n; ++k) {
                    const std::int32_t way = rowI[k - 1] + d[MatrixIndex(n, k, j)];
                    if (way < rowI[j - 1]) {
                        rebuilt.Links.clear();
                        rebuilt.Refusal = TUngivenDistance{
                            i, j,
                            "the distance from node " + std::to_string(i) + " to node " +
                                std::to_string(j) + " is " + std::to_string(rowI[j - 1]) +
                                ", longer than the " + std::to_string(way) + " by way of node " +
                                std::to_string(k) + ", which no links give"};
                        return rebuilt;
                    }
                }
            }
        }
        for (int j = 1; first(i) && j <= n; ++j) {
            const std::int32_t direct = rowI[j - 1];
            if (first(j) && j != i && direct < MaxDistance &&
                through[static_cast<std::size_t>(j - 1)] == 0) {
                rebuilt.Links[MatrixIndex(n, i, j)] = direct;
            }
        }
    }
    // Within a group: a ring of links of 0 in the order of the nodes (two nodes: both ways).
    for (int i = 1; i <= n; ++i) {
        if (!first(i)) {
            continue;
        }
        int previous = i;
        for (int j = i + 1; j <= n; ++j) {
            if (group[static_cast<std::size_t>(j)] == i) {
                rebuilt.Links[MatrixIndex(n, previous, j)] = 0;
                previous = j;
            }
        }
        if (previous != i) {
            rebuilt.Links[MatrixIndex(n, previous, i)] = 0;
        }
    }
    return rebuilt;
}

int RebuiltLinkCount(const TOpenedNetwork& opened) {
    return static_cast<int>(std::count_if(opened.Links.begin(), opened.Links.end(),
                                          [](std::int32_t link) { return link != NoLink; }));
}
