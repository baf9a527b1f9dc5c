// The pairs that cannot be joined within 10000 and the details text made of them.

#include <algorithm>
#include <sstream>
#include <tuple>

#include "core/network/connectivity_details.h"
#include "core_test.h"

namespace {

using ConnectivityDetailsTest = CoreTest;

// n nodes, node i named by the byte 0xC0 + i; "1>2:5" a one-way link, "1-2:5" a two-way one.
void MakeNetwork(int n, const std::string& links) {
    ResetNetworkStore();
    Network.NumNodes = n;
    AllocateLinkRows(Network);
    for (int o = 1; o <= n; ++o) {
        Network.NodeNames[o] = std::string(1, static_cast<char>(0xC0 + o));
    }
    std::istringstream words(links);
    int o = 0, d = 0, distance = 0;
    char kind = 0, colon = 0;
    while (words >> o >> kind >> d >> colon >> distance) {
        Network.LinkRows[o][d] = distance;
        Network.LinkRows[d][o] = kind == '-' ? distance : Network.LinkRows[d][o];
    }
}

TEST_F(ConnectivityDetailsTest, SmallNetworks) {
    const std::tuple<int, const char*, const char*> rows[] = {
        {2, "1>2:5",
         "Nodes that no other node reaches:\n  1 \xC1\nNodes that reach no other node:\n  2 \xC2\n"
         "1 pair cannot be joined within 10000:\nFrom 2 \xC2\n  to 1 \xC1: no path"},
        {3, "1-2:5",
         "Nodes that no other node reaches:\n  3 \xC3\nNodes that reach no other node:\n  3 \xC3\n"
         "4 pairs cannot be joined within 10000:\nFrom 1 \xC1\n  to 3 \xC3: no path\nFrom 2 \xC2\n"
         "  to 3 \xC3: no path\nFrom 3 \xC3\n  to 1 \xC1: no path\n  to 2 \xC2: no path"},
        {3, "1-2:5000 2-3:5000", ""},
        {3, "1-2:6000 2-3:6000",
         "2 pairs cannot be joined within 10000:\nFrom 1 \xC1\n  to 3 \xC3: shortest path 12000\n"
         "From 3 \xC3\n  to 1 \xC1: shortest path 12000"},
    };
    for (const auto& [nodes, links, details] : rows) {
        MakeNetwork(nodes, links);
        EXPECT_EQ(UnjoinedPairsDetails(Network), details) << links;
    }
    EXPECT_EQ(UnjoinedPairs(Network),
              (std::vector<TUnjoinedPair>{{1, 3, true, 12000}, {3, 1, true, 12000}}));
}

// 12 nodes without links: each node list names 10 nodes, then 22 of the 132 pairs follow.
TEST_F(ConnectivityDetailsTest, LongDetailsAreCut) {
    MakeNetwork(12, "");
    const std::string details = UnjoinedPairsDetails(Network);
    EXPECT_EQ(std::count(details.begin(), details.end(), '\n'), 49);
    EXPECT_TRUE(details.ends_with("\n  to 12 \xCC: no path\nAnd 110 more pairs.")) << details;
    EXPECT_NE(details.find("  10 \xCA\n  and 2 more nodes\n132 pairs"), details.npos);
}

}  // namespace
