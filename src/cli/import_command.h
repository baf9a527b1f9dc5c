#pragma once

// meshloom-export --import: a network brought in from another form, the kind told by the
// content (import/network_import.h), to the two files.
//
//   meshloom-export --import [--scale FACTOR] [--value durations|distances] [--picture SVG]
//                   [--require-connected] FILE DEMAND_FILE DISTANCE_FILE
//
// The file is read whole (standard input for "-"), its values scaled and rounded, and the
// network put into the store as an opened one is, its places kept; the command then completes
// the distances and writes the files as for rows (export_command.cpp). What was read is said
// on standard error: the kind, the nodes, the links, the largest distance, the scale, and the
// notes of the file.

#include <string>

#include "cli/export_command.h"
#include "import/network_import.h"

// The network of the file in the store (links taken over as the link window takes them), or
// the status of why not: Written, RowRefused (a refused file, said naming its line and
// reason) or InputUnreadable. The file is read from fd where the caller holds it open (-1:
// it could not be opened, and the reason is learnt by its name).
TExportStatus ReadImportedNetwork(const std::string& path, int fd, double scale,
                                  TRoutingValue value);
