#include "cli/export_command.h"
#include "cli/import_command.h"
#include "cli/rows_command.h"

#include <fcntl.h>
#include <getopt.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <optional>
#include <string_view>

#include "cli/output_checks.h"
#include "cli/region_separators.h"
#include "core/file_texts/data_files.h"
#include "core/file_texts/name_bytes.h"
#include "core/network/connectivity_details.h"
#include "core/network/network_store.h"
#include "core/network/shortest_paths.h"
#include "core/numbers/separators.h"
#include "core/rows/link_rows.h"
#include "core/rows/node_rows.h"
#include "drawing/picture_svg.h"
#include "files/file_writer.h"

#ifndef MESHLOOM_VERSION
#error "MESHLOOM_VERSION, the project version, is set by the build"
#endif

namespace {

constexpr std::string_view Program = "meshloom-export";

constexpr std::string_view HelpText =
    R"(Usage: meshloom-export [OPTION]... NODES LINKS DEMAND_FILE DISTANCE_FILE
  or:  meshloom-export --rows [--decimal=SYMBOL] DEMAND_FILE DISTANCE_FILE NODES LINKS
  or:  meshloom-export --import [OPTION]... FILE DEMAND_FILE DISTANCE_FILE
Write the demand data file and the distance file of one network, byte for byte as
MESHLOOM saves them, from rows of nodes and rows of links. With - as NODES or LINKS,
read those rows from standard input; with - as DEMAND_FILE or DISTANCE_FILE, write
that file to standard output.
With --rows, the other way: read a saved pair, DEMAND_FILE and DISTANCE_FILE, as
Open Network reads it, and write the rows that copying its nodes and its links writes
to NODES and LINKS (- is standard output); the export takes them back unchanged.
With --import, bring a network in from FILE (- is standard input), whose kind is
told by its content, and write its two files; what was read is said on standard
error. The kinds, each with an example:
  OR-Library p-median file: "n m p", then m edges "i j cost" (both ways; the last
  cost listed for a pair counts; p is no part of the network)
      3 2 1
      1 2 7
      2 3 4
  TSPLIB file (TSP, ATSP, CVRP): keys, then NODE_COORD_SECTION with EUC_2D, CEIL_2D,
  ATT or GEO, or EDGE_WEIGHT_SECTION with EXPLICIT and an EDGE_WEIGHT_FORMAT
      TYPE : TSP
      DIMENSION : 2
      EDGE_WEIGHT_TYPE : EUC_2D   (then NODE_COORD_SECTION, "1 0 0", "2 3 4", EOF)
  square table: names across and down, tabs, commas or semicolons; empty is no link
      ;Depot;Mill
      Depot;0;4,5
      Mill;5;
  long list: a header of words, then origin, destination, cost (empty: no link)
      from,to,minutes
      Depot,Mill,4
      Mill,Depot,5
  routing table (JSON): "durations" or "distances", rows of sources, null no route
      {"durations": [
        [0, 4.5], [5.1, null]
      ]}
  sites: name, x, y (a plane) or name, latitude, longitude (great circle, km), and
  first demand, second demand, fixed cost where given; every pair both ways
      name,latitude,longitude,first demand
      Oslo,59.91,10.75,3
      Bergen,60.39,5.32,2
A node without a name is named by its number; without values, its first demand is
1, its second demand and fixed cost 0. Each value is multiplied by the scale and
rounded (halves away from zero); a distance above 10000 refuses the file, naming
the largest scale at which all fit.

NODES holds one node a row: name, first demand, second demand and fixed cost, separated
by tabs (a header row may come first), or the lines of a saved demand data file.
LINKS holds one direction a row: origin, destination and distance (a node by its number
or by a name no other node has), or the five cells that copying the link list writes.
Both are UTF-8 text, read as pasting them into the windows reads them; a row that is
not UTF-8 is taken in the bytes a demand data file holds names in (each row on its own).
No two outputs may lead to one file (the names -, /dev/stdout, links and hard links
included), and no output to an input.

      --decimal=SYMBOL     read the values with SYMBOL ('.' or ',') as their decimal
                             symbol and the other one as grouping symbol (1,234.5 or
                             1.234,5), instead of the region's (LC_ALL, LC_NUMERIC, LANG);
                             with --rows, write them with SYMBOL
      --require-connected  write nothing when some pair of nodes cannot be joined
                             within 10000; without it, such a network is saved after
                             a warning (not with --rows)
      --picture=FILE       also draw the network to its distances in FILE, as SVG
                             (not with --rows)
      --rows               read a saved pair and write its rows, as above
      --import             bring a network in from FILE, as above
      --scale=FACTOR       with --import, multiply every value by FACTOR (above 0;
                             default 1) before rounding it
      --value=ARRAY        with --import, the array of a routing table that holds
                             both: durations or distances
      --help               display this help and exit
      --version            output version information and exit

Exit status:
 0  all files written
 1  a row, a saved file or a file to import refused, or too few or too many
    nodes: nothing written
 2  a file not written (another may have been; a file is replaced only when complete)
 3  not connected, with --require-connected: nothing written
 64 wrong usage (an option the mode does not use too), or two outputs that are one
    file, or an output that is an input (through links too): nothing written
 66 an input cannot be read
 70 an internal error (a fault of this program): nothing more written
)";

