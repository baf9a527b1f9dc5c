#pragma once

// meshloom-export: the two files of one network, as the windows save them, from rows of nodes
// and rows of links, with no display.
//
//   meshloom-export [OPTION]... NODES LINKS DEMAND_FILE DISTANCE_FILE
//
// The rows are read as the windows paste them, the distances completed and the files made and
// written as a save in the windows does; a network that is not connected is saved as a
// planner answering Yes to the warning would, unless --require-connected says otherwise.

#include <string>
#include <vector>

// How the command ends (its exit status).
enum class TExportStatus : int {
    Written = 0,           // both files written
    RowRefused = 1,        // a row of NODES or LINKS is wrong: nothing written
    NotWritten = 2,        // a file could not be written (the other one may have been)
    NotConnected = 3,      // not connected under --require-connected: nothing written
    Usage = 64,            // wrong options or operands: nothing written
    InputUnreadable = 66,  // NODES or LINKS cannot be read: nothing written
    InternalError = 70     // a fault of the program (main reports it)
};

// Says message on standard error after the command's name: "meshloom-export: message".
void Say(const std::string& message);

// Runs the command with its arguments (without the program name); messages go to standard
// error, --help and --version to standard output.
TExportStatus RunExport(const std::vector<std::string>& arguments);
