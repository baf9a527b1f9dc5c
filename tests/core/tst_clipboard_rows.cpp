// The node and link lists as spreadsheet rows: reading quoted cells, headers, saved demand
// data lines and every refusal, and writing rows that read back to the same network.

#include <string>
#include <vector>

#include "core/clipboard_rows.h"
#include "core/network_store.h"
#include "core/separators.h"
#include "core_test.h"

namespace {

using ClipboardRowsTest = CoreTest;
using TCells = std::vector<std::string>;

TEST_F(ClipboardRowsTest, CellsAsSpreadsheetsQuoteThem) {
    const auto rows = TabSeparatedRows("a\t\"b\tc\"\"d\"\r\n\n\"two\nlines\"\tx\ry\n\"\"");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].Cells, (TCells{"a", "b\tc\"d"}));
    EXPECT_EQ(rows[1].Number, 3);  // the blank row 2 is skipped
    EXPECT_EQ(rows[1].Cells, (TCells{"two\nlines", "x"}));
    EXPECT_EQ(rows[2].Number, 4);
    EXPECT_EQ(rows[3].Cells, TCells{""});
    EXPECT_EQ(TabSeparatedCell("5\" pipe"), "\"5\"\" pipe\"");
}

TEST_F(ClipboardRowsTest, NodeRowsRead) {
    SetFormatSeparators({',', '.'});
    const auto reading = ReadNodeRows(
        "Name\tFirst\tSecond\tCost\nDepot\t12,5\t\t1e3\n\"Tab\there\"\t0,1\t10000\t0\n"
        "   1    0.0    0.0             12.500            0.000          300.000   < O\u2019Neill "
        ">",
        3);
    ASSERT_EQ(reading.Refusal, "");
    ASSERT_EQ(reading.Nodes.size(), 3u);
    const auto& [depot, tab, file] = std::tie(reading.Nodes[0], reading.Nodes[1], reading.Nodes[2]);
    EXPECT_EQ(depot.FirstDemand, Real48::Narrow(12.5L));
    EXPECT_EQ(depot.SecondDemand, Real48::Narrow(0));
    EXPECT_EQ(depot.FixedCost, Real48::Narrow(1000));
    EXPECT_EQ(tab.Name, "Tab here");
    EXPECT_EQ(tab.FirstDemand, Real48::Narrow(0.1L));
    EXPECT_EQ(file.Name, "O\x92Neill");
    EXPECT_EQ(file.FixedCost, Real48::Narrow(300));
}

// Node rows (for a table with Room places left) and link rows (Room -1, over the nodes
// "Depot", "North" and "North"), refused whole.
TEST_F(ClipboardRowsTest, EveryRefusal) {
    SetFormatSeparators({',', '.'});
    for (const char* name : {"Depot", "North", "North"}) {
        Network.NodeNames[++Network.NumNodes] = name;
    }
    AllocateLinkRows(Network);
    const struct {
        const char* Text;
        int Room;
        const char* Refusal;
    } rows[] = {
        {"A\t1\nB\t2\t3\t4\t5", 9, "Row 2: more than four cells."},
        {"A\t1\n\n\nB\t1\t12,5x", 9,
         "Row 4, second demand: \"12,5x\" is not a number from 0 to 10000."},
        {"A\t10000,01", 9, "Row 1, first demand: \"10000,01\" is not a number from 0 to 10000."},
        {"A\t1\t2\t1.5", 9, "Row 1, fixed cost: \"1.5\" is not a number from 0 to 10000."},
        {"A\nB\nC", 2, "The clipboard holds 3 nodes; 2 more fit into the table."},
        {"Depot\tNorth\t5", -1, "Row 1, destination: more than one node is called \"North\"."},
        {"1\t4\t5", -1, "Row 1, destination: there is no node 4."},
        {"Depot\tSouth\t5", -1, "Row 1, destination: no node is called \"South\"."},
        {"1\tDepot\t5", -1, "Row 1: origin and destination are the same node."},
        {"1\t2\t5\n1\t2\t10001", -1, "Row 2, distance: \"10001\" is not a number from 0 to 10000."},
        {"1\t2\t5\t6", -1,
         "Row 1: a link row has three cells (origin, destination, distance), or five as copied."},
        {"1\tNorth\t2\tNorth\t5", -1, "Row 1, origin: node 1 is not called \"North\"."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Text);
        if (row.Room >= 0) {
            const auto reading = ReadNodeRows(row.Text, row.Room);
            EXPECT_EQ(reading.Refusal, row.Refusal);
            EXPECT_TRUE(reading.Nodes.empty());
        } else {
            const auto reading = ReadLinkRows(row.Text, Network);
            EXPECT_EQ(reading.Refusal, row.Refusal);
            EXPECT_TRUE(reading.Links.empty());
        }
    }
}

// Copied rows pasted into an empty table copy out alike, so they hold the very values, in
// either region (the shortest text reads back to one value only); links by name and number.
TEST_F(ClipboardRowsTest, CopiedRowsReadBackAlike) {
    for (const char decimal : {'.', ','}) {
        SetFormatSeparators({decimal, decimal == '.' ? ',' : '.'});
        TNetworkStore copy;
        for (int node = 1; node <= MaxNodes; ++node) {
            copy.PendingName = node % 7 == 0 ? "Say \"" + std::to_string(node) + "\"" : "";
            copy.PendingFirstDemand = Real48::Narrow(node / 7.0L);
            copy.PendingSecondDemand = Real48::Narrow(10000 - node * 0.001L);
            copy.PendingFixedCost = Real48::Narrow(node * 66.6L);
            AddPendingNode(copy);
        }
        TNetworkStore pasted;
        AddPastedNodes(pasted, ReadNodeRows(NodeRowsText(copy), MaxNodes).Nodes);
        EXPECT_EQ(NodeRowsText(pasted), NodeRowsText(copy));
    }
    EXPECT_EQ(ShortestValueText(Real48::Narrow(1234.56L)), "1234,56");
    SetFormatSeparators({});

    for (const char* name : {"Depot", "North", "North"}) {
        Network.NodeNames[++Network.NumNodes] = name;
    }
    AllocateLinkRows(Network);
    AddPastedLinks(
        Network,
        ReadLinkRows("From\tTo\tDistance\nDepot\t2\t12.5\n3\tNorth\t1\tDepot\t0", Network).Links);
    EXPECT_EQ(Network.PendingDistance, -1);
    const std::string copied = LinkRowsText(Network);
    EXPECT_EQ(copied,
              "Origin\tOrigin name\tDestination\tDestination name\tDistance\n"
              "1\tDepot\t2\tNorth\t12\n3\tNorth\t1\tDepot\t0\n");  // 12.5 rounds to 12
    AllocateLinkRows(Network);
    AddPastedLinks(Network, ReadLinkRows(copied, Network).Links);
    EXPECT_EQ(LinkRowsText(Network), copied);
}

}  // namespace
