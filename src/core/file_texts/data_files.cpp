#include "core/file_texts/data_files.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "core/file_texts/name_bytes.h"
#include "core/network/link_rebuild.h"
#include "core/network/network_store.h"
#include "core/numbers/number_text.h"

namespace {

using namespace DemandDataLayout;

void AppendDemandDataLine(std::string& out, int node, const std::string& name,
                          const Real48& firstDemand, const Real48& secondDemand,
                          const Real48& fixedCost) {
    out += IntToPadded(node, NodeWidth);
    out += AfterNode;
    out += FixedPointText(firstDemand, ValueWidth, ValueDecimals);
    out += BetweenValues;
    out += FixedPointText(secondDemand, ValueWidth, ValueDecimals);
    out += BetweenValues;
    out += FixedPointText(fixedCost, ValueWidth, ValueDecimals);
    out += BeforeName;
    out += name;
    out += AfterName;
    out += LineEnd;
}

// Takes the next width characters of line from at, or nothing when the line is shorter.
std::optional<std::string_view> Take(std::string_view line, std::size_t& at, std::size_t width) {
    if (line.size() - at < width) {
        return std::nullopt;
    }
    at += width;
    return line.substr(at - width, width);
}

// A right-aligned field of digits (or of a fixed-point value): blanks, then no blank.
bool RightAligned(std::string_view field, std::string_view characters) {
    const std::size_t start = field.find_first_not_of(' ');
    return start != std::string_view::npos &&
           field.find_first_not_of(characters, start) == std::string_view::npos;
}

// A value field as the writer writes it, 0.000..10000.000, into value; false otherwise.
bool ReadValueField(std::string_view field, Real48& value) {
    constexpr std::int64_t Thousandths = 1000;
    const std::size_t start = std::min(field.find_first_not_of(' '), field.size());
    const std::string_view digits = field.substr(start);
    const std::size_t point = digits.find('.');
    if (point == std::string_view::npos || point == 0 || point > 5 ||
        digits.size() != point + 1 + ValueDecimals) {
        return false;
    }
    std::int64_t count = 0;
    for (std::size_t at = 0; at < digits.size(); ++at) {
        if (at == point) {
            continue;
        }
        if (digits[at] < '0' || digits[at] > '9') {
            return false;
        }
        count = count * 10 + (digits[at] - '0');
    }
    if (count > MaxDistance * Thousandths) {
        return false;
    }
    value = Real48::Narrow(static_cast<Extended>(count) / static_cast<Extended>(Thousandths));
    // Only the writer's own text is taken ("012.500" is not), so a save gives it back.
    return FixedPointText(value, ValueWidth, ValueDecimals) == field;
}

// The digits of a distance file's entries: from 0 to MaxDistance, the capped distances, by
// pairs of digits from a table, any other number as the standard library writes it.
constexpr std::int32_t PairedEntries = 100000;
constexpr std::array<char, 200> DigitPairs = [] {
    std::array<char, 200> pairs{};
    for (std::size_t pair = 0; pair < 100; ++pair) {
        pairs[2 * pair] = static_cast<char>('0' + pair / 10);
        pairs[2 * pair + 1] = static_cast<char>('0' + pair % 10);
    }
    return pairs;
}();

char* EntryText(char* out, std::int32_t entry) {
    if (entry < 0 || entry >= PairedEntries) {
        return std::to_chars(out, out + 11, entry).ptr;
    }
    const auto pair = [&](std::int32_t value) {
        std::memcpy(out, &DigitPairs[static_cast<std::size_t>(2 * value)], 2);
        out += 2;
    };
    if (entry >= 10000) {
        *out++ = static_cast<char>('0' + entry / 10000);
        entry %= 10000;
        pair(entry / 100);
        pair(entry % 100);
    } else if (entry >= 1000) {
        pair(entry / 100);
        pair(entry % 100);
    } else if (entry >= 100) {
        *out++ = static_cast<char>('0' + entry / 100);
        pair(entry % 100);
    } else if (entry >= 10) {
        pair(entry);
    } else {
        *out++ = static_cast<char>('0' + entry);
    }
    return out;
}

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
        if (!IsHeldNameByte(static_cast<unsigned char>(byte))) {
            return "the name holds the byte " + ByteText(static_cast<unsigned char>(byte)) +
                   ", which no node name holds";
        }
    }
    if (read->Name.size() > LongestNodeName) {
        return "the name is longer than " + std::to_string(LongestNodeName) + " bytes";
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

}  // namespace

