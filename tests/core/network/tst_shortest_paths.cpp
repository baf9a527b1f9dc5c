// The shortest-distance matrix and the connectivity verdict, and the row-wise completion
// against the plain checked triple loop.

#include <climits>
#include <cstdint>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/network/network_store.h"
#include "core/network/shortest_paths.h"
#include "core/numbers/errors.h"
#include "core_test.h"
#include "reference_paths.h"

namespace {

using ShortestPathsTest = CoreTest;
using TMatrix = std::vector<std::int32_t>;  // n * n entries, row after row

void StartNetwork(int n) {
    ResetNetworkStore();
    Network.NumNodes = n;
    Network.LinkRows.AllocateRows(n);
    for (int o = 1; o <= n; ++o) {
        for (int d = 1; d <= n; ++d) {
            Network.LinkRows[o][d] = NoLink;
        }
    }
}

// "1>2:5" is a one-way link of 5 from 1 to 2; "1-2:5" a two-way link.
void AddLinks(const std::string& links) {
    std::istringstream words(links);
    std::string link;
    while (words >> link) {
        int origin = 0;
        char kind = 0;
        int destination = 0;
        int distance = 0;
        ASSERT_EQ(std::sscanf(link.c_str(), "%d%c%d:%d", &origin, &kind, &destination, &distance),
                  4)
            << link;
        Network.LinkRows[origin][destination] = distance;
        if (kind == '-') {
            Network.LinkRows[destination][origin] = distance;
        }
    }
}

TMatrix Entries(const TRowMatrix& rows, int n) {
    TMatrix entries;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            entries.push_back(rows[i][j]);
        }
    }
    return entries;
}

enum class TCompletion { RowWise, Reference };

void Complete(TCompletion completion) {
    if (completion == TCompletion::RowWise) {
        CompleteShortestPaths(Network);
    } else {
        CompleteShortestPathsReference();
    }
}

const char* NameOf(TCompletion completion) {
    return completion == TCompletion::RowWise ? "row-wise" : "reference";
}

TEST_F(ShortestPathsTest, SmallNetworks) {
    struct TRow {
        const char* Name;
        int Nodes;
        const char* Links;
        TMatrix Paths;
        bool Connected;
    };
    const TRow rows[] = {
        {"one-way 5", 2, "1>2:5", {0, 5, 10000, 0}, false},
        {"two-way 5", 2, "1-2:5", {0, 5, 5, 0}, true},
        {"6000 + 6000 capped",
         3,
         "1-2:6000 2-3:6000",
         {0, 6000, 10000, 6000, 0, 6000, 10000, 6000, 0},
         false},
        {"exactly 10000 stays connected",
         3,
         "1-2:5000 2-3:5000",
         {0, 5000, 10000, 5000, 0, 5000, 10000, 5000, 0},
         true},
        {"zero-length two-way", 2, "1-2:0", {0, 0, 0, 0}, true},
        {"shorter indirect path",
         3,
         "1>3:100 1>2:30 2>3:40",
         {0, 30, 70, 10000, 0, 40, 10000, 10000, 0},
         false},
        {"indirect path both ways",
         3,
         "1-3:100 1-2:30 2-3:40",
         {0, 30, 70, 30, 0, 40, 70, 40, 0},
         true},
        {"chain against the order",
         4,
         "4>3:1 3>2:1 2>1:1",
         {0, 10000, 10000, 10000, 1, 0, 10000, 10000, 2, 1, 0, 10000, 3, 2, 1, 0},
         false},
        {"one node", 1, "", {0}, true},
        {"two nodes, no link", 2, "", {0, 10000, 10000, 0}, false},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        for (const TCompletion completion : {TCompletion::RowWise, TCompletion::Reference}) {
            SCOPED_TRACE(NameOf(completion));
            StartNetwork(row.Nodes);
            AddLinks(row.Links);
            const TMatrix linksBefore = Entries(Network.LinkRows, row.Nodes);
            Network.NetworkConnected = !row.Connected;

            Complete(completion);

            EXPECT_EQ(Entries(Network.PathRows, row.Nodes), row.Paths);
            EXPECT_EQ(Network.NetworkConnected, row.Connected);
            EXPECT_EQ(Entries(Network.LinkRows, row.Nodes), linksBefore);
            for (int i = 1; i <= row.Nodes; ++i) {
                EXPECT_EQ(Network.LinkRows[i][i], NoLink);
            }
            ReleasePathRows(Network);
        }
    }
}

// NoLink + NoLink is added over and over without overflow; every pair ends at the cap.
TEST_F(ShortestPathsTest, NoLinksAmong150Nodes) {
    for (const TCompletion completion : {TCompletion::RowWise, TCompletion::Reference}) {
        SCOPED_TRACE(NameOf(completion));
        StartNetwork(MaxNodes);
        Complete(completion);
        EXPECT_FALSE(Network.NetworkConnected);
        TMatrix capped(MaxNodes * MaxNodes, MaxDistance);
        for (int i = 0; i < MaxNodes; ++i) {
            capped[static_cast<std::size_t>(i * MaxNodes + i)] = 0;
        }
        EXPECT_EQ(Entries(Network.PathRows, MaxNodes), capped);
        EXPECT_EQ(Entries(Network.LinkRows, MaxNodes), TMatrix(MaxNodes * MaxNodes, NoLink));
        ReleasePathRows(Network);
    }
}

