#include "cli/export_command.h"
#include "cli/rows_command.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <future>
#include <limits>
#include <optional>
#include <string_view>

#include "cli/region_separators.h"
#include "core/connectivity_details.h"
#include "core/data_files.h"
#include "core/link_rows.h"
#include "core/name_bytes.h"
#include "core/network_store.h"
#include "core/node_rows.h"
#include "core/separators.h"
#include "core/shortest_paths.h"
#include "files/file_writer.h"

#ifndef MESHLOOM_VERSION
#error "MESHLOOM_VERSION, the project version, is set by the build"
#endif

namespace {

constexpr std::string_view Program = "meshloom-export";

constexpr std::string_view HelpText =
    R"(Usage: meshloom-export [OPTION]... NODES LINKS DEMAND_FILE DISTANCE_FILE
Write the demand data file and the distance file of one network, byte for byte as
MESHLOOM saves them, from rows of nodes and rows of links. With - as NODES or LINKS,
read those rows from standard input.

NODES holds one node a row: name, first demand, second demand and fixed cost, separated
by tabs (a header row may come first), or the lines of a saved demand data file.
LINKS holds one direction a row: origin, destination and distance (a node by its number
or by a name no other node has), or the five cells that copying the link list writes.
Both are UTF-8 text, read as pasting them into the windows reads them; text that is
not UTF-8 is taken in the bytes a demand data file holds names in.

      --decimal=SYMBOL     read the values with SYMBOL ('.' or ',') as their decimal
                             symbol and the other one as grouping symbol (1,234.5 or
                             1.234,5), instead of the region's (LC_ALL, LC_NUMERIC, LANG)
      --require-connected  write nothing when some pair of nodes cannot be joined
                             within 10000; without it, such a network is saved after
                             a warning
      --rows               instead, read DEMAND_FILE DISTANCE_FILE (a saved pair) and
                             write the rows that copying their network writes to NODES
                             LINKS (given in this order; - is standard output)
      --help               display this help and exit
      --version            output version information and exit

Exit status:
 0  both files written
 1  a row refused, or too few or too many nodes: nothing written
 2  a file not written (the other may have been; a file is replaced only when complete)
 3  not connected, with --require-connected: nothing written
 64 wrong usage
 66 NODES or LINKS cannot be read
 70 an internal error (a fault of this program): nothing more written
)";

struct TOptions {
    std::optional<char> Decimal;
    bool RequireConnected = false;
    bool Rows = false;  // --rows: the rows of a saved network's two files (rows_command.h)
    bool Help = false;
    bool Version = false;
    std::vector<std::string> Operands;
};

void Say(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", Program.data(), message.c_str());
}

TExportStatus UsageError(const std::string& problem) {
    Say(problem);
    std::fprintf(stderr, "Try '%s --help' for more information.\n", Program.data());
    return TExportStatus::Usage;
}

// The options and operands in any order, as GNU programs take them; "--" ends the options
// and "-" is an operand. An empty text on return means the arguments were right.
TOptions ParseArguments(const std::vector<std::string>& arguments, std::string& problem) {
    TOptions options;
    const auto setDecimal = [&](const std::string& symbol) {
        if (symbol == "." || symbol == ",") {
            options.Decimal = symbol[0];
        } else {
            problem = "invalid decimal symbol '" + symbol + "': '.' or ','";
        }
    };
    bool optionsEnded = false;
    for (std::size_t at = 0; at < arguments.size() && problem.empty(); ++at) {
        const std::string& argument = arguments[at];
        if (optionsEnded || argument == "-" || argument.empty() || argument[0] != '-') {
            options.Operands.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help") {
            options.Help = true;
        } else if (argument == "--version") {
            options.Version = true;
        } else if (argument == "--rows") {
            options.Rows = true;
        } else if (argument == "--require-connected") {
            options.RequireConnected = true;
        } else if (argument.rfind("--decimal=", 0) == 0) {
            setDecimal(argument.substr(10));
        } else if (argument == "--decimal") {
            if (at + 1 < arguments.size()) {
                setDecimal(arguments[++at]);
            } else {
                problem = "option '--decimal' requires an argument";
            }
        } else if (argument.rfind("--", 0) == 0) {
            problem = "unrecognized option '" + argument + "'";
        } else {
            problem = "invalid option -- '" + argument.substr(1, 1) + "'";
        }
    }
    return options;
}

