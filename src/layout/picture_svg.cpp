#include "layout/picture_svg.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>

#include "core/file_texts/name_bytes.h"
#include "core/file_texts/xml_text.h"

namespace {

// A coordinate with one decimal and a point, whatever the region.
std::string Number(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
    return std::string(text, end.ptr);
}

std::string NodeText(const TLayoutNetwork& network, int node) {
    return std::to_string(node) + " " +
           TextOfNameBytes(network.Names[static_cast<std::size_t>(node - 1)]);
}

std::string NodeList(const TLayoutNetwork& network, const std::vector<int>& nodes) {
    std::string list;
    for (const int node : nodes) {
        list += (list.empty() ? "" : ", ") + NodeText(network, node);
    }
    return list;
}

const char* KindClass(TNodeKind kind) {
    switch (kind) {
        case TNodeKind::Unreached:
            return " unreached";
        case TNodeKind::Unreaching:
            return " unreaching";
        case TNodeKind::Isolated:
            return " unreached unreaching";
        case TNodeKind::Joined:
            break;
    }
    return "";
}

const char* KindColour(TNodeKind kind) {
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

constexpr double Width = 800, Height = 600, Margin = 60, Radius = 5;
// The sans-serif face at 11 pixels, as most readers draw it: the height of a line, the
// baseline below its top, and a width per character that covers most names.
constexpr double LineHeight = 13, Baseline = 10, CharWidth = 6.6;

double Length(TPoint a, TPoint b) {
    return std::sqrt((a.X - b.X) * (a.X - b.X) + (a.Y - b.Y) * (a.Y - b.Y));
}

double OverlapArea(const TRect& a, const TRect& b) {
    const double across = std::min(a.Left + a.Width, b.Left + b.Width) - std::max(a.Left, b.Left);
    const double down = std::min(a.Top + a.Height, b.Top + b.Height) - std::max(a.Top, b.Top);
    return across > 0 && down > 0 ? across * down : 0;
}

TRect DotBox(TPoint p, double radius) {
    return {p.X - radius, p.Y - radius, 2 * radius, 2 * radius};
}

// A text's width in the file's face, by its characters (UTF-8 lead bytes).
double TextWidth(const std::string& text) {
    const auto characters = std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xc0) != 0x80;
    });
    return CharWidth * static_cast<double>(characters);
}

}  // namespace

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
    const TPoint tip{to.X - unit.X * radius, to.Y - unit.Y * radius};
    const TPoint base{tip.X - unit.X * 9, tip.Y - unit.Y * 9};
    const double left = std::min(tip.X, base.X - std::abs(unit.Y) * 4),
                 right = std::max(tip.X, base.X + std::abs(unit.Y) * 4),
                 top = std::min(tip.Y, base.Y - std::abs(unit.X) * 4),
                 bottom = std::max(tip.Y, base.Y + std::abs(unit.X) * 4);
    return {left, top, right - left, bottom - top};
}

