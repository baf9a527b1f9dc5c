// The network drawn to its distances.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
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

// The spread of positions across their narrowest way against their widest (the covariance's
// eigenvalues' ratio): 0 for nodes on one line.
double Flatness(const std::vector<TPoint>& at) {
    TPoint mean;
    for (const TPoint& p : at) {
        mean = {mean.X + p.X / double(at.size()), mean.Y + p.Y / double(at.size())};
    }
    double xx = 0, xy = 0, yy = 0;
    for (const TPoint& p : at) {
        xx += (p.X - mean.X) * (p.X - mean.X);
        xy += (p.X - mean.X) * (p.Y - mean.Y);
        yy += (p.Y - mean.Y) * (p.Y - mean.Y);
    }
    const double root = std::sqrt((xx - yy) * (xx - yy) / 4 + xy * xy);
    return ((xx + yy) / 2 - root) / ((xx + yy) / 2 + root);
}

// A random network of n nodes, joined by a random tree and then each other pair at chance.
TLayoutNetwork RandomNetwork(std::mt19937& random, int n, double chance, bool equal) {
    TLayoutNetwork network = SmallNetwork(n, "");
    const auto join = [&](int i, int j) {
        const auto d = equal ? 100 : static_cast<std::int32_t>(10 + random() % 91);
        network.Links[std::size_t(i * n + j)] = network.Links[std::size_t(j * n + i)] = d;
    };
    for (int i = 1; i < n; ++i) {
        join(i, static_cast<int>(random() % unsigned(i)));
    }
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (std::uniform_real_distribution<double>(0, 1)(random) < chance) {
                join(i, j);
            }
        }
    }
    return network;
}

// 120 random networks of equal links up to 150 nodes, K3,3 and trees and paths among them:
// no two nodes on one point, and on one line only a path.
TEST(NetworkLayoutTest, EqualLinksStayInThePlane) {
    std::mt19937 random(46);
    std::vector<std::pair<TLayoutNetwork, bool>> networks = {
        {SmallNetwork(6, "1-4:100 1-5:100 1-6:100 2-4:100 2-5:100 2-6:100 3-4:100 3-5:100 3-6:100"),
         false},
        {SmallNetwork(40, Line(40, "-")), true}};
    for (int run = 0; run < 120; ++run) {
        const int n = 3 + run * 147 / 119;
        const double chance = run % 3 == 0 ? 0 : (run % 3 == 1 ? 3.0 : 0.5 * n) / (n * n);
        networks.emplace_back(RandomNetwork(random, n, chance, true), false);
    }
    // Long links of any length across 150 sites, whose lines cannot all be cleared of dots: a
    // dot pushed off one line does not land on another.
    for (int run = 0; run < 6; ++run) {
        networks.emplace_back(RandomNetwork(random, 150, 0.04, false), false);
    }
    for (const auto& [network, path] : networks) {
        const std::vector<TPoint> at = LayOutNetwork(network);
        double spread = 0;
        for (const TPoint& p : at) {
            spread = std::max({spread, std::abs(p.X - at[0].X), std::abs(p.Y - at[0].Y)});
        }
        double nearest = spread;
        for (std::size_t i = 0; i < at.size(); ++i) {
            for (std::size_t j = i + 1; j < at.size(); ++j) {
                nearest = std::min(nearest, std::hypot(at[i].X - at[j].X, at[i].Y - at[j].Y));
            }
        }
        SCOPED_TRACE(std::to_string(network.NumNodes) + " nodes");
        EXPECT_GT(nearest, 1e-3 * spread);
        if (path) {
            EXPECT_LT(Flatness(at), 1e-12);
        } else if (NetworkParts(network).size() == 1 && network.NumNodes > 2) {
            const bool tree = std::count(network.Links.begin(), network.Links.end(), 100) ==
                              2 * (network.NumNodes - 1);
            // A tree may be a path; any other network is drawn with some breadth.
            if (!tree) {
                EXPECT_GT(Flatness(at), 1e-3);
            }
        }
    }
}

