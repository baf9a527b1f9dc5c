// Networks brought in from other forms: a small file of each kind and what it becomes, the
// rounding at the edges, and every refusal with its text.

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "core_test.h"
#include "import/import_text.h"
#include "import/network_import.h"
#include "import/test_problems.h"

namespace {

using NetworkImportTest = CoreTest;

// The links row after row, "-" for none: "- 8;8 -".
std::string LinksText(const TOpenedNetwork& network) {
    const int n = static_cast<int>(network.Nodes.size());
    std::string text;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            const std::int32_t link = network.Links[MatrixIndex(n, i, j)];
            text += (link == NoLink ? "-" : std::to_string(link)) + (j < n   ? " "
                                                                     : i < n ? ";"
                                                                             : "");
        }
    }
    return text;
}

// The nodes: "name first-demand place" each, "|" between.
std::string NodesText(const TOpenedNetwork& network) {
    std::string text;
    for (const TNodeSlot& node : network.Nodes) {
        char place[64] = "";
        if (node.Place.Given) {
            std::snprintf(place, sizeof place, " (%.2f %.2f)", node.Place.X, node.Place.Y);
        }
        text += (text.empty() ? "" : "|") + node.Name + " " +
                std::to_string(static_cast<int>(node.FirstDemand.Widen())) + place;
    }
    return text;
}

