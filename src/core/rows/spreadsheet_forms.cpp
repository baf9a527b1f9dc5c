#include "core/rows/spreadsheet_forms.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>

#include "core/file_texts/xml_text.h"
#include "core/lists/link_lines.h"
#include "core/numbers/number_text.h"
#include "core/numbers/separators.h"
#include "core/rows/cell_values.h"
#include "core/rows/tab_separated.h"

namespace {

TSheetRow TextRow(std::initializer_list<const char*> texts) {
    TSheetRow row;
    for (const char* text : texts) {
        row.push_back({false, text});
    }
    return row;
}

TSheetCell Text(const std::string& text) {
    return {false, text};
}

TSheetCell NumberCell(const Real48& value) {
    std::string digits = ShortestValueText(value);
    std::replace(digits.begin(), digits.end(), FormatSeparators().Decimal, '.');
    return {true, digits};
}

TSheetCell NumberCell(long long value) {
    return {true, std::to_string(value)};
}

}  // namespace

std::vector<TSheetRow> NodeSheetRows(const TNetworkStore& network) {
    std::vector<TSheetRow> rows{TextRow({"Name", "First demand", "Second demand", "Fixed cost"})};
    for (int node = 1; node <= network.NumNodes; ++node) {
        rows.push_back({Text(network.NodeNames[node]), NumberCell(network.FirstDemands[node]),
                        NumberCell(network.SecondDemands[node]),
                        NumberCell(network.FixedCosts[node])});
    }
    return rows;
}

std::vector<TSheetRow> LinkSheetRows(const TNetworkStore& network) {
    std::vector<TSheetRow> rows{
        TextRow({"Origin", "Origin name", "Destination", "Destination name", "Distance"})};
    for (const TLinkEnds& ends : LinkWindowLinkLines(network).Ends) {
        rows.push_back({NumberCell(ends.Origin), Text(network.NodeNames[ends.Origin]),
                        NumberCell(ends.Destination), Text(network.NodeNames[ends.Destination]),
                        NumberCell(network.LinkRows[ends.Origin][ends.Destination])});
    }
    return rows;
}

std::string TabSeparatedText(const std::vector<TSheetRow>& rows) {
    std::string text;
    for (const TSheetRow& row : rows) {
        for (std::size_t column = 0; column < row.size(); ++column) {
            std::string cell = row[column].Text;
            if (row[column].Number) {
                std::replace(cell.begin(), cell.end(), '.', FormatSeparators().Decimal);
            } else {
                cell = TabSeparatedCell(cell);
            }
            text += (column == 0 ? "" : "\t") + cell;
        }
        text += '\n';
    }
    return text;
}

std::string SylkText(const std::vector<TSheetRow>& rows) {
    std::string text = "ID;PMESHLOOM\n";
    for (std::size_t y = 0; y < rows.size(); ++y) {
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            const TSheetCell& cell = rows[y][x];
            if (cell.Text.empty()) {
                continue;
            }
            text += "C;X" + std::to_string(x + 1) + ";Y" + std::to_string(y + 1) + ";K";
            if (cell.Number) {
                text += cell.Text;
                text += '\n';
                continue;
            }
            text += '"';
            for (const char c : cell.Text) {
                text += c == ';' ? std::string(";;") : std::string(1, c);
            }
            text += "\"\n";
        }
    }
    return text + "E\n";
}

std::string CellRangeXml(const std::vector<TSheetRow>& rows) {
    std::size_t columns = 0;
    for (const TSheetRow& row : rows) {
        columns = std::max(columns, row.size());
    }
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<gnm:ClipboardRange xmlns:gnm=\"http://www.gnumeric.org/v10.dtd\" Cols=\"" +
        std::to_string(columns) + "\" Rows=\"" + std::to_string(rows.size()) +
        "\" BaseCol=\"0\" BaseRow=\"0\">\n<gnm:Cells>\n";
    for (std::size_t y = 0; y < rows.size(); ++y) {
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            const TSheetCell& cell = rows[y][x];
            if (cell.Text.empty()) {
                continue;
            }
            text += "<gnm:Cell Row=\"" + std::to_string(y) + "\" Col=\"" + std::to_string(x) +
                    "\" ValueType=\"" + (cell.Number ? "40" : "60") + "\">" +
                    XmlEscaped(cell.Text) + "</gnm:Cell>\n";
        }
    }
    return text + "</gnm:Cells>\n</gnm:ClipboardRange>\n";
}