// True when text is well-formed UTF-8 (no overlong forms, surrogates or codes past U+10FFFF).
bool IsUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = lead < 0x80   ? 1
                                   : lead < 0xC2 ? 0
                                   : lead < 0xE0 ? 2
                                   : lead < 0xF0 ? 3
                                   : lead < 0xF5 ? 4
                                                 : 0;
        if (length == 0 || at + length > text.size()) {
            return false;
        }
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t next = 1; next < length; ++next) {
            const auto byte = static_cast<unsigned char>(text[at + next]);
            if ((byte & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (byte & 0x3F);
        }
        constexpr char32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < Smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        at += length;
    }
    return true;
}

// Rows as UTF-8. Text that is not UTF-8 is taken to be in the bytes names are held in: a
// demand data file saved with names such as "O\x92Neill" reads back with the names it holds.
std::string RowsText(std::string text) {
    if (IsUtf8(text)) {
        return text;
    }
    return TextOfNameBytes(text);
}

// How an operand is named in messages.
std::string InputName(const std::string& path) {
    return path == "-" ? "standard input" : path;
}

// The whole content of the file at path, or of standard input for "-"; the error number of
// the failure when it cannot be read.
std::optional<std::string> ReadWhole(const std::string& path, int& error) {
    std::FILE* const file = path == "-" ? stdin : std::fopen(path.c_str(), "rb");
    if (!file) {
        error = errno;
        return std::nullopt;
    }
    std::string text;
    char buffer[1 << 16];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, count);
    }
    error = std::ferror(file) ? (errno != 0 ? errno : EIO) : 0;
    if (file != stdin) {
        std::fclose(file);
    }
    return error == 0 ? std::optional<std::string>(std::move(text)) : std::nullopt;
}

// True when both names lead to one regular file, existing or yet to be made, so that the
// distance file would replace the demand data file just written.
bool IsSameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    const bool firstExists = ::stat(a.c_str(), &first) == 0;
    const bool secondExists = ::stat(b.c_str(), &second) == 0;
    if (firstExists && secondExists) {
        return S_ISREG(first.st_mode) && first.st_dev == second.st_dev &&
               first.st_ino == second.st_ino;
    }
    std::error_code errorA;
    std::error_code errorB;
    return !firstExists && !secondExists &&
           std::filesystem::weakly_canonical(a, errorA) ==
               std::filesystem::weakly_canonical(b, errorB) &&
           !errorA && !errorB;
}

// The result of writing one file; a failure is said with the file's full name and the
// system's reason, and whether the new file holds the name all the same (only the flush of its
// folder failed).
bool Reported(const TWriteResult& result, const std::string& path, const std::string& failure) {
    if (!result) {
        std::error_code ignored;
        Say(failure + ": " + std::filesystem::absolute(path, ignored).string() + ": " +
            (result.NameNotFlushed ? std::string(NameNotFlushedText) + " " : "") +
            ErrorReason(result.Error));
    }
    return result;
}

// Reads the rows into the store; a refusal is said, naming the file.
bool ReadNetwork(TNetworkStore& network, const TOptions& options, const std::string& nodesText,
                 const std::string& linksText) {
    const std::string& nodesName = InputName(options.Operands[0]);
    TNodeRowsReading nodes = ReadNodeRows(nodesText, std::numeric_limits<int>::max());
    if (!nodes.Refusal.empty()) {
        Say(nodesName + ": " + nodes.Refusal);
        return false;
    }
    // The node window lets the links be entered only from two nodes on.
    const auto count = nodes.Nodes.size();
    if (count < 2 || count > MaxNodes) {
        Say(nodesName + ": " + std::to_string(count) + (count == 1 ? " node" : " nodes") +
            "; a network has from 2 to " + std::to_string(MaxNodes) + " nodes.");
        return false;
    }
    StartNodeTable(network);
    AddPastedNodes(network, nodes.Nodes);
    AllocateLinkRows(network);
    TLinkRowsReading links = ReadLinkRows(linksText, network);
    if (!links.Refusal.empty()) {
        Say(InputName(options.Operands[1]) + ": " + links.Refusal);
        return false;
    }
    AddPastedLinks(network, links.Links);
    return true;
}

}  // namespace