std::string FixedPointText(const Real48& value, int width, int decimals) {
    return PadLeft(FormatExactFixed(value.Widen(), decimals), width);
}

std::string DemandDataLine(int node, const std::string& name, const Real48& firstDemand,
                           const Real48& secondDemand, const Real48& fixedCost) {
    std::string line;
    AppendDemandDataLine(line, node, name, firstDemand, secondDemand, fixedCost);
    return line;
}

std::optional<TDemandDataLine> ReadDemandDataLine(std::string_view line) {
    TDemandDataLine read;
    std::size_t at = 0;
    const auto number = Take(line, at, NodeWidth);
    if (!number || !RightAligned(*number, "0123456789") ||
        Take(line, at, AfterNode.size()) != AfterNode) {
        return std::nullopt;
    }
    for (int column = 0; column < 3; ++column) {
        const auto field = Take(line, at, ValueWidth);
        if (!field || !RightAligned(*field, "0123456789.")) {
            return std::nullopt;
        }
        read.Values[column].assign(field->substr(field->find_first_not_of(' ')));
        if (!ReadValueField(*field, read.Held[column])) {
            read.Held[column] = Real48::Narrow(0);
            read.Unread = read.Unread < 0 ? column : read.Unread;
        }
        if (column < 2 && Take(line, at, BetweenValues.size()) != BetweenValues) {
            return std::nullopt;
        }
    }
    if (Take(line, at, BeforeName.size()) != BeforeName || line.size() - at < AfterName.size() ||
        line.substr(line.size() - AfterName.size()) != AfterName) {
        return std::nullopt;
    }
    read.Name.assign(line.substr(at, line.size() - AfterName.size() - at));
    return read;
}

std::string DemandDataFileText(const TNetworkStore& network) {
    std::string text;
    for (int node = 1; node <= network.NumNodes; ++node) {
        AppendDemandDataLine(text, node, network.NodeNames[node], network.FirstDemands[node],
                             network.SecondDemands[node], network.FixedCosts[node]);
    }
    return text;
}

std::string DistanceFileText(const TNetworkStore& network) {
    const int n = network.NumNodes;
    if (n <= 0) {
        return {};
    }
    // Written in place: 22,500 small appends to a string cost more than the digits. Sized to
    // the longest lines the entries can give (the capped distances have up to five digits),
    // and cut to what was written.
    std::int32_t least = 0;
    std::int32_t most = 0;
    for (int i = 1; i <= n; ++i) {
        const std::int32_t* row = network.PathRows[i].Data();
        for (int j = 0; j < n; ++j) {
            least = std::min(least, row[j]);
            most = std::max(most, row[j]);
        }
    }
    const std::size_t longest = least >= 0 && most < PairedEntries ? 5 : 11;
    std::string text(static_cast<std::size_t>(n) * n * (longest + LineEnd.size()), '\0');
    char* out = text.data();
    for (int i = 1; i <= n; ++i) {
        const std::int32_t* row = network.PathRows[i].Data();
        for (int j = 0; j < n; ++j) {
            out = EntryText(out, row[j]);
            *out++ = '\r';
            *out++ = '\n';
        }
    }
    text.resize(static_cast<std::size_t>(out - text.data()));
    return text;
}

std::string FileRefusalText(const TFileRefusal& refusal) {
    return refusal.Line > 0 ? "Line " + std::to_string(refusal.Line) + ": " + refusal.Why
                            : refusal.Why;
}

std::size_t LargestDemandDataText() {
    const std::size_t line = NodeWidth + AfterNode.size() + 3 * ValueWidth +
                             2 * BetweenValues.size() + BeforeName.size() + LongestNodeName +
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
        reading.Refusal = TFileRefusal{
            static_cast<int>(MatrixIndex(n, links.Refusal->From, links.Refusal->To)) + 1,
            std::move(links.Refusal->Why)};
        return reading;
    }
    reading.InDistanceFile = false;
    reading.Network = TOpenedNetwork{std::move(nodes.Nodes), std::move(links.Links)};
    return reading;
}
