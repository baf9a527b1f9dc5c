#include "drawing/picture_svg.h"

#include <algorithm>
#include <charconv>

#include "core/file_texts/xml_text.h"

namespace {

// A coordinate with one decimal and a point, whatever the region.
std::string Number(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
    return std::string(text, end.ptr);
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

constexpr double Width = 800, Height = 600, Margin = 60, Radius = 5;
// The sans-serif face at 11 pixels, as most readers draw it: the height of a line, the
// baseline below its top, and a width per character that covers most names.
constexpr double LineHeight = 13, Baseline = 10, CharWidth = 6.6;

// A text's width in the file's face, by its characters (UTF-8 lead bytes).
double TextWidth(const std::string& text) {
    const auto characters = std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xc0) != 0x80;
    });
    return CharWidth * static_cast<double>(characters);
}

}  // namespace

std::string PictureSvg(const TNetworkPicture& picture, const TPictureMarks& marks) {
    const TLayoutNetwork& network = picture.Network;
    const TPictureDrawing drawing = PictureDrawing(
        picture, marks, {Width, Height, Margin, Radius, std::nullopt}, [](const std::string& text) {
            return TPoint{TextWidth(text), LineHeight};
        });
    const std::string size = Number(Width) + "\" height=\"" + Number(Height + 76);
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
        size + "\" viewBox=\"0 0 " + Number(Width) + " " + Number(Height + 76) +
        "\" font-family=\"sans-serif\" font-size=\"11\">\n"
        "<title>Network picture</title>\n<desc>" +
        XmlEscaped(drawing.Description) +
        "</desc>\n"
        "<defs><marker id=\"arrow\" viewBox=\"0 0 10 10\" refX=\"10\" refY=\"5\" "
        "markerWidth=\"7\" markerHeight=\"7\" orient=\"auto-start-reverse\">"
        "<path d=\"M0,0 L10,5 L0,10 z\" fill=\"" +
        PictureColour::Arrowhead +
        "\"/></marker></defs>\n"
        "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n<g class=\"links\">\n";
    svg.reserve(svg.size() + (drawing.Lines.size() + drawing.Dots.size()) * 300);
    for (const TDrawnLine& line : drawing.Lines) {
        const TDrawnLink& link = line.Link;
        const std::string title = NodeText(network, link.From) + (link.TwoWay ? " <-> " : " -> ") +
                                  NodeText(network, link.To) + ": " + DistanceLabel(link);
        svg += "<line class=\"link " + std::string(link.TwoWay ? "two-way" : "one-way") +
               "\" data-from=\"" + std::to_string(link.From) + "\" data-to=\"" +
               std::to_string(link.To) + "\" data-distance=\"" + std::to_string(link.Distance) +
               (link.TwoWay ? "\" data-back-distance=\"" + std::to_string(link.BackDistance)
                            : std::string()) +
               "\" x1=\"" + Number(line.From.X) + "\" y1=\"" + Number(line.From.Y) + "\" x2=\"" +
               Number(line.To.X) + "\" y2=\"" + Number(line.To.Y) + "\" stroke=\"" +
               PictureColour::Link + "\"" + (link.TwoWay ? "" : " marker-end=\"url(#arrow)\"") +
               "><title>" + XmlEscaped(title) + "</title></line>\n";
        if (marks.Distances) {
            svg += "<text class=\"distance\" x=\"" + Number(line.LabelCentre.X) + "\" y=\"" +
                   Number(line.LabelCentre.Y + Baseline - LineHeight / 2) +
                   "\" text-anchor=\"middle\" fill=\"" + PictureColour::Distance + "\">" +
                   line.Label + "</text>\n";
        }
    }
    svg += "</g>\n<g class=\"nodes\">\n";
    for (std::size_t index = 0; index < drawing.Dots.size(); ++index) {
        const int node = static_cast<int>(index) + 1;
        const TDrawnDot& dot = drawing.Dots[index];
        const TDrawnName& name = drawing.Names[index];
        std::string ring;
        if (dot.Ring != TRing::None) {
            ring =
                "<circle cx=\"" + Number(dot.At.X) + "\" cy=\"" + Number(dot.At.Y) + "\" r=\"" +
                Number(Radius + 4) + "\" fill=\"none\" stroke-width=\"3\" stroke=\"" +
                (dot.Ring == TRing::Origin ? PictureColour::Origin : PictureColour::Destination) +
                "\"/>";
        }
        svg += "<g class=\"node" + std::string(KindClass(dot.Kind)) + "\" data-node=\"" +
               std::to_string(node) + "\"><title>" + XmlEscaped(NodeText(network, node)) +
               "</title>" + ring + "<circle cx=\"" + Number(dot.At.X) + "\" cy=\"" +
               Number(dot.At.Y) + "\" r=\"" + Number(Radius) + "\" fill=\"" +
               NodeKindColour(dot.Kind) + "\"/>" +
               (name.Crowded ? std::string()
                             : "<text x=\"" + Number(name.Box.Left) + "\" y=\"" +
                                   Number(name.Box.Top + Baseline) + "\">" + XmlEscaped(name.Text) +
                                   "</text>") +
               "</g>\n";
    }
    // The legend, below the drawing: the links' marks in the first row, the nodes' below.
    const double y = Height + 20;
    svg += "</g>\n<g class=\"legend\">\n";
    double x = 10, linkX = 10;
    for (const TLegendEntry& entry : drawing.Legend) {
        switch (entry.Mark) {
            case TLegendMark::TwoWayLink:
            case TLegendMark::OneWayLink: {
                const bool oneWay = entry.Mark == TLegendMark::OneWayLink;
                svg += "<line x1=\"" + Number(linkX) + "\" y1=\"" + Number(y) + "\" x2=\"" +
                       Number(linkX + 30) + "\" y2=\"" + Number(y) + "\" stroke=\"" +
                       PictureColour::Link + "\"" + (oneWay ? " marker-end=\"url(#arrow)\"" : "") +
                       "/><text x=\"" + Number(linkX + 35) + "\" y=\"" + Number(y + 4) + "\">" +
                       entry.Text + "</text>\n";
                linkX += 140;
                break;
            }
            case TLegendMark::Node:
                svg += "<circle cx=\"" + Number(x + 5) + "\" cy=\"" + Number(y + 25) +
                       "\" r=\"5\" fill=\"" + NodeKindColour(entry.Kind) + "\"/><text x=\"" +
                       Number(x + 14) + "\" y=\"" + Number(y + 29) + "\">" + entry.Text +
                       "</text>\n";
                x += 200;
                break;
            case TLegendMark::Origin:
            case TLegendMark::Destination: {
                const bool origin = entry.Mark == TLegendMark::Origin;
                const double at = x;
                svg += "<circle cx=\"" + Number(at + 5) + "\" cy=\"" + Number(y + 25) +
                       "\" r=\"7\" fill=\"none\" stroke-width=\"3\" stroke=\"" +
                       (origin ? PictureColour::Origin : PictureColour::Destination) +
                       "\"/><text x=\"" + Number(at + 16) + "\" y=\"" + Number(y + 29) + "\">" +
                       entry.Text + "</text>\n";
                x += origin ? 70 : 0;
                break;
            }
            case TLegendMark::CrowdedNames:
                svg += "<text class=\"crowded\" x=\"" + Number(linkX + 20) + "\" y=\"" +
                       Number(y + 4) + "\">" + entry.Text + "</text>\n";
                break;
        }
    }
    // The summary under the drawing, for a reader of the file.
    return svg + "</g>\n<text class=\"summary\" x=\"10\" y=\"" + Number(y + 50) + "\">" +
           XmlEscaped(drawing.Summary) + "</text>\n</svg>\n";
}

std::string PictureSvg(const TNetworkStore& network) {
    return PictureSvg(PictureOf(LayoutNetworkOf(network)));
}
