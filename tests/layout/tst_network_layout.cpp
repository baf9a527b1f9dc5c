// The network drawn to its distances.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <tuple>

#include "drawing/picture_svg.h"
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

std::string Line(int n, const char* join) {
    std::string links;
    for (int i = 1; i < n; ++i) {
        links += std::to_string(i) + join + std::to_string(i + 1) + ":10 ";
    }
    return links;
}

// Small networks: no two nodes on one point, a line drawn straight in its order, each part
// apart from the others and the lone nodes in a row below them, the parts said, and the stress
// within a bound measured once for each.
TEST(NetworkLayoutTest, SmallNetworksDrawnApartAndSaid) {
    const struct {
        const char* Name;
        int Nodes;
        std::string Links;
        double Stress;  // the bound
    } rows[] = {
        {"line", 8, Line(8, "-"), 1e-9},
        {"one-way line", 11, Line(11, ">"), 1e-9},
        {"ring", 6, Line(6, "-") + "6-1:10", 0.3},
        {"star", 7, "1-2:10 1-3:10 1-4:10 1-5:10 1-6:10 1-7:10", 1.3},
        {"single link, lone nodes", 4, "2-3:7", 1e-9},
        {"no links", 3, "", 0},
        {"two parts", 6, "1-2:5 2-3:5 3-1:5 4-5:50 5-6:50", 1e-9},
        {"one-way pairs", 4, "1>2:5 3>4:5 2>3:9", 1e-9},
        {"zero distance", 3, "1-2:0 2-3:5", 1e-9},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        const TLayoutNetwork network = SmallNetwork(row.Nodes, row.Links);
        const TNetworkPicture picture = PictureOf(network);
        const std::vector<TPoint>& at = picture.Positions;
        const auto length = [&](int i, int j) {
            const TPoint &a = at[static_cast<std::size_t>(i - 1)],
                         &b = at[static_cast<std::size_t>(j - 1)];
            return std::hypot(a.X - b.X, a.Y - b.Y);
        };
        double longest = 0;
        for (int i = 1; i <= row.Nodes; ++i) {
            for (int j = 1; j <= row.Nodes; ++j) {
                longest = std::max(longest, length(i, j));
            }
        }
        for (int i = 1; i <= row.Nodes; ++i) {
            for (int j = i + 1; j <= row.Nodes; ++j) {
                EXPECT_GT(length(i, j), 0.01 * longest) << i << " and " << j;
            }
        }
        EXPECT_LE(LayoutStress(network, at), row.Stress);
        const std::vector<std::vector<int>> parts = NetworkParts(network);
        // The parts' boxes do not meet; a lone node stands below every part of two or more.
        std::vector<std::array<double, 4>> boxes;
        for (const std::vector<int>& part : parts) {
            std::array<double, 4> box{1e300, -1e300, 1e300, -1e300};
            for (const int node : part) {
                const TPoint& p = at[static_cast<std::size_t>(node - 1)];
                box = {std::min(box[0], p.X), std::max(box[1], p.X), std::min(box[2], p.Y),
                       std::max(box[3], p.Y)};
            }
            for (std::size_t k = 0; k < boxes.size(); ++k) {
                EXPECT_TRUE(box[1] < boxes[k][0] || boxes[k][1] < box[0] || box[3] < boxes[k][2] ||
                            boxes[k][3] < box[2])
                    << "part of " << part[0] << " meets an earlier part";
            }
            boxes.push_back(box);
        }
        for (std::size_t k = 0; k < parts.size(); ++k) {
            for (std::size_t other = 0; other < parts.size(); ++other) {
                if (parts[k].size() == 1 && parts[other].size() > 1) {
                    EXPECT_LT(boxes[k][3], boxes[other][2]) << "lone node " << parts[k][0];
                }
            }
        }
        const std::string said =
            "The network falls into " + std::to_string(parts.size()) + " parts that no link joins.";
        EXPECT_EQ(PictureDescription(picture).find(said) != std::string::npos, parts.size() > 1);
        const std::string svg = PictureSvg(picture);
        const std::size_t desc = svg.find("<desc>");
        EXPECT_EQ(svg.substr(desc, svg.find("</desc>") - desc).find(said) != std::string::npos,
                  parts.size() > 1);
    }
    // A line runs straight across in its order, every link drawn at its distance.
    for (const int n : {8, 11, 40}) {
        const std::vector<TPoint> at = LayOutNetwork(SmallNetwork(n, Line(n, "-")));
        for (std::size_t i = 1; i < at.size(); ++i) {
            EXPECT_NEAR(std::abs(at[i].X - at[i - 1].X), 10, 1e-6) << n << " nodes, link " << i;
            EXPECT_GT((at[i].X - at[i - 1].X) * (at[1].X - at[0].X), 0)
                << n << " nodes, link " << i;
            EXPECT_NEAR(at[i].Y, at[0].Y, 1e-6);
        }
    }
    // A link of 0 is drawn shorter than every longer one, and not on one point.
    const std::vector<TPoint> zero = LayOutNetwork(SmallNetwork(3, "1-2:0 2-3:5"));
    const double zeroLength = std::hypot(zero[0].X - zero[1].X, zero[0].Y - zero[1].Y);
    EXPECT_GT(zeroLength, 0);
    EXPECT_LT(zeroLength, std::hypot(zero[1].X - zero[2].X, zero[1].Y - zero[2].Y));
}

// 400 random small networks, parts, one-way links and links of 0 among them: no two nodes
// drawn on one point.
TEST(NetworkLayoutTest, RandomSmallNetworksKeepNodesApart) {
    std::mt19937 random(39);
    for (int run = 0; run < 400; ++run) {
        const int n = 2 + static_cast<int>(random() % 7);
        TLayoutNetwork network = SmallNetwork(n, "");
        for (std::int32_t& link : network.Links) {
            link = random() % 4 == 0 ? static_cast<std::int32_t>(random() % 3 * 5) : NoLink;
        }
        for (int i = 0; i < n; ++i) {
            network.Links[static_cast<std::size_t>(i * n + i)] = NoLink;
        }
        const std::vector<TPoint> at = LayOutNetwork(network);
        double span = 0;
        for (const TPoint& p : at) {
            span = std::max({span, std::abs(p.X - at[0].X), std::abs(p.Y - at[0].Y)});
        }
        for (std::size_t i = 0; i < at.size(); ++i) {
            for (std::size_t j = i + 1; j < at.size(); ++j) {
                EXPECT_GT(std::hypot(at[i].X - at[j].X, at[i].Y - at[j].Y), 1e-3 * span)
                    << "run " << run << ": " << i + 1 << " and " << j + 1;
            }
        }
    }
}

}  // namespace
