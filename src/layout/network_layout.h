#pragma once

// The network drawn to its distances: a position for every node such that each link's drawn
// length follows its distance, so that a network of roads between sites looks like the map of
// the sites.
//
// The positions come from stress majorization (Graphviz's neato) with the link distances as
// the edges' lengths. It starts from the classical scaling of the shortest distances, never
// from random positions, which can leave a map folded over on itself; a later layout of the
// same nodes may start from the positions of the last one instead, so that a change of one
// link moves the rest little. The same network from the same start always gives the same
// positions.
//
// Standard C++ and Graphviz's libraries alone, no Qt: the windows run it on a worker thread,
// meshloom-export without a display. Graphviz's layout is not reentrant, so LayOutNetwork
// runs one layout at a time, whatever thread calls it.

#include <cstdint>
#include <string>
#include <vector>

#include "core/network_store.h"

// What a picture needs of the store, copied so that a layout may run while the store changes.
struct TLayoutNetwork {
    int NumNodes = 0;
    std::vector<std::string> Names;  // node i's name at [i - 1], as its stored bytes
    // The direct distance from i to j at [(i - 1) * NumNodes + j - 1], or NoLink.
    std::vector<std::int32_t> Links;

    std::int32_t Link(int origin, int destination) const {
        return Links[static_cast<std::size_t>((origin - 1) * NumNodes + destination - 1)];
    }
    bool operator==(const TLayoutNetwork&) const = default;
};

// The nodes and links of the store; its link rows must be allocated.
TLayoutNetwork LayoutNetworkOf(const TNetworkStore& network);

struct TPoint {
    double X = 0;
    double Y = 0;
};

// The shortest distance between every two nodes, either way (the shorter of the two
// directions, for the drawing places nodes, not directions), at [i * NumNodes + j] from 0;
// a pair that cannot be joined either way stands at the largest joined distance and a half
// (at least 1), so that the parts of a network stand apart, but not far.
std::vector<double> DrawingDistances(const TLayoutNetwork& network);

// Classical scaling: the positions in the plane whose distances best match the given ones
// (n x n, symmetric, zero diagonal) in the least-squares sense of their inner products. The
// two leading eigenvectors are found by a fixed, seedless iteration, so the same distances
// always give the same positions.
std::vector<TPoint> ClassicalScaling(const std::vector<double>& distances, int n);

// Where the layout starts.
struct TLayoutStart {
    // The positions to start from (one per node); empty: the classical scaling of the
    // drawing distances, or, with RandomSeed, Graphviz's random start.
    std::vector<TPoint> Positions;
    int RandomSeed = 0;  // > 0: random positions from this seed (measured, never drawn)
};

// The positions of the nodes, in the units of the distances, the first node's at the
// origin side of nothing in particular: only the distances between them mean anything.
std::vector<TPoint> LayOutNetwork(const TLayoutNetwork& network, const TLayoutStart& start = {});

// A network laid out, with the marks a picture shows on it.
struct TNetworkPicture {
    TLayoutNetwork Network;
    std::vector<TPoint> Positions;
    std::vector<int> Unreached;   // the nodes no other node reaches
    std::vector<int> Unreaching;  // the nodes that reach no other node
};

// The network laid out (from start, see LayOutNetwork) and its cut-off nodes.
TNetworkPicture PictureOf(const TLayoutNetwork& network, const TLayoutStart& start = {});

// The nodes cut off from the rest (core/connectivity_details.h) of a copied network.
void MarkCutOffNodes(TNetworkPicture& picture);
