#include "core/data_files.h"

#include <charconv>
#include <cstdint>

#include "core/network_store.h"
#include "core/number_text.h"

namespace {

constexpr std::string_view LineEnd = "\r\n";

void AppendDemandDataLine(std::string& out, int node, const std::string& name,
                          const Real48& firstDemand, const Real48& secondDemand,
                          const Real48& fixedCost) {
    constexpr int NodeWidth = 4;
    constexpr int ValueWidth = 15;
    constexpr int ValueDecimals = 3;
    out += IntToPadded(node, NodeWidth);
    out += "  ";
    out += "  0.0    0.0    ";
    out += FixedPointText(firstDemand, ValueWidth, ValueDecimals);
    out += "  ";
    out += FixedPointText(secondDemand, ValueWidth, ValueDecimals);
    out += "  ";
    out += FixedPointText(fixedCost, ValueWidth, ValueDecimals);
    out += "   < ";
    out += name;
    out += " >";
    out += LineEnd;
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
    // Written in place: 22,500 small appends to a string cost more than the digits.
    constexpr std::size_t LongestLine = 11 + LineEnd.size();  // "-2147483648" CR LF
    std::string text(static_cast<std::size_t>(n) * n * LongestLine, '\0');
    char* out = text.data();
    for (int i = 1; i <= n; ++i) {
        const std::int32_t* row = network.PathRows[i].Data();
        for (int j = 0; j < n; ++j) {
            out = std::to_chars(out, out + 11, row[j]).ptr;
            *out++ = '\r';
            *out++ = '\n';
        }
    }
    text.resize(out - text.data());
    return text;
}
