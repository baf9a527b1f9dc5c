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
#include <utility>
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

// Where the names and distances go, on a drawing whose y grows downwards (the window's and
// the file's alike), so that a name covers no other name, no dot and no arrowhead where the
// eight places around its dot allow, and a distance stays on its line clear of the names.
struct TRect {
    double Left = 0, Top = 0, Width = 0, Height = 0;
    bool Overlaps(const TRect& other) const {
        return Left < other.Left + other.Width && other.Left < Left + Width &&
               Top < other.Top + other.Height && other.Top < Top + Height;
    }
};

// The ends of a link's line from the dot at a to the dot at b, both at the dots' edges.
std::pair<TPoint, TPoint> LinkLineEnds(TPoint a, TPoint b, double radius);
// The box around the head of an arrow whose tip is at the edge of the dot at to.
TRect ArrowheadBox(TPoint from, TPoint to, double radius);

// For each node (dots[i - 1]) the box of its name (sizes: each name's width and height): the
// first of the eight places beside the dot (upper right, lower right, upper left, lower left,
// right, left, above, below) that covers no name placed before it, no dot and no arrowhead and
// stays within area, else the place that covers least.
std::vector<TRect> PlaceNames(const std::vector<TPoint>& dots, const std::vector<TPoint>& sizes,
                              double radius, const std::vector<TRect>& arrowheads,
                              const TRect& area);

// The centre of a distance label of the given size on the line from a to b: the middle, or
// the nearest of the points along the line whose label covers no name and no dot.
TPoint PlaceOnLine(TPoint a, TPoint b, TPoint size, const std::vector<TRect>& names,
                   const std::vector<TPoint>& dots, double radius);

std::string PictureSvg(const TNetworkPicture& picture, const TPictureMarks& marks = {});
