#include "cli/export_command.h"
#include "cli/rows_command.h"

#include <getopt.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <future>
#include <limits>
#include <optional>
#include <string_view>

#include "cli/picture_export.h"
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
read those rows from standard input; with - as DEMAND_FILE or DISTANCE_FILE, write
that file to standard output (not both).

NODES holds one node a row: name, first demand, second demand and fixed cost, separated
by tabs (a header row may come first), or the lines of a saved demand data file.
LINKS holds one direction a row: origin, destination and distance (a node by its number
or by a name no other node has), or the five cells that copying the link list writes.
Both are UTF-8 text, read as pasting them into the windows reads them; a row that is
not UTF-8 is taken in the bytes a demand data file holds names in (each row on its own).

      --decimal=SYMBOL     read the values with SYMBOL ('.' or ',') as their decimal
                             symbol and the other one as grouping symbol (1,234.5 or
                             1.234,5), instead of the region's (LC_ALL, LC_NUMERIC, LANG)
      --require-connected  write nothing when some pair of nodes cannot be joined
                             within 10000; without it, such a network is saved after
                             a warning
      --picture=FILE       also draw the network to its distances in FILE, as SVG
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
 64 wrong usage, or both files named alike (the same file, through links too)
 66 NODES or LINKS cannot be read
 70 an internal error (a fault of this program): nothing more written
)";

struct TOptions {
    std::optional<char> Decimal;
    bool RequireConnected = false;
    std::string Picture;  // --picture: the SVG picture's file, or none
    bool Rows = false;    // --rows: the rows of a saved network's two files (rows_command.h)
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
    enum : int {
        DecimalOption = 256,
        RequireConnectedOption,
        PictureOption,
        RowsOption,
        HelpOption,
        VersionOption
    };
    static const option Long[] = {
        {"decimal", required_argument, nullptr, DecimalOption},
        {"require-connected", no_argument, nullptr, RequireConnectedOption},
        {"picture", required_argument, nullptr, PictureOption},
        {"rows", no_argument, nullptr, RowsOption},
        {"help", no_argument, nullptr, HelpOption},
        {"version", no_argument, nullptr, VersionOption},
        {nullptr, 0, nullptr, 0},
    };
    std::vector<std::string> words{std::string(Program)};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const int argc = static_cast<int>(words.size());
    const auto word = [&](int at) { return std::string(argv[static_cast<std::size_t>(at)]); };
    optind = 0;  // afresh for each run: getopt_long keeps its place between calls
    opterr = 0;  // the problems are said here, in the command's words
    for (int option = 0; problem.empty() &&
                         (option = ::getopt_long(argc, argv.data(), ":", Long, nullptr)) != -1;) {
        switch (option) {
            case DecimalOption:
                if (std::string_view(optarg) == "." || std::string_view(optarg) == ",") {
                    options.Decimal = optarg[0];
                } else {
                    problem = "invalid decimal symbol '" + std::string(optarg) + "': '.' or ','";
                }
                break;
            case RequireConnectedOption:
                options.RequireConnected = true;
                break;
            case PictureOption:
                options.Picture = optarg;
                if (options.Picture.empty()) {
                    problem = "an empty file name";
                }
                break;
            case RowsOption:
                options.Rows = true;
                break;
            case HelpOption:
                options.Help = true;
                break;
            case VersionOption:
                options.Version = true;
                break;
            case ':':
                problem = "option '" + word(optind - 1) + "' requires an argument";
                break;
            default:
                if (optopt == 0) {
                    problem = "unrecognized option '" + word(optind - 1) + "'";
                } else if (optopt < DecimalOption) {
                    problem = "invalid option -- '" + std::string(1, char(optopt)) + "'";
                } else {
                    const std::string given = word(optind - 1);
                    problem = "option '" + given.substr(0, given.find('=')) +
                              "' doesn't allow an argument";
                }
                break;
        }
    }
    for (int at = optind; problem.empty() && at < argc; ++at) {
        options.Operands.push_back(word(at));
    }
    return options;
}