TEST_F(NetworkImportTest, EachKindBecomesItsNodesAndLinks) {
    struct TRow {
        const char* Text;
        TImportKind Kind;
        const char* KindText;
        const char* Nodes;
        const char* Links;
        const char* Notes;
    };
    const TRow rows[] = {
        // p-median: both ways, the last cost of a pair counts, lines end in blanks.
        {" 3 3 5\n1 2 10 \n2\t3  5\n2 1 8\n", TImportKind::PMedian, "OR-Library p-median file",
         "1 1|2 1|3 1", "- 8 -;8 - 5;- 5 -",
         "p = 5 is not part of the network/1 edge listed again: the last cost counts"},
        {"NAME: t\nTYPE : TSP\nDIMENSION :3\nEDGE_WEIGHT_TYPE: EUC_2D\nNODE_COORD_SECTION\n"
         "1 0 0\n2 3 4\n3 6 8.5\nEOF\n",
         TImportKind::Tsplib, "TSPLIB file (TSP, EUC_2D)",
         "1 1 (0.00 0.00)|2 1 (3.00 4.00)|3 1 (6.00 8.50)", "- 5 10;5 - 5;10 5 -", ""},
        {"TYPE : ATSP\nDIMENSION : 3\nEDGE_WEIGHT_TYPE : EXPLICIT\nEDGE_WEIGHT_FORMAT : "
         "FULL_MATRIX\nEDGE_WEIGHT_SECTION\n9999 1 2\n3 9999\n4 5 6 9999\nEOF\n",
         TImportKind::Tsplib, "TSPLIB file (ATSP, EXPLICIT FULL_MATRIX)", "1 1|2 1|3 1",
         "- 1 2;3 - 4;5 6 -",
         "the values from each node to itself are no distances and were left out"},
        {"TYPE : TSP\nDIMENSION : 3\nEDGE_WEIGHT_TYPE : EXPLICIT\nEDGE_WEIGHT_FORMAT : "
         "LOWER_DIAG_ROW\nEDGE_WEIGHT_SECTION\n0 7 0 8 9 0\nEOF\n",
         TImportKind::Tsplib, "TSPLIB file (TSP, EXPLICIT LOWER_DIAG_ROW)", "1 1|2 1|3 1",
         "- 7 8;7 - 9;8 9 -", ""},
        {"TYPE : TSP\nDIMENSION : 3\nEDGE_WEIGHT_TYPE : EXPLICIT\nEDGE_WEIGHT_FORMAT : "
         "UPPER_ROW\nEDGE_WEIGHT_SECTION\n1 2\n3\n",  // no EOF: complete all the same
         TImportKind::Tsplib, "TSPLIB file (TSP, EXPLICIT UPPER_ROW)", "1 1|2 1|3 1",
         "- 1 2;1 - 3;2 3 -", ""},
        {"TYPE : CVRP\nDIMENSION : 2\nCAPACITY : 100\nEDGE_WEIGHT_TYPE : CEIL_2D\n"
         "NODE_COORD_SECTION\n2 1 1\n1 0 0\nDEMAND_SECTION\n1 0\n2 30\nDEPOT_SECTION\n1\n-1\nEOF\n",
         TImportKind::Tsplib, "TSPLIB file (CVRP, CEIL_2D)", "1 0 (0.00 0.00)|2 30 (1.00 1.00)",
         "- 2;2 -", "CAPACITY = 100 is not part of the network"},
        // Square tables: semicolons with decimal commas, tabs with quotes, rows in any order.
        {";A;B;C\r\nA;0;1,5;\r\nB;2;0;3\r\nC;;4;0\r\n", TImportKind::SquareTable, "square table",
         "A 1|B 1|C 1", "- 2 -;2 - 3;- 4 -", ""},
        {"from\t\"Mill, North\"\tDepot\nDepot\t7\t\nMill, North\t\t6\n", TImportKind::SquareTable,
         "square table", "Mill, North 1|Depot 1", "- 6;7 -", ""},
        // Long lists: names or numbers in order of first appearance, an empty cost no link.
        {"origin,destination,cost\nDepot,Mill,4\nMill,Depot,5\nMill,Yard,\n", TImportKind::LongList,
         "long list", "Depot 1|Mill 1|Yard 1", "- 4 -;5 - -;- - -", ""},
        {"from;to;km\n7;3;2,5\n3;7;1\n", TImportKind::LongList, "long list", "7 1|3 1", "- 3;1 -",
         ""},
        // Routing tables: null no route, names of streets no names of nodes.
        {"{\"code\": \"Ok\", \"durations\": [[0, 4.5, null],\n [5.1, 0, 2e0], [1, 1, 0]],\n"
         " \"sources\": [{\"name\": \"Main \\u00c4\", \"location\": [10.5, 59.25]},\n"
         " {\"location\": [5, 60]}, {\"location\": [0, 0]}]}",
         TImportKind::RoutingTable, "routing table (durations)",
         "1 1 (10.50 59.25)|2 1 (5.00 60.00)|3 1 (0.00 0.00)", "- 5 -;5 - 2;1 1 -", ""},
        // Sites: a plane, values where given; the globe, X the longitude.
        {"Name,X,Y,First demand,Fixed cost\nDepot,0,0,3,100\nMill,3,4,,\n", TImportKind::Sites,
         "sites on a plane (x, y)", "Depot 3 (0.00 0.00)|Mill 1 (3.00 4.00)", "- 5;5 -", ""},
        {"name;latitude;longitude\nOslo;59,91;10,75\nBergen;60,39;5,32\n", TImportKind::Sites,
         "sites on the globe (latitude, longitude)", "Oslo 1 (10.75 59.91)|Bergen 1 (5.32 60.39)",
         "- 305;305 -", ""},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Text);
        const TImportReading reading = ReadImportText(row.Text, TRoutingValue::Unchosen);
        ASSERT_FALSE(reading.Refusal) << reading.Refusal->Reason;
        const TImportedValues& values = *reading.Values;
        EXPECT_EQ(values.Kind, row.Kind);
        EXPECT_EQ(values.KindText, row.KindText);
        std::string notes;
        for (const std::string& note : values.Notes) {
            notes += (notes.empty() ? "" : "/") + note;
        }
        EXPECT_EQ(notes, row.Notes);
        const TScaledImport scaled = ScaleImport(values, 1);
        ASSERT_TRUE(scaled.Network);
        EXPECT_EQ(NodesText(*scaled.Network), row.Nodes);
        EXPECT_EQ(LinksText(*scaled.Network), row.Links);
        EXPECT_EQ(scaled.Network->PlaceKind, values.PlaceKind);
    }
}