// 100 random networks of 8 to 20 nodes drawn as the file draws them: no line passes over the
// dot of a node it does not join.
TEST(NetworkLayoutTest, NoLineOverADot) {
    std::mt19937 random(8);
    int over = 0;
    for (int run = 0; run < 100; ++run) {
        const int n = 8 + static_cast<int>(random() % 13);
        const TNetworkPicture picture = PictureOf(RandomNetwork(random, n, 0.12, false));
        const TPictureDrawing drawing =
            PictureDrawing(picture, {}, {800, 600, 60, 5, std::nullopt}, [](const std::string&) {
                return TPoint{30, 13};
            });
        for (const TDrawnLine& line : drawing.Lines) {
            const TPoint a = drawing.Dots[std::size_t(line.Link.From - 1)].At,
                         b = drawing.Dots[std::size_t(line.Link.To - 1)].At;
            for (int k = 1; k <= n; ++k) {
                const TPoint p = drawing.Dots[std::size_t(k - 1)].At;
                const double length2 = (b.X - a.X) * (b.X - a.X) + (b.Y - a.Y) * (b.Y - a.Y);
                const double t = ((p.X - a.X) * (b.X - a.X) + (p.Y - a.Y) * (b.Y - a.Y)) / length2;
                const double off = std::abs((p.X - a.X) * (b.Y - a.Y) - (p.Y - a.Y) * (b.X - a.X)) /
                                   std::sqrt(length2);
                // A dot touching an end's dot stands on that end, not on the line.
                const double end = std::min(t, 1 - t) * std::sqrt(length2);
                const bool crosses = k != line.Link.From && k != line.Link.To && t > 0 && t < 1 &&
                                     off < 5 && end >= 10;
                over += crosses ? 1 : 0;
                EXPECT_FALSE(crosses) << "run " << run << ": line " << line.Link.From << "-"
                                      << line.Link.To << " over node " << k;
            }
        }
    }
    std::printf("lines over dots in 100 random networks: %d\n", over);
}

// One link added to networks of 30 sites, laid out from the last drawing: the nodes move on
// average less than 5% of the drawing's size; a node added starts beside its neighbours.
TEST(NetworkLayoutTest, AChangeMovesTheDrawingLittle) {
    std::mt19937 random(30);
    double worst = 0;
    const auto moved = [](const std::vector<TPoint>& was, const std::vector<TPoint>& now) {
        const std::vector<TPoint> a = FittedPositions(was, 800, 600, 60),
                                  b = FittedPositions(now, 800, 600, 60);
        double sum = 0;
        for (std::size_t i = 0; i < a.size(); ++i) {
            sum += std::hypot(a[i].X - b[i].X, a[i].Y - b[i].Y);
        }
        return sum / double(a.size()) / 800;
    };
    for (unsigned seed = 1; seed <= 10; ++seed) {
        TSiteNetwork sites = SiteNetwork(30, seed);
        const std::vector<TPoint> was = LayOutNetwork(sites.Network);
        TLayoutNetwork more = sites.Network;
        std::size_t i = 0, j = 0;
        do {
            i = random() % 30;
            j = random() % 30;
        } while (i == j || more.Links[i * 30 + j] != NoLink);
        more.Links[i * 30 + j] = more.Links[j * 30 + i] = static_cast<std::int32_t>(std::lround(
            std::hypot(sites.Sites[i].X - sites.Sites[j].X, sites.Sites[i].Y - sites.Sites[j].Y)));
        const double share =
            moved(was, LayOutNetwork(more, {StartBeside(sites.Network, was, more)}));
        EXPECT_LT(share, 0.05) << "seed " << seed;
        worst = std::max(worst, share);
        // A node added, linked to node 1 alone: the rest stay, the new one starts by node 1.
        TLayoutNetwork grown = SmallNetwork(31, "");
        for (std::size_t a = 0; a < 30; ++a) {
            grown.Names[a] = sites.Network.Names[a];
            std::copy_n(sites.Network.Links.begin() + std::ptrdiff_t(a * 30), 30,
                        grown.Links.begin() + std::ptrdiff_t(a * 31));
        }
        grown.Links[30] = grown.Links[30 * 31] = 100;
        const std::vector<TPoint> start = StartBeside(sites.Network, was, grown);
        ASSERT_EQ(start.size(), 31u);
        EXPECT_LT(std::hypot(start[30].X - was[0].X, start[30].Y - was[0].Y), 200);
        std::vector<TPoint> after = LayOutNetwork(grown, {start});
        after.pop_back();
        EXPECT_LT(moved(was, after), 0.05) << "seed " << seed;
    }
    std::printf("mean move for one link added to 30 sites, worst of 10: %.2f%% of the width\n",
                100 * worst);
}

