// The texts of the node window: the list lines and the count.

#include <string>
#include <utility>

#include "core/lists/node_lines.h"
#include "core/network/network_store.h"
#include "core/numbers/real48.h"
#include "core/numbers/separators.h"
#include "core_test.h"

namespace {

using NodeLinesTest = CoreTest;

TEST_F(NodeLinesTest, ListLine) {
    struct TRow {
        const char* Name;
        int Node;
        std::string NodeName;
        double First;
        double Second;
        double Cost;
        TFormatSeparators Separators;
        std::string Line;
    };
    const TFormatSeparators fullStop{'.', ','};
    const TFormatSeparators comma{',', '.'};
    const TRow rows[] = {
        {"example", 7, "North Riverside Depot", 1234.5, 0.0, 10000.0, fullStop,
         "   7  North Riverside       1,234.5           0.0      10,000.0"},
        {"20 characters, first 15 kept", 150, "ABCDEFGHIJKLMNOPQRST", 0.1, 0.25, 999.96, fullStop,
         " 150  ABCDEFGHIJKLMNO           0.1           0.3       1,000.0"},
        {"short name right-aligned", 1, "Hub", 5.0, 12.5, 0.35, fullStop,
         "   1              Hub           5.0          12.5           0.3"},
        {"empty name", 12, "", 0.0, 0.0, 0.0, fullStop,
         "  12" + std::string(19, ' ') + "         0.0           0.0           0.0"},
        {"Latin-1 and angle brackets", 3, "<Caf\xe9 Nord>", 1.0, 2.0, 3.0, fullStop,
         "   3      <Caf\xe9 Nord>           1.0           2.0           3.0"},
        {"regional comma decimal", 7, "North Riverside Depot", 1234.5, 0.0, 10000.0, comma,
         "   7  North Riverside       1.234,5           0,0      10.000,0"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        SetFormatSeparators(row.Separators);
        const std::string built =
            NodeWindowListLine(row.Node, row.NodeName, Real48::Narrow(row.First),
                               Real48::Narrow(row.Second), Real48::Narrow(row.Cost));
        EXPECT_EQ(built, row.Line);
        EXPECT_EQ(built.size(), std::size_t{63});
    }
}

// Columns counted from 1, as the planner reads them.
TEST_F(NodeLinesTest, ExampleLineColumns) {
    const std::string line = NodeWindowListLine(7, "North Riverside Depot", Real48::Narrow(1234.5),
                                                Real48::Narrow(0), Real48::Narrow(10000));
    const auto columns = [&line](std::size_t first, std::size_t last) {
        return line.substr(first - 1, last - first + 1);
    };
    EXPECT_EQ(columns(1, 4), "   7");
    EXPECT_EQ(columns(7, 21), "North Riverside");
    EXPECT_EQ(columns(29, 35), "1,234.5");
    EXPECT_EQ(columns(47, 49), "0.0");
    EXPECT_EQ(columns(56, 63), "10,000.0");
    for (const std::size_t gap : {5, 22, 36, 50}) {
        EXPECT_EQ(columns(gap, gap + 1), "  ");
    }
    EXPECT_EQ(columns(24, 28), std::string(5, ' '));
    EXPECT_EQ(columns(38, 46), std::string(9, ' '));
    EXPECT_EQ(columns(52, 55), std::string(4, ' '));
}

TEST_F(NodeLinesTest, CountText) {
    struct TRow {
        const char* Name;
        int NumNodes;
        const char* Text;
    };
    const TRow rows[] = {
        {"empty", 0, "0 Nodes in the network"},
        {"one", 1, "1 Nodes in the network"},
        {"one short of full", 149, "149 Nodes in the network"},
        {"full", 150, "150 Nodes in the network.  NO MORE NODES MAY BE ADDED."},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(NodeCountText(row.NumNodes), row.Text);
    }
}

// Typing into a list of nodes "Site 1".."Site 150" but for names of other starts and cases.
TEST_F(NodeLinesTest, NodeFoundByTyping) {
    Network.NumNodes = MaxNodes;
    for (int k = 1; k <= MaxNodes; ++k) {
        Network.NodeNames[k] = "Site " + std::to_string(k);
    }
    Network.NodeNames[3] = "\311cole";   // E acute, held as its one byte
    Network.NodeNames[4] = "\x8Atefan";  // S caron, a byte of 0x80-0x9F
    Network.NodeNames[5] = "42nd Street";
    const std::pair<const char*, int> rows[] = {
        {"76", 76},      {"150", 150}, {"151", 0},    {"0", 0},       {"42n", 5},     {"42", 42},
        {"sITE 12", 12}, {"Site", 1},  {"\351co", 3}, {"\x9Atef", 4}, {"Nowhere", 0}, {"", 0},
    };
    for (const auto& [typed, node] : rows) {
        EXPECT_EQ(NodeFoundByTyping(Network, typed), node) << typed;
    }
}

}  // namespace
