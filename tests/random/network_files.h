#pragma once

// What the two saved files must hold for a network, worked out here from the network alone
// and independently of the program's own writers and shortest-path completion, so that a
// fault in those shows as a difference.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "core/numbers/real48.h"

// The network as it stood when "&Quit and Save Network" was pressed.
struct TSavedNetwork {
    int NumNodes = 0;
    std::vector<std::string> Names;  // node k at index k - 1
    std::vector<Real48> FirstDemands;
    std::vector<Real48> SecondDemands;
    std::vector<Real48> FixedCosts;
    std::vector<std::int32_t> Links;  // LinkRows[o][d] at (o - 1) * NumNodes + (d - 1)

    // Reads the node table and, when they exist, the link rows of the network store.
    static TSavedNetwork FromStore();

    std::int32_t Link(int origin, int destination) const {
        return Links[static_cast<std::size_t>((origin - 1) * NumNodes + (destination - 1))];
    }
};

struct TDistances {
    std::vector<std::int32_t> Capped;  // [i][j] at (i - 1) * N + (j - 1), each 0..10000
    bool Connected = true;             // no pair had to be capped
};

// The shortest distances of the tests' reference (tests/core/reference_paths.h), capped.
TDistances ShortestDistances(const TSavedNetwork& network);

// The node value rounded half up to 3 decimals, right-aligned in 15: 2.0625 -> "2.063".
std::string FixedThreeDecimals(const Real48& value);

QByteArray ExpectedDemandFile(const TSavedNetwork& network);
QByteArray ExpectedDistanceFile(const TDistances& distances);

// An empty text when bytes is that file, else where and how it differs (a wrong line count, a
// value out of bounds, the first line that differs).
QString DemandFileFault(const QByteArray& bytes, const TSavedNetwork& network);
QString DistanceFileFault(const QByteArray& bytes, const TSavedNetwork& network,
                          const TDistances& distances);
