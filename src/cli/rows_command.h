#pragma once

// meshloom-export --rows: the rows a saved network's two files give, as the windows copy them
// after opening it, so that a saved pair can go back into a spreadsheet or into the command.
//
//   meshloom-export --rows [--decimal=SYMBOL] DEMAND_FILE DISTANCE_FILE NODES LINKS
//
// The two files are read and checked as Open Network reads them, the links rebuilt as the
// fewest that give the distances, and the node rows and the link rows made (UTF-8, the values
// in the region's decimal symbol or SYMBOL); the command writes them as it writes every output
// (export_command.cpp).

#include <string>

#include "cli/export_command.h"

// The node rows and the link rows of the saved pair, or the status of why not (said on
// standard error, naming the file); the separators are set by the caller.
TExportStatus ReadSavedRows(const std::string& demandPath, const std::string& distancePath,
                            std::string& nodeRows, std::string& linkRows);