// Where neato is installed: the layout's stress on the road networks at most neato's, and
// with the lines cleared of dots within a bound of it.
TEST(NetworkLayoutTest, StressAtMostNeatos) {
    if (std::system("neato -V >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "neato is not installed";
    }
    for (const auto& [n, seed] : {std::pair{60, 2u}, {100, 4u}, {150, 6u}, {150, 7u}}) {
        const TLayoutNetwork network = SiteNetwork(n, seed).Network;
        const std::string graph = testing::TempDir() + "neato.gv";
        {
            std::ofstream out(graph);
            out << "graph g {\n";
            for (int i = 1; i <= n; ++i) {
                for (int j = i + 1; j <= n; ++j) {
                    if (network.Link(i, j) != NoLink) {
                        out << i << " -- " << j << " [len=" << network.Link(i, j) / 100.0 << "];\n";
                    }
                }
            }
            out << "}\n";
        }
        ASSERT_EQ(std::system(("neato -Tplain -o " + graph + ".plain " + graph).c_str()), 0);
        std::vector<TPoint> theirs(std::size_t(n), TPoint{});
        std::ifstream in(graph + ".plain");
        for (std::string line; std::getline(in, line);) {
            std::istringstream words(line);
            std::string kind;
            int node = 0;
            double x = 0, y = 0;
            if (words >> kind >> node >> x >> y && kind == "node") {
                theirs[std::size_t(node - 1)] = {x * 100, y * 100};
            }
        }
        const double ours = LayoutStress(network, LayOutNetwork(network, {{}, false})),
                     cleared = LayoutStress(network, LayOutNetwork(network)),
                     neato = LayoutStress(network, theirs);
        std::printf("%d sites: stress %.3f (%.3f with no line over a dot), neato's %.3f\n", n, ours,
                    cleared, neato);
        EXPECT_LE(ours, neato) << n << " sites from seed " << seed;
        // Clearing the lines of dots costs some stress over the layout's own (at most 1.8 times
        // neato's on these networks).
        EXPECT_LE(cleared, 2.0 * neato) << n << " sites from seed " << seed;
    }
}

// Nodes with places stand at them, north up; a node without one is laid out beside its links.
TEST(NetworkLayoutTest, PlacesDrawnWhereTheyAre) {
    TLayoutNetwork network = SmallNetwork(4, "1-2:100 2-3:100 3-4:100 4-1:100 1-3:140");
    network.PlaceKind = TPlaceKind::Globe;
    network.Places = {{true, -3.0, 57.0}, {true, -2.0, 57.0}, {true, -2.0, 56.0}, {false, 0, 0}};
    const std::vector<TPoint> at = LayOutNetwork(network);
    EXPECT_NEAR(at[0].Y, 57, 1e-12);
    EXPECT_NEAR(at[1].X - at[0].X, std::cos(170.0 / 3 / 180 * 3.14159265358979), 1e-9);
    EXPECT_LT(at[2].Y, at[1].Y);  // south below
    // The fourth, joined to 1 and 3, stands to the south-west, nearer them than node 2 is.
    EXPECT_LT(at[3].X, at[2].X);
    EXPECT_LT(at[3].Y, at[0].Y);
}

}  // namespace
