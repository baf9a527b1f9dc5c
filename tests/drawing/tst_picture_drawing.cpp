// The drawing of a laid-out network and its SVG picture.

#include <gtest/gtest.h>

#include <regex>

#include "drawing/picture_svg.h"
#include "layout/site_networks.h"

namespace {

std::size_t Count(const std::string& text, const std::string& pattern) {
    const std::regex expression(pattern);
    return static_cast<std::size_t>(
        std::distance(std::sregex_iterator(text.begin(), text.end(), expression), {}));
}

// Names are placed where they cover no other name, dot or arrowhead when a place is free, and
// a distance on its line clear of the names.
TEST(PictureSvgTest, NamesAndDistancesKeepClear) {
    // Three dots in a row, 30 apart, names 40 wide: the middle name goes below or above.
    const std::vector<TPoint> dots{{100, 100}, {130, 100}, {160, 100}};
    const std::vector<TPoint> sizes(3, TPoint{40, 13});
    const std::vector<TRect> arrowheads{ArrowheadBox({200, 60}, dots[2], 5)};
    const std::vector<TRect> names = PlaceNames(dots, sizes, 5, arrowheads, {0, 0, 400, 200});
    for (std::size_t i = 0; i < names.size(); ++i) {
        for (std::size_t j = 0; j < names.size(); ++j) {
            EXPECT_TRUE(i == j || !names[i].Overlaps(names[j])) << i << " and " << j;
        }
        for (std::size_t j = 0; j < dots.size(); ++j) {
            EXPECT_TRUE(i == j || !names[i].Overlaps({dots[j].X - 5, dots[j].Y - 5, 10, 10})) << i;
        }
        EXPECT_FALSE(names[i].Overlaps(arrowheads[0])) << i;
    }
    // A dot at the right edge has its name on its left.
    const TRect edge = PlaceNames({{395, 100}}, {{40, 13}}, 5, {}, {0, 0, 400, 200})[0];
    EXPECT_LE(edge.Left + edge.Width, 400);
    const TPoint middle = PlaceOnLine({0, 0}, {200, 0}, {20, 12}, {{85, -10, 30, 20}}, {}, 5);
    EXPECT_FALSE(TRect({middle.X - 10, middle.Y - 6, 20, 12}).Overlaps({85, -10, 30, 20}));
    EXPECT_EQ(middle.Y, 0);
    const auto [from, to] = LinkLineEnds({0, 0}, {100, 0}, 5);
    EXPECT_EQ(from.X, 5);
    EXPECT_EQ(to.X, 95);
}

// One element per node with its name, one per drawn link, and exactly the cut-off nodes marked.
TEST(PictureSvgTest, SmallNetworks) {
    const struct {
        int Nodes;
        const char* Links;
        std::size_t TwoWay, OneWay;
        const char* Unreached;  // the data-node numbers marked, in order
        const char* Unreaching;
    } rows[] = {
        {2, "1>2:5", 0, 1, "1", "2"},
        {3, "1-2:5", 1, 0, "3", "3"},
        {3, "1-2:5000 2-3:5000", 2, 0, "", ""},
        {4, "1-2:5 2>3:7 3>2:9 3>4:0", 2, 1, "", "4"},
        {4, "1>2:1 2>3:1 3>4:1 4>1:1", 0, 4, "", ""},
        {3, "", 0, 0, "123", "123"},
        {1, "", 0, 0, "", ""},
    };
    for (const auto& row : rows) {
        const TNetworkPicture picture = PictureOf(SmallNetwork(row.Nodes, row.Links));
        const std::string svg = PictureSvg(picture, {1, 2, true});
        SCOPED_TRACE(row.Links);
        EXPECT_EQ(Count(svg, "<g class=\"node[ \"]"), static_cast<std::size_t>(row.Nodes));
        for (int node = 1; node <= row.Nodes; ++node) {
            const std::string name(1, static_cast<char>('A' + node - 1));
            EXPECT_EQ(Count(svg, "data-node=\"" + std::to_string(node) + "\"><title>" +
                                     std::to_string(node) + " " + name + "</title>.*>" + name +
                                     "</text></g>"),
                      1u);
        }
        EXPECT_EQ(Count(svg, "class=\"link two-way\""), row.TwoWay);
        EXPECT_EQ(Count(svg, "class=\"link one-way\""), row.OneWay);
        std::string unreached, unreaching;
        const std::regex node("class=\"node( unreached)?( unreaching)?\" data-node=\"(\\d+)\"");
        for (auto at = std::sregex_iterator(svg.begin(), svg.end(), node);
             at != std::sregex_iterator(); ++at) {
            unreached += (*at)[1].matched ? (*at)[3].str() : "";
            unreaching += (*at)[2].matched ? (*at)[3].str() : "";
        }
        EXPECT_EQ(unreached, row.Unreached);
        EXPECT_EQ(unreaching, row.Unreaching);
    }
}

// Names are written as UTF-8 and escaped.
TEST(PictureSvgTest, NamesAndNumbers) {
    TLayoutNetwork network = SmallNetwork(2, "1-2:10");
    network.Names = {"<\xC9&\"", "B"};
    const std::string svg = PictureSvg(PictureOf(network));
    EXPECT_NE(svg.find("<title>1 &lt;\xC3\x89&amp;&quot;</title>"), std::string::npos);
}

// A 150-site road network as the file draws it: no two drawn names overlap, the crowded ones
// are said in the legend, and the summary is visible text under the drawing.
TEST(PictureSvgTest, CrowdedNamesLeftOut) {
    TSiteNetwork sites = SiteNetwork(150, 6);
    for (std::string& name : sites.Network.Names) {
        name = "Site " + name + " town";
    }
    const TNetworkPicture picture = PictureOf(sites.Network);
    const TPictureDrawing drawing =
        PictureDrawing(picture, {}, {800, 600, 60, 5, std::nullopt}, [](const std::string& text) {
            return TPoint{6.6 * double(text.size()), 13};
        });
    int crowded = 0, overlaps = 0;
    for (std::size_t i = 0; i < drawing.Names.size(); ++i) {
        crowded += drawing.Names[i].Crowded ? 1 : 0;
        for (std::size_t j = i + 1; j < drawing.Names.size(); ++j) {
            overlaps += !drawing.Names[i].Crowded && !drawing.Names[j].Crowded &&
                        drawing.Names[i].Box.Overlaps(drawing.Names[j].Box);
        }
    }
    std::printf("150 sites: %d names crowded out, %d drawn names overlapping\n", crowded, overlaps);
    EXPECT_EQ(overlaps, 0);
    EXPECT_LT(crowded, 75);
    const std::string svg = PictureSvg(picture);
    EXPECT_EQ(Count(svg, "</title><circle[^>]*/><text"), 150u - std::size_t(crowded));
    EXPECT_EQ(Count(svg, "names of " + std::to_string(crowded) + " crowded nodes hidden"),
              crowded > 0 ? 1u : 0u);
    EXPECT_EQ(Count(svg,
                    "<text class=\"summary\" x=\"10\" y=\"670.0\">150 nodes, [0-9]+ "
                    "links, 1 part, no node cut off</text>"),
              1u);
}

// The legend lists only what is drawn.
TEST(PictureSvgTest, LegendListsWhatIsDrawn) {
    const struct {
        const char* Links;
        TPictureMarks Marks;
        std::vector<const char*> Shown, Left;
    } rows[] = {
        {"1-2:5 2-3:5", {}, {"two-way link"}, {"one-way link", "origin", "destination", "reaches"}},
        {"1-2:5 2>3:5",
         {1, 0, false},
         {"one-way link", "origin", "it reaches no other node"},
         {"destination", "cut off both ways"}},
        {"1>2:5",
         {0, 2, false},
         {"destination", "no other node reaches it"},
         {"two-way", "origin"}},
    };
    for (const auto& row : rows) {
        const std::string svg = PictureSvg(PictureOf(SmallNetwork(3, row.Links)), row.Marks);
        const std::string legend = svg.substr(svg.find("<g class=\"legend\">"));
        for (const char* text : row.Shown) {
            EXPECT_NE(legend.find(text), std::string::npos) << row.Links << ": " << text;
        }
        for (const char* text : row.Left) {
            EXPECT_EQ(legend.find(text), std::string::npos) << row.Links << ": " << text;
        }
    }
}

}  // namespace
