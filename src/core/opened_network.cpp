#include "core/opened_network.h"

#include <algorithm>
#include <cstddef>

#include "core/data_files.h"
#include "core/number_text.h"
#include "core/text_to_number.h"

namespace {

using namespace DemandDataLayout;

constexpr const char* ValueNames[] = {"first demand", "second demand", "fixed cost"};

// Cuts the next line off text: up to LF, without it and without one CR before it. A last line
// without a line end counts; an empty rest is no line.
std::optional<std::string_view> NextLine(std::string_view& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (end != std::string_view::npos && !line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

// A byte that no held name holds: the controls, and the five bytes that stand for nothing.
bool IsForeignNameByte(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F || byte == 0x81 || byte == 0x8D || byte == 0x8F ||
           byte == 0x90 || byte == 0x9D;
}

std::string ByteText(unsigned char byte) {
    constexpr char Digits[] = "0123456789ABCDEF";
    return std::string("0x") + Digits[byte >> 4] + Digits[byte & 0xF];
}

// One demand data line as node number, or why not.
std::optional<std::string> ReadNodeLine(std::string_view line, int number, TNodeSlot& node) {
    const auto read = ReadDemandDataLine(line);
    if (!read) {
        return "not a demand data line (number, two 0.0, three values, name between < and >)";
    }
    const std::string_view numberField = line.substr(0, NodeWidth);
    if (numberField != IntToPadded(number, NodeWidth)) {
        const std::size_t start = numberField.find_first_not_of(' ');
        return "the node number is " + std::string(numberField.substr(start)) +
               ", not the line number " + std::to_string(number);
    }
    if (read->Unread >= 0) {
        return std::string("the ") + ValueNames[read->Unread] + " \"" + read->Values[read->Unread] +
               "\" is not a value from 0.000 to 10000.000 with three decimals";
    }
    node.FirstDemand = read->Held[0];
    node.SecondDemand = read->Held[1];
    node.FixedCost = read->Held[2];
    for (const char byte : read->Name) {
        if (IsForeignNameByte(static_cast<unsigned char>(byte))) {
            return "the name holds the byte " + ByteText(static_cast<unsigned char>(byte)) +
                   ", which no node name holds";
        }
    }
    if (read->Name.size() > LongestOpenedName) {
        return "the name is longer than " + std::to_string(LongestOpenedName) + " bytes";
    }
    node.Name = read->Name;
    return std::nullopt;
}

// A distance line: digits only, 0..MaxDistance; or why not.
std::optional<std::string> ReadDistanceLine(std::string_view line, std::int32_t& distance) {
    const bool digits =
        !line.empty() && line.size() <= 6 &&
        std::all_of(line.begin(), line.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits || (line.size() > 1 && line.front() == '0')) {
        const std::string shown(line.substr(0, 20));
        return "\"" + shown + (line.size() > 20 ? "..." : "") +
               "\" is not a whole number written without blanks, sign or leading zeros";
    }
    distance = 0;
    for (const char c : line) {
        distance = distance * 10 + (c - '0');
    }
    if (distance > MaxDistance) {
        return std::to_string(distance) + " is not a distance from 0 to " +
               std::to_string(MaxDistance);
    }
    return std::nullopt;
}

// The ways from i through k: whether one is shorter than row i says (a nonzero result), and,
// where through is given, a mark at each j whose way is as short. Blocks of 8 have a fixed
// trip count, so the compiler turns them into vector operations even at -O2.
constexpr int Block = 8;
template <bool Marks>
std::int32_t WaysThrough(const std::int32_t* __restrict__ rowI,
                         const std::int32_t* __restrict__ rowK, std::int32_t toK,
                         std::int32_t* __restrict__ through, int n) {
    std::int32_t shorter = 0;
    int j = 0;
    for (; j + Block <= n; j += Block) {
        for (int b = 0; b < Block; ++b) {
            const std::int32_t way = toK + rowK[j + b];
            shorter |= static_cast<std::int32_t>(way < rowI[j + b]);
            if constexpr (Marks) {
                through[j + b] |= static_cast<std::int32_t>(way == rowI[j + b]);
            }
        }
    }
    for (; j < n; ++j) {
        const std::int32_t way = toK + rowK[j];
        shorter |= static_cast<std::int32_t>(way < rowI[j]);
        if constexpr (Marks) {
            through[j] |= static_cast<std::int32_t>(way == rowI[j]);
        }
    }
    return shorter;
}

std::size_t At(int nodes, int i, int j) {
    return static_cast<std::size_t>((i - 1) * nodes + j - 1);
}

}  // namespace

std::string FileRefusalText(const TFileRefusal& refusal) {
    return refusal.Line > 0 ? "Line " + std::to_string(refusal.Line) + ": " + refusal.Why
                            : refusal.Why;
}

std::size_t LargestDemandDataText() {
    const std::size_t line = NodeWidth + AfterNode.size() + 3 * ValueWidth +
                             2 * BetweenValues.size() + BeforeName.size() + LongestOpenedName +
                             AfterName.size() + LineEnd.size();
    return MaxNodes * line;
}

std::size_t LargestDistanceText() {
    return static_cast<std::size_t>(MaxNodes) * MaxNodes *
           (std::to_string(MaxDistance).size() + LineEnd.size());
}

TDemandDataReading ReadDemandDataText(std::string_view text) {
    TDemandDataReading reading;
    int number = 0;
    while (const auto line = NextLine(text)) {
        ++number;
        if (number > MaxNodes) {
            reading.Refusal = TFileRefusal{
                number, "a network holds at most " + std::to_string(MaxNodes) + " nodes"};
            break;
        }
        // A distance file chosen in its place begins with a lone whole number.
        if (number == 1 && !line->empty() &&
            line->find_first_not_of("0123456789") == std::string_view::npos) {
            reading.Refusal = TFileRefusal{0,
                                           "It is a distance file, not a demand data file: its "
                                           "first line is a lone whole number."};
            break;
        }
        TNodeSlot node;
        if (auto why = ReadNodeLine(*line, number, node)) {
            reading.Refusal = TFileRefusal{number, std::move(*why)};
            break;
        }
        reading.Nodes.push_back(std::move(node));
    }
    if (!reading.Refusal && reading.Nodes.size() < 2) {
        reading.Refusal = TFileRefusal{0, "The file holds " + std::to_string(reading.Nodes.size()) +
                                              (reading.Nodes.size() == 1 ? " node" : " nodes") +
                                              "; a network needs at least 2."};
    }
    if (reading.Refusal) {
        reading.Nodes.clear();
    }
    return reading;
}

TDistanceReading ReadDistanceText(std::string_view text, int nodes) {
    TDistanceReading reading;
    const std::size_t count = static_cast<std::size_t>(nodes) * static_cast<std::size_t>(nodes);
    // A file of another network is told by its count before any of its lines is judged.
    const std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) +
                              (text.empty() || text.back() == '\n' ? 0 : 1);
    if (lines != count) {
        reading.Refusal = TFileRefusal{0, "The file holds " + std::to_string(lines) +
                                              (lines == 1 ? " distance; " : " distances; ") +
                                              std::to_string(nodes) + " nodes need " +
                                              std::to_string(count) + "."};
        return reading;
    }
    reading.Distances.reserve(count);
    int number = 0;
    while (const auto line = NextLine(text)) {
        ++number;
        std::int32_t distance = 0;
        if (auto why = ReadDistanceLine(*line, distance)) {
            reading.Refusal = TFileRefusal{number, std::move(*why)};
            break;
        }
        const int i = (number - 1) / nodes + 1;
        if ((number - 1) % nodes + 1 == i && distance != 0) {
            reading.Refusal =
                TFileRefusal{number, "the distance from node " + std::to_string(i) +
                                         " to itself is " + std::to_string(distance) + ", not 0"};
            break;
        }
        reading.Distances.push_back(distance);
    }
    if (reading.Refusal) {
        reading.Distances.clear();
    }
    return reading;
}

TRebuiltLinks RebuildLinks(const std::vector<std::int32_t>& d, int nodes) {
    TRebuiltLinks rebuilt;
    const int n = nodes;
    const std::int32_t* const rows = d.data();
    // Nodes at 0 from each other both ways form a group; the first of each stands for it.
    std::vector<int> group(static_cast<std::size_t>(n) + 1, 0);
    for (int i = 1; i <= n; ++i) {
        group[static_cast<std::size_t>(i)] = i;
        for (int j = 1; j < i; ++j) {
            if (d[At(n, i, j)] == 0 && d[At(n, j, i)] == 0) {
                group[static_cast<std::size_t>(i)] = group[static_cast<std::size_t>(j)];
                break;
            }
        }
    }
    const auto first = [&group](int i) { return group[static_cast<std::size_t>(i)] == i; };
    rebuilt.Links.assign(static_cast<std::size_t>(n) * static_cast<std::size_t>(n), NoLink);
    // One pass over the ways i -> k -> j, row by row as the completion runs: a way shorter than
    // d(i,j) refuses the matrix; between the first nodes of groups, one as short as d(i,j) makes
    // the direct link (i,j) needless. With no ring of 0 among groups, the shortest way with the
    // most steps takes only the links that remain, so they give the matrix back.
    std::vector<std::int32_t> through(static_cast<std::size_t>(n));
    for (int i = 1; i <= n; ++i) {
        const std::int32_t* const rowI = rows + At(n, i, 1);
        std::fill(through.begin(), through.end(), 0);
        std::int32_t shorter = 0;
        for (int k = 1; k <= n; ++k) {
            const std::int32_t toK = rowI[k - 1];
            const std::int32_t* const rowK = rows + At(n, k, 1);
            if (toK >= MaxDistance) {
                continue;  // no way through k is shorter, nor as short as a pair below the cap
            }
            if (first(i) && first(k) && k != i) {
                // k is no way round to itself (d(k,k) = 0): what other nodes said of k stays.
                const std::int32_t toKThrough = through[static_cast<std::size_t>(k - 1)];
                shorter |= WaysThrough<true>(rowI, rowK, toK, through.data(), n);
                through[static_cast<std::size_t>(k - 1)] = toKThrough;
            } else {
                shorter |= WaysThrough<false>(rowI, rowK, toK, nullptr, n);
            }
        }
        if (shorter != 0) {
            // The first such pair of the row, and the first node it goes by.
            for (int j = 1; j <= n; ++j) {
                for (int k = 1; k <= n; ++k) {
                    const std::int32_t way = rowI[k - 1] + d[At(n, k, j)];
                    if (way < rowI[j - 1]) {
                        rebuilt.Links.clear();
                        rebuilt.Refusal = TFileRefusal{
                            static_cast<int>(At(n, i, j)) + 1,
                            "the distance from node " + std::to_string(i) + " to node " +
                                std::to_string(j) + " is " + std::to_string(rowI[j - 1]) +
                                ", longer than the " + std::to_string(way) + " by way of node " +
                                std::to_string(k) + ", which no links give"};
                        return rebuilt;
                    }
                }
            }
        }
        for (int j = 1; first(i) && j <= n; ++j) {
            const std::int32_t direct = rowI[j - 1];
            if (first(j) && j != i && direct < MaxDistance &&
                through[static_cast<std::size_t>(j - 1)] == 0) {
                rebuilt.Links[At(n, i, j)] = direct;
            }
        }
    }
    // Within a group: a ring of links of 0 in the order of the nodes (two nodes: both ways).
    for (int i = 1; i <= n; ++i) {
        if (!first(i)) {
            continue;
        }
        int previous = i;
        for (int j = i + 1; j <= n; ++j) {
            if (group[static_cast<std::size_t>(j)] == i) {
                rebuilt.Links[At(n, previous, j)] = 0;
                previous = j;
            }
        }
        if (previous != i) {
            rebuilt.Links[At(n, previous, i)] = 0;
        }
    }
    return rebuilt;
}

TOpenedReading ReadOpenedNetwork(std::string_view demandText, std::string_view distanceText) {
    TOpenedReading reading;
    TDemandDataReading nodes = ReadDemandDataText(demandText);
    if (nodes.Refusal) {
        reading.Refusal = *nodes.Refusal;
        return reading;
    }
    const int n = static_cast<int>(nodes.Nodes.size());
    reading.InDistanceFile = true;
    const TDistanceReading distances = ReadDistanceText(distanceText, n);
    if (distances.Refusal) {
        reading.Refusal = *distances.Refusal;
        return reading;
    }
    TRebuiltLinks links = RebuildLinks(distances.Distances, n);
    if (links.Refusal) {
        reading.Refusal = *links.Refusal;
        return reading;
    }
    reading.InDistanceFile = false;
    reading.Network = TOpenedNetwork{std::move(nodes.Nodes), std::move(links.Links)};
    return reading;
}

int RebuiltLinkCount(const TOpenedNetwork& opened) {
    return static_cast<int>(std::count_if(opened.Links.begin(), opened.Links.end(),
                                          [](std::int32_t link) { return link != NoLink; }));
}

void PutOpenedNetwork(TNetworkStore& network, const TOpenedNetwork& opened) {
    const int n = static_cast<int>(opened.Nodes.size());
    if (n > MaxNodes || opened.Links.size() != static_cast<std::size_t>(n) * n) {
        throw ERangeError();
    }
    DropOpenedLinks(network);
    StartNodeTable(network);
    network.PendingName.clear();
    network.LinkRows.AllocateRows(MaxNodes);
    for (int i = 1; i <= MaxNodes; ++i) {
        std::fill_n(network.LinkRows[i].Data(), MaxNodes, NoLink);
    }
    network.LinksWaiting = true;
    for (const TNodeSlot& node : opened.Nodes) {
        AppendNode(network, node.Name, node.FirstDemand, node.SecondDemand, node.FixedCost);
    }
    for (int i = 1; i <= n; ++i) {
        std::copy_n(opened.Links.begin() + static_cast<std::ptrdiff_t>(At(n, i, 1)), n,
                    network.LinkRows[i].Data());
    }
}

bool OpenedLinksWaiting(const TNetworkStore& network) {
    return network.LinksWaiting;
}

void TakeOpenedLinks(TNetworkStore& network) {
    if (!network.LinksWaiting) {
        AllocateLinkRows(network);
        return;
    }
    for (int node = network.NumNodes + 1; node <= MaxNodes; ++node) {
        network.LinkRows.ReleaseRow(node);
    }
    network.LinksWaiting = false;
    network.PendingDistance = -1;
}

void DropOpenedLinks(TNetworkStore& network) {
    if (network.LinksWaiting) {
        network.LinkRows.ReleaseRows(MaxNodes);
        network.LinksWaiting = false;
    }
}

int LinksOfNode(const TNetworkStore& network, int k) {
    if (k < 1 || k > network.NumNodes) {
        throw ERangeError();
    }
    int count = 0;
    for (int other = 1; network.LinksWaiting && other <= network.NumNodes; ++other) {
        count += network.LinkRows[k][other] != NoLink ? 1 : 0;
        count += other != k && network.LinkRows[other][k] != NoLink ? 1 : 0;
    }
    return count;
}

void DeleteNodeWithLinks(TNetworkStore& network, int k) {
    const int n = network.NumNodes;
    DeleteNode(network, k);
    if (!network.LinksWaiting) {
        return;
    }
    // Row k and column k go; the rows and columns after them move up one; the last row and
    // column, now outside the table, hold no link.
    for (int i = 1; i <= n; ++i) {
        std::int32_t* row = network.LinkRows[i].Data();
        std::copy(row + k, row + n, row + k - 1);
        row[n - 1] = NoLink;
    }
    for (int i = k; i < n; ++i) {
        std::copy_n(network.LinkRows[i + 1].Data(), n, network.LinkRows[i].Data());
    }
    std::fill_n(network.LinkRows[n].Data(), n, NoLink);
}

void ReplaceNode(TNetworkStore& network, int k, const TNodeSlot& slot) {
    if (k < 1 || k > network.NumNodes) {
        throw ERangeError();
    }
    network.NodeNames[k] = slot.Name;
    network.FirstDemands[k] = slot.FirstDemand;
    network.SecondDemands[k] = slot.SecondDemand;
    network.FixedCosts[k] = slot.FixedCost;
}
