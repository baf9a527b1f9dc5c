#include "core/rows/node_rows.h"

#include <algorithm>
#include <cstddef>
#include <optional>

#include "core/file_texts/data_files.h"
#include "core/file_texts/name_bytes.h"
#include "core/rows/cell_values.h"
#include "core/rows/spreadsheet_forms.h"
#include "core/rows/tab_separated.h"

namespace {

constexpr std::size_t NodeCells = 4;
constexpr const char* ValueColumns[] = {"first demand", "second demand", "fixed cost"};

// A header row: words, and no digit, in each value cell.
bool IsHeader(const TClipboardRow& row) {
    return row.CellCount == NodeCells &&
           std::all_of(row.Cells.begin() + 1, row.Cells.end(), IsHeaderCell);
}

// A row of one cell that is a saved demand data line, read by the one reader of such lines,
// its name byte for byte and its values as written: the bytes of a file as they came (a saved
// name whose bytes happen to be UTF-8 stays as it was), the characters of a text in the bytes
// they are held in.
std::optional<TDemandDataLine> DemandDataLineOf(const TClipboardRow& row) {
    if (row.CellCount != 1) {
        return std::nullopt;
    }
    const std::string& cell = row.Cells.front();
    return ReadDemandDataLine(row.Raw ? cell : HeldNodeNameOfText(cell));
}

// The name of a node, or why it cannot be held: longer than a saved file can give back.
std::string NameRefusal(const TClipboardRow& row, const std::string& name) {
    return name.size() > LongestNodeName ? RowRefusal(row.Number, "name", LongNameText(name.size()))
                                         : std::string();
}

// Why a name cannot be held as it is given, or an empty text: a character that a demand data
// file cannot hold is refused, never changed. held: the cell is the name's bytes as they came.
std::string CharacterRefusal(const TClipboardRow& row, std::string_view cell, bool held) {
    if (held) {
        const auto byte = FirstUnheldByte(cell);
        return byte ? RowRefusal(row.Number, "name", UnheldByteText(*byte)) : std::string();
    }
    const auto code = FirstUnheldCharacterOfText(cell);
    return code ? RowRefusal(row.Number, "name", UnheldCharacterText(*code)) : std::string();
}

// Reads one row into nodes, or returns why it cannot be.
std::string ReadNodeRow(const TClipboardRow& row, std::vector<TPastedNode>& nodes) {
    if (const auto line = DemandDataLineOf(row)) {
        if (line->Unread >= 0) {
            return RowRefusal(row.Number, ValueColumns[line->Unread],
                              ShownCell(line->Values[line->Unread]) +
                                  " is not a value from 0.000 to 10000.000 with three decimals");
        }
        if (std::string why = row.Raw ? CharacterRefusal(row, line->Name, true)
                                      : CharacterRefusal(row, row.Cells.front(), false);
            !why.empty()) {
            return why;
        }
        if (std::string why = NameRefusal(row, line->Name); !why.empty()) {
            return why;
        }
        nodes.push_back({line->Name, line->Held[0], line->Held[1], line->Held[2]});
        return {};
    }
    // A name followed by tabs alone ("Depot\t\t\t") is a name with its values empty.
    if (row.CellCount > NodeCells || (row.CellCount < 2 && row.Width < 2)) {
        return RowShapeRefusal(row, NodeRowShape);
    }
    std::vector<std::string> cells = row.Cells;
    cells.resize(NodeCells);
    TPastedNode node{HeldNodeNameOfText(cells[0]), {}, {}, {}};
    if (std::string why = NameRefusal(row, node.Name); !why.empty()) {
        return why;
    }
    Real48* const values[] = {&node.FirstDemand, &node.SecondDemand, &node.FixedCost};
    for (std::size_t column = 0; column < std::size(values); ++column) {
        const std::string why = JudgeValueCell(cells[column + 1], *values[column]);
        if (!why.empty()) {
            return RowRefusal(row.Number, ValueColumns[column], why);
        }
    }
    // Its values judged first, so that a row of another script says what it would say anyway.
    if (std::string why = CharacterRefusal(row, cells[0], false); !why.empty()) {
        return why;
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