TEST_F(NetworkImportTest, RoundingAtTheEdges) {
    struct TRow {
        const char* Case;
        double Value;  // a value of the file, or a TSPLIB distance's result
        double Expected;
    };
    const auto tsplib = [](TTsplibMetric metric, double xi, double yi, double xj, double yj) {
        return TsplibDistance(metric, xi, yi, xj, yj);
    };
    const TRow rows[] = {
        {"EUC_2D: 2.5 rounds up", tsplib(TTsplibMetric::Euclidean, 0, 0, 2.5, 0), 3},
        {"EUC_2D: 2.49 rounds down", tsplib(TTsplibMetric::Euclidean, 0, 0, 2.49, 0), 2},
        {"CEIL_2D: 5.0 stays", tsplib(TTsplibMetric::Ceiling, 0, 0, 3, 4), 5},
        {"CEIL_2D: 5.0001 is 6", tsplib(TTsplibMetric::Ceiling, 0, 0, 3, 4.0001), 6},
        {"ATT: r = 1 exactly", tsplib(TTsplibMetric::Pseudo, 0, 0, 1, 3), 1},
        {"ATT: r = 1.30 rounds to 1, then up", tsplib(TTsplibMetric::Pseudo, 0, 0, 1, 4), 2},
        {"ATT: r = 1.58 rounds to 2", tsplib(TTsplibMetric::Pseudo, 0, 0, 3, 4), 2},
        // GEO: the degrees the whole part, .30 thirty minutes (half a degree), +1 and truncated.
        {"GEO: one whole degree of latitude", tsplib(TTsplibMetric::Geographic, 1, 0, 2, 0), 112},
        {"GEO: 0.30 is half a degree", tsplib(TTsplibMetric::Geographic, 0, 0, 0.30, 0), 56},
        {"GEO: south and west", tsplib(TTsplibMetric::Geographic, -1, -1, -1.30, -1), 56},
        {"GEO: one spot is 1, as the formula gives", tsplib(TTsplibMetric::Geographic, 5, 5, 5, 5),
         1},
        {"a half rounds away from zero", 2.5, 3},
        {"0.5 is 1", 0.5, 1},
        {"0.49999 is 0", 0.49999, 0},
        {"10000.4999 fits", 10000.4999, 10000},
    };
    // Each value through the scale of 1, as the one link of a long list.
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Case);
        const TImportReading reading =
            ReadImportText("from,to,cost\nA,B," + NumberText(row.Value) + "\n");
        ASSERT_TRUE(reading.Values);
        const TScaledImport scaled = ScaleImport(*reading.Values, 1);
        ASSERT_TRUE(scaled.Network);
        EXPECT_EQ(scaled.LargestDistance, row.Expected);
    }
}

TEST_F(NetworkImportTest, TheScaleThatFits) {
    const TImportReading reading = ReadImportText(";A;B\nA;0;12345,6\nB;0,25;0\n");
    ASSERT_TRUE(reading.Values);
    const double largest = LargestFittingScale(*reading.Values);
    EXPECT_EQ(std::round(12345.6 * largest), 10000);
    EXPECT_EQ(std::round(12345.6 * std::nextafter(largest, 1.0)), 10001);
    EXPECT_EQ(ScaleText(largest), "0.81");  // 0.810051...: four digits, rounded down
    const TScaledImport refused = ScaleImport(*reading.Values, 1);
    ASSERT_TRUE(refused.Refusal);
    EXPECT_EQ(ImportRefusalText("t.csv", *refused.Refusal),
              "t.csv: The distance from \"A\" to \"B\", 12345.6, is 12346 at a scale of 1, more "
              "than 10000; every distance fits at a scale of 0.81 or less.");
    const TScaledImport scaled = ScaleImport(*reading.Values, 0.81);
    ASSERT_TRUE(scaled.Network);
    EXPECT_EQ(LinksText(*scaled.Network), "- 10000;0 -");
    EXPECT_EQ(scaled.Links, 2);
    const TImportReading zeros = ReadImportText("from,to,cost\nA,B,0\n");
    EXPECT_TRUE(std::isinf(LargestFittingScale(*zeros.Values)));
}

TEST_F(NetworkImportTest, RoutingTableWithBothArraysAsksForOne) {
    const std::string text = "{\"durations\": [[0,1],[2,0]], \"distances\": [[0,30],[40,0]]}";
    const TImportReading unchosen = ReadImportText(text, TRoutingValue::Unchosen);
    ASSERT_TRUE(unchosen.Values);
    EXPECT_EQ(unchosen.Values->Choices, (std::vector<std::string>{"durations", "distances"}));
    EXPECT_TRUE(unchosen.Values->Nodes.empty());
    const TImportReading distances = ReadImportText(text, TRoutingValue::Distances);
    ASSERT_TRUE(distances.Values);
    EXPECT_EQ(LinksText(*ScaleImport(*distances.Values, 1).Network), "- 30;40 -");
}

