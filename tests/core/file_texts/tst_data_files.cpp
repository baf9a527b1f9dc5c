// The texts of the demand data file and the distance file, byte for byte. What a save leaves
// on disk is the file writer's (tests/files/tst_file_writer.cpp).

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/file_texts/data_files.h"
#include "core/network/network_store.h"
#include "core/network/shortest_paths.h"
#include "core/numbers/number_text.h"
#include "core_test.h"

namespace {

using DataFilesTest = CoreTest;

// The notation of the worked example: '·' stands for a blank.
std::string Blanks(const std::string& dotted) {
    const std::string dot = "·";
    std::string text;
    for (std::size_t at = 0; at < dotted.size();) {
        if (dotted.compare(at, dot.size(), dot) == 0) {
            text += ' ';
            at += dot.size();
        } else {
            text += dotted[at++];
        }
    }
    return text;
}

// A value as typed, held as it is stored. Hexadecimal texts ("0x1p-128") give exact values.
Real48 Held(const char* typed) {
    return Real48::Narrow(std::strtold(typed, nullptr));
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> pieces(1);
    for (const char c : text) {
        if (c == separator) {
            pieces.emplace_back();
        } else {
            pieces.back() += c;
        }
    }
    return pieces;
}

void AddNode(const std::string& name, const char* first, const char* second, const char* cost) {
    const int node = ++Network.NumNodes;
    Network.NodeNames[node] = name;
    Network.FirstDemands[node] = Held(first);
    Network.SecondDemands[node] = Held(second);
    Network.FixedCosts[node] = Held(cost);
}

// Nodes and links of the worked example, with the paths completed.
void MakeWorkedExample() {
    ResetNetworkStore();
    AddNode("Depot", "12.5", "0", "300");
    AddNode("North Yard", "2.0625", "10000", "0");
    Network.LinkRows.AllocateRows(2);
    Network.LinkRows[1][1] = Network.LinkRows[2][2] = NoLink;
    Network.LinkRows[1][2] = Network.LinkRows[2][1] = 5;
    CompleteShortestPaths(Network);
}

TEST_F(DataFilesTest, IntegerTexts) {
    struct TRow {
        const char* Name;
        std::int32_t Value;
        int Width;
        const char* Text;
    };
    const TRow rows[] = {
        {"node 1", 1, 4, "   1"},
        {"node 150", 150, 4, " 150"},
        {"distance 0", 0, 0, "0"},
        {"distance 10000", 10000, 0, "10000"},
        {"longer than the width", 12345, 4, "12345"},
        {"negative", -12, 4, " -12"},
        {"smallest", INT_MIN, 0, "-2147483648"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(IntToPadded(row.Value, row.Width), row.Text);
    }
}

// The rounding works on the value as stored, which may lie just above or below the typed one.
TEST_F(DataFilesTest, FixedPointTexts) {
    struct TRow {
        const char* Name;
        const char* Typed;
        int Width;
        int Decimals;
        const char* Text;
    };
    const TRow rows[] = {
        {"0", "0", 15, 3, "          0.000"},
        {"10000", "10000", 15, 3, "      10000.000"},
        {"12.5", "12.5", 15, 3, "         12.500"},
        {"0.5", "0.5", 15, 3, "          0.500"},
        {"exact half 2.0625 up, not to even", "2.0625", 15, 3, "          2.063"},
        {"exact half 0.0625 up", "0.0625", 15, 3, "          0.063"},
        {"exact half 0.3125 up", "0.3125", 15, 3, "          0.313"},
        {"just below 2.0625", "0x1.07fffffffe000p+1", 15, 3, "          2.062"},
        {"0.9999 carries", "0.9999", 15, 3, "          1.000"},
        {"9.9996 gains a digit", "9.9996", 15, 3, "         10.000"},
        {"9999.9996", "9999.9996", 15, 3, "      10000.000"},
        {"0.1 held a little above", "0.1", 15, 3, "          0.100"},
        {"1234.56", "1234.56", 15, 3, "       1234.560"},
        {"9999.9", "9999.9", 15, 3, "       9999.900"},
        {"0.0005 held below the half", "0.0005", 15, 3, "          0.000"},
        {"1.0005 held above the half", "1.0005", 15, 3, "          1.001"},
        {"2.0005 held below the half", "2.0005", 15, 3, "          2.000"},
        {"9999.9995 held above the half", "9999.9995", 15, 3, "      10000.000"},
        {"0.00051", "0.00051", 15, 3, "          0.001"},
        {"smallest stored", "0x1p-128", 15, 3, "          0.000"},
        {"negative half away from zero", "-2.0625", 15, 3, "         -2.063"},
        {"2^100 beyond the width", "0x1p100", 15, 3, "1267650600228229401496703205376.000"},
        {"1e30 as held", "1e30", 15, 3, "999999999999534741748122124288.000"},
        {"1 decimal", "2.0625", 0, 1, "2.1"},
        {"2 decimals, below half", "2.0625", 0, 2, "2.06"},
        {"4 decimals exact", "2.0625", 8, 4, "  2.0625"},
        {"0 decimals, half up", "2.5", 0, 0, "3"},
        {"leading zeros", "0.0625", 0, 4, "0.0625"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(FixedPointText(Held(row.Typed), row.Width, row.Decimals), row.Text);
    }
}

TEST_F(DataFilesTest, DemandDataLines) {
    struct TRow {
        const char* Name;
        int Node;
        std::string NodeName;
        std::string Line;
    };
    const std::string values = Blanks("····0.0····0.0····") + Blanks("··········1.000") +
                               Blanks("··") + Blanks("··········2.000") + Blanks("··") +
                               Blanks("··········3.000") + Blanks("···<·");
    const TRow rows[] = {
        {"blanks in the name", 7, " two  blanks ", "   7" + values + " two  blanks  >\r\n"},
        {"marks in the name", 1, "<a>b<", "   1" + values + "<a>b< >\r\n"},
        {"empty name", 1, "", "   1" + values + " >\r\n"},
        {"Latin-1 bytes", 2, "Z\xFCrich \xC5s", "   2" + values + "Z\xFCrich \xC5s >\r\n"},
        {"long name in full", 150, "A name of forty characters, not cut off",
         " 150" + values + "A name of forty characters, not cut off >\r\n"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        const std::string text =
            DemandDataLine(row.Node, row.NodeName, Held("1"), Held("2"), Held("3"));
        EXPECT_EQ(text, row.Line);
        EXPECT_EQ(text.size(), 78 + row.NodeName.size() + 2);
    }
}

TEST_F(DataFilesTest, WorkedExample) {
    MakeWorkedExample();
    const std::string demandData = DemandDataFileText(Network);
    EXPECT_EQ(demandData,
              Blanks("···1····0.0····0.0·············12.500············0.000··········300.000···<"
                     "·Depot·>") +
                  "\r\n" +
                  Blanks("···2····0.0····0.0··············2.063········10000.000············0.000"
                         "···<·North·Yard·>") +
                  "\r\n");
    const std::vector<std::string> lines = Split(demandData, '\n');
    ASSERT_EQ(lines.size(), std::size_t{3});
    EXPECT_EQ(lines[0].size(), std::size_t{83 + 1});
    EXPECT_EQ(lines[1].size(), std::size_t{88 + 1});
    EXPECT_EQ(DistanceFileText(Network), "0\r\n5\r\n5\r\n0\r\n");
}

TEST_F(DataFilesTest, OneWayLinkMakesTheFileAsymmetric) {
    MakeWorkedExample();
    ReleasePathRows(Network);
    Network.LinkRows[2][1] = NoLink;
    CompleteShortestPaths(Network);
    EXPECT_EQ(DistanceFileText(Network), "0\r\n5\r\n10000\r\n0\r\n");
}

// Every length of entry, and entries no completion gives (negative, past 99999), as written
// by the standard library.
TEST_F(DataFilesTest, DistanceEntriesOfEveryLength) {
    const std::int32_t entries[] = {0,     9,     10,     99, 100,     999,     1000, 9999,
                                    10000, 99999, 100000, -1, INT_MIN, INT_MAX, 7,    12345};
    Network.NumNodes = 4;
    Network.PathRows.AllocateRows(4);
    for (const bool paired : {false, true}) {  // then with the others as 99999
        std::string expected;
        for (std::size_t at = 0; at < std::size(entries); ++at) {
            const std::int32_t entry =
                paired && (entries[at] < 0 || entries[at] > 99999) ? 99999 : entries[at];
            Network.PathRows[static_cast<int>(at / 4) + 1][static_cast<int>(at % 4) + 1] = entry;
            expected += std::to_string(entry) + "\r\n";
        }
        EXPECT_EQ(DistanceFileText(Network), expected);
    }
}

// A one-way ring 1 -> 2 -> ... -> 150 -> 1 of length 1: the distance from i to j is
// (j - i) mod 150, so a file written column after column would not match.
TEST_F(DataFilesTest, FilesOf150Nodes) {
    for (int node = 1; node <= MaxNodes; ++node) {
        AddNode("Node " + std::to_string(node), "1", "2", "3");
    }
    Network.LinkRows.AllocateRows(MaxNodes);
    for (int o = 1; o <= MaxNodes; ++o) {
        for (int d = 1; d <= MaxNodes; ++d) {
            Network.LinkRows[o][d] = NoLink;
        }
        Network.LinkRows[o][o % MaxNodes + 1] = 1;
    }
    CompleteShortestPaths(Network);
    EXPECT_TRUE(Network.NetworkConnected);

    const std::string distances = DistanceFileText(Network);
    ASSERT_TRUE(distances.ends_with("\r\n"));
    const std::vector<std::string> lines = Split(distances.substr(0, distances.size() - 1), '\n');
    ASSERT_EQ(lines.size(), std::size_t{22500});
    for (int i = 1; i <= MaxNodes; ++i) {
        for (int j = 1; j <= MaxNodes; ++j) {
            const std::string expected = std::to_string((j - i + MaxNodes) % MaxNodes) + '\r';
            ASSERT_EQ(lines[static_cast<std::size_t>((i - 1) * MaxNodes + j - 1)], expected)
                << "row " << i << ", column " << j;
        }
    }

    const std::vector<std::string> demandLines = Split(DemandDataFileText(Network), '\n');
    ASSERT_EQ(demandLines.size(), std::size_t{MaxNodes + 1});
    EXPECT_TRUE(demandLines[MaxNodes - 1].starts_with(" 150    0.0")) << demandLines[MaxNodes - 1];
    EXPECT_TRUE(demandLines[MaxNodes - 1].ends_with("< Node 150 >\r")) << demandLines[MaxNodes - 1];
}

}  // namespace
