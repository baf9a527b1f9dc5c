#pragma once

// The network's picture as an SVG document, and what the picture window draws alike: the
// links as drawn (a two-way link as one line, a one-way link as an arrow), the kinds of node
// and the description a screen reader is given.
//
// The document, UTF-8, holds one element per node (class "node", its number in data-node,
// its name as its text and title; "unreached" and "unreaching" added for the nodes no other
// node reaches and that reach no other) and one per drawn link (class "link" and "two-way" or
// "one-way", the ends in data-from and data-to, the distance in data-distance and, for a
// two-way link, the other direction's in data-back-distance), then a legend.

#include <cstdint>
#include <string>
#include <vector>

#include "layout/network_layout.h"

// One line of the picture: a two-way link (both directions present) or a one-way link.
struct TDrawnLink {
    int From = 0;
    int To = 0;
    bool TwoWay = false;
    std::int32_t Distance = 0;      // From -> To
    std::int32_t BackDistance = 0;  // To -> From, for a two-way link
};

// The links in the link list's order of pairs (by the lower number, then the higher).
std::vector<TDrawnLink> DrawnLinks(const TLayoutNetwork& network);

// "120", or for a two-way link whose directions differ "120 / 130" (From -> To first).
std::string DistanceLabel(const TDrawnLink& link);

// What a node is marked as.
enum class TNodeKind { Joined, Unreached, Unreaching, Isolated /* both */ };
TNodeKind NodeKindOf(const TNetworkPicture& picture, int node);
// The kinds a legend shows, in its order, and the words for each ("" for a joined node).
constexpr TNodeKind MarkedNodeKinds[] = {TNodeKind::Unreached, TNodeKind::Unreaching,
                                         TNodeKind::Isolated};
const char* NodeKindText(TNodeKind kind);

// The picture in words, UTF-8: how many nodes and links it shows and which nodes cannot be
// joined with the others, named as the details of the connectivity warning name them.
std::string PictureDescription(const TNetworkPicture& picture);

// What the picture shows besides the network.
struct TPictureMarks {
    int Origin = 0;       // the link window's selected origin, or 0
    int Destination = 0;  // its selected destination, or 0
    bool Distances = false;
};

// The positions fitted into a drawing area of the given size less a margin on every side,
// the same scale both ways, north up: the point of node i (1..) at [i - 1].
std::vector<TPoint> FittedPositions(const std::vector<TPoint>& positions, double width,
                                    double height, double margin);

std::string PictureSvg(const TNetworkPicture& picture, const TPictureMarks& marks = {});