// How an operand is named in messages.
std::string InputName(const std::string& path) {
    return path == "-" ? "standard input" : path;
}

// An input to read rows from: a file, or standard input for "-"; its read error is kept.
class TInput {
  public:
    explicit TInput(const std::string& path)
        : File(path == "-" ? stdin : std::fopen(path.c_str(), "rb")) {
        Error = File == nullptr ? errno : 0;
    }
    TInput(const TInput&) = delete;
    TInput& operator=(const TInput&) = delete;
    ~TInput() {
        if (File != nullptr && File != stdin) {
            std::fclose(File);
        }
    }

    // The rows, read as they are needed.
    TTabSeparatedReader Rows() {
        return TTabSeparatedReader([this](char* buffer, std::size_t size) {
            const std::size_t count = std::fread(buffer, 1, size, File);
            if (count == 0 && std::ferror(File)) {
                Error = errno != 0 ? errno : EIO;
            }
            return count;
        });
    }
    int Error = 0;  // 0 while it can be read

  private:
    std::FILE* File;
};

// What a name leads to when nothing is there yet: its links followed, as the kernel would
// follow them, to the free name at the end, made absolute.
std::string FreeTarget(std::string path) {
    for (int link = 0; link < 40; ++link) {
        char text[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), text, sizeof text - 1);
        if (length <= 0) {
            break;
        }
        const std::string target(text, static_cast<std::size_t>(length));
        const std::filesystem::path folder = std::filesystem::path(path).parent_path();
        path = target[0] == '/' || folder.empty() ? target : (folder / target).string();
    }
    std::error_code ignored;
    return std::filesystem::weakly_canonical(std::filesystem::absolute(path, ignored), ignored)
        .string();
}

// True when both names lead to one regular file, existing or yet to be made (through links
// too, such as a link to a name that is still free), so that the distance file would replace
// the demand data file just written. Standard output is neither.
bool IsSameFile(const std::string& a, const std::string& b) {
    if (a == "-" || b == "-") {
        return false;
    }
    struct stat first {};
    struct stat second {};
    const bool firstExists = ::stat(a.c_str(), &first) == 0;
    const bool secondExists = ::stat(b.c_str(), &second) == 0;
    if (firstExists && secondExists) {
        return S_ISREG(first.st_mode) && first.st_dev == second.st_dev &&
               first.st_ino == second.st_ino;
    }
    return !firstExists && !secondExists && FreeTarget(a) == FreeTarget(b);
}

// Writes a file's bytes to standard output for "-", else where path leads.
TWriteResult WriteOutput(const std::string& path, const std::string& bytes) {
    if (path != "-") {
        return WriteWholeFile(path, bytes);
    }
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
        std::fflush(stdout) != 0) {
        return {errno != 0 ? errno : EIO};
    }
    return {};
}

// Writes text to standard output; false, the failure said, when it was not written.
bool Printed(const std::string& text) {
    errno = 0;
    if (std::fputs(text.c_str(), stdout) >= 0 && std::fflush(stdout) == 0) {
        return true;
    }
    Say("write error: " + ErrorReason(errno != 0 ? errno : EIO));
    return false;
}

// The result of writing one file; a failure is said with the file's full name and the
// system's reason, and whether the new file holds the name all the same (only the flush of its
// folder failed).
bool Reported(const TWriteResult& result, const std::string& path, const std::string& failure) {
    if (!result) {
        std::error_code ignored;
        Say(failure + ": " +
            (path == "-" ? "standard output" : std::filesystem::absolute(path, ignored).string()) +
            ": " + (result.NameNotFlushed ? std::string(NameNotFlushedText) + " " : "") +
            ErrorReason(result.Error));
    }
    return result;
}