TEST_F(ShortestPathsTest, ReleaseFreesTheRows) {
    StartNetwork(5);
    CompleteShortestPaths(Network);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_TRUE(Network.PathRows.IsAllocated(i)) << i;
    }
    EXPECT_FALSE(Network.PathRows.IsAllocated(6));
    ReleasePathRows(Network);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_FALSE(Network.PathRows.IsAllocated(i)) << i;
        EXPECT_TRUE(Network.LinkRows.IsAllocated(i)) << i;
    }
    EXPECT_THROW(Network.PathRows[1][1], ERangeError);
}

// A link entry outside NoLink and 0..10000 would break the argument that every sum fits in
// 32 bits: the completion refuses it before it allocates anything.
TEST_F(ShortestPathsTest, OutOfRangeLinkIsRefused) {
    struct TRow {
        const char* Name;
        int Origin;
        int Destination;
        std::int32_t Value;
    };
    const TRow rows[] = {
        {"negative", 1, 2, -1},
        {"10001", 2, 3, 10001},
        {"just below NoLink", 3, 1, NoLink - 1},
        {"just above NoLink", 1, 3, NoLink + 1},
        {"largest integer", 2, 1, INT_MAX},
        {"on the diagonal", 2, 2, -5},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        StartNetwork(3);
        AddLinks("1-2:5 2-3:7");
        Network.LinkRows[row.Origin][row.Destination] = row.Value;
        EXPECT_THROW(CompleteShortestPaths(Network), EMeshLoomError);
        EXPECT_FALSE(Network.PathRows.IsAllocated(1));
        EXPECT_EQ(Network.LinkRows[row.Origin][row.Destination], row.Value);

        Network.NumNodes = MaxNodes + 1;
        EXPECT_THROW(CompleteShortestPaths(Network), EMeshLoomError);
    }
}

// Columns and rows above NumNodes may hold anything; they are neither checked nor read.
TEST_F(ShortestPathsTest, DeadColumnsAreNotRead) {
    StartNetwork(4);
    AddLinks("1-2:5 2-3:7");
    Network.NumNodes = 3;
    Network.LinkRows[1][4] = -9;
    Network.LinkRows[4][1] = -9;
    CompleteShortestPaths(Network);
    EXPECT_EQ(Entries(Network.PathRows, 3), (TMatrix{0, 5, 12, 5, 0, 7, 12, 7, 0}));
    EXPECT_TRUE(Network.NetworkConnected);
    EXPECT_FALSE(Network.PathRows.IsAllocated(4));
}

TEST_F(ShortestPathsTest, RowWiseEqualsReferenceOnRandomNetworks) {
    struct TKind {
        const char* Name;
        double LinkChance;  // of each unordered pair; < 0: about 2 links a node
        double OneWayShare;
        int Shortest;
        int Longest;
    };
    const TKind kinds[] = {
        {"dense", 0.9, 0.2, 0, 10000},          {"sparse", -1, 0.3, 1, 3000},
        {"one-way only", 0.15, 1.0, 0, 10000},  {"mostly zero", 0.05, 0.5, 0, 1},
        {"near the cap", 0.3, 0.3, 4990, 5010}, {"at the cap", 0.2, 0.5, 9990, 10000},
    };
    std::vector<int> sizes;
    for (int n = 1; n <= 24; ++n) {
        sizes.push_back(n);
    }
    for (int n : {31, 32, 33, 47, 63, 64, 65, 99, 127, 128, 143, 144, 145, 149, 150}) {
        sizes.push_back(n);
    }

    std::mt19937 random(20240607);
    int connectedSeen = 0;
    int notConnectedSeen = 0;
    for (const TKind& kind : kinds) {
        for (const int n : sizes) {
            SCOPED_TRACE(std::string(kind.Name) + ", " + std::to_string(n));
            StartNetwork(n);
            const double chance = kind.LinkChance < 0 ? 2.0 / n : kind.LinkChance;
            std::uniform_real_distribution<double> unit(0, 1);
            std::uniform_int_distribution<int> distance(kind.Shortest, kind.Longest);
            for (int o = 1; o <= n; ++o) {
                for (int d = o + 1; d <= n; ++d) {
                    if (unit(random) >= chance) {
                        continue;
                    }
                    if (unit(random) < kind.OneWayShare) {
                        (unit(random) < 0.5 ? Network.LinkRows[o][d] : Network.LinkRows[d][o]) =
                            distance(random);
                    } else {
                        Network.LinkRows[o][d] = Network.LinkRows[d][o] = distance(random);
                    }
                }
            }

            CompleteShortestPathsReference();
            const TMatrix reference = Entries(Network.PathRows, n);
            const bool referenceConnected = Network.NetworkConnected;
            ReleasePathRows(Network);
            CompleteShortestPaths(Network);
            ASSERT_EQ(Entries(Network.PathRows, n), reference);
            ASSERT_EQ(Network.NetworkConnected, referenceConnected);
            ReleasePathRows(Network);
            ++(referenceConnected ? connectedSeen : notConnectedSeen);
        }
    }
    EXPECT_GT(connectedSeen, 20);
    EXPECT_GT(notConnectedSeen, 20);
}

}  // namespace
