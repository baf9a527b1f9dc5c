#pragma once

// The node list as spreadsheet rows (tab_separated.h), to and from the clipboard: one node a
// row, name, first demand, second demand and fixed cost. Names are read from UTF-8 text,
// composed as a typed name is, and written, like the list's lines, in the bytes they are held
// in (name_bytes.h), which the windows show as text.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/network/network_store.h"
#include "core/numbers/real48.h"
#include "core/rows/tab_separated.h"

// Every node of the store under a header row: name, first demand, second demand, fixed cost.
std::string NodeRowsText(const TNetworkStore& network);

// Nodes read from rows, as the node window's fields would have taken them: the name in the
// bytes it is held in, each value as a value cell (cell_values.h: 0 to 10000, grouping as the
// region shows it, an empty cell 0) narrowed to its stored form.
struct TPastedNode {
    std::string Name;
    Real48 FirstDemand;
    Real48 SecondDemand;
    Real48 FixedCost;
};

// All rows or none: Refusal is empty when every row was read, else it names the first wrong
// row, its column and why, and Nodes is empty. No refusal and no nodes: there were no rows
// (NoNodeRows says so).
struct TNodeRowsReading {
    std::vector<TPastedNode> Nodes;
    std::string Refusal;
    std::size_t Count = 0;  // the node rows, read or, past the room left, only counted
    bool NoRoom = false;    // refused for Count alone
};

constexpr std::string_view NodeRowShape =
    "A node row is name, first demand, second demand and fixed cost, separated by tabs.";
constexpr std::string_view NoNodeRows =
    "There are no node rows to add. A node row is name, first demand, second demand and fixed "
    "cost, separated by tabs.";

// Reads the rows for a table with room for room more nodes. A row is a name and up to three
// values (the missing ones 0, as empty cells), or a line of a saved demand data file; any
// other shape is refused. A first row is a header, and skipped, when each of its value cells
// holds letters and no digit ("-" or "?" is data). With "," as decimal symbol:
//   "Name\tFirst demand\tSecond demand\tFixed cost\nDepot\t1.234,5\t\t300\n"
//     -> one node: Depot, 1234.5, 0, 300
//   "   1    0.0    0.0             12.500            0.000          300.000   < Depot >"
//     -> Depot, 12.5, 0, 300, whatever the decimal symbol
//   "Depot,12.5,0,300" -> Row 1 holds one cell: "Depot,12.5,0,300". A node row is ...
//   "Depot\t12.5"      -> Row 1, first demand: "12.5" is not a number: the decimal symbol
//                         is ",", as in 1.234,5.
// Rows past the room left are not kept, only counted.
TNodeRowsReading ReadNodeRows(std::string_view text, int room);
TNodeRowsReading ReadNodeRows(TTabSeparatedReader& rows, int room);

// Appends the nodes after the ones in the table, as Add Node appends a node; the pending
// values, the node being typed, stay as they are.
void AddPastedNodes(TNetworkStore& network, const std::vector<TPastedNode>& nodes);