// Reads the rows into the store, a row at a time; a refusal is said, naming the file, and so
// is a failure to read (then error is set).
bool ReadNetwork(TNetworkStore& network, const TOptions& options, TInput* const inputs[2],
                 int& error) {
    const std::string& nodesName = InputName(options.Operands[0]);
    TTabSeparatedReader nodeRows = inputs[0]->Rows();
    const TNodeRowsReading nodes = ReadNodeRows(nodeRows, MaxNodes);
    if ((error = inputs[0]->Error) != 0) {
        Say(nodesName + ": " + ErrorReason(error));
        return false;
    }
    if (!nodes.Refusal.empty() && !nodes.NoRoom) {
        Say(nodesName + ": " + nodes.Refusal);
        return false;
    }
    // The node window lets the links be entered only from two nodes on.
    const auto count = nodes.Count;
    if (count < 2 || count > MaxNodes) {
        Say(nodesName + ": " + std::to_string(count) + (count == 1 ? " node" : " nodes") +
            "; a network has from 2 to " + std::to_string(MaxNodes) + " nodes.");
        return false;
    }
    StartNodeTable(network);
    AddPastedNodes(network, nodes.Nodes);
    AllocateLinkRows(network);
    TTabSeparatedReader linkRows = inputs[1]->Rows();
    const TLinkRowsReading links = ReadLinkRows(linkRows, network);
    if ((error = inputs[1]->Error) != 0) {
        Say(InputName(options.Operands[1]) + ": " + ErrorReason(error));
        return false;
    }
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
    // A help or version that could not be written (a full disk) is a failure, not an answer.
    if (options.Help || options.Version) {
        const std::string text = options.Help
                                     ? std::string(HelpText)
                                     : std::string(Program) + " (MESHLOOM) " + MESHLOOM_VERSION +
                                           "\nCopyright (C) the MESHLOOM developers.\n";
        return Printed(text) ? TExportStatus::Written : TExportStatus::InternalError;
    }
    // The region's separators; with --decimal, "," goes with "." as grouping symbol and "." with
    // ",", as in 1.234,5 and 1,234.5.
    SetFormatSeparators(
        options.Decimal ? TFormatSeparators{*options.Decimal, *options.Decimal == ',' ? '.' : ','}
                        : RegionSeparators());
    if (options.Rows) {
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
    if (operands[2] == "-" && operands[3] == "-") {
        return UsageError(
            "DEMAND_FILE and DISTANCE_FILE cannot both be written to standard output");
    }
    for (int file = 2; file < 4 && !options.Picture.empty(); ++file) {
        if (options.Picture == "-" && operands[file] == "-") {
            return UsageError("the picture and " + operands[file] +
                              " cannot both be written to standard output");
        }
        if (IsSameFile(options.Picture, operands[file])) {
            return UsageError("the picture must not replace " + operands[file]);
        }
    }
    if (IsSameFile(operands[2], operands[3])) {
        return UsageError("the distance file must not replace the demand data file: " +
                          operands[3]);
    }

    TInput nodesInput(operands[0]);
    TInput linksInput(operands[1]);
    TInput* const inputs[2] = {&nodesInput, &linksInput};
    for (std::size_t input = 0; input < 2; ++input) {
        if (inputs[input]->Error != 0) {
            Say(InputName(operands[input]) + ": " + ErrorReason(inputs[input]->Error));
            return TExportStatus::InputUnreadable;
        }
    }

    // The one store, as in the windows, filled as pasting fills it.
    TNetworkStore& network = Network;
    int readError = 0;
    if (!ReadNetwork(network, options, inputs, readError)) {
        return readError != 0 ? TExportStatus::InputUnreadable : TExportStatus::RowRefused;
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
                   [&] { return WriteOutput(operands[3], distanceText); });
    const bool demandWritten = Reported(WriteOutput(operands[2], demandText), operands[2],
                                        "FATAL ERROR SAVING DEMAND DATA FILE");
    const bool distancesWritten =
        Reported(distances.get(), operands[3], "FATAL ERROR SAVING DISTANCE FILE");
    const bool pictureWritten =
        options.Picture.empty() || Reported(WriteOutput(options.Picture, PictureFileText(network)),
                                            options.Picture, "cannot write the picture");
    return demandWritten && distancesWritten && pictureWritten ? TExportStatus::Written
                                                               : TExportStatus::NotWritten;
}
