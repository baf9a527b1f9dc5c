#include "core/node_rows.h"

#include <algorithm>
#include <cstddef>
#include <optional>

#include "core/cell_values.h"
#include "core/data_files.h"
#include "core/name_bytes.h"
#include "core/separators.h"
#include "core/spreadsheet_forms.h"
#include "core/tab_separated.h"

namespace {

constexpr std::size_t NodeCells = 4;
constexpr const char* ValueColumns[] = {"first demand", "second demand", "fixed cost"};

// A header row: words, and no digit, in each value cell.
bool IsHeader(const TClipboardRow& row) {
    return row.Cells.size() == NodeCells &&
           std::all_of(row.Cells.begin() + 1, row.Cells.end(), IsHeaderCell);
}

// The four cells of a row: as they are, the missing values empty, or those of a saved demand
// data line, its values in the region's decimal symbol; nothing for any other shape.
std::optional<std::vector<std::string>> NodeCellsOf(const TClipboardRow& row) {
    if (row.Cells.size() > 1 && row.Cells.size() <= NodeCells) {
        std::vector<std::string> cells = row.Cells;
        cells.resize(NodeCells);
        return cells;
    }
    const auto line = row.Cells.size() == 1 ? ReadDemandDataLine(row.Cells.front()) : std::nullopt;
    if (!line) {
        return std::nullopt;
    }
    std::vector<std::string> cells{line->Name};
    for (std::string value : line->Values) {
        std::replace(value.begin(), value.end(), '.', FormatSeparators().Decimal);
        cells.push_back(std::move(value));
    }
    return cells;
}

// Reads one row into nodes, or returns why it cannot be.
std::string ReadNodeRow(const TClipboardRow& row, std::vector<TPastedNode>& nodes) {
    const auto cells = NodeCellsOf(row);
    if (!cells) {
        return RowShapeRefusal(row, NodeRowShape);
    }
    TPastedNode node{HeldNodeNameOfText((*cells)[0]), {}, {}, {}};
    Real48* const values[] = {&node.FirstDemand, &node.SecondDemand, &node.FixedCost};
    for (std::size_t column = 0; column < std::size(values); ++column) {
        const std::string why = JudgeValueCell((*cells)[column + 1], *values[column]);
        if (!why.empty()) {
            return RowRefusal(row.Number, ValueColumns[column], why);
        }
    }
    nodes.push_back(std::move(node));
    return {};
}

}  // namespace

std::string NodeRowsText(const TNetworkStore& network) {
    return TabSeparatedText(NodeSheetRows(network));
}

TNodeRowsReading ReadNodeRows(std::string_view text, int room) {
    TNodeRowsReading reading;
    const TTabSeparatedRows rows = TabSeparatedRows(text);
    reading.Refusal = rows.Refusal;
    for (const TClipboardRow& row : rows.Rows) {
        if (&row == &rows.Rows.front() && IsHeader(row)) {
            continue;
        }
        reading.Refusal = ReadNodeRow(row, reading.Nodes);
        if (!reading.Refusal.empty()) {
            break;
        }
    }
    if (reading.Refusal.empty() &&
        reading.Nodes.size() > static_cast<std::size_t>(std::max(room, 0))) {
        reading.Refusal = "The clipboard holds " + std::to_string(reading.Nodes.size()) +
                          " nodes; " + std::to_string(room) + " more fit into the table.";
    }
    if (!reading.Refusal.empty()) {
        reading.Nodes.clear();
    }
    return reading;
}

void AddPastedNodes(TNetworkStore& network, const std::vector<TPastedNode>& nodes) {
    for (const TPastedNode& node : nodes) {
        AppendNode(network, node.Name, node.FirstDemand, node.SecondDemand, node.FixedCost);
    }
}
