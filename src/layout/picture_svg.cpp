#include "layout/picture_svg.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/name_bytes.h"
#include "core/xml_text.h"

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

}  // namespace

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
    if (picture.Unreached.empty() && picture.Unreaching.empty()) {
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
    for (const TDrawnLink& link : DrawnLinks(network)) {
        TPoint from = point(link.From), to = point(link.To);
        if (!link.TwoWay) {
            // The arrowhead ends at the edge of the destination's dot, not under it.
            const double dx = to.X - from.X, dy = to.Y - from.Y;
            const double length = std::hypot(dx, dy);
            if (length > Radius + 1) {
                to = {to.X - dx / length * (Radius + 1), to.Y - dy / length * (Radius + 1)};
            }
        }
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
            const TPoint a = point(link.From), b = point(link.To);
            svg += "<text class=\"distance\" x=\"" + Number((a.X + b.X) / 2) + "\" y=\"" +
                   Number((a.Y + b.Y) / 2 - 3) + "\" text-anchor=\"middle\" fill=\"#16a085\">" +
                   DistanceLabel(link) + "</text>\n";
        }
    }
    svg += "</g>\n<g class=\"nodes\">\n";
    for (int node = 1; node <= network.NumNodes; ++node) {
        const TNodeKind kind = NodeKindOf(picture, node);
        const TPoint p = point(node);
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
               Number(p.X + Radius + 2) + "\" y=\"" + Number(p.Y - Radius - 1) + "\">" + name +
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
