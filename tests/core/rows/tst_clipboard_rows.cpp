// The node and link lists as spreadsheet rows: reading quoted cells, headers, saved demand
// data lines and every refusal, and writing rows that read back to the same network.

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/lists/link_lines.h"
#include "core/network/network_store.h"
#include "core/numbers/number_text.h"
#include "core/numbers/separators.h"
#include "core/rows/clipboard_rows.h"
#include "core_test.h"

namespace {

using ClipboardRowsTest = CoreTest;
using TCells = std::vector<std::string>;

TEST_F(ClipboardRowsTest, CellsAsSpreadsheetsQuoteThem) {
    const auto rows = TabSeparatedRows("a\t\"b\tc\"\"d\"\r\n\n\"two\nlines\"\tx\ry\n\"\"").Rows;
    ASSERT_EQ(rows.size(), 3u);  // the quoted empty cell is a blank row
    EXPECT_EQ(rows[0].Cells, (TCells{"a", "b\tc\"d"}));
    EXPECT_EQ(rows[1].Number, 3);  // the blank row 2 is skipped
    EXPECT_EQ(rows[1].Cells, (TCells{"two\nlines", "x"}));
    EXPECT_EQ(rows[2].Number, 4);
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

// What a paste reads from each text, in a region whose decimal symbol is Decimal: the nodes
// (for a table with Room places left) or, for Room -1, the links over the nodes "Depot",
// "North", "North", "7", "12", "01067" and "Süd"; or the refusal. Grouped by what went wrong
// before: blank rows, rows that are no rows, lost first rows, grouped numbers, names of
// digits, and the rest.
TEST_F(ClipboardRowsTest, PastesReadOrRefused) {
    for (const char* name : {"Depot", "North", "North", "7", "12", "01067",
                             "S\xFC"
                             "d"}) {
        Network.NodeNames[++Network.NumNodes] = name;
    }
    AllocateLinkRows(Network);
    const struct {
        char Decimal;
        int Room;
        const char* Text;
        const char* Read;  // "name first second cost|..." or "origin>destination distance|..."
    } rows[] = {
        {',', 9, "Depot\t1\t2\t3\n\t\t\t\n \t\t \t\nNorth\t4", "Depot 1 2 3|North 4 0 0"},
        {',', -1, "Depot\t2\t5\n\t\t\n1\t5\t6", "1>2 5|1>5 6"},
        {',', 9, "Depot\t1\t2\t3\t\t", "Depot 1 2 3"},
        {',', -1, "Depot\t2\t5\t", "1>2 5"},

        {',', 9, "Depot,12.5,0,300",
         "Row 1 holds one cell: \"Depot,12.5,0,300\". A node row is name, first demand, second "
         "demand and fixed cost, separated by tabs."},
        {',', 9, "Depot\nNorth",
         "Row 1 holds one cell: \"Depot\". A node row is name, first demand, second demand and "
         "fixed cost, separated by tabs."},
        {',', 9, "A\t1\nB\t2\t3\t4\t5",
         "Row 2 holds five cells: \"B\", \"2\", \"3\", \"4\", \"5\". A node row is name, first "
         "demand, second demand and fixed cost, separated by tabs."},
        {',', 9, "A\t1\n\"B\t2\nC\t3", "Row 2: a cell opens a quote that is never closed."},
        {',', -1, "1\t2\t5\t6",
         "Row 1 holds four cells: \"1\", \"2\", \"5\", \"6\". A link row is origin, destination "
         "and distance, separated by tabs, or the five cells that Copy All Links writes."},

        {',', 9, "Name\tFirst demand\tSecond demand\tFixed cost\n", ""},
        {',', 9, "", ""},
        {',', -1, "\t\t\n\n", ""},
        {',', -1, "From\tTo\tkm", ""},
        {',', 9, "Place\tDemand 1\tDemand 2\tCost\nDepot\t1\t2\t3", "Depot 1 2 3"},
        {'.', 9, "A\t12,5\t0\t0",
         "Row 1, first demand: \"12,5\" is not a number: the decimal symbol is \".\", as in "
         "1,234.5."},
        {'.', -1, "Depot\t12\t12,5",
         "Row 1, distance: \"12,5\" is not a number: the decimal symbol is \".\", as in 1,234.5."},
        {',', -1, "12\tDepot\t1.234", "5>1 1234"},

        {',', 9, "Depot\t1.234,50\t10.000\t0,1", "Depot 1234.5 10000 0.1"},
        {'.', 9, "Depot\t1,234.50\t10,000\t0.1", "Depot 1234.5 10000 0.1"},
        {',', 9, "Depot\t12.5",
         "Row 1, first demand: \"12.5\" is not a number: the decimal symbol is \",\", as in "
         "1.234,5."},
        {',', 9, "Depot\t1\t1.23,4",
         "Row 1, second demand: \"1.23,4\" is not a number: the decimal symbol is \",\", as in "
         "1.234,5."},
        {',', 9, "A\t10.000,01",
         "Row 1, first demand: \"10.000,01\" is not a number from 0 to 10000."},
        {',', 9, "A\t1\n\n\nB\t1\t12,5x",
         "Row 4, second demand: \"12,5x\" is not a number: it may not hold \"x\"."},

        {',', -1, "12\t01067\t100", "5>6 100"},
        {',', -1, "5\t7\t100",
         "Row 1, destination: \"7\" could be node 7, or node 4, which is called \"7\"."},
        {',', -1, "4\t7\t5\t12\t9", "4>5 9"},
        {',', -1,
         "S\xC3\xBC"
         "d\t1\t3",
         "7>1 3"},
        {',', -1, "Depot\tNorth\t5", "Row 1, destination: more than one node is called \"North\"."},
        {',', -1, "1\t8\t5", "Row 1, destination: there is no node 8."},
        {',', -1, "Depot\tSouth\t5", "Row 1, destination: no node is called \"South\"."},
        {',', -1, "1\tNorth\t2\tNorth\t5", "Row 1, origin: node 1 is not called \"North\"."},

        {',', -1, "1\t2\t5\n2\t1\t5\n1\t2\t6",
         "Rows 1 and 3 give the link from node 1 to node 2 two distances, 5 and 6."},
        {',', -1, "1\t2\t5\n1\t2\t5", "1>2 5"},
        {',', 9,
         "\xEF\xBB\xBF"
         "Depot\t1\t2\t3",
         "Depot 1 2 3"},
        {',', 2, "A\t1\nB\t1\nC\t1", "The clipboard holds 3 nodes; 2 more fit into the table."},
        {',', -1, "1\tDepot\t5", "Row 1: origin and destination are the same node."},
        {',', -1, "1\t2\t5\n1\t2\t10001",
         "Row 2, distance: \"10001\" is not a number from 0 to 10000."},

        // A group of 0 is a fraction in another region's form; a header holds letters; a
        // quote closes only before a tab or a line end; names composed, each row's bytes
        // judged on their own; cells shown cut; what a symbol is; empty and blank cells alike.
        {'.', 9, "Depot\t0,500\t0\t1",
         "Row 1, first demand: \"0,500\" is not a number: the decimal symbol is \".\", as in "
         "1,234.5."},
        {',', 9, "Depot\t0.500",
         "Row 1, first demand: \"0.500\" is not a number: the decimal symbol is \",\", as in "
         "1.234,5."},
        {',', 9, "Depot\t-\t-\t-\n1\t2\t5", "Row 1, first demand: \"-\" is not a number."},
        {',', 9, "Depot\t?\t*\t#",
         "Row 1, first demand: \"?\" is not a number: it may not hold \"?\"."},
        {',', -1, "1\t2\t-\n2\t1\t5", "Row 1, distance: \"-\" is not a number."},
        {',', 9, "\"North\t5\nPipe 5\" wide\t7",
         "Row 1: a cell opens a quote that is never closed."},
        {',', 9, "\"5\" pipe\"\t1\n\"\"\"Hub\"\"\"\t2", "5\" pipe 1 0 0|\"Hub\" 2 0 0"},
        {',', 9, "Cafe\xCC\x81\t1\nCaf\xC3\xA9\t2\nM\xFCller\t3",
         "Caf\xE9 1 0 0|Caf\xE9 2 0 0|M\xFCller 3 0 0"},
        {',', 9, "A\t1234567890123456789012345678901234567890123x",
         "Row 1, first demand: \"1234567890123456789012345678901234567890...\" is not a number: "
         "it may not hold \"x\"."},
        {',', 9, "A\t50%", "Row 1, first demand: \"50%\" is not a number: it may not hold \"%\"."},
        {'.', 9,
         "A\t\xE2\x82\xAC"
         "5",
         "Row 1, first demand: \"\xE2\x82\xAC"
         "5\" is not a number: it may not hold \"\xE2\x82\xAC\"."},
        {'.', 9,
         "A\t1'234.5\t1\xE2\x80\x99"
         "234.5",
         "A 1234.5 1234.5 0"},
        {',', 9, "Depot\t\t\t\nNorth\t \t1\t ", "Depot 0 0 0|North 0 1 0"},
        {',', 1, "A\t1\nB\tx\nC", "The clipboard holds 3 nodes; 1 more fit into the table."},
    };
    const auto value = [](const Real48& stored) {
        char text[32];
        std::snprintf(text, sizeof text, "%.10Lg", stored.Widen());
        return std::string(text);
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Text);
        SetFormatSeparators({row.Decimal, row.Decimal == '.' ? ',' : '.'});
        std::string read;
        if (row.Room >= 0) {
            const auto reading = ReadNodeRows(row.Text, row.Room);
            read = reading.Refusal;
            for (const TPastedNode& node : reading.Nodes) {
                read += (read.empty() ? "" : "|") + node.Name + " " + value(node.FirstDemand) +
                        " " + value(node.SecondDemand) + " " + value(node.FixedCost);
            }
        } else {
            const auto reading = ReadLinkRows(row.Text, Network);
            read = reading.Refusal;
            for (const TPastedLink& link : reading.Links) {
                read += (read.empty() ? "" : "|") + std::to_string(link.Origin) + ">" +
                        std::to_string(link.Destination) + " " + std::to_string(link.Distance);
            }
        }
        EXPECT_EQ(read, row.Read);
    }
}

// Where no node is called by digits, digits name nodes by number alone, and plain digits are
// the distance they spell, leading zeros and all, as where names of digits are looked up.
// A first row is a header when each value cell holds a letter of any script and is no number;
// digits of any script are values, and those other than 0-9 are refused by name.
TEST_F(ClipboardRowsTest, FirstRowsHeaderOrData) {
    SetFormatSeparators({'.', ','});
    const struct {
        const char* First;
        const char* Read;  // "" where the row is a header
    } rows[] = {
        {"Name\tFirst demand\tSecond demand\tFixed cost", ""},
        {"Name\tDemand 1\tDemand 2\tFixed cost", ""},
        {"\u540D\u524D\t\u9700\u8981\uFF11\t\u9700\u8981\uFF12\t\u8CBB\u7528", ""},
        {"\u0627\u0633\u0645\t\u0637\u0644\u0628 \u0661\t\u0637\u0644\u0628 "
         "\u0662\t\u0643\u0644\u0641\u0629",
         ""},
        {"A\t1\t2\t3", "A 1 2 3"},
        {"Depot \u0661\u0662\t\u0661\u0662\t\u0663\t\u0664",
         "Row 1, first demand: \"\u0661\u0662\" is not a number: it may not hold \"\u0661\"."},
        {"A\t\u0967\t\u0968\t\u0969",
         "Row 1, first demand: \"\u0967\" is not a number: it may not hold \"\u0967\"."},
        {"A\t\uFF11\t\uFF12\t\uFF13",
         "Row 1, first demand: \"\uFF11\" is not a number: it may not hold \"\uFF11\"."},
        {"A\t-\t-\t-", "Row 1, first demand: \"-\" is not a number."},
        {"A\t?\tx\ty", "Row 1, first demand: \"?\" is not a number: it may not hold \"?\"."},
        {"A\t1e3\tSecond\tCost",
         "Row 1, second demand: \"Second\" is not a number: it may not hold \"S\"."},
        {"A\t\u2013\t\u2014\t\u20AC",
         "Row 1, first demand: \"\u2013\" is not a number: it may not hold \"\u2013\"."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.First);
        const auto reading = ReadNodeRows(std::string(row.First) + "\nB\t4\t5\t6", 9);
        std::string read = reading.Refusal;
        if (read.empty() && reading.Nodes.size() == 2) {
            read = reading.Nodes[0].Name + " 1 2 3";
        }
        EXPECT_EQ(read, row.Read);
        if (*row.Read == '\0') {
            EXPECT_EQ(reading.Nodes.size(), 1u);
        }
    }
    Network.NodeNames[++Network.NumNodes] = "A";
    Network.NodeNames[++Network.NumNodes] = "B";
    AllocateLinkRows(Network);
    EXPECT_EQ(ReadLinkRows("1\t2\t\u0665", Network).Refusal,
              "Row 1, distance: \"\u0665\" is not a number: it may not hold \"\u0665\".");
    EXPECT_EQ(ReadLinkRows("From\tTo\tDistance 1\n1\t2\t5", Network).Links.size(), 1u);
}

// A name that a demand data file cannot hold names no node, not the node whose name holds "?"
// in its place; the node is reached by its own name.
TEST_F(ClipboardRowsTest, UnheldNameNamesNoNode) {
    Network.NodeNames[++Network.NumNodes] =
        "?\xF3"
        "d?";
    Network.NodeNames[++Network.NumNodes] = "B";
    AllocateLinkRows(Network);
    EXPECT_EQ(ReadLinkRows("\u0141\u00F3d\u017A\tB\t5", Network).Refusal,
              "Row 1, origin: no node is called \"\u0141\u00F3d\u017A\".");
    EXPECT_EQ(ReadLinkRows("1\t\u0141\u00F3d\u017A\t2\tB\t5", Network).Refusal,
              "Row 1, origin: node 1 is not called \"\u0141\u00F3d\u017A\".");
    EXPECT_EQ(ReadLinkRows("?\u00F3d?\tB\t5", Network).Links.size(), 1u);
}

// An endless cell is refused at its first byte too many, not read to its end; rows ended by
// a CR alone read as those ended by LF.
TEST_F(ClipboardRowsTest, ReadingBounded) {
    std::size_t given = 0;
    TTabSeparatedReader endless([&](char* buffer, std::size_t size) {
        std::fill(buffer, buffer + size, 'x');
        given += size;
        return given > (std::size_t(1) << 30) ? 0 : size;
    });
    TClipboardRow row;
    EXPECT_FALSE(endless.Next(row));
    EXPECT_EQ(endless.Refusal(), "Row 1: a cell holds more than 65536 bytes.");
    EXPECT_LE(given, 2 * LongestCell + 1);
    const auto lines = ReadNodeRows("A\t1\t2\t3\rB\t4\t5\t6\r", 9);
    EXPECT_EQ(lines.Refusal, "");
    EXPECT_EQ(lines.Nodes.size(), 2u);
}

TEST_F(ClipboardRowsTest, NumbersWhereNoNodeIsCalledByDigits) {
    for (const char* name : {"Depot", "North"}) {
        Network.NodeNames[++Network.NumNodes] = name;
    }
    AllocateLinkRows(Network);
    const struct {
        const char* Text;
        const char* Read;  // "origin>destination distance|..." or the refusal
    } rows[] = {
        {"01\t002\t00010\n2\tDepot\t0\n2\t1\t00000", "1>2 10|2>1 0"},
        {"1\t3\t5", "Row 1, destination: there is no node 3."},
        {"1\t0\t5", "Row 1, destination: there is no node 0."},
        {"1\t2\t10001", "Row 1, distance: \"10001\" is not a number from 0 to 10000."},
        {"1\t2\t123456", "Row 1, distance: \"123456\" is not a number from 0 to 10000."},
    };
    for (const auto& row : rows) {
        const auto reading = ReadLinkRows(row.Text, Network);
        std::string read = reading.Refusal;
        for (const TPastedLink& link : reading.Links) {
            read += (read.empty() ? "" : "|") + std::to_string(link.Origin) + ">" +
                    std::to_string(link.Destination) + " " + std::to_string(link.Distance);
        }
        EXPECT_EQ(read, row.Read) << row.Text;
    }
}

// Rows of plain digits are taken straight from the read buffer where it holds them whole; read
// one byte at a time, every row goes through the full reading. Both give the same links and
// the same refusal, each case row between plain ones, in networks with and without names of
// digits.
TEST_F(ClipboardRowsTest, LinkRowsInTheBufferReadAsRowsByteByByte) {
    const char* const cases[] = {"01\t2\t5\n",    "0001\t2\t5\n",   "1\t2\t00010000\n",
                                 "1\t2\t10001\n", "1\t1\t5\n",      "1\t4\t5\n",
                                 "0\t2\t5\n",     "1\t2\t9\n",      "1\t2\t5\r\n",
                                 "1\t2\t5\r",     "1\t2\t5\t\n",    "1\t2\t5\t6\n",
                                 "1\t2\n",        "\n\t\t\n",       "1\t2\t 5\n",
                                 "1\t2\t\"5\"\n", "1\t2\t\u0665\n", "3\t1\t123456789\n",
                                 "1\t2\t5\r\r\n", "3\t2\t7\r\n",    "2\t1\t5\r\n1\t1\t5\n"};
    const auto read = [](TTabSeparatedReader& rows, const TNetworkStore& network) {
        const TLinkRowsReading reading = ReadLinkRows(rows, network);
        std::string text = reading.Refusal;
        for (const TPastedLink& link : reading.Links) {
            text += "|" + std::to_string(link.Origin) + ">" + std::to_string(link.Destination) +
                    " " + std::to_string(link.Distance);
        }
        return text;
    };
    for (const char* last : {"Three", "3"}) {
        ResetNetworkStore();
        for (const char* name : {"Depot", "North", last}) {
            Network.NodeNames[++Network.NumNodes] = name;
        }
        AllocateLinkRows(Network);
        for (const char* row : cases) {
            const std::string text =
                std::string("1\t2\t5\n2\t3\t17\n") + row + "3\t1\t1000\n2\t1\t10000\n1\t3\t12\n";
            TTabSeparatedReader whole(text);
            std::size_t at = 0;
            TTabSeparatedReader bytes([&](char* buffer, std::size_t) {
                return at < text.size() ? (*buffer = text[at++], std::size_t{1}) : 0;
            });
            const std::string inBuffer = read(whole, Network);
            EXPECT_EQ(inBuffer, read(bytes, Network)) << last << ": " << row;
            if (std::string_view(row) == "1\t2\t9\n") {
                EXPECT_EQ(inBuffer,
                          "Rows 1 and 3 give the link from node 1 to node 2 two "
                          "distances, 5 and 9.");
            }
        }
    }
}

// A name a demand data file cannot hold is refused with its row and character, never held as
// "?" or without the character, in a typed row, a saved line as text and a saved line as bytes;
// a byte order mark that comes in pieces is dropped all the same.
TEST_F(ClipboardRowsTest, NamesThatCannotBeHeldRefusedAndMarksInPieces) {
    const std::string line =
        "   2    0.0    0.0              1.000            2.000            "
        "3.000   < B";
    struct TRow {
        std::string Text;
        std::string Refusal;
    };
    const TRow rows[] = {
        {"A\t1\t2\t3\n\xC5\x81\xC3\xB3"
         "d\t1\t2\t3\n",
         "Row 2, name: the name holds \"\xC5\x81\" (U+0141), which a demand data file cannot "
         "hold."},
        {"A\t1\t2\t3\n" + line + "\x7F >\r\n",
         "Row 2, name: the name holds U+007F, which a demand data file cannot hold."},
        {"A\t1\t2\t3\n" + line + "\xC2\x81 >\r\n",
         "Row 2, name: the name holds U+0081, which a demand data file cannot hold."},
        {"A\t1\t2\t3\nB\x81\t1\t2\t3\n",
         "Row 2, name: the name holds U+0081, which a demand data file cannot hold."},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Text);
        EXPECT_EQ(ReadNodeRows(row.Text, 150).Refusal, row.Refusal);
        std::size_t at = 0;
        TTabSeparatedReader bytes([&](char* buffer, std::size_t) {
            return at < row.Text.size() ? (*buffer = row.Text[at++], std::size_t{1}) : 0;
        });
        const TNodeRowsReading fromBytes = ReadNodeRows(bytes, 150);
        EXPECT_NE(fromBytes.Refusal.find("Row 2, name: the name holds "), std::string::npos)
            << fromBytes.Refusal;
    }
    const std::string marked =
        "\xEF\xBB\xBF"
        "Depot\t1\t2\t3\nB\t1\t2\t3\n";
    for (std::size_t piece = 1; piece <= 4; ++piece) {
        std::size_t at = 0;
        TTabSeparatedReader pieces([&](char* buffer, std::size_t size) {
            const std::size_t count = std::min({piece, size, marked.size() - at});
            std::copy_n(marked.data() + at, count, buffer);
            at += count;
            return count;
        });
        const TNodeRowsReading reading = ReadNodeRows(pieces, 150);
        ASSERT_EQ(reading.Refusal, "") << piece;
        ASSERT_EQ(reading.Nodes.size(), 2U) << piece;
        EXPECT_EQ(reading.Nodes[0].Name, "Depot") << piece;
    }
}

