// The pairs that cannot be joined within 10000 and the details text made of them.

#include <algorithm>
#include <sstream>
#include <string>

#include "core/connectivity_details.h"
#include "core/errors.h"
#include "core_test.h"

namespace {

using ConnectivityDetailsTest = CoreTest;

// n nodes named "N1\xC9".."Nn\xC9"; "1>2:5" is a one-way link of 5, "1-2:5" a two-way link.
void MakeNetwork(int n, const std::string& links) {
    Network.NumNodes = n;
    Network.LinkRows.AllocateRows(n);
    for (int o = 1; o <= n; ++o) {
        Network.NodeNames[o] = "N" + std::to_string(o) + "\xC9";
        for (int d = 1; d <= n; ++d) {
            Network.LinkRows[o][d] = NoLink;
        }
    }
    std::istringstream words(links);
    int o = 0, d = 0, distance = 0;
    char kind = 0, colon = 0;
    while (words >> o >> kind >> d >> colon >> distance) {
        Network.LinkRows[o][d] = distance;
        if (kind == '-') {
            Network.LinkRows[d][o] = distance;
        }
    }
}

TEST_F(ConnectivityDetailsTest, SmallNetworks) {
    const struct {
        int Nodes;
        const char* Links;
        const char* Details;
    } rows[] = {
        {2, "1>2:5",
         "Nodes that no other node reaches:\n  1 N1\xC9\nNodes that reach no other node:\n"
         "  2 N2\xC9\n1 pair cannot be joined within 10000:\nFrom 2 N2\xC9\n  to 1 N1\xC9: no "
         "path"},
        {3, "1-2:5",
         "Nodes that no other node reaches:\n  3 N3\xC9\nNodes that reach no other node:\n"
         "  3 N3\xC9\n4 pairs cannot be joined within 10000:\nFrom 1 N1\xC9\n  to 3 N3\xC9: no "
         "path\n"
         "From 2 N2\xC9\n  to 3 N3\xC9: no path\nFrom 3 N3\xC9\n  to 1 N1\xC9: no path\n"
         "  to 2 N2\xC9: no path"},
        {3, "1-2:6000 2-3:6000",
         "2 pairs cannot be joined within 10000:\nFrom 1 N1\xC9\n  to 3 N3\xC9: shortest path "
         "12000\n"
         "From 3 N3\xC9\n  to 1 N1\xC9: shortest path 12000"},
        {3, "1-2:5000 2-3:5000", ""},
        {4, "1-2:6000 2-3:6000 1>3:9500 4>1:1",
         "Nodes that no other node reaches:\n  4 N4\xC9\n4 pairs cannot be joined within 10000:\n"
         "From 1 N1\xC9\n  to 4 N4\xC9: no path\nFrom 2 N2\xC9\n  to 4 N4\xC9: no path\n"
         "From 3 N3\xC9\n  to 1 N1\xC9: shortest path 12000\n  to 4 N4\xC9: no path"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Links);
        ResetNetworkStore();
        MakeNetwork(row.Nodes, row.Links);
        EXPECT_EQ(UnjoinedPairsDetails(Network), row.Details);
    }
    EXPECT_EQ(UnjoinedPairs(Network),
              (std::vector<TUnjoinedPair>{
                  {1, 4, false, 0}, {2, 4, false, 0}, {3, 1, true, 12000}, {3, 4, false, 0}}));
    Network.LinkRows[1][2] = MaxDistance + 1;
    EXPECT_THROW(UnjoinedPairs(Network), ERangeError);
}

// A one-way ring of 10 with 6000 a link (80 pairs beyond 10000), and 12 nodes without links
// (132 pairs without a path; each node list names 10 nodes).
TEST_F(ConnectivityDetailsTest, LongDetailsAreCut) {
    std::string ring;
    for (int node = 1; node <= 10; ++node) {
        ring += std::to_string(node) + ">" + std::to_string(node % 10 + 1) + ":6000 ";
    }
    const struct {
        int Nodes;
        std::string Links;
        std::ptrdiff_t Lines;
        const char* Last;
    } rows[] = {{10, ring, 51, "  to 3 N3\xC9: shortest path 42000\nAnd 37 more pairs."},
                {12, "", 50, "  to 12 N12\xC9: no path\nAnd 110 more pairs."}};
    for (const auto& row : rows) {
        ResetNetworkStore();
        MakeNetwork(row.Nodes, row.Links);
        const std::string details = UnjoinedPairsDetails(Network);
        EXPECT_EQ(std::count(details.begin(), details.end(), '\n') + 1, row.Lines);
        EXPECT_TRUE(details.ends_with(row.Last)) << details;
    }
    const std::string details = UnjoinedPairsDetails(Network);
    for (const char* next : {"Nodes that reach no other node:", "132 pairs cannot"}) {
        EXPECT_NE(details.find(std::string("  10 N10\xC9\n  and 2 more nodes\n") + next),
                  std::string::npos);
    }
}

}  // namespace