struct TOptions {
    std::optional<char> Decimal;
    bool RequireConnected = false;
    std::string Picture;  // --picture: the SVG picture's file, or none
    bool Rows = false;    // --rows: the rows of a saved network's two files (rows_command.h)
    bool Import = false;  // --import: a network from another form (import_command.h)
    double Scale = 1;     // --scale
    bool ScaleGiven = false;
    TRoutingValue Value = TRoutingValue::Unchosen;  // --value
    bool Help = false;
    bool Version = false;
    std::vector<std::string> Operands;
};

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
        ImportOption,
        ScaleOption,
        ValueOption,
        HelpOption,
        VersionOption
    };
    static const option Long[] = {
        {"decimal", required_argument, nullptr, DecimalOption},
        {"require-connected", no_argument, nullptr, RequireConnectedOption},
        {"picture", required_argument, nullptr, PictureOption},
        {"rows", no_argument, nullptr, RowsOption},
        {"import", no_argument, nullptr, ImportOption},
        {"scale", required_argument, nullptr, ScaleOption},
        {"value", required_argument, nullptr, ValueOption},
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
            case ImportOption:
                options.Import = true;
                break;
            case ScaleOption: {
                const std::string_view text(optarg);
                const auto [end, error] =
                    std::from_chars(text.data(), text.data() + text.size(), options.Scale);
                options.ScaleGiven = true;
                if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
                    !std::isfinite(options.Scale) || options.Scale <= 0) {
                    problem = "invalid scale '" + std::string(text) + "': a number above 0";
                }
                break;
            }
            case ValueOption:
                options.Value = std::string_view(optarg) == "durations"   ? TRoutingValue::Durations
                                : std::string_view(optarg) == "distances" ? TRoutingValue::Distances
                                                                          : TRoutingValue::Unchosen;
                if (options.Value == TRoutingValue::Unchosen) {
                    problem = "invalid value '" + std::string(optarg) + "': durations or distances";
                }
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
    int Descriptor() const { return File != nullptr ? ::fileno(File) : -1; }

  private:
    std::FILE* File;
};

// A descriptor closed on every way out.
struct TOpenedFile {
    int Fd;
    explicit TOpenedFile(int fd) : Fd(fd) {}
    TOpenedFile(const TOpenedFile&) = delete;
    TOpenedFile& operator=(const TOpenedFile&) = delete;
    ~TOpenedFile() {
        if (Fd >= 0) {
            ::close(Fd);
        }
    }
};

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

// One output, made: its operand, its bytes and the words that say it was not written.
struct TOutput {
    const TFileOperand* File;
    std::string Bytes;
    std::string_view Failure;
};

// Writes every output the same way, each attempted whatever became of the others, as the
// windows attempt both files; the messages keep their order. One is written after the other,
// never two at once, and none over a file that another has just been written to (they were
// checked to be distinct files, but a folder may take two names for one).
bool AllWritten(const std::vector<TOutput>& outputs) {
    bool written = true;
    std::vector<const TFileOperand*> done;
    for (const TOutput& output : outputs) {
        if (const std::string problem = WrittenAlreadyProblem(*output.File, done);
            !problem.empty()) {
            Say(std::string(output.Failure) + ": " + problem);
            written = false;
            continue;
        }
        written = Reported(WriteOutput(output.File->Path, output.Bytes), output.File->Path,
                           std::string(output.Failure)) &&
                  written;
        done.push_back(output.File);
    }
    return written;
}

}  // namespace

