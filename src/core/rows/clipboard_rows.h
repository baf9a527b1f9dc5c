#pragma once

// The node and link lists as spreadsheet rows for the clipboard, all in one include: the rows
// themselves (tab_separated.h), one value cell (cell_values.h), the node rows (node_rows.h)
// and the link rows (link_rows.h).

#include "core/rows/cell_values.h"
#include "core/rows/link_rows.h"
#include "core/rows/node_rows.h"
#include "core/rows/tab_separated.h"
