// The texts of the link window without the window: node lines, link lines, the heading's
// columns, the count, and the order of the link list.

#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "core/lists/link_lines.h"
#include "core/network/network_store.h"
#include "core/numbers/separators.h"
#include "core_test.h"

// The failure messages show a link as "3->1".
void PrintTo(const TLinkEnds& ends, std::ostream* out) {
    *out << ends.Origin << "->" << ends.Destination;
}

namespace {

using LinkLinesTest = CoreTest;

// A network of the nodes named by the caller, with an empty link matrix.
void MakeNetwork(std::initializer_list<std::string> names) {
    for (const std::string& name : names) {
        ++Network.NumNodes;
        Network.NodeNames[Network.NumNodes] = name;
    }
    Network.LinkRows.AllocateRows(Network.NumNodes);
    for (int i = 1; i <= Network.NumNodes; ++i) {
        for (int j = 1; j <= Network.NumNodes; ++j) {
            Network.LinkRows[i][j] = NoLink;
        }
    }
}

TEST_F(LinkLinesTest, NodeLines) {
    struct TRow {
        const char* Name;
        int Node;
        const char* NodeName;
        const char* Line;
    };
    const TRow rows[] = {
        {"short name right-aligned", 7, "Leeds", "   7                 Leeds"},
        {"exactly 20", 12, "ABCDEFGHIJKLMNOPQRST", "  12  ABCDEFGHIJKLMNOPQRST"},
        {"longer cut to first 20", 150, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", " 150  ABCDEFGHIJKLMNOPQRST"},
        {"empty name", 1, "", "   1                      "},
        {"blanks kept", 3, "  North  ", "   3               North  "},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(LinkWindowNodeLine(row.Node, row.NodeName), row.Line);
    }
}

TEST_F(LinkLinesTest, LinkLines) {
    struct TRow {
        const char* Name;
        std::int32_t Distance;
        const char* Line;
    };
    const TRow rows[] = {
        {"0 is a link", 0,
         "   1                     A ->    2                     B      DIST =          0.0"},
        {"grouped", 1250,
         "   1                     A ->    2                     B      DIST =      1,250.0"},
        {"largest", 10000,
         "   1                     A ->    2                     B      DIST =     10,000.0"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(LinkWindowLinkLine(1, "A", 2, "B", row.Distance), row.Line);
    }
}

TEST_F(LinkLinesTest, LinkLineUsesRegionalSeparators) {
    SetFormatSeparators({',', '.'});
    EXPECT_EQ(LinkWindowLinkLine(140, "Aachen", 9, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 9999),
              " 140                Aachen ->    9  ABCDEFGHIJKLMNOPQRST      DIST =      9.999,0");
}

// The heading names each column over the characters of a link line that fill it.
TEST_F(LinkLinesTest, HeadingStandsOverTheColumns) {
    const std::string heading = LinkListHeading;
    const std::string line =
        LinkWindowLinkLine(1, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 2, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 10000);
    EXPECT_EQ(heading,
              "Numb  ........NAME........ -> NUMB  ........NAME........      LINK DISTANCE");
    EXPECT_EQ(heading.find(" -> "), line.find(" -> "));
    // Both name columns: 20 characters after "Numb  " and after "NUMB  ".
    EXPECT_EQ(heading.substr(6, 20), "........NAME........");
    EXPECT_EQ(line.substr(6, 20), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(heading.substr(36, 20), "........NAME........");
    EXPECT_EQ(line.substr(36, 20), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(line.substr(30, 4), "   2");
    EXPECT_EQ(line.size(), std::size_t{81});
}

TEST_F(LinkLinesTest, CountText) {
    EXPECT_EQ(LinkCountText(0), "0 links have been specified.");
    EXPECT_EQ(LinkCountText(1), "1 links have been specified.");
    EXPECT_EQ(LinkCountText(22350), "22350 links have been specified.");
}

TEST_F(LinkLinesTest, ListedByPairLowerDirectionFirst) {
    MakeNetwork({"One", "Two", "Three", "Four"});
    // Stored in this order: 2->3, 3->1, 1->2, 1->3, 2->1, and 4->2 without its mirror.
    Network.LinkRows[2][3] = 23;
    Network.LinkRows[3][1] = 31;
    Network.LinkRows[1][2] = 12;
    Network.LinkRows[1][3] = 13;
    Network.LinkRows[2][1] = 21;
    Network.LinkRows[4][2] = 42;
    const TLinkListing listing = LinkWindowLinkLines(Network);
    const std::vector<TLinkEnds> expected{{1, 2}, {2, 1}, {1, 3}, {3, 1}, {2, 3}, {4, 2}};
    EXPECT_EQ(listing.Ends, expected);
    ASSERT_EQ(listing.Lines.size(), std::size_t{6});
    EXPECT_TRUE(listing.Lines[3].starts_with("   3                 Three ->    1"))
        << listing.Lines[3];
    EXPECT_TRUE(listing.Lines[3].ends_with("DIST =         31.0")) << listing.Lines[3];
    EXPECT_TRUE(listing.Lines[5].starts_with("   4                  Four ->    2"))
        << listing.Lines[5];
}

// The listing builds its lines from shared pieces; each must read as the single line does.
TEST_F(LinkLinesTest, ListingMatchesSingleLines) {
    MakeNetwork({"Alpha", "a name longer than twenty", "", "x -> 2"});
    Network.LinkRows[1][2] = 0;
    Network.LinkRows[2][1] = 10000;
    Network.LinkRows[4][3] = 1234;
    Network.LinkRows[3][4] = 7;
    Network.LinkRows[1][4] = 999;
    Network.LinkRows[4][1] = 999;
    const TLinkListing listing = LinkWindowLinkLines(Network);
    ASSERT_EQ(listing.Lines.size(), std::size_t{6});
    ASSERT_EQ(listing.Ends.size(), std::size_t{6});
    for (std::size_t k = 0; k < listing.Lines.size(); ++k) {
        const TLinkEnds ends = listing.Ends[k];
        SCOPED_TRACE(::testing::PrintToString(ends));
        EXPECT_EQ(listing.Lines[k],
                  LinkWindowLinkLine(ends.Origin, Network.NodeNames[ends.Origin], ends.Destination,
                                     Network.NodeNames[ends.Destination],
                                     Network.LinkRows[ends.Origin][ends.Destination]));
    }
}

// Names are Latin-1 bytes: "Zürich" is six bytes and six columns, not a UTF-8 sequence.
TEST_F(LinkLinesTest, LatinOneNamesKeepTheirCharacters) {
    MakeNetwork({"Z\xfcrich", "M\xe1laga"});
    Network.LinkRows[1][2] = 5;
    const std::vector<std::string> nodes = LinkWindowNodeLines(Network);
    EXPECT_EQ(nodes, (std::vector<std::string>{"   1                Z\xfcrich",
                                               "   2                M\xe1laga"}));
    ASSERT_EQ(nodes.size(), std::size_t{2});
    const TLinkListing listing = LinkWindowLinkLines(Network);
    ASSERT_EQ(listing.Lines.size(), std::size_t{1});
    EXPECT_TRUE(listing.Lines[0].starts_with(nodes[0] + " -> " + nodes[1])) << listing.Lines[0];
}

TEST_F(LinkLinesTest, NoNodesListsNothing) {
    MakeNetwork({});
    EXPECT_TRUE(LinkWindowNodeLines(Network).empty());
    const TLinkListing listing = LinkWindowLinkLines(Network);
    EXPECT_TRUE(listing.Lines.empty());
    EXPECT_TRUE(listing.Ends.empty());
}

}  // namespace
