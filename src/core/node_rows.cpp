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
    return row.CellCount == NodeCells &&
           std::all_of(row.Cells.begin() + 1, row.Cells.end(), IsHeaderCell);
}

// The four cells of a row: as they are, the missing values empty, or those of a saved demand
// data line, its values in the region's decimal symbol; nothing for any other shape.
// A name followed by tabs alone ("Depot\t\t\t") is a name with its values empty.
std::optional<std::vector<std::string>> NodeCellsOf(const TClipboardRow& row) {
    if ((row.CellCount > 1 || row.Width > 1) && row.CellCount <= NodeCells) {
        std::vector<std::string> cells = row.Cells;
        cells.resize(NodeCells);
        return cells;
    }
    const auto line = row.CellCount == 1 ? ReadDemandDataLine(row.Cells.front()) : std::nullopt;
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

TNodeRowsReading ReadNodeRows(TTabSeparatedReader& rows, int room) {
    TNodeRowsReading reading;
    const auto roomLeft = static_cast<std::size_t>(std::max(room, 0));
    TClipboardRow row;
    // Rows past the room left are only counted, for the refusal to say how many there were.
    for (bool first = true; rows.Next(row, first || reading.Count < roomLeft); first = false) {
        if (first && IsHeader(row)) {
            continue;
        }
        if (reading.Count++ >= roomLeft) {
            continue;
        }
        reading.Refusal = ReadNodeRow(row, reading.Nodes);
        if (!reading.Refusal.empty()) {
            break;
        }
    }
    if (reading.Refusal.empty()) {
        reading.Refusal = rows.Refusal();
    }
    if (reading.Refusal.empty() && reading.Count > roomLeft) {
        reading.NoRoom = true;
        reading.Refusal = "The clipboard holds " + std::to_string(reading.Count) + " nodes; " +
                          std::to_string(room) + " more fit into the table.";
    }
    if (!reading.Refusal.empty()) {
        reading.Nodes.clear();
    }
    return reading;
}

TNodeRowsReading ReadNodeRows(std::string_view text, int room) {
    TTabSeparatedReader rows(text);
    return ReadNodeRows(rows, room);
}

void AddPastedNodes(TNetworkStore& network, const std::vector<TPastedNode>& nodes) {
    for (const TPastedNode& node : nodes) {
        AppendNode(network, node.Name, node.FirstDemand, node.SecondDemand, node.FixedCost);
    }
}
