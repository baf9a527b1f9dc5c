#include "drawing/picture_drawing.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "core/file_texts/name_bytes.h"

namespace {

std::string NodeList(const TLayoutNetwork& network, const std::vector<int>& nodes) {
    std::string list;
    for (const int node : nodes) {
        list += (list.empty() ? "" : ", ") + NodeText(network, node);
    }
    return list;
}

double Length(TPoint a, TPoint b) {
    return std::sqrt((a.X - b.X) * (a.X - b.X) + (a.Y - b.Y) * (a.Y - b.Y));
}

double OverlapArea(const TRect& a, const TRect& b) {
    const double across = std::min(a.Left + a.Width, b.Left + b.Width) - std::max(a.Left, b.Left);
    const double down = std::min(a.Top + a.Height, b.Top + b.Height) - std::max(a.Top, b.Top);
    return across > 0 && down > 0 ? across * down : 0;
}

// An arrow's head: its length along the line and half its width across it.
constexpr double HeadLength = 9, HeadHalfWidth = 4;

// The tip of an arrow that comes along unit and ends at the edge of the dot at to, and the
// middle of its base.
std::pair<TPoint, TPoint> HeadAlong(TPoint to, TPoint unit, double radius) {
    const TPoint tip{to.X - unit.X * radius, to.Y - unit.Y * radius};
    return {tip, {tip.X - unit.X * HeadLength, tip.Y - unit.Y * HeadLength}};
}

TRect DotBox(TPoint p, double radius) {
    return {p.X - radius, p.Y - radius, 2 * radius, 2 * radius};
}

}  // namespace

std::string NodeText(const TLayoutNetwork& network, int node) {
    return std::to_string(node) + " " +
           TextOfNameBytes(network.Names[static_cast<std::size_t>(node - 1)]);
}

std::pair<TPoint, TPoint> LinkLineEnds(TPoint a, TPoint b, double radius) {
    const double length = Length(a, b);
    if (!(length > 2 * radius)) {
        return {a, b};
    }
    const TPoint along{(b.X - a.X) / length * radius, (b.Y - a.Y) / length * radius};
    return {{a.X + along.X, a.Y + along.Y}, {b.X - along.X, b.Y - along.Y}};
}

TRect ArrowheadBox(TPoint from, TPoint to, double radius) {
    const double length = Length(from, to);
    if (!(length > radius)) {
        return {};
    }
    const TPoint unit{(to.X - from.X) / length, (to.Y - from.Y) / length};
    const auto [tip, base] = HeadAlong(to, unit, radius);
    const double left = std::min(tip.X, base.X - std::abs(unit.Y) * HeadHalfWidth),
                 right = std::max(tip.X, base.X + std::abs(unit.Y) * HeadHalfWidth),
                 top = std::min(tip.Y, base.Y - std::abs(unit.X) * HeadHalfWidth),
                 bottom = std::max(tip.Y, base.Y + std::abs(unit.X) * HeadHalfWidth);
    return {left, top, right - left, bottom - top};
}

std::vector<TRect> PlaceNames(const std::vector<TPoint>& dots, const std::vector<TPoint>& sizes,
                              double radius, const std::vector<TRect>& arrowheads,
                              const TRect& area, std::vector<char>* crowded) {
    std::vector<TRect> names, shown;
    if (crowded) {
        crowded->assign(dots.size(), 0);
    }
    const double slant = 0.7 * radius + 1, side = radius + 2;
    for (std::size_t node = 0; node < dots.size(); ++node) {
        const TPoint p = dots[node];
        const double w = sizes[node].X, h = sizes[node].Y;
        const TRect places[8] = {
            {p.X + slant, p.Y - slant - h, w, h},     {p.X + slant, p.Y + slant, w, h},
            {p.X - slant - w, p.Y - slant - h, w, h}, {p.X - slant - w, p.Y + slant, w, h},
            {p.X + side, p.Y - h / 2, w, h},          {p.X - side - w, p.Y - h / 2, w, h},
            {p.X - w / 2, p.Y - side - h, w, h},      {p.X - w / 2, p.Y + side, w, h},
        };
        // What lies within reach of any of the eight places.
        const TRect reach{p.X - side - w, p.Y - side - h, 2 * (side + w), 2 * (side + h)};
        std::vector<TRect> near;
        for (std::size_t other = 0; other < dots.size(); ++other) {
            const TRect dot = DotBox(dots[other], radius);
            if (other != node && dot.Overlaps(reach)) {
                near.push_back(dot);
            }
        }
        const std::vector<TRect>* const obstacles[] = {&shown, &arrowheads};
        for (const std::vector<TRect>* boxes : obstacles) {
            std::copy_if(boxes->begin(), boxes->end(), std::back_inserter(near),
                         [&](const TRect& box) { return box.Overlaps(reach); });
        }
        TRect best = places[0];
        double least = -1;
        for (const TRect& place : places) {
            const bool inside = place.Left >= area.Left && place.Top >= area.Top &&
                                place.Left + place.Width <= area.Left + area.Width &&
                                place.Top + place.Height <= area.Top + area.Height;
            // Where names may be left out, one is drawn only whole and clear of every other.
            if (crowded &&
                (!inside || std::any_of(shown.begin(), shown.end(),
                                        [&](const TRect& name) { return place.Overlaps(name); }))) {
                continue;
            }
            double covered = inside ? 0 : place.Width * place.Height - OverlapArea(place, area);
            for (const TRect& box : near) {
                covered += OverlapArea(place, box);
            }
            if (least < 0 || covered < least) {
                least = covered;
                best = place;
            }
            if (covered == 0) {
                break;
            }
        }
        if (crowded && least < 0) {
            (*crowded)[node] = 1;
        } else {
            shown.push_back(best);
        }
        names.push_back(best);
    }
    return names;
}

