#pragma once

// The drawing of a laid-out network, the same for the picture window and the SVG file: the
// links as drawn (a two-way link as one line, a one-way link as an arrow), the kinds of node,
// where each dot, line, arrowhead, name and distance goes in a drawing area, the legend's
// entries and the description a screen reader is given. Standard C++ alone, no Qt: the window
// measures its texts with its font and paints what PictureDrawing gives, the file measures
// them by its characters and writes it.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
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

// "3 Name": a node's number and its name, UTF-8.
std::string NodeText(const TLayoutNetwork& network, int node);

// What a node is marked as.
enum class TNodeKind { Joined, Unreached, Unreaching, Isolated /* both */ };
TNodeKind NodeKindOf(const TNetworkPicture& picture, int node);
// The kinds a legend shows, in its order, and the words for each ("" for a joined node).
constexpr TNodeKind MarkedNodeKinds[] = {TNodeKind::Unreached, TNodeKind::Unreaching,
                                         TNodeKind::Isolated};
const char* NodeKindText(TNodeKind kind);

// The picture's colours, "#rrggbb": a node's dot by its kind, the links' lines and arrowheads,
// the rings of the origin and the destination, the distances.
const char* NodeKindColour(TNodeKind kind);
namespace PictureColour {
constexpr char Link[] = "#7f8c8d", Arrowhead[] = "#34495e", Origin[] = "#27ae60",
               Destination[] = "#2980b9", Distance[] = "#16a085";
}  // namespace PictureColour

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
// The corners of that head (its tip first), or none where the dots are too near for one.
std::optional<std::array<TPoint, 3>> ArrowheadCorners(TPoint from, TPoint to, double radius);

// For each node (dots[i - 1]) the box of its name (sizes: each name's width and height): the
// first of the eight places beside the dot (upper right, lower right, upper left, lower left,
// right, left, above, below) that covers no name placed before it, no dot and no arrowhead and
// stays within area, else of the places that cover no name the one that covers least. Where
// crowded is given, a name that every place would lay over another or take past the area's edge
// is crowded out: marked in crowded, its box the first place, and no name kept clear of it.
std::vector<TRect> PlaceNames(const std::vector<TPoint>& dots, const std::vector<TPoint>& sizes,
                              double radius, const std::vector<TRect>& arrowheads,
                              const TRect& area, std::vector<char>* crowded = nullptr);

// The centre of a distance label of the given size on the line from a to b: the middle, or
// the nearest of the points along the line whose label covers no name and no dot.
TPoint PlaceOnLine(TPoint a, TPoint b, TPoint size, const std::vector<TRect>& names,
                   const std::vector<TPoint>& dots, double radius);

// Where the network is drawn: an area of the given size (the legend apart) with a margin on
// every side, dots of the given radius; in the window also zoomed by Scale around Centre and
// moved by Offset.
struct TDrawingView {
    double Scale = 1;
    TPoint Centre;
    TPoint Offset;
};
struct TDrawingArea {
    double Width = 0, Height = 0, Margin = 0, Radius = 0;
    std::optional<TDrawingView> View;
};
// The point p of a fitted drawing as the view shows it.
TPoint Viewed(TPoint p, const TDrawingView& view);

// The width and height of a text (UTF-8) as it will be drawn.
using TMeasure = std::function<TPoint(const std::string& text)>;

// The ring around the link window's origin or destination.
enum class TRing { None, Origin, Destination };

// Everything drawn, in the area's coordinates (y downwards).
struct TDrawnDot {
    TPoint At;
    TNodeKind Kind = TNodeKind::Joined;
    TRing Ring = TRing::None;
};
struct TDrawnLine {
    TDrawnLink Link;
    TPoint From, To;                                 // the line's ends, at the dots' edges
    std::optional<std::array<TPoint, 3>> Arrowhead;  // a one-way link's head
    std::string Label;                               // its distance, with marks' Distances
    TPoint LabelCentre, LabelSize;
};
struct TDrawnName {
    std::string Text;  // UTF-8
    TRect Box;
    bool Crowded = false;  // left out of the drawing, shown only for a node picked or pointed at
};
// The legend's entries, in the order the file writes them.
enum class TLegendMark { TwoWayLink, OneWayLink, Node, Origin, Destination, CrowdedNames };
struct TLegendEntry {
    TLegendMark Mark = TLegendMark::TwoWayLink;
    TNodeKind Kind = TNodeKind::Joined;  // of a Node entry
    std::string Text;
};
struct TPictureDrawing {
    bool LaidOut = false;              // a position for every node; else no dot, line or name
    std::vector<TDrawnDot> Dots;       // node i at [i - 1]
    std::vector<TDrawnName> Names;     // node i's at [i - 1]
    std::vector<TDrawnLine> Lines;     // in DrawnLinks' order
    std::vector<TLegendEntry> Legend;  // only what is drawn
    std::string Description;           // PictureDescription
    std::string Summary;               // PictureSummary
};

// The picture's summary, shown under a saved drawing: "12 nodes, 30 links, 2 parts, 1 node cut
// off" ("1 part", "no node cut off").
std::string PictureSummary(const TNetworkPicture& picture);

// The picture drawn into area, its names and distances measured by measure.
TPictureDrawing PictureDrawing(const TNetworkPicture& picture, const TPictureMarks& marks,
                               const TDrawingArea& area, const TMeasure& measure);
