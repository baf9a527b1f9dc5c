#include "app/command_line.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

#ifndef MESHLOOM_VERSION
#error "MESHLOOM_VERSION, the project version, is set by the build"
#endif

namespace {
constexpr std::string_view HelpText =
    R"(Usage: meshloom [FILE.NET]
  or:  meshloom --import FILE
Build a small network by hand, its nodes first and then its links, and save it for
KORVANTE as a demand data file (*.NET) and a distance file (*.NED).
With FILE.NET, open that saved network at start: its demand data file, and the distance
file of the same name with the extension NED (in any case) beside it.

      --import FILE  import FILE as Import Network does, once the main menu shows: a
                       table of distances, a list of origin, destination and cost, a
                       routing service's table, sites with coordinates, an OR-Library
                       p-median file or a TSPLIB file
      --help         display this help and exit
      --version      output version information and exit
)";

constexpr std::string_view VersionText =
    "meshloom (MESHLOOM) " MESHLOOM_VERSION "\nCopyright (C) the MESHLOOM developers.\n";

// True when all of text reached standard output.
bool Printed(std::string_view text) {
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    return std::fflush(stdout) == 0 && written && std::ferror(stdout) == 0;
}
}  // namespace

std::optional<int> AnswerInformationOptions(int argc, char** argv) {
    // The help or the version wherever it is asked for; else wrong usage, the first, is said
    // before a window could open on it.
    std::string wrong;
    bool importFile = false;  // the argument is --import's FILE, whatever it is called
    for (int k = 1; k < argc; ++k) {
        const std::string_view argument = argv[k];
        if (argument == "--") {
            break;
        }
        if (argument == "--help" || argument == "--version") {
            return Printed(argument == "--help" ? HelpText : VersionText) ? 0 : 1;
        }
        if (!wrong.empty() || std::exchange(importFile, false)) {
            continue;
        }
        if (argument == "--import") {
            importFile = true;
            if (k + 1 >= argc) {
                wrong = "option '--import' requires an argument";
            }
        } else if (argument.size() > 2 && argument.substr(0, 2) == "--") {
            wrong = "unrecognized option '" + std::string(argument) + "'";
        }
    }
    if (!wrong.empty()) {
        std::fprintf(stderr, "meshloom: %s\nTry 'meshloom --help' for more information.\n",
                     wrong.c_str());
        return 64;
    }
    return std::nullopt;
}