TPoint PlaceOnLine(TPoint a, TPoint b, TPoint size, const std::vector<TRect>& names,
                   const std::vector<TPoint>& dots, double radius) {
    for (const double t : {0.5, 0.4, 0.6, 0.3, 0.7, 0.2, 0.8}) {
        const TPoint centre{a.X + (b.X - a.X) * t, a.Y + (b.Y - a.Y) * t};
        const TRect label{centre.X - size.X / 2, centre.Y - size.Y / 2, size.X, size.Y};
        const bool clear = std::none_of(names.begin(), names.end(),
                                        [&](const TRect& name) { return name.Overlaps(label); }) &&
                           std::none_of(dots.begin(), dots.end(), [&](TPoint dot) {
                               return DotBox(dot, radius).Overlaps(label);
                           });
        if (clear) {
            return centre;
        }
    }
    return {(a.X + b.X) / 2, (a.Y + b.Y) / 2};
}

std::vector<TDrawnLink> DrawnLinks(const TLayoutNetwork& network) {
    std::vector<TDrawnLink> links;
    for (int i = 1; i <= network.NumNodes; ++i) {
        for (int j = i + 1; j <= network.NumNodes; ++j) {
            const std::int32_t there = network.Link(i, j), back = network.Link(j, i);
            if (there != NoLink && back != NoLink) {
                links.push_back({i, j, true, there, back});
            } else if (there != NoLink) {
                links.push_back({i, j, false, there, 0});
            } else if (back != NoLink) {
                links.push_back({j, i, false, back, 0});
            }
        }
    }
    return links;
}

std::string DistanceLabel(const TDrawnLink& link) {
    std::string label = std::to_string(link.Distance);
    if (link.TwoWay && link.BackDistance != link.Distance) {
        label += " / " + std::to_string(link.BackDistance);
    }
    return label;
}

const char* NodeKindText(TNodeKind kind) {
    switch (kind) {
        case TNodeKind::Unreached:
            return "no other node reaches it";
        case TNodeKind::Unreaching:
            return "it reaches no other node";
        case TNodeKind::Isolated:
            return "cut off both ways";
        case TNodeKind::Joined:
            break;
    }
    return "";
}

const char* NodeKindColour(TNodeKind kind) {
    switch (kind) {
        case TNodeKind::Unreached:
            return "#c0392b";
        case TNodeKind::Unreaching:
            return "#e67e22";
        case TNodeKind::Isolated:
            return "#8e44ad";
        case TNodeKind::Joined:
            break;
    }
    return "#2c3e50";
}

TNodeKind NodeKindOf(const TNetworkPicture& picture, int node) {
    const bool unreached = std::find(picture.Unreached.begin(), picture.Unreached.end(), node) !=
                           picture.Unreached.end();
    const bool unreaching = std::find(picture.Unreaching.begin(), picture.Unreaching.end(), node) !=
                            picture.Unreaching.end();
    return unreached && unreaching ? TNodeKind::Isolated
           : unreached             ? TNodeKind::Unreached
           : unreaching            ? TNodeKind::Unreaching
                                   : TNodeKind::Joined;
}

