#include "nodes/node_lines.h"

#include <QList>

#include "network/name_bytes.h"
#include "network/network_store.h"
#include "network/number_text.h"

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

bool IsControlCharacter(uint code) {
    return code < 0x20 || (code >= 0x7F && code <= 0x9F);
}

// A pasted tab or line break parts two words, so it becomes a blank rather than nothing.
bool IsWordBreak(uint code) {
    return code == '\t' || code == '\n' || code == '\r';
}
}  // namespace

std::string NodeListLine(std::int32_t node, const std::string& name, Real48 firstDemand,
                         Real48 secondDemand, Real48 fixedCost) {
    return IntToPadded(node, NumberWidth) + ColumnGap +
           PadLeft(name.substr(0, NameWidth), NameWidth) + ColumnGap + ValueColumn(firstDemand) +
           ColumnGap + ValueColumn(secondDemand) + ColumnGap + ValueColumn(fixedCost);
}

std::string NodeCountText(std::int32_t numNodes) {
    const char* const tail = numNodes >= MaxNodes
                                 ? " Nodes in the network.  NO MORE NODES MAY BE ADDED."
                                 : " Nodes in the network";
    return IntToStr(numNodes) + tail;
}

std::string SanitiseNodeName(const QString& typed) {
    std::string stored;
    // Code points, not UTF-16 units: a character beyond the basic plane becomes one "?",
    // and so does a lone surrogate (toUcs4 yields U+FFFD for it).
    for (const uint code : typed.normalized(QString::NormalizationForm_C).toUcs4()) {
        if (IsWordBreak(code)) {
            stored += ' ';
        } else if (!IsControlCharacter(code)) {
            stored += NameByte(code);
        }
    }
    return stored;
}
