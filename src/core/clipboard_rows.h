#pragma once

// The node and link lists as rows of a spreadsheet, for the clipboard: tab-separated cells,
// one row a line, as spreadsheets put them there and read them back. Rows are read from UTF-8
// text, composed as a typed name is; they are written, like the lists' lines, in the bytes
// the names are held in (name_bytes.h), which the windows show as text.
//
// Reading: rows end with LF or CR LF (a lone CR too); a cell that begins with a double quote
// runs to the next lone quote and may hold tabs, line breaks and doubled quotes:
//   "a\t\"b\tc\"\"d\"\n" -> one row, cells  a  and  b<tab>c"d
// Blank lines are skipped; rows keep the numbers they have in the spreadsheet (line 1 is row
// 1, a quoted line break does not start a row), so a refusal names the row the planner sees.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/network_store.h"
#include "core/real48.h"

struct TClipboardRow {
    int Number = 0;
    std::vector<std::string> Cells;
};

// The rows of tab-separated text, blank rows left out.
std::vector<TClipboardRow> TabSeparatedRows(std::string_view text);

// One cell as written: in double quotes, with its quotes doubled, when it holds a tab, a line
// break or a quote, else as it is.   Depot -> Depot;   5" pipe -> "5"" pipe"
std::string TabSeparatedCell(std::string_view cell);

// The shortest text, with the regional decimal symbol and no grouping, that text-to-number
// reads back to exactly this stored value:  0.10000000000002274 (0.1 held) -> "0.1";
// 10000 -> "10000";  1234.5600000005215 -> "1234.56".
std::string ShortestValueText(const Real48& value);

// Every node of the store under a header row: name, first demand, second demand, fixed cost.
std::string NodeRowsText(const TNetworkStore& network);

// Every link as the link list shows them, one direction a row, under a header row: origin
// number and name, destination number and name, distance.
std::string LinkRowsText(const TNetworkStore& network);

// Nodes read from the clipboard, as the node window's fields would have taken them: the name
// in the bytes it is held in, each value through the field's rules (0 to 10000, an empty cell
// 0) and narrowed to its stored form.
struct TPastedNode {
    std::string Name;
    Real48 FirstDemand;
    Real48 SecondDemand;
    Real48 FixedCost;
};

// All rows or none: Refusal is empty when every row was read, else it names the first wrong
// row, its column and why, and Nodes is empty.
struct TNodeRowsReading {
    std::vector<TPastedNode> Nodes;
    std::string Refusal;
};

// Reads rows of name and three values, or the lines of a saved demand data file, for a table
// with room for room more nodes. A first row whose value cells hold text but no number is a
// header and is skipped.
//   "Name\tFirst demand\tSecond demand\tFixed cost\nDepot\t12,5\t0\t300\n" (decimal ",")
//     -> one node, Depot, 12.5, 0, 300
//   "   1    0.0    0.0             12.500            0.000          300.000   < Depot >"
//     -> the same node, whatever the decimal symbol
//   "Depot\t12,5x" -> Refusal "Row 1, first demand: \"12,5x\" is not a number from 0 to 10000."
TNodeRowsReading ReadNodeRows(std::string_view text, int room);

// Appends the nodes after the ones in the table, each as Add Node appends the pending values;
// the pending values are left as the last node's.
void AddPastedNodes(TNetworkStore& network, const std::vector<TPastedNode>& nodes);

struct TPastedLink {
    int Origin = 0;
    int Destination = 0;
    std::int32_t Distance = 0;
};

struct TLinkRowsReading {
    std::vector<TPastedLink> Links;
    std::string Refusal;
};

// Reads rows of origin, destination and distance (one direction a row), or the rows that
// LinkRowsText writes (number, name, number, name, distance), against the nodes of the
// store. A node is given by its number, or by a name that exactly one node has; the distance
// goes through the distance field's rules (0 to 10000, rounded to an integer). A first row
// whose distance cell holds text but no number is a header. All rows or none, as for nodes.
TLinkRowsReading ReadLinkRows(std::string_view text, const TNetworkStore& network);

// Sets each link, one direction, as adding a one-way link with its distance pending does; an
// existing link takes the new distance. The pending distance stays as it was.
void AddPastedLinks(TNetworkStore& network, const std::vector<TPastedLink>& links);