std::string PictureDescription(const TNetworkPicture& picture) {
    const TLayoutNetwork& network = picture.Network;
    int links = 0, twoWay = 0;
    for (const TDrawnLink& link : DrawnLinks(network)) {
        links += link.TwoWay ? 2 : 1;
        twoWay += link.TwoWay ? 1 : 0;
    }
    const auto counted = [](int count, const char* one, const char* many) {
        return std::to_string(count) + " " + (count == 1 ? one : many);
    };
    std::string text =
        "Network picture: " + counted(network.NumNodes, "node", "nodes") + ", " +
        counted(links, "link", "links") + " (" +
        counted(twoWay, "two-way pair drawn as a line", "two-way pairs drawn as lines") + ", " +
        counted(links - 2 * twoWay, "one-way link drawn as an arrow",
                "one-way links drawn as arrows") +
        ").";
    if (picture.Parts > 1) {
        text += " The network falls into " + std::to_string(picture.Parts) +
                " parts that no link joins.";
    } else if (picture.Unreached.empty() && picture.Unreaching.empty()) {
        return text + " No node is cut off from the others.";
    }
    if (!picture.Unreached.empty()) {
        text += " Nodes that no other node reaches: " + NodeList(network, picture.Unreached) + ".";
    }
    if (!picture.Unreaching.empty()) {
        text += " Nodes that reach no other node: " + NodeList(network, picture.Unreaching) + ".";
    }
    return text;
}

std::string PictureSummary(const TNetworkPicture& picture) {
    int links = 0;
    for (const TDrawnLink& link : DrawnLinks(picture.Network)) {
        links += link.TwoWay ? 2 : 1;
    }
    std::vector<int> cutOff = picture.Unreached;
    cutOff.insert(cutOff.end(), picture.Unreaching.begin(), picture.Unreaching.end());
    std::sort(cutOff.begin(), cutOff.end());
    const auto cut = static_cast<int>(std::unique(cutOff.begin(), cutOff.end()) - cutOff.begin());
    const auto counted = [](int count, const std::string& one, const std::string& many) {
        return std::to_string(count) + " " + (count == 1 ? one : many);
    };
    return counted(picture.Network.NumNodes, "node", "nodes") + ", " +
           counted(links, "link", "links") + ", " + counted(picture.Parts, "part", "parts") + ", " +
           (cut == 0 ? std::string("no node cut off") : counted(cut, "node", "nodes") + " cut off");
}

std::vector<TPoint> FittedPositions(const std::vector<TPoint>& positions, double width,
                                    double height, double margin) {
    if (positions.empty()) {
        return {};
    }
    double left = positions[0].X, right = left, bottom = positions[0].Y, top = bottom;
    for (const TPoint& p : positions) {
        left = std::min(left, p.X);
        right = std::max(right, p.X);
        bottom = std::min(bottom, p.Y);
        top = std::max(top, p.Y);
    }
    const double spanX = right - left, spanY = top - bottom;
    const double roomX = std::max(width - 2 * margin, 1.0),
                 roomY = std::max(height - 2 * margin, 1.0);
    const double scale = spanX <= 0 && spanY <= 0 ? 1
                         : spanX <= 0             ? roomY / spanY
                         : spanY <= 0             ? roomX / spanX
                                                  : std::min(roomX / spanX, roomY / spanY);
    // Centred in the area; y grows downwards on the screen.
    const double offsetX = (width - spanX * scale) / 2, offsetY = (height - spanY * scale) / 2;
    std::vector<TPoint> fitted;
    for (const TPoint& p : positions) {
        fitted.push_back({offsetX + (p.X - left) * scale, offsetY + (top - p.Y) * scale});
    }
    return fitted;
}

std::optional<std::array<TPoint, 3>> ArrowheadCorners(TPoint from, TPoint to, double radius) {
    const TPoint along{to.X - from.X, to.Y - from.Y};
    const double length = std::hypot(along.X, along.Y);
    if (length <= radius + 2) {
        return std::nullopt;
    }
    const TPoint unit{along.X / length, along.Y / length}, across{-unit.Y, unit.X};
    const auto [tip, base] = HeadAlong(to, unit, radius);
    return std::array<TPoint, 3>{
        tip, TPoint{base.X + across.X * HeadHalfWidth, base.Y + across.Y * HeadHalfWidth},
        TPoint{base.X - across.X * HeadHalfWidth, base.Y - across.Y * HeadHalfWidth}};
}

TPoint Viewed(TPoint p, const TDrawingView& view) {
    return {view.Centre.X + (p.X - view.Centre.X) * view.Scale + view.Offset.X,
            view.Centre.Y + (p.Y - view.Centre.Y) * view.Scale + view.Offset.Y};
}

