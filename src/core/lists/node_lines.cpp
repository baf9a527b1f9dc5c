#include "core/lists/node_lines.h"

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
