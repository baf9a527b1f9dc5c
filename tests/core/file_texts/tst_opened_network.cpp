// A saved network read back: every refusal with its text, and random networks that go through
// completion, the two files, reading and rebuilding and come out as the same bytes.

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/file_texts/data_files.h"
#include "core/network/shortest_paths.h"
#include "core_test.h"

namespace {

using OpenedNetworkTest = CoreTest;

const std::string Depot =
    "   1    0.0    0.0             12.500            0.000          300.000   < Depot >\r\n";
const std::string Yard =
    "   2    0.0    0.0              2.063        10000.000            0.000   < North Yard >\r\n";

std::string Lines(const std::vector<std::string>& values) {
    std::string text;
    for (const std::string& value : values) {
        text += value + "\r\n";
    }
    return text;
}

TEST_F(OpenedNetworkTest, RefusalsNameTheFileTheLineAndWhy) {
    struct TRow {
        std::string Demand;
        std::string Distance;
        bool InDistanceFile;
        std::string Text;
    };
    std::string wideName = Yard;
    wideName.replace(wideName.find("North"), 5, std::string(LongestNodeName, 'x'));
    const std::string good = Lines({"0", "5", "5", "0"});
    const std::string notLine =
        "Line 2: not a demand data line (number, two 0.0, three values, name between < and >)";
    const std::string notValue = "\" is not a value from 0.000 to 10000.000 with three decimals";
    const std::string notWhole =
        "\" is not a whole number written without blanks, sign or leading zeros";
    const TRow rows[] = {
        {"", good, false, "The file holds 0 nodes; a network needs at least 2."},
        {Depot, good, false, "The file holds 1 node; a network needs at least 2."},
        {Depot + "garbage\r\n", good, false, notLine},
        {Depot + Depot, good, false, "Line 2: the node number is 1, not the line number 2"},
        {Depot + std::string(Yard).replace(29, 8, "  2.0625"), good, false,
         "Line 2: the first demand \"2.0625" + notValue},
        {Depot + std::string(Yard).replace(44, 10, "010000.000"), good, false,
         "Line 2: the second demand \"010000.000" + notValue},
        {Depot + std::string(Yard).replace(44, 10, " 10000.001"), good, false,
         "Line 2: the second demand \"10000.001" + notValue},
        {Depot + std::string(Yard).replace(82, 1, "\t"), good, false,
         "Line 2: the name holds the byte 0x09, which no node name holds"},
        {Depot + std::string(Yard).replace(82, 1, "\x81"), good, false,
         "Line 2: the name holds the byte 0x81, which no node name holds"},
        {std::string(Depot).replace(Depot.size() - 2, 1, "") + Yard.substr(0, Yard.size() - 2),
         good, false, ""},  // LF alone, and no end on the last line: taken
        {std::string(Depot).replace(Depot.size() - 1, 1, "") + Yard, good, false,
         "Line 1: the name holds the byte 0x0D, which no node name holds"},
        {Depot + wideName, good, false, "Line 2: the name is longer than 4096 bytes"},
        {Depot + Yard, Lines({"0", "5", "5"}), true, "The file holds 3 distances; 2 nodes need 4."},
        {Depot + Yard, good + "x\r\n", true, "The file holds 5 distances; 2 nodes need 4."},
        {good, good, false,
         "It is a distance file, not a demand data file: its first line is a lone whole number."},
        {Depot + Yard, Lines({"0", "5", " 5", "0"}), true, "Line 3: \" 5" + notWhole},
        {Depot + Yard, Lines({"0", "05", "5", "0"}), true, "Line 2: \"05" + notWhole},
        {Depot + Yard, Lines({"0", "10001", "5", "0"}), true,
         "Line 2: 10001 is not a distance from 0 to 10000"},
        {Depot + Yard, Lines({"0", "5", "5", "7"}), true,
         "Line 4: the distance from node 2 to itself is 7, not 0"},
        {Depot + Yard, "0\r5\r5\r0\r", true, "The file holds 1 distance; 2 nodes need 4."},
        {Depot + Yard + std::string(Yard).replace(3, 1, "3"),
         Lines({"0", "5", "9", "5", "0", "3", "9", "3", "0"}), true,
         "Line 3: the distance from node 1 to node 3 is 9, longer than the 8 by way of node 2, "
         "which no links give"},
    };
    for (const TRow& row : rows) {
        const TOpenedReading reading = ReadOpenedNetwork(row.Demand, row.Distance);
        SCOPED_TRACE(row.Text);
        EXPECT_EQ(reading.Network.has_value(), row.Text.empty());
        if (!reading.Network) {
            EXPECT_EQ(FileRefusalText(reading.Refusal), row.Text);
            EXPECT_EQ(reading.InDistanceFile, row.InDistanceFile);
        }
    }
}

// The store's links among nodes 1..NumNodes, row after row.
std::vector<std::int32_t> StoreLinks() {
    std::vector<std::int32_t> links;
    for (int i = 1; i <= Network.NumNodes; ++i) {
        links.insert(links.end(), Network.LinkRows[i].Data(),
                     Network.LinkRows[i].Data() + Network.NumNodes);
    }
    return links;
}

TEST_F(OpenedNetworkTest, RandomNetworksComeBackAsTheSameBytes) {
    struct TRow {
        const char* Name;
        int Nodes;
        int LinksPerNode;  // each way, on average
        int Longest;       // lengths 0..Longest
        int TwoWayShare;   // in percent
    };
    const TRow rows[] = {
        {"2 nodes, one way", 2, 1, 10000, 0},       {"2 nodes at 0", 2, 1, 0, 100},
        {"small, many zeros", 8, 3, 2, 50},         {"sparse, unjoined parts", 40, 1, 3000, 30},
        {"distances at the cap", 30, 2, 10000, 50}, {"150 nodes, one way", 150, 3, 500, 0},
        {"150 nodes, two way", 150, 2, 9000, 100},  {"150 nodes, dense zeros", 150, 8, 3, 50},
    };
    std::mt19937 random(30);
    for (const TRow& row : rows) {
        for (int round = 0; round < 4; ++round) {
            SCOPED_TRACE(std::string(row.Name) + " #" + std::to_string(round));
            ResetNetworkStore();
            for (int node = 1; node <= row.Nodes; ++node) {
                AppendNode(Network, "N<" + std::to_string(node) + "> x",
                           Real48::Narrow(static_cast<Extended>(random() % 10000001) / 1000),
                           Real48(), Real48::Narrow(node));
            }
            AllocateLinkRows(Network);
            for (int link = 0; link < row.Nodes * row.LinksPerNode; ++link) {
                const int o = static_cast<int>(random() % row.Nodes) + 1;
                const int d = static_cast<int>(random() % row.Nodes) + 1;
                Network.PendingDistance = static_cast<std::int32_t>(random() % (row.Longest + 1));
                if (o != d && static_cast<int>(random() % 100) < row.TwoWayShare) {
                    SetTwoWayLink(Network, o, d);
                } else if (o != d) {
                    SetOneWayLink(Network, o, d);
                }
            }
            const std::vector<std::int32_t> original = StoreLinks();
            CompleteShortestPaths(Network);
            const std::string demand = DemandDataFileText(Network);
            const std::string distance = DistanceFileText(Network);
            ReleasePathRows(Network);
            ReleaseLinkRows(Network);

            const TOpenedReading reading = ReadOpenedNetwork(demand, distance);
            ASSERT_TRUE(reading.Network) << FileRefusalText(reading.Refusal);
            PutOpenedNetwork(Network, *reading.Network);
            TakeOpenedLinks(Network);
            const auto count = [](const std::vector<std::int32_t>& links) {
                return std::count_if(links.begin(), links.end(),
                                     [](std::int32_t d) { return d != NoLink; });
            };
            EXPECT_LE(count(StoreLinks()), count(original));
            CompleteShortestPaths(Network);
            EXPECT_EQ(DemandDataFileText(Network), demand);
            EXPECT_EQ(DistanceFileText(Network), distance);
        }
    }
}

}  // namespace
