#include "core/data_files.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "core/network_store.h"
#include "core/number_text.h"

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