TEST_F(NetworkImportTest, RefusalsNameTheLineTheCellAndWhy) {
    const std::string tsp = "TYPE : TSP\nDIMENSION : 3\nEDGE_WEIGHT_TYPE : EUC_2D\n";
    const std::string many = [] {
        std::string text = "name,x,y\n";
        for (int node = 1; node <= 151; ++node) {
            text += "N" + std::to_string(node) + ",0,0\n";
        }
        return text;
    }();
    const std::pair<std::string, std::string> rows[] = {
        {";A;B\nA;0;-4\nB;1;0\n", "Line 2, cell 3: \"-4\" is negative; a distance is 0 or more"},
        {";A;B\nA;0;abc\nB;1;0\n", "Line 2, cell 3: \"abc\" is not a number"},
        {";A;B\nA;0;NaN\nB;1;0\n", "Line 2, cell 3: \"NaN\" is not a finite number"},
        {";A;B\nA;0;1e999\nB;1;0\n", "Line 2, cell 3: \"1e999\" is not a finite number"},
        {",A,B\nA,0,1.5.2\nB,1,0\n", "Line 2, cell 3: \"1.5.2\" is not a number"},
        {",A,B\nA,0,\"1,5\"\nB,1,0\n", "Line 2, cell 3: \"1,5\" is not a number"},
        {";A;B\nA;2;1\nB;1;0\n", "Line 2, cell 2: the distance from \"A\" to itself is 2, not 0"},
        {";A;B\nA;0;1\nB;1;0;4\n", "Line 3: the row holds 4 cells; the first row holds 3"},
        {";A;B;C\nA;0;1;1\nB;1;0;1\n",
         "The table holds 3 columns of places and 2 rows; a square table holds as many of each."},
        {";A;A\nA;0;1\nB;1;0\n", "Line 1, cell 3: the name \"A\" is there twice"},
        {";A;B\nA;0;1\nZ;1;0\n", "Line 3, cell 1: \"Z\" names no column of the table"},
        {";A;B\nA;0;1\nA;1;0\n",
         "Line 3, cell 1: the row of \"A\" is there twice, first on line 2"},
        {";\"A;B\nA;0;1\n",
         "Line 1, cell 2: the quote that opens the cell is not closed on its line"},
        {"hello world\n",
         "Line 1: the first line names no kind of network that can be imported: an OR-Library "
         "p-median file, a TSPLIB file, a square table, a long list, a routing table or sites with "
         "coordinates"},
        {"a,b,c\nA,B,1\nB,A,2\nA,B,3\n",
         "Line 4: the pair from \"A\" to \"B\" is listed twice, first on line 2"},
        {"a,b,c\nA,B,1\nB,A\n",
         "Line 3: the row holds 2 cells; a row of a long list holds origin, destination and cost"},
        {"a,b,c\nA,A,1\n", "Line 2, cell 3: the distance from \"A\" to itself is 1, not 0"},
        {"3 2 1\n1 2 5\n", "The file stops early: its first line promises 2 edges, and 1 follows."},
        {"3 1 1\n1 2 5\n3 1 4\n", "Line 3, cell 1: more than the 1 edge the first line promises"},
        {"3 2 1\n1 2 5\n1 4 3\n", "Line 3, cell 2: there is no node 4; the nodes are 1 to 3"},
        {"3 1 1\n0 2 5\n", "Line 2, cell 1: there is no node 0; the nodes are 1 to 3"},
        {"151 1 1\n1 2 5\n", "The file holds 151 nodes; a network holds at most 150."},
        {"1 0 1\n", "The file holds 1 node; a network needs at least 2."},
        {tsp + "NODE_COORD_SECTION\n1 0 0\n2 3 4\n",
         "Line 4: the file stops early: NODE_COORD_SECTION holds 2 nodes; DIMENSION is 3"},
        {tsp + "NODE_COORD_SECTION\n1 0 0\n2 3 4\nEOF\n",
         "Line 4: NODE_COORD_SECTION holds 2 nodes; DIMENSION is 3"},
        {tsp + "NODE_COORD_SECTION\n1 0 0\n2 3 4\n3 1 1\n4 2 2\nEOF\n",
         "Line 8, cell 1: there is no node 4; the nodes are 1 to 3 (DIMENSION is 3)"},
        {tsp + "NODE_COORD_SECTION\n1 0 0\n2 3 4\n2 1 1\nEOF\n",
         "Line 7, cell 1: node 2 is given twice in NODE_COORD_SECTION"},
        {tsp + "NODE_COORD_SECTION\n1 0 0\n2 3\n3 1 1\nEOF\n",
         "Line 7: the line is not one of NODE_COORD_SECTION's lines (3 numbers each)"},
        {tsp, "The file stops early: it ends before its NODE_COORD_SECTION."},
        {"TYPE : TSP\nDIMENSION : 3\nEOF\n", "The file gives no EDGE_WEIGHT_TYPE."},
        {"TYPE : HCP\nDIMENSION : 3\n", "Line 1: TYPE HCP is none of TSP, ATSP and CVRP"},
        {"TYPE : TSP\nDIMENSION : 3\nEDGE_WEIGHT_TYPE : MAN_2D\nNODE_COORD_SECTION\nEOF\n",
         "Line 3: EDGE_WEIGHT_TYPE MAN_2D is none of EUC_2D, CEIL_2D, ATT, GEO and EXPLICIT"},
        {"TYPE : TSP\nDIMENSION : 3\nEDGE_WEIGHT_TYPE : EXPLICIT\nEDGE_WEIGHT_FORMAT : "
         "UPPER_ROW\nEDGE_WEIGHT_SECTION\n1 2\nEOF\n",
         "Line 5: EDGE_WEIGHT_SECTION holds 2 of the 3 values that DIMENSION is 3 gives in "
         "UPPER_ROW"},
        {"TYPE : TSP\nDIMENSION : 2\nEDGE_WEIGHT_TYPE : EUC_2D\nNODE_COORD_SECTION\n1 0 0\n"
         "2 30000 4\nEOF\n",
         "The distance from \"1\" to \"2\", 30000, is 30000 at a scale of 1, more than 10000; "
         "every distance fits at a scale of 0.3333 or less."},
        {std::string("a\0b\n", 4), "Line 1: the byte 0x00 is not text"},
        {"name,x,y\nA,0,0\nB\x7F,1,1\n", "Line 3: the byte 0x7F is not text"},
        {"name,x,y\n\xCE\xA9 Hub,0,0\nB,1,1\n",
         "Line 2, cell 1: the name holds \"\xCE\xA9\" (U+03A9), which a demand data file cannot "
         "hold"},
        {"name,x,y\nA\xC2\x85,0,0\nB,1,1\n",
         "Line 2, cell 1: the name holds U+0085, which a demand data file cannot hold"},
        {"name,x,y\n\xE9t\xE9,0,0\n\x81,1,1\n",
         "Line 3, cell 1: the name holds the byte 0x81, which a demand data file cannot hold"},
        {"name,x,y\n,0,0\nB,1,1\n", "Line 2, cell 1: the name is empty"},
        {"name,x,y\nA,0,0\nA,1,1\n", "Line 3, cell 1: the name \"A\" is there twice"},
        {"name,latitude,longitude\nA,95,0\nB,1,1\n",
         "Line 2, cell 2: the latitude 95 is not from -90 to 90"},
        {"name,x,y,population\nA,0,0,1\n",
         "Line 1, cell 4: \"population\" names no column of a table of sites (name, x and y or "
         "latitude and longitude, first demand, second demand, fixed cost)"},
        {"name,x,y,demand\nA,0,0,20000\nB,1,1,1\n",
         "Line 2, cell 4: \"20000\" is not a value from 0 to 10000"},
        {"name,x,y,demand\nA,0,0,1\nB,1,1,1e130\n",
         "Line 3, cell 4: \"1e130\" is not a value from 0 to 10000"},
        {many, "Line 152, cell 1: \"N151\" is place 151; a network holds at most 150"},
        {"{\"durations\": [[0,1],[1]]}",
         "Line 1: row 2 of \"durations\" holds 1 value; the table has 2 rows, and a table of a "
         "network is square"},
        {"{\"durations\": [[0,1],\n[1,0]], }", "Line 2: not JSON: a name in quotes is expected"},
        {"{\"durations\": [[0,1],[1,0]]} x",
         "Line 1: not JSON: text follows the end of the JSON value"},
        {"{\"distances\": [[0,-1],[1,0]]}",
         "Line 1: row 1 of \"distances\", column 2: -1 is negative; a distance is 0 or more"},
        {"{\"distances\": [[0,\"x\"],[1,0]]}",
         "Line 1: row 1 of \"distances\", column 2: the value is not a number"},
        {"{\"distances\": [[0,1],[2,0]],\n\"distances\": []}",
         "Line 2: \"distances\" is given twice"},
        {"{\"x\": 1}", "The table holds neither \"durations\" nor \"distances\"."},
        {std::string(200, '[') + "]",
         "Line 1: the first line names no kind of network that can be imported: an OR-Library "
         "p-median file, a TSPLIB file, a square table, a long list, a routing table or sites with "
         "coordinates"},
        {"{\"a\":" + std::string(100, '['), "Line 1: not JSON: nested more than 64 deep"},
        {"", "The file is empty."},
        {std::string(LargestImportText() + 1, ' '),
         "It is larger than 33554432 bytes, more than a file to import holds."},
    };
    for (const auto& [text, expected] : rows) {
        SCOPED_TRACE(expected);
        const TImportReading reading = ReadImportText(text, TRoutingValue::Unchosen);
        std::optional<TImportRefusal> refusal = reading.Refusal;
        if (reading.Values) {
            refusal = ScaleImport(*reading.Values, 1).Refusal;
        }
        ASSERT_TRUE(refusal);
        EXPECT_EQ(ImportRefusalText("f", *refusal), "f: " + expected);
    }
    const TImportReading missing =
        ReadImportText("{\"durations\": [[0]]}", TRoutingValue::Distances);
    ASSERT_TRUE(missing.Refusal);
    EXPECT_EQ(missing.Refusal->Reason, "The table holds no \"distances\".");
}