// Copied rows pasted into an empty table hold the very values copied, in either region (the
// shortest text reads back to one value only), and leave the node being typed as it was;
// links by name and number, and back from their copy, names of digits included.
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
        pasted.PendingName = "Typing";
        pasted.PendingFixedCost = Real48::Narrow(5);
        AddPastedNodes(pasted, ReadNodeRows(NodeRowsText(copy), MaxNodes).Nodes);
        ASSERT_EQ(pasted.NumNodes, MaxNodes);
        for (int node = 1; node <= MaxNodes; ++node) {
            EXPECT_EQ(pasted.NodeNames[node], copy.NodeNames[node]);
            EXPECT_EQ(pasted.FirstDemands[node], copy.FirstDemands[node]);
            EXPECT_EQ(pasted.SecondDemands[node], copy.SecondDemands[node]);
            EXPECT_EQ(pasted.FixedCosts[node], copy.FixedCosts[node]) << node;
        }
        EXPECT_EQ(pasted.PendingName, "Typing");
        EXPECT_EQ(pasted.PendingFixedCost, Real48::Narrow(5));
    }
    EXPECT_EQ(ShortestValueText(Real48::Narrow(1234.56L)), "1234,56");
    SetFormatSeparators({});

    for (const char* name : {"Depot", "North", "North", "1"}) {
        Network.NodeNames[++Network.NumNodes] = name;
    }
    AllocateLinkRows(Network);
    AddPastedLinks(Network, ReadLinkRows("From\tTo\tDistance\nDepot\t2\t12.5\n"
                                         "3\tNorth\t1\tDepot\t0\n4\t1\t1\tDepot\t7",
                                         Network)
                                .Links);
    EXPECT_EQ(Network.PendingDistance, -1);
    const std::int32_t links[][3] = {{1, 2, 12}, {3, 1, 0}, {4, 1, 7}};  // 12.5 rounds to 12
    for (const bool again : {false, true}) {
        if (again) {
            const std::string copied = LinkRowsText(Network);
            AllocateLinkRows(Network);
            AddPastedLinks(Network, ReadLinkRows(copied, Network).Links);
        }
        EXPECT_EQ(LinkWindowLinkLines(Network).Ends.size(), 3u);
        for (const auto& [origin, destination, distance] : links) {
            EXPECT_EQ(Network.LinkRows[origin][destination], distance);
        }
    }
}

// Copied values are made without the C library's locale: in a region whose C library writes
// "," while the windows' decimal symbol is "." (es_PE, made here as a planner's system has it).
TEST_F(ClipboardRowsTest, CopiedValuesWhateverTheCLibraryWrites) {
    const std::string folder = ::testing::TempDir() + "meshloom-locales";
    ASSERT_EQ(std::system(("mkdir -p " + folder + " && localedef -i es_PE -f UTF-8 " + folder +
                           "/es_PE.UTF-8")
                              .c_str()),
              0);
    ::setenv("LOCPATH", folder.c_str(), 1);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "es_PE.UTF-8"), nullptr);
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(ShortestValueText(Real48::Narrow(12.5L)), "12.5");
    std::setlocale(LC_NUMERIC, "C");
}

}  // namespace
