#pragma once

// meshloom-export --rows: the rows a saved network's two files give, as the windows copy them
// after opening it, so that a saved pair can go back into a spreadsheet or into the command.
//
//   meshloom-export --rows [--decimal=SYMBOL] DEMAND_FILE DISTANCE_FILE NODES LINKS
//
// The two files are read and checked as Open Network reads them, the links rebuilt as the
// fewest that give the distances, and the node rows and the link rows written (UTF-8, the
// values in the region's decimal symbol or SYMBOL) to NODES and LINKS; "-" as one of them
// writes it to standard output.

#include <string>
#include <vector>

#include "cli/export_command.h"

// Runs the mode with its four operands; the separators are set by the caller.
TExportStatus RunRows(const std::vector<std::string>& operands);