std::vector<TRect> PlaceNames(const std::vector<TPoint>& dots, const std::vector<TPoint>& sizes,
                              double radius, const std::vector<TRect>& arrowheads,
                              const TRect& area) {
    std::vector<TRect> names;
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
        const std::vector<TRect>* const obstacles[] = {&names, &arrowheads};
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

std::string PictureSvg(const TNetworkPicture& picture, const TPictureMarks& marks) {
    const TLayoutNetwork& network = picture.Network;
    const std::vector<TPoint> at = FittedPositions(picture.Positions, Width, Height, Margin);
    const auto point = [&](int node) { return at[static_cast<std::size_t>(node - 1)]; };
    const std::string size = Number(Width) + "\" height=\"" + Number(Height + 70);
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
        size + "\" viewBox=\"0 0 " + Number(Width) + " " + Number(Height + 70) +
        "\" font-family=\"sans-serif\" font-size=\"11\">\n"
        "<title>Network picture</title>\n<desc>" +
        XmlEscaped(PictureDescription(picture)) +
        "</desc>\n"
        "<defs><marker id=\"arrow\" viewBox=\"0 0 10 10\" refX=\"10\" refY=\"5\" "
        "markerWidth=\"7\" markerHeight=\"7\" orient=\"auto-start-reverse\">"
        "<path d=\"M0,0 L10,5 L0,10 z\" fill=\"#34495e\"/></marker></defs>\n"
        "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n<g class=\"links\">\n";
    const std::vector<TDrawnLink> links = DrawnLinks(network);
    svg.reserve(svg.size() + (links.size() + static_cast<std::size_t>(network.NumNodes)) * 300);
    std::vector<TRect> arrowheads;
    for (const TDrawnLink& link : links) {
        if (!link.TwoWay) {
            arrowheads.push_back(ArrowheadBox(point(link.From), point(link.To), Radius));
        }
    }
    std::vector<TPoint> sizes;
    for (const std::string& name : network.Names) {
        sizes.push_back({TextWidth(TextOfNameBytes(name)), LineHeight});
    }
    const std::vector<TRect> names =
        PlaceNames(at, sizes, Radius, arrowheads, {0, 0, Width, Height});
    for (const TDrawnLink& link : links) {
        const auto [from, to] = LinkLineEnds(point(link.From), point(link.To), Radius);
        const std::string title = NodeText(network, link.From) + (link.TwoWay ? " <-> " : " -> ") +
                                  NodeText(network, link.To) + ": " + DistanceLabel(link);
        svg += "<line class=\"link " + std::string(link.TwoWay ? "two-way" : "one-way") +
               "\" data-from=\"" + std::to_string(link.From) + "\" data-to=\"" +
               std::to_string(link.To) + "\" data-distance=\"" + std::to_string(link.Distance) +
               (link.TwoWay ? "\" data-back-distance=\"" + std::to_string(link.BackDistance)
                            : std::string()) +
               "\" x1=\"" + Number(from.X) + "\" y1=\"" + Number(from.Y) + "\" x2=\"" +
               Number(to.X) + "\" y2=\"" + Number(to.Y) + "\" stroke=\"#7f8c8d\"" +
               (link.TwoWay ? "" : " marker-end=\"url(#arrow)\"") + "><title>" + XmlEscaped(title) +
               "</title></line>\n";
        if (marks.Distances) {
            const std::string label = DistanceLabel(link);
            const TPoint centre = PlaceOnLine(point(link.From), point(link.To),
                                              {TextWidth(label), LineHeight}, names, at, Radius);
            svg += "<text class=\"distance\" x=\"" + Number(centre.X) + "\" y=\"" +
                   Number(centre.Y + Baseline - LineHeight / 2) +
                   "\" text-anchor=\"middle\" fill=\"#16a085\">" + label + "</text>\n";
        }
    }
    svg += "</g>\n<g class=\"nodes\">\n";
    for (int node = 1; node <= network.NumNodes; ++node) {
        const TNodeKind kind = NodeKindOf(picture, node);
        const TPoint p = point(node);
        const TRect& label = names[static_cast<std::size_t>(node - 1)];
        const std::string name =
            XmlEscaped(TextOfNameBytes(network.Names[static_cast<std::size_t>(node - 1)]));
        std::string ring;
        if (node == marks.Origin || node == marks.Destination) {
            ring = "<circle cx=\"" + Number(p.X) + "\" cy=\"" + Number(p.Y) + "\" r=\"" +
                   Number(Radius + 4) + "\" fill=\"none\" stroke-width=\"3\" stroke=\"" +
                   (node == marks.Origin ? "#27ae60" : "#2980b9") + "\"/>";
        }
        svg += "<g class=\"node" + std::string(KindClass(kind)) + "\" data-node=\"" +
               std::to_string(node) + "\"><title>" + XmlEscaped(NodeText(network, node)) +
               "</title>" + ring + "<circle cx=\"" + Number(p.X) + "\" cy=\"" + Number(p.Y) +
               "\" r=\"" + Number(Radius) + "\" fill=\"" + KindColour(kind) + "\"/><text x=\"" +
               Number(label.Left) + "\" y=\"" + Number(label.Top + Baseline) + "\">" + name +
               "</text></g>\n";
    }
    // The legend, below the drawing.
    const double y = Height + 20;
    svg += "</g>\n<g class=\"legend\">\n<line x1=\"10\" y1=\"" + Number(y) + "\" x2=\"40\" y2=\"" +
           Number(y) + "\" stroke=\"#7f8c8d\"/><text x=\"45\" y=\"" + Number(y + 4) +
           "\">two-way link</text>\n<line x1=\"150\" y1=\"" + Number(y) + "\" x2=\"180\" y2=\"" +
           Number(y) + "\" stroke=\"#7f8c8d\" marker-end=\"url(#arrow)\"/><text x=\"185\" y=\"" +
           Number(y + 4) + "\">one-way link</text>\n";
    double x = 10;
    for (const TNodeKind kind : MarkedNodeKinds) {
        svg += "<circle cx=\"" + Number(x + 5) + "\" cy=\"" + Number(y + 25) +
               "\" r=\"5\" fill=\"" + KindColour(kind) + "\"/><text x=\"" + Number(x + 14) +
               "\" y=\"" + Number(y + 29) + "\">" + NodeKindText(kind) + "</text>\n";
        x += 200;
    }
    svg += "<circle cx=\"" + Number(x + 5) + "\" cy=\"" + Number(y + 25) +
           "\" r=\"7\" fill=\"none\" stroke-width=\"3\" stroke=\"#27ae60\"/><text x=\"" +
           Number(x + 16) + "\" y=\"" + Number(y + 29) + "\">origin</text>\n<circle cx=\"" +
           Number(x + 75) + "\" cy=\"" + Number(y + 25) +
           "\" r=\"7\" fill=\"none\" stroke-width=\"3\" stroke=\"#2980b9\"/><text x=\"" +
           Number(x + 86) + "\" y=\"" + Number(y + 29) + "\">destination</text>\n</g>\n</svg>\n";
    return svg;
}
