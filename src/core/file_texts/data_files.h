#pragma once

// The two files that KORVANTE reads as one data set.
//
// Demand data file (*.NET): one line per node, for nodes 1..NumNodes:
//   node number in width 4, two blanks, "  0.0    0.0    ", the first demand, two blanks, the
//   second demand, two blanks, the fixed cost (each fixed point with 3 decimals in width 15),
//   "   < ", the name byte for byte, " >".
// Distance file (*.NED): PathRows[i][j], row after row, one integer a line.
//
// Every line, the last included, ends with CR LF; there is no header, trailer or end mark.
// The worked example, with a blank shown as '.':
//   ...1....0.0....0.0.............12.500............0.000..........300.000...<.Depot.>
//   ...2....0.0....0.0..............2.063........10000.000............0.000...<.North.Yard.>
// and, with a two-way link of 5 between them, the distance lines 0, 5, 5, 0.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/network/network_store.h"
#include "core/numbers/real48.h"

// The pieces of a demand data line, in order, shared by the writer and the reader.
namespace DemandDataLayout {
constexpr int NodeWidth = 4;                                  // the node number, right-aligned
constexpr std::string_view AfterNode = "    0.0    0.0    ";  // two blanks and two constants
constexpr int ValueWidth = 15;                                // each value, right-aligned
constexpr int ValueDecimals = 3;
constexpr std::string_view BetweenValues = "  ";
constexpr std::string_view BeforeName = "   < ";
constexpr std::string_view AfterName = " >";
constexpr std::string_view LineEnd = "\r\n";
}  // namespace DemandDataLayout

// The exact stored value rounded to decimals places, a half rounding away from zero, padded
// on the left with blanks to width and never cut (FormatExactFixed):
//   2.0625 -> "2.063" (not the even 2.062), 0.9999 -> "1.000", 10000 -> "10000.000".
std::string FixedPointText(const Real48& value, int width, int decimals);

// One line of the demand data file, CR LF included.
std::string DemandDataLine(int node, const std::string& name, const Real48& firstDemand,
                           const Real48& secondDemand, const Real48& fixedCost);

// A demand data line read back (without its line end), the one reader of such a line
// wherever one comes in (a saved file opened, pasted or given to the command): the name byte
// for byte, and each value as the writer wrote it, "." its decimal point whatever the region;
// nothing when the line is not laid out as one.
//   "   1    0.0    0.0             12.500            0.000          300.000   < Depot >"
//     -> Depot, "12.500", "0.000", "300.000" held as 12.5, 0, 300
// A value field laid out but not the writer's own text for a value from 0 to 10000 ("12.5",
// "012.500", "10000.001") leaves Unread at its column (0..2), the first such, and its held
// value 0.
struct TDemandDataLine {
    std::string Name;
    std::string Values[3];  // the value fields without their blanks
    Real48 Held[3];
    int Unread = -1;
};
std::optional<TDemandDataLine> ReadDemandDataLine(std::string_view line);

// The whole demand data file for nodes 1..NumNodes of the store.
std::string DemandDataFileText(const TNetworkStore& network);
// The whole distance file from the store's PathRows[1..NumNodes] (ERangeError if they are not
// there).
std::string DistanceFileText(const TNetworkStore& network);

// Saved texts read back. Each reader takes CR LF or LF alone as the line end, and a last line
// without one; it stops at the first wrong line and says which and why, reading nothing past
// it. The demand data text is read line by line: line i must be exactly what the writer makes
// of node i, so that saving what was read writes the same bytes again. The distance text holds
// N x N whole numbers from 0 to MaxDistance, one a line, N the demand data text's line count.

// Why a file was refused: the line (from 1; 0 when no one line is at fault) and the reason.
struct TFileRefusal {
    int Line = 0;
    std::string Why;
};

// "Line 7: the distance from node 2 to itself is 5, not 0" or the reason alone.
std::string FileRefusalText(const TFileRefusal& refusal);

// The largest texts the two readers can accept (each name up to LongestNodeName bytes, as
// anywhere); a file larger than these is refused unread.
std::size_t LargestDemandDataText();
std::size_t LargestDistanceText();

struct TDemandDataReading {
    std::vector<TNodeSlot> Nodes;
    std::optional<TFileRefusal> Refusal;  // when set, Nodes is empty
};
// 2..MaxNodes nodes, each line laid out as the writer lays it out, numbered by its line,
// each value 0.000..10000.000 and each name byte one that a held name can hold.
TDemandDataReading ReadDemandDataText(std::string_view text);

struct TDistanceReading {
    std::vector<std::int32_t> Distances;  // from i to j at (i - 1) * nodes + j - 1
    std::optional<TFileRefusal> Refusal;  // when set, Distances is empty
};
// nodes x nodes lines of 0..MaxDistance, each diagonal line 0.
TDistanceReading ReadDistanceText(std::string_view text, int nodes);

struct TOpenedReading {
    std::optional<TOpenedNetwork> Network;
    bool InDistanceFile = false;  // which file the refusal is about
    TFileRefusal Refusal;
};
// Both texts read and the links rebuilt, or the first refusal.
TOpenedReading ReadOpenedNetwork(std::string_view demandText, std::string_view distanceText);
