#include "core/lists/node_lines.h"

#include <cstddef>

#include "core/network/network_store.h"
#include "core/numbers/number_text.h"

namespace {
constexpr int NumberWidth = 4;
constexpr int NameWidth = 15;
constexpr int ValueWidth = 12;
constexpr int ValuePrecision = 10;
constexpr int ValueDecimals = 1;
const std::string ColumnGap = "  ";

std::string ValueColumn(Real48 value) {
    return PadLeft(FormatGrouped(value.Widen(), ValuePrecision, ValueDecimals), ValueWidth);
}

}  // namespace

std::string NodeWindowListLine(std::int32_t node, const std::string& name, Real48 firstDemand,
                               Real48 secondDemand, Real48 fixedCost) {
    return IntToPadded(node, NumberWidth) + ColumnGap +
           PadLeft(name.substr(0, NameWidth), NameWidth) + ColumnGap + ValueColumn(firstDemand) +
           ColumnGap + ValueColumn(secondDemand) + ColumnGap + ValueColumn(fixedCost);
}

std::vector<std::string> NodeWindowListLines(const TNetworkStore& network) {
    std::vector<std::string> lines;
    for (int i = 1; i <= network.NumNodes; ++i) {
        lines.push_back(NodeWindowListLine(i, network.NodeNames[i], network.FirstDemands[i],
                                           network.SecondDemands[i], network.FixedCosts[i]));
    }
    return lines;
}

std::string NodeCountText(std::int32_t numNodes) {
    const char* const tail = numNodes >= MaxNodes
                                 ? " Nodes in the network.  NO MORE NODES MAY BE ADDED."
                                 : " Nodes in the network";
    return IntToStr(numNodes) + tail;
}

namespace {
// A letter of the names' single-byte set in its small form, any other byte as it is.
unsigned char SmallLetter(unsigned char byte) {
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)) {
        return static_cast<unsigned char>(byte + 0x20);
    }
    switch (byte) {
        case 0x8A:  // S caron
        case 0x8C:  // OE
        case 0x8E:  // Z caron
            return static_cast<unsigned char>(byte + 0x10);
        case 0x9F:  // Y diaeresis
            return 0xFF;
        default:
            return byte;
    }
}

bool BeginsWith(const std::string& name, const std::string& start) {
    if (start.size() > name.size()) {
        return false;
    }
    for (std::size_t k = 0; k < start.size(); ++k) {
        if (SmallLetter(static_cast<unsigned char>(name[k])) !=
            SmallLetter(static_cast<unsigned char>(start[k]))) {
            return false;
        }
    }
    return true;
}

// The number that digits alone give, 0 for any other text or one beyond the table.
int NodeNumberTyped(const std::string& typed) {
    if (typed.empty() || typed.size() > 9) {
        return 0;
    }
    int number = 0;
    for (char c : typed) {
        if (c < '0' || c > '9') {
            return 0;
        }
        number = number * 10 + (c - '0');
    }
    return number;
}
}  // namespace

int NodeFoundByTyping(const TNetworkStore& network, const std::string& typed) {
    if (typed.empty()) {
        return 0;
    }
    const int number = NodeNumberTyped(typed);
    if (number >= 1 && number <= network.NumNodes) {
        return number;
    }
    for (int k = 1; k <= network.NumNodes; ++k) {
        if (BeginsWith(network.NodeNames[k], typed)) {
            return k;
        }
    }
    return 0;
}
