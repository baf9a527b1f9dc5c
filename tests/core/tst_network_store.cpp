// What the node and link windows do to the store, without the windows.

#include <functional>
#include <string>
#include <vector>

#include "core/network_store.h"
#include "core_test.h"

namespace {

using NetworkStoreTest = CoreTest;
using TAction = std::function<void(TNetworkStore&)>;

// Node i is "n<i>" with the values i, 2i and 3i; the pending node is "P" with 7, 8 and 9.
void FillNodes(TNetworkStore& network, int count) {
    for (int i = 1; i <= count; ++i) {
        network.NodeNames[i] = "n" + std::to_string(i);
        network.FirstDemands[i] = Real48::Narrow(i);
        network.SecondDemands[i] = Real48::Narrow(2 * i);
        network.FixedCosts[i] = Real48::Narrow(3 * i);
    }
    network.NumNodes = count;
    network.PendingName = "P";
    network.PendingFirstDemand = Real48::Narrow(7);
    network.PendingSecondDemand = Real48::Narrow(8);
    network.PendingFixedCost = Real48::Narrow(9);
}

// The live nodes as "name first second cost", and the pending values last.
std::vector<std::string> Nodes(const TNetworkStore& network) {
    const auto text = [](const std::string& name, Real48 a, Real48 b, Real48 c) {
        return name + ' ' + std::to_string(static_cast<int>(a.Widen())) + ' ' +
               std::to_string(static_cast<int>(b.Widen())) + ' ' +
               std::to_string(static_cast<int>(c.Widen()));
    };
    std::vector<std::string> nodes;
    for (int i = 1; i <= network.NumNodes; ++i) {
        nodes.push_back(text(network.NodeNames[i], network.FirstDemands[i],
                             network.SecondDemands[i], network.FixedCosts[i]));
    }
    nodes.push_back(text("pending " + network.PendingName, network.PendingFirstDemand,
                         network.PendingSecondDemand, network.PendingFixedCost));
    return nodes;
}

TEST_F(NetworkStoreTest, NodeTable) {
    struct TRow {
        const char* Name;
        int Count;
        TAction Action;
        bool Raises;
        std::vector<std::string> After;
    };
    const TRow rows[] = {
        {"add to an empty table", 0, AddPendingNode, false, {"P 7 8 9", "pending P 7 8 9"}},
        {"add after two",
         2,
         AddPendingNode,
         false,
         {"n1 1 2 3", "n2 2 4 6", "P 7 8 9", "pending P 7 8 9"}},
        {"add to a full table", MaxNodes, AddPendingNode, true, {}},
        {"delete the first of three",
         3,
         [](TNetworkStore& n) { DeleteNode(n, 1); },
         false,
         {"n2 2 4 6", "n3 3 6 9", "pending P 7 8 9"}},
        {"delete the middle one",
         3,
         [](TNetworkStore& n) { DeleteNode(n, 2); },
         false,
         {"n1 1 2 3", "n3 3 6 9", "pending P 7 8 9"}},
        {"delete the last one",
         3,
         [](TNetworkStore& n) { DeleteNode(n, 3); },
         false,
         {"n1 1 2 3", "n2 2 4 6", "pending P 7 8 9"}},
        {"delete the only one",
         1,
         [](TNetworkStore& n) { DeleteNode(n, 1); },
         false,
         {"pending P 7 8 9"}},
        {"delete node 0", 3, [](TNetworkStore& n) { DeleteNode(n, 0); }, true, {}},
        {"delete a dead slot", 3, [](TNetworkStore& n) { DeleteNode(n, 4); }, true, {}},
        {"start afresh keeps the name", 3, StartNodeTable, false, {"pending P 0 0 0"}},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        TNetworkStore network;
        FillNodes(network, row.Count);
        const std::vector<std::string> before = Nodes(network);
        if (row.Raises) {
            EXPECT_THROW(row.Action(network), ERangeError);
            EXPECT_EQ(Nodes(network), before);
        } else {
            row.Action(network);
            EXPECT_EQ(Nodes(network), row.After);
        }
    }
    // Starting afresh leaves the dead slots as they were.
    TNetworkStore network;
    FillNodes(network, 2);
    StartNodeTable(network);
    EXPECT_EQ(network.NodeNames[2], "n2");
}

// The entries of the link matrix among three nodes that are not NoLink, as "o->d=value".
std::vector<std::string> Links(const TNetworkStore& network) {
    std::vector<std::string> links;
    for (int o = 1; o <= 3; ++o) {
        for (int d = 1; d <= 3; ++d) {
            if (network.LinkRows[o][d] != NoLink) {
                links.push_back(std::to_string(o) + "->" + std::to_string(d) + '=' +
                                std::to_string(network.LinkRows[o][d]));
            }
        }
    }
    return links;
}

TEST_F(NetworkStoreTest, LinkMatrix) {
    struct TRow {
        const char* Name;
        TAction Action;
        bool Raises;
        std::vector<std::string> After;
    };
    const auto oneWay = [](int o, int d) {
        return [=](TNetworkStore& n) { SetOneWayLink(n, o, d); };
    };
    const TRow rows[] = {
        {"one way", oneWay(1, 2), false, {"1->2=5", "2->3=4"}},
        {"one way over an existing link", oneWay(2, 3), false, {"2->3=5"}},
        {"two ways",
         [](TNetworkStore& n) { SetTwoWayLink(n, 3, 1); },
         false,
         {"1->3=5", "2->3=4", "3->1=5"}},
        {"remove one direction", [](TNetworkStore& n) { RemoveLink(n, 2, 3); }, false, {}},
        {"remove where there is none",
         [](TNetworkStore& n) { RemoveLink(n, 1, 2); },
         false,
         {"2->3=4"}},
        {"origin 0", oneWay(0, 2), true, {"2->3=4"}},
        {"destination beyond the table", oneWay(1, MaxNodes + 1), true, {"2->3=4"}},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        TNetworkStore network;
        network.NumNodes = 3;
        network.PendingDistance = 7;
        AllocateLinkRows(network);
        EXPECT_EQ(network.PendingDistance, -1);
        EXPECT_EQ(Links(network), std::vector<std::string>{});
        network.PendingDistance = 4;
        SetOneWayLink(network, 2, 3);
        network.PendingDistance = 5;
        if (row.Raises) {
            EXPECT_THROW(row.Action(network), ERangeError);
        } else {
            row.Action(network);
        }
        EXPECT_EQ(Links(network), row.After);
        ReleaseLinkRows(network);
        for (int node = 1; node <= 3; ++node) {
            EXPECT_FALSE(network.LinkRows.IsAllocated(node));
        }
    }
}

}  // namespace
