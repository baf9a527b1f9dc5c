// What the node and link windows do to the store, without the windows.

#include <functional>
#include <string>

#include "core/network/network_store.h"
#include "core_test.h"

namespace {
using NetworkStoreTest = CoreTest;
using TChange = std::function<void(TNetworkStore&)>;

// The live nodes and the pending one as "name:<first><second><cost>", then every link among
// nodes 1..3 (the diagonal too) while there are rows, as "<origin><destination>=distance".
std::string State(const TNetworkStore& n) {
    std::string text;
    const auto node = [&text](const std::string& name, Real48 a, Real48 b, Real48 c) {
        text +=
            name + ':' + std::to_string(int(a.Widen() * 100 + b.Widen() * 10 + c.Widen())) + ' ';
    };
    for (int i = 1; i <= n.NumNodes; ++i) {
        node(n.NodeNames[i], n.FirstDemands[i], n.SecondDemands[i], n.FixedCosts[i]);
    }
    node(n.PendingName, n.PendingFirstDemand, n.PendingSecondDemand, n.PendingFixedCost);
    for (int link = 11; link <= 33 && n.LinkRows.IsAllocated(1); ++link) {
        const int d = link % 10;
        const int entry = d >= 1 && d <= 3 ? n.LinkRows[link / 10][d] : NoLink;
        text += entry == NoLink ? "" : std::to_string(link) + '=' + std::to_string(entry) + ' ';
    }
    return text;
}

// Nodes i = 1..Count named "<i>" with i, 2i and 3i, pending "P" with 7, 8 and 9; with 3 nodes
// also link rows holding 2->3 = 4, and PendingDistance 5. An empty After: ERangeError, no change.
TEST_F(NetworkStoreTest, EveryChange) {
    const auto remove = [](int k) -> TChange {
        return [k](TNetworkStore& n) { DeleteNode(n, k); };
    };
    const auto link = [](void (*change)(TNetworkStore&, int, int), int o, int d) -> TChange {
        return [=](TNetworkStore& n) { change(n, o, d); };
    };
    const std::string three = "1:123 2:246 3:369 P:789 ";
    const struct {
        int Count;
        TChange Action;
        std::string After;
    } rows[] = {
        {0, AddPendingNode, "P:789 P:789 "},
        {2, AddPendingNode, "1:123 2:246 P:789 P:789 "},
        {MaxNodes, AddPendingNode, ""},
        {3, remove(1), "2:246 3:369 P:789 23=4 "},
        {3, remove(2), "1:123 3:369 P:789 23=4 "},
        {3, remove(3), "1:123 2:246 P:789 23=4 "},
        {3, remove(0), ""},
        {3, remove(4), ""},
        {3, StartNodeTable, "P:0 23=4 "},
        {3, link(SetOneWayLink, 1, 2), three + "12=5 23=4 "},
        {3, link(SetOneWayLink, 2, 3), three + "23=5 "},
        {3, link(SetTwoWayLink, 3, 1), three + "13=5 23=4 31=5 "},
        {3, link(RemoveLink, 2, 3), three},
        {3, link(RemoveLink, 3, 2), three + "23=4 "},
        {3, link(SetOneWayLink, 0, 2), ""},
        {3, link(SetTwoWayLink, 1, MaxNodes + 1), ""},
        {3, ReleaseLinkRows, three},
        {2, [](TNetworkStore& n) { AppendNode(n, "Q", Real48::Narrow(1), {}, Real48::Narrow(2)); },
         "1:123 2:246 Q:102 P:789 "},
        {MaxNodes, [](TNetworkStore& n) { AppendNode(n, "Q", {}, {}, {}); }, ""},
        {3, [](TNetworkStore& n) { SetLinkDistance(n, 3, 2, 0); }, three + "23=4 32=0 "},
        {3, [](TNetworkStore& n) { SetLinkDistance(n, 2, 3, NoLink); }, three},
    };
    for (const auto& row : rows) {
        TNetworkStore n;
        for (n.NumNodes = 0; n.NumNodes < row.Count;) {
            const int i = ++n.NumNodes;
            n.NodeNames[i] = std::to_string(i);
            n.FirstDemands[i] = Real48::Narrow(i);
            n.SecondDemands[i] = Real48::Narrow(2 * i);
            n.FixedCosts[i] = Real48::Narrow(3 * i);
        }
        n.PendingName = "P";
        n.PendingFirstDemand = Real48::Narrow(7);
        n.PendingSecondDemand = Real48::Narrow(8);
        n.PendingFixedCost = Real48::Narrow(9);
        if (row.Count == 3) {
            AllocateLinkRows(n);
            EXPECT_EQ(State(n) + std::to_string(n.PendingDistance), three + "-1");
            n.PendingDistance = 4;
            SetOneWayLink(n, 2, 3);
            n.PendingDistance = 5;
        }
        const std::string before = State(n);
        if (row.After.empty()) {
            EXPECT_THROW(row.Action(n), ERangeError) << "row " << &row - rows;
        } else {
            row.Action(n);
        }
        EXPECT_EQ(State(n), row.After.empty() ? before : row.After) << "row " << &row - rows;
    }
}
}  // namespace
