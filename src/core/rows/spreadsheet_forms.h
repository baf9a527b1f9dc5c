#pragma once

// The node and link lists as typed cells, and the forms in which Copy offers them on the
// clipboard. A spreadsheet takes the richest form it knows; the typed forms keep every name
// text (01067 stays 01067, =1+1 no formula) and every value a number, with no import dialog:
//   the tab-separated text  (every program; numbers with the regional decimal symbol),
//   SYLK                    (taken by LibreOffice Calc),
//   an XML cell range       (taken by Gnumeric).
// A third form, an HTML table, would cost the first spreadsheet its silence: it prefers HTML
// to SYLK and asks for import options before it reads one, so none is offered.
//
// Every text is made in the bytes the names are held in (name_bytes.h), as the lists are; the
// clipboard carries it as UTF-8 (platform/services/clipboard_menu.h). Held names hold no line
// breaks, tabs or other control characters (HeldNodeName), so no form needs an escape for them.

#include <string>
#include <vector>

#include "core/network/network_store.h"

// A cell: text, or a number written with "." as its decimal point and no grouping, in the
// shortest digits that read back to the stored value (ShortestValueText).
struct TSheetCell {
    bool Number = false;
    std::string Text;
};

using TSheetRow = std::vector<TSheetCell>;

// Every node under a header row: name, first demand, second demand, fixed cost.
std::vector<TSheetRow> NodeSheetRows(const TNetworkStore& network);

// Every link as the link list shows them, one direction a row, under a header row: origin
// number and name, destination number and name, distance.
std::vector<TSheetRow> LinkSheetRows(const TNetworkStore& network);

// Tab-separated cells, one row a line ending in LF, a text cell quoted as TabSeparatedCell
// does and a number with the regional decimal symbol:  Depot<tab>12,5<LF>  (decimal ",").
std::string TabSeparatedText(const std::vector<TSheetRow>& rows);

// The clipboard's SYLK: an ID record, one C record a cell that is not empty (columns X and
// rows Y counted from 1), and the end record E, each ending in LF. A text cell's K value is in
// double quotes with each ";" doubled, its quotes kept as they are; a number's is its digits:
//   ID;PMESHLOOM / C;X1;Y1;K"a;;b"c" / C;X2;Y1;K12.5 / E
std::string SylkText(const std::vector<TSheetRow>& rows);

// The clipboard's XML cell range: a ClipboardRange of Cols x Rows cells from the top left,
// one Cell element a cell that is not empty, ValueType 60 for text and 40 for a number, with
// &, <, > and " as entities:  <gnm:Cell Row="0" Col="0" ValueType="60">01067</gnm:Cell>
std::string CellRangeXml(const std::vector<TSheetRow>& rows);