TExportStatus RunExport(const std::vector<std::string>& arguments) {
    std::string problem;
    const TOptions options = ParseArguments(arguments, problem);
    if (!problem.empty()) {
        return UsageError(problem);
    }
    if (options.Help) {
        std::fputs(HelpText.data(), stdout);
        return TExportStatus::Written;
    }
    if (options.Version) {
        std::printf("%s (MESHLOOM) %s\nCopyright (C) the MESHLOOM developers.\n", Program.data(),
                    MESHLOOM_VERSION);
        return TExportStatus::Written;
    }
    if (options.Rows) {
        SetFormatSeparators(options.Decimal ? TFormatSeparators{*options.Decimal,
                                                                *options.Decimal == ',' ? '.' : ','}
                                            : RegionSeparators());
        return RunRows(options.Operands);
    }
    const std::vector<std::string>& operands = options.Operands;
    if (operands.size() != 4) {
        return UsageError(operands.size() < 4 ? "missing operand"
                                              : "extra operand '" + operands[4] + "'");
    }
    for (const std::string& operand : operands) {
        if (operand.empty()) {
            return UsageError("an empty file name");
        }
    }
    if (operands[0] == "-" && operands[1] == "-") {
        return UsageError("NODES and LINKS cannot both be read from standard input");
    }
    if (IsSameFile(operands[2], operands[3])) {
        return UsageError("the distance file must not replace the demand data file: " +
                          operands[3]);
    }

    // The region's separators; with --decimal, "," goes with "." as grouping symbol and "." with
    // ",", as in 1.234,5 and 1,234.5.
    SetFormatSeparators(
        options.Decimal ? TFormatSeparators{*options.Decimal, *options.Decimal == ',' ? '.' : ','}
                        : RegionSeparators());

    std::optional<std::string> texts[2];
    for (int input = 0; input < 2; ++input) {
        int error = 0;
        texts[input] = ReadWhole(operands[input], error);
        if (texts[input]) {
            texts[input] = RowsText(std::move(*texts[input]));
        }
        if (!texts[input]) {
            Say(InputName(operands[input]) + ": " + ErrorReason(error));
            return TExportStatus::InputUnreadable;
        }
    }

    // The one store, as in the windows, filled as pasting fills it.
    TNetworkStore& network = Network;
    if (!ReadNetwork(network, options, *texts[0], *texts[1])) {
        return TExportStatus::RowRefused;
    }

    // The distances completed and capped at 10000, and the verdict, as a save in the windows.
    CompleteShortestPaths(network);
    if (!network.NetworkConnected) {
        Say("NETWORK IS NOT CONNECTED: VERY SERIOUS CONDITION");
        std::fprintf(stderr, "%s\n", TextOfNameBytes(UnjoinedPairsDetails(network)).c_str());
        if (options.RequireConnected) {
            ReleasePathRows(network);
            Say("nothing written (--require-connected)");
            return TExportStatus::NotConnected;
        }
    }
    const std::string demandText = DemandDataFileText(network);
    const std::string distanceText = DistanceFileText(network);
    ReleasePathRows(network);

    // Both files are attempted, as in the windows: the distance file after a failed demand
    // data file too. They are independent, so the distance file is written meanwhile, and the
    // waits for the disk overlap; the messages keep their order.
    // (Where no thread can be started, it is written after the demand data file.)
    std::future<TWriteResult> distances =
        std::async(std::launch::async | std::launch::deferred,
                   [&] { return WriteWholeFile(operands[3], distanceText); });
    const bool demandWritten = Reported(WriteWholeFile(operands[2], demandText), operands[2],
                                        "FATAL ERROR SAVING DEMAND DATA FILE");
    const bool distancesWritten =
        Reported(distances.get(), operands[3], "FATAL ERROR SAVING DISTANCE FILE");
    return demandWritten && distancesWritten ? TExportStatus::Written : TExportStatus::NotWritten;
}
