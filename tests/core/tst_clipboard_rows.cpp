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

// Three nodes, "Depot", "North" and "North", and a link matrix without links.
void MakeNetwork() {
    for (const char* name : {"Depot", "North", "North"}) {
        Network.NodeNames[++Network.NumNodes] = name;
    }
    Network.LinkRows.AllocateRows(3);
    for (int i = 1; i <= 3; ++i) {
        for (int j = 1; j <= 3; ++j) {
            Network.LinkRows[i][j] = NoLink;
        }
    }
}

TEST_F(ClipboardRowsTest, CellsAsSpreadsheetsQuoteThem) {
    const auto rows = TabSeparatedRows("a\t\"b\tc\"\"d\"\r\n\n\"two\nlines\"\tx\ry\n\"\"");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].Cells, (std::vector<std::string>{"a", "b\tc\"d"}));
    EXPECT_EQ(rows[1].Number, 3);  // the blank row 2 is skipped
    EXPECT_EQ(rows[1].Cells, (std::vector<std::string>{"two\nlines", "x"}));
    EXPECT_EQ(rows[2].Number, 4);
    EXPECT_EQ(rows[3].Cells, std::vector<std::string>{""});
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
    EXPECT_EQ(reading.Nodes[0].FirstDemand, Real48::Narrow(12.5L));
    EXPECT_EQ(reading.Nodes[0].SecondDemand, Real48::Narrow(0));
    EXPECT_EQ(reading.Nodes[0].FixedCost, Real48::Narrow(1000));
    EXPECT_EQ(reading.Nodes[1].Name, "Tab here");
    EXPECT_EQ(reading.Nodes[1].FirstDemand, Real48::Narrow(0.1L));
    EXPECT_EQ(reading.Nodes[2].Name, "O\x92Neill");
    EXPECT_EQ(reading.Nodes[2].FixedCost, Real48::Narrow(300));
}

TEST_F(ClipboardRowsTest, NodeRowsRefusedWhole) {
    SetFormatSeparators({',', '.'});
    struct TRow {
        const char* Text;
        int Room;
        const char* Refusal;
    };
    const TRow rows[] = {
        {"A\t1\nB\t2\t3\t4\t5", 9, "Row 2: more than four cells."},
        {"A\t1\n\n\nB\t1\t12,5x", 9,
         "Row 4, second demand: \"12,5x\" is not a number from 0 to 10000."},
        {"A\t10000,01", 9, "Row 1, first demand: \"10000,01\" is not a number from 0 to 10000."},
        {"A\t1\t2\t1.5", 9, "Row 1, fixed cost: \"1.5\" is not a number from 0 to 10000."},
        {"A\nB\nC", 2, "The clipboard holds 3 nodes; 2 more fit into the table."},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Text);
        const auto reading = ReadNodeRows(row.Text, row.Room);
        EXPECT_EQ(reading.Refusal, row.Refusal);
        EXPECT_TRUE(reading.Nodes.empty());
    }
}

// What copying writes reads back to the very values held, in either region.
TEST_F(ClipboardRowsTest, CopiedNodesReadBackAlike) {
    for (const char decimal : {'.', ','}) {
        SetFormatSeparators({decimal, decimal == '.' ? ',' : '.'});
        ResetNetworkStore();
        for (int node = 1; node <= 150; ++node) {
            Network.NodeNames[node] = node % 7 == 0 ? "Say \"" + std::to_string(node) + "\"" : "";
            Network.FirstDemands[node] = Real48::Narrow(node / 7.0L);
            Network.SecondDemands[node] = Real48::Narrow(10000 - node * 0.001L);
            Network.FixedCosts[node] = Real48::Narrow(node * 66.6L);
            Network.NumNodes = node;
        }
        const auto reading = ReadNodeRows(NodeRowsText(Network), 150);
        ASSERT_EQ(reading.Refusal, "");
        for (int node = 1; node <= 150; ++node) {
            const TPastedNode& pasted = reading.Nodes[static_cast<std::size_t>(node - 1)];
            EXPECT_EQ(pasted.Name, Network.NodeNames[node]);
            EXPECT_EQ(pasted.FirstDemand, Network.FirstDemands[node]);
            EXPECT_EQ(pasted.SecondDemand, Network.SecondDemands[node]);
            EXPECT_EQ(pasted.FixedCost, Network.FixedCosts[node]);
        }
    }
    EXPECT_EQ(ShortestValueText(Real48::Narrow(1234.56L)), "1234,56");
}

TEST_F(ClipboardRowsTest, LinkRows) {
    MakeNetwork();
    struct TRow {
        const char* Text;
        const char* Refusal;
    };
    const TRow rows[] = {
        {"From\tTo\tDistance\nDepot\t2\t12.5\n3\tNorth\t1\tDepot\t0", ""},
        {"Depot\tNorth\t5", "Row 1, destination: more than one node is called \"North\"."},
        {"1\t4\t5", "Row 1, destination: there is no node 4."},
        {"Depot\tSouth\t5", "Row 1, destination: no node is called \"South\"."},
        {"1\tDepot\t5", "Row 1: origin and destination are the same node."},
        {"1\t2\t5\n1\t2\t10001", "Row 2, distance: \"10001\" is not a number from 0 to 10000."},
        {"1\t2\t5\t6",
         "Row 1: a link row has three cells (origin, destination, distance), or five as copied."},
        {"1\tNorth\t2\tNorth\t5", "Row 1, origin: node 1 is not called \"North\"."},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Text);
        EXPECT_EQ(ReadLinkRows(row.Text, Network).Refusal, row.Refusal);
    }
    const auto reading = ReadLinkRows(rows[0].Text, Network);
    ASSERT_EQ(reading.Links.size(), 2u);
    EXPECT_EQ(reading.Links[0].Destination, 2);
    EXPECT_EQ(reading.Links[0].Distance, 12);  // rounded as the distance field rounds
    EXPECT_EQ(reading.Links[1].Origin, 3);
    Network.LinkRows[1][2] = 12;
    Network.LinkRows[3][1] = 0;
    EXPECT_EQ(LinkRowsText(Network),
              "Origin\tOrigin name\tDestination\tDestination name\tDistance\n"
              "1\tDepot\t2\tNorth\t12\n3\tNorth\t1\tDepot\t0\n");
    EXPECT_EQ(ReadLinkRows(LinkRowsText(Network), Network).Links.size(), 2u);
}

}  // namespace
