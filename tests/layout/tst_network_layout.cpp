// The network drawn to its distances, and its SVG picture.

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <tuple>

#include "layout/picture_svg.h"
#include "site_networks.h"

namespace {

// Random sites joined by roads: the drawing stands where the sites stand, for every set.
TEST(NetworkLayoutTest, RoadsBetweenSitesDrawTheirMap) {
    const std::tuple<int, unsigned, double> sets[] = {
        {30, 1, 4000},  {60, 2, 4000},  {60, 3, 9000},  {100, 4, 4000},
        {100, 5, 6000}, {150, 6, 4000}, {150, 7, 9000}, {150, 8, 2000},
    };
    for (const auto& [n, seed, side] : sets) {
        const TSiteNetwork sites = SiteNetwork(n, seed, side);
        const std::vector<TPoint> drawn = LayOutNetwork(sites.Network);
        const double disparity = ProcrustesDisparity(sites.Sites, drawn);
        EXPECT_LE(disparity, 0.05) << n << " sites from seed " << seed;
        // Classical scaling alone already has the map's shape.
        EXPECT_LE(
            ProcrustesDisparity(sites.Sites, ClassicalScaling(DrawingDistances(sites.Network), n)),
            0.05)
            << n << " sites from seed " << seed;
        // The same network gives the same picture, and starting from it keeps it.
        const std::vector<TPoint> again = LayOutNetwork(sites.Network);
        ASSERT_EQ(again.size(), drawn.size());
        for (std::size_t i = 0; i < drawn.size(); ++i) {
            EXPECT_EQ(again[i].X, drawn[i].X);
            EXPECT_EQ(again[i].Y, drawn[i].Y);
        }
        EXPECT_LE(ProcrustesDisparity(drawn, LayOutNetwork(sites.Network, {drawn})), 0.001);
        // A road less, laid out from the last positions, moves the rest little.
        TLayoutNetwork fewer = sites.Network;
        const auto road = std::find_if(fewer.Links.begin() + 1, fewer.Links.begin() + n,
                                       [](std::int32_t d) { return d != NoLink; });
        const auto other = static_cast<std::size_t>(road - fewer.Links.begin()) * std::size_t(n);
        *road = fewer.Links[other] = NoLink;
        EXPECT_LE(ProcrustesDisparity(drawn, LayOutNetwork(fewer, {drawn})), 0.01);
    }
}

// n nodes named A, B, ...; "1>2:5" a one-way link, "1-2:5" a two-way one.
TLayoutNetwork Network(int n, const std::string& links) {
    TLayoutNetwork network;
    network.NumNodes = n;
    network.Links.assign(static_cast<std::size_t>(n * n), NoLink);
    for (int i = 0; i < n; ++i) {
        network.Names.push_back(std::string(1, static_cast<char>('A' + i)));
    }
    std::istringstream words(links);
    int o = 0, d = 0, distance = 0;
    char kind = 0, colon = 0;
    while (words >> o >> kind >> d >> colon >> distance) {
        network.Links[static_cast<std::size_t>((o - 1) * n + d - 1)] = distance;
        if (kind == '-') {
            network.Links[static_cast<std::size_t>((d - 1) * n + o - 1)] = distance;
        }
    }
    return network;
}

std::size_t Count(const std::string& text, const std::string& pattern) {
    const std::regex expression(pattern);
    return static_cast<std::size_t>(
        std::distance(std::sregex_iterator(text.begin(), text.end(), expression), {}));
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
        const TNetworkPicture picture = PictureOf(Network(row.Nodes, row.Links));
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
    TLayoutNetwork network = Network(2, "1-2:10");
    network.Names = {"<\xC9&\"", "B"};
    const std::string svg = PictureSvg(PictureOf(network));
    EXPECT_NE(svg.find("<title>1 &lt;\xC3\x89&amp;&quot;</title>"), std::string::npos);
}

}  // namespace
