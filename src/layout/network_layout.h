#pragma once

// The network drawn to its distances: a position for every node such that each link's drawn
// length follows its distance, so that a network of roads between sites looks like the map of
// the sites.
//
// The network falls into parts (nodes joined by links either way). Each part is laid out on its
// own by stress minimization (weights 1/d² on the drawing distances, below) with stochastic
// gradient descent over its pairs and a decreasing step, started from the classical scaling of
// its distances where that has a plane to give, else from fixed positions; a later layout of the
// same nodes may start from the positions of the last one instead, so that a change of one link
// moves the rest little. Each part is then turned so that its longest spread runs across, the
// same way up every time, and the parts are set apart side by side, the lone nodes in a row of
// their own below them.
//
// Every number is made with the arithmetic the floating-point standard fixes exactly (no
// library sines or exponentials, no fused multiply-add, a random number generator of its own),
// so the same network from the same start gives the same positions on every machine.
//
// Standard C++ alone, no Qt: the windows run it on a worker thread, meshloom-export without a
// display. It keeps no state, so layouts may run on several threads at once.

#include <cstdint>
#include <string>
#include <vector>

#include "core/network/network_store.h"

// Where a node stands, when it came with a place (TSitePlace of the store).
struct TLayoutPlace {
    bool Given = false;
    double X = 0;
    double Y = 0;
    bool operator==(const TLayoutPlace&) const = default;
};

// What a picture needs of the store, copied so that a layout may run while the store changes.
struct TLayoutNetwork {
    int NumNodes = 0;
    std::vector<std::string> Names;  // node i's name at [i - 1], as its stored bytes
    // The direct distance from i to j at [(i - 1) * NumNodes + j - 1], or NoLink.
    std::vector<std::int32_t> Links;
    // Node i's place at [i - 1], and what the places mean; empty, or None, without places.
    std::vector<TLayoutPlace> Places;
    TPlaceKind PlaceKind = TPlaceKind::None;

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

// The parts of the network: the nodes (1..) joined by links either way, each part in node
// order, the parts by their first node. A node with no link is a part of its own.
std::vector<std::vector<int>> NetworkParts(const TLayoutNetwork& network);

// The distances the drawing follows, at [i * NumNodes + j] from 0: the shortest paths over the
// links taken both ways at the shorter of their two distances (the drawing places nodes, not
// directions), a link shorter than a quarter of the shortest link above 0 counted at that
// quarter (1 when no link is above 0), so that nodes joined by a link of 0 stand apart and
// nearer than any others. A pair of two parts stands at the largest joined distance and a half
// (at least 1).
std::vector<double> DrawingDistances(const TLayoutNetwork& network);

// The stress of positions against the drawing distances: the sum over the pairs of one part
// of ((drawn length - distance) / distance)².
double LayoutStress(const TLayoutNetwork& network, const std::vector<TPoint>& positions);

// Classical scaling: the positions in the plane whose distances best match the given ones
// (n x n, symmetric, zero diagonal) in the least-squares sense of their inner products. The
// two leading eigenvectors are found by a fixed iteration from fixed vectors, so the same
// distances always give the same positions. A second axis with nothing of the distances in it
// (all nodes on a line) is left 0 rather than drawn from rounding noise; all nodes at one point
// when no axis has anything.
std::vector<TPoint> ClassicalScaling(const std::vector<double>& distances, int n);

// Where the layout starts.
struct TLayoutStart {
    // The positions to start from (one per node); empty: the classical scaling of the
    // drawing distances.
    std::vector<TPoint> Positions;
    // Whether the nodes that lines pass over are nudged off them, at a small cost in stress.
    bool ClearOfDots = true;
};

// The positions of the nodes, in the units of the distances, y growing northwards: only the
// distances between them mean anything. No two nodes at a distance above 0 stand on one point,
// a part is drawn on one line only when it is a path, and no line of a link passes over the
// dot of a node it does not join (such nodes are nudged off it afterwards) where the nodes can
// move. A start from given positions keeps the drawing turned as it was.
//
// Where at least two nodes came with places, the drawing is their map instead: the places
// themselves, north up (on the globe, longitude and latitude drawn equirectangular at their
// mean latitude), and only the nodes without a place laid out among them.
std::vector<TPoint> LayOutNetwork(const TLayoutNetwork& network, const TLayoutStart& start = {});

// Positions for a changed network to start from, so that the drawing stays steady: each node
// of now at the position of the node of before with its name, a new node beside the nodes it
// is linked with (or beside the drawing's middle). Empty when no node kept its name.
std::vector<TPoint> StartBeside(const TLayoutNetwork& before, const std::vector<TPoint>& positions,
                                const TLayoutNetwork& now);

// A network laid out, with the marks a picture shows on it.
struct TNetworkPicture {
    TLayoutNetwork Network;
    std::vector<TPoint> Positions;
    std::vector<int> Unreached;   // the nodes no other node reaches
    std::vector<int> Unreaching;  // the nodes that reach no other node
    int Parts = 0;                // how many parts no link joins (NetworkParts)
};

// The network laid out (from start, see LayOutNetwork), its cut-off nodes and its parts.
TNetworkPicture PictureOf(const TLayoutNetwork& network, const TLayoutStart& start = {});

// The nodes cut off from the rest (core/network/connectivity_details.h) of a copied network, and
// how many parts it falls into.
void MarkCutOffNodes(TNetworkPicture& picture);