void Say(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", Program.data(), message.c_str());
}

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
    HoldClosedStandardStreams();
    // An option the mode would not use is refused rather than left unsaid.
    if (options.Rows && (options.RequireConnected || !options.Picture.empty())) {
        return UsageError(
            std::string(options.RequireConnected ? "--require-connected" : "--picture") +
            " does not go with --rows");
    }
    if (options.Import && (options.Rows || options.Decimal)) {
        return UsageError(std::string(options.Rows ? "--rows" : "--decimal") +
                          " does not go with --import");
    }
    if (!options.Import && (options.ScaleGiven || options.Value != TRoutingValue::Unchosen)) {
        return UsageError(std::string(options.ScaleGiven ? "--scale" : "--value") +
                          " goes only with --import");
    }
    const std::vector<std::string>& operands = options.Operands;
    const std::size_t count = options.Import ? 3 : 4;
    if (operands.size() != count) {
        return UsageError(operands.size() < count ? "missing operand"
                                                  : "extra operand '" + operands[count] + "'");
    }
    for (const std::string& operand : operands) {
        if (operand.empty()) {
            return UsageError("an empty file name");
        }
    }
    // The files in the order of the usage: the inputs, then the outputs.
    constexpr const char* Roles[3][4] = {{"NODES", "LINKS", "DEMAND_FILE", "DISTANCE_FILE"},
                                         {"DEMAND_FILE", "DISTANCE_FILE", "NODES", "LINKS"},
                                         {"FILE", "DEMAND_FILE", "DISTANCE_FILE"}};
    const std::size_t mode = options.Import ? 2 : options.Rows ? 1 : 0;
    std::vector<TFileOperand> inputs;
    std::vector<TFileOperand> outputs;
    for (std::size_t operand = 0; operand < count; ++operand) {
        (operand < count - 2 ? inputs : outputs)
            .push_back({Roles[mode][operand], operands[operand]});
    }
    if (!options.Picture.empty()) {
        outputs.push_back({"--picture", options.Picture});
    }
    if (mode == 0 && operands[0] == "-" && operands[1] == "-") {
        return UsageError("NODES and LINKS cannot both be read from standard input");
    }
    if (problem = OutputProblem(inputs, outputs); !problem.empty()) {
        return UsageError(problem);
    }
    // The region's separators; with --decimal, "," goes with "." as grouping symbol and "." with
    // ",", as in 1.234,5 and 1,234.5.
    SetFormatSeparators(
        options.Decimal ? TFormatSeparators{*options.Decimal, *options.Decimal == ',' ? '.' : ','}
                        : RegionSeparators());

    if (options.Rows) {
        // The saved pair held open while it is read, so that no output names it meanwhile.
        const TOpenedFile demand(::open(operands[0].c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        const TOpenedFile distances(::open(operands[1].c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        if (problem =
                OpenInputProblem({{&inputs[0], demand.Fd}, {&inputs[1], distances.Fd}}, outputs);
            !problem.empty()) {
            return UsageError(problem);
        }
        std::string nodeRows;
        std::string linkRows;
        const TExportStatus read = ReadSavedRows(operands[0], operands[1], nodeRows, linkRows);
        if (read != TExportStatus::Written) {
            return read;
        }
        if (problem = OutputFolderProblem(outputs); !problem.empty()) {
            Say(problem);
            return TExportStatus::NotWritten;
        }
        std::vector<TOutput> rows;
        rows.push_back({&outputs[0], std::move(nodeRows), "cannot write the node rows"});
        rows.push_back({&outputs[1], std::move(linkRows), "cannot write the link rows"});
        return AllWritten(rows) ? TExportStatus::Written : TExportStatus::NotWritten;
    }

    // The one store, as in the windows, filled as pasting fills it, or as opening fills it.
    TNetworkStore& network = Network;
    if (options.Import) {
        // The file held open while it is checked and read, so that no output names it
        // meanwhile.
        const bool standardInput = operands[0] == "-";
        const TOpenedFile file(
            standardInput
                ? -1
                : ::open(operands[0].c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (problem =
                OpenInputProblem({{&inputs[0], standardInput ? STDIN_FILENO : file.Fd}}, outputs);
            !problem.empty()) {
            return UsageError(problem);
        }
        const TExportStatus read =
            ReadImportedNetwork(operands[0], file.Fd, options.Scale, options.Value);
        if (read != TExportStatus::Written) {
            return read;
        }
    } else {
        TInput nodesInput(operands[0]);
        TInput linksInput(operands[1]);
        TInput* const inputFiles[2] = {&nodesInput, &linksInput};
        for (std::size_t input = 0; input < 2; ++input) {
            if (inputFiles[input]->Error != 0) {
                Say(InputName(operands[input]) + ": " + ErrorReason(inputFiles[input]->Error));
                return TExportStatus::InputUnreadable;
            }
        }
        if (problem = OpenInputProblem(
                {{&inputs[0], nodesInput.Descriptor()}, {&inputs[1], linksInput.Descriptor()}},
                outputs);
            !problem.empty()) {
            return UsageError(problem);
        }
        int readError = 0;
        if (!ReadNetwork(network, options, inputFiles, readError)) {
            return readError != 0 ? TExportStatus::InputUnreadable : TExportStatus::RowRefused;
        }
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
    if (problem = OutputFolderProblem(outputs); !problem.empty()) {
        ReleasePathRows(network);
        Say(problem);
        return TExportStatus::NotWritten;
    }
    std::vector<TOutput> made;
    made.push_back(
        {&outputs[0], DemandDataFileText(network), "FATAL ERROR SAVING DEMAND DATA FILE"});
    made.push_back({&outputs[1], DistanceFileText(network), "FATAL ERROR SAVING DISTANCE FILE"});
    ReleasePathRows(network);
    if (!options.Picture.empty()) {
        made.push_back({&outputs[2], PictureSvg(network), "cannot write the picture"});
    }
    return AllWritten(made) ? TExportStatus::Written : TExportStatus::NotWritten;
}