TPictureDrawing PictureDrawing(const TNetworkPicture& picture, const TPictureMarks& marks,
                               const TDrawingArea& area, const TMeasure& measure) {
    const TLayoutNetwork& network = picture.Network;
    TPictureDrawing drawing;
    drawing.Description = PictureDescription(picture);
    drawing.Summary = PictureSummary(picture);
    const std::vector<TDrawnLink> links = DrawnLinks(network);
    const auto any = [&](bool twoWay) {
        return std::any_of(links.begin(), links.end(),
                           [&](const TDrawnLink& link) { return link.TwoWay == twoWay; });
    };
    if (any(true)) {
        drawing.Legend.push_back({TLegendMark::TwoWayLink, TNodeKind::Joined, "two-way link"});
    }
    if (any(false)) {
        drawing.Legend.push_back({TLegendMark::OneWayLink, TNodeKind::Joined, "one-way link"});
    }
    for (const TNodeKind kind : MarkedNodeKinds) {
        bool drawn = false;
        for (int node = 1; node <= network.NumNodes && !drawn; ++node) {
            drawn = NodeKindOf(picture, node) == kind;
        }
        if (drawn) {
            drawing.Legend.push_back({TLegendMark::Node, kind, NodeKindText(kind)});
        }
    }
    if (marks.Origin > 0) {
        drawing.Legend.push_back({TLegendMark::Origin, TNodeKind::Joined, "origin"});
    }
    if (marks.Destination > 0) {
        drawing.Legend.push_back({TLegendMark::Destination, TNodeKind::Joined, "destination"});
    }
    std::vector<TPoint> at =
        FittedPositions(picture.Positions, area.Width, area.Height, area.Margin);
    if (at.size() != static_cast<std::size_t>(network.NumNodes)) {
        return drawing;
    }
    drawing.LaidOut = true;
    if (area.View) {
        for (TPoint& p : at) {
            p = Viewed(p, *area.View);
        }
    }
    const auto point = [&](int node) { return at[static_cast<std::size_t>(node - 1)]; };
    for (const TDrawnLink& link : DrawnLinks(network)) {
        TDrawnLine line{link, {}, {}, std::nullopt, {}, {}, {}};
        std::tie(line.From, line.To) = LinkLineEnds(point(link.From), point(link.To), area.Radius);
        if (!link.TwoWay) {
            line.Arrowhead = ArrowheadCorners(point(link.From), point(link.To), area.Radius);
        }
        drawing.Lines.push_back(std::move(line));
    }
    std::vector<TRect> arrowheads;
    for (const TDrawnLine& line : drawing.Lines) {
        if (!line.Link.TwoWay) {
            arrowheads.push_back(
                ArrowheadBox(point(line.Link.From), point(line.Link.To), area.Radius));
        }
    }
    std::vector<TPoint> sizes;
    for (const std::string& name : network.Names) {
        drawing.Names.push_back({TextOfNameBytes(name), {}});
        sizes.push_back(measure(drawing.Names.back().Text));
    }
    std::vector<char> crowded;
    std::vector<TRect> boxes =
        PlaceNames(at, sizes, area.Radius, arrowheads, {0, 0, area.Width, area.Height}, &crowded);
    int hidden = 0;
    for (std::size_t node = 0; node < boxes.size(); ++node) {
        drawing.Names[node].Box = boxes[node];
        drawing.Names[node].Crowded = crowded[node] != 0;
        hidden += crowded[node];
    }
    if (hidden > 0) {
        drawing.Legend.push_back({TLegendMark::CrowdedNames, TNodeKind::Joined,
                                  "names of " + std::to_string(hidden) + " crowded " +
                                      (hidden == 1 ? "node" : "nodes") + " hidden"});
    }
    // Distances keep clear of the names drawn.
    std::vector<TRect> drawnNames;
    for (std::size_t node = 0; node < boxes.size(); ++node) {
        if (!crowded[node]) {
            drawnNames.push_back(boxes[node]);
        }
    }
    if (marks.Distances) {
        for (TDrawnLine& line : drawing.Lines) {
            line.Label = DistanceLabel(line.Link);
            line.LabelSize = measure(line.Label);
            line.LabelCentre = PlaceOnLine(point(line.Link.From), point(line.Link.To),
                                           line.LabelSize, drawnNames, at, area.Radius);
        }
    }
    for (int node = 1; node <= network.NumNodes; ++node) {
        drawing.Dots.push_back({point(node), NodeKindOf(picture, node),
                                node == marks.Origin        ? TRing::Origin
                                : node == marks.Destination ? TRing::Destination
                                                            : TRing::None});
    }
    return drawing;
}
