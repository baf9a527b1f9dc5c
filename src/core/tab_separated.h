#pragma once

// Rows of a spreadsheet as the clipboard carries them: tab-separated cells, one row a line.
//
// Reading: rows end with LF or CR LF (a lone CR too); a cell that begins with a double quote
// runs to the next lone quote and may hold tabs, line breaks and doubled quotes:
//   "a\t\"b\tc\"\"d\"\n" -> one row, cells  a  and  b<tab>c"d
// Rows keep the numbers they have in the spreadsheet (line 1 is row 1, a quoted line break
// does not start a row), so a refusal names the row the planner sees. Spreadsheets copy an
// empty row as tabs and may end a row with empty cells, so a row whose cells are all empty
// or blank is left out like a blank line, and trailing empty or blank cells are no cells.

#include <string>
#include <string_view>
#include <vector>

struct TClipboardRow {
    int Number = 0;
    std::vector<std::string> Cells;  // at least one, the last neither empty nor blank
};

// The rows, or, when a quote that opens a cell is never closed, none and a Refusal that names
// the row:  "a\t\"b\nc" -> Refusal "Row 1: a cell opens a quote that is never closed."
// A leading byte-order mark is dropped.
struct TTabSeparatedRows {
    std::vector<TClipboardRow> Rows;
    std::string Refusal;
};
TTabSeparatedRows TabSeparatedRows(std::string_view text);

// One cell as written: in double quotes, with its quotes doubled, when it holds a tab, a line
// break or a quote, else as it is.   Depot -> Depot;   5" pipe -> "5"" pipe"
std::string TabSeparatedCell(std::string_view cell);

// A cell of a header row: words and no digit. A header is known by its words, never by
// numbers that could not be read, so that a first row of values is never dropped unseen.
bool IsHeaderCell(const std::string& cell);

// The refusals of a row, each ending with a full stop:
//   RowRefusal(4, "second demand", "\"x\" is not a number") -> Row 4, second demand: "x" is ...
//   RowShapeRefusal({1, {"Depot,12.5"}}, "A node row is ...")
//     -> Row 1 holds one cell: "Depot,12.5". A node row is ...
std::string RowRefusal(int row, std::string_view column, std::string_view why);
std::string RowShapeRefusal(const TClipboardRow& row, std::string_view shape);