// Any bytes are either a network or a refusal, never a fault: small files of each kind with
// bytes changed, put in and taken out at random.
TEST_F(NetworkImportTest, ChangedBytesAreTakenOrRefusedWhole) {
    const std::string seeds[] = {
        " 3 3 5\n1 2 10\n2 3 5\n2 1 8\n",
        "TYPE : CVRP\nDIMENSION : 3\nEDGE_WEIGHT_TYPE : GEO\nNODE_COORD_SECTION\n1 0 0\n2 3 4\n"
        "3 -6 8.5\nDEMAND_SECTION\n1 0\n2 3\n3 4\nEOF\n",
        "TYPE : ATSP\nDIMENSION : 3\nEDGE_WEIGHT_TYPE : EXPLICIT\nEDGE_WEIGHT_FORMAT : "
        "UPPER_DIAG_ROW\nEDGE_WEIGHT_SECTION\n0 1 2 0 3 0\nEOF\n",
        ";A;B;C\nA;0;1,5;\nB;2;0;3\nC;;4;0\n",
        "from,to,cost\nDepot,Mill,4\n\"Mill\",Depot,5\n",
        "{\"durations\": [[0, 4.5, null], [5.1, 0, 2e0], [1, 1, 0]], \"sources\": "
        "[{\"location\": [1, 2]}, {\"location\": [3, 4]}, {\"location\": [5, 6]}]}",
        "name;x;y;first demand\nDepot;0;0;3\nMill;3;4;\n",
    };
    const std::string alphabet = "0123456789 ,;\t\n\r.-+eE\"[]{}:nulxyAB_\xC3\xA9\x80\xFF";
    std::mt19937 random(44);
    for (int round = 0; round < 20000; ++round) {
        std::string text = seeds[round % std::size(seeds)];
        for (int change = 0; change < 1 + round % 4; ++change) {
            const std::size_t at = random() % (text.size() + 1);
            const char c = alphabet[random() % alphabet.size()];
            switch (random() % 3) {
                case 0:
                    text.insert(at, 1, c);
                    break;
                case 1:
                    text.erase(at, 1);
                    break;
                default:
                    text.replace(at, 1, 1, c);
            }
        }
        SCOPED_TRACE(text);
        const TImportReading reading = ReadImportText(text, TRoutingValue::Unchosen);
        ASSERT_NE(reading.Values.has_value(), reading.Refusal.has_value());
        if (!reading.Values || !reading.Values->Choices.empty()) {
            continue;
        }
        const std::size_t n = reading.Values->Nodes.size();
        ASSERT_TRUE(n >= 2 && n <= MaxNodes);
        ASSERT_EQ(reading.Values->Values.size(), n * n);
        const TScaledImport scaled = ScaleImport(*reading.Values, 1);
        ASSERT_NE(scaled.Network.has_value(), scaled.Refusal.has_value());
        for (std::size_t at = 0; scaled.Network && at < n * n; ++at) {
            const std::int32_t link = scaled.Network->Links[at];
            ASSERT_TRUE((link >= 0 && link <= MaxDistance) || link == NoLink);
            ASSERT_TRUE(at % (n + 1) != 0 || link == NoLink);  // no link from a node to itself
        }
    }
}

}  // namespace
