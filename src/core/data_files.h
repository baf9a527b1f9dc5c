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
#include <string>
#include <string_view>

#include "core/network_store.h"
#include "core/real48.h"

// The exact stored value rounded to decimals places, a half rounding away from zero, padded
// on the left with blanks to width and never cut (FormatExactFixed):
//   2.0625 -> "2.063" (not the even 2.062), 0.9999 -> "1.000", 10000 -> "10000.000".
std::string FixedPointText(const Real48& value, int width, int decimals);

// One line of the demand data file, CR LF included.
std::string DemandDataLine(int node, const std::string& name, const Real48& firstDemand,
                           const Real48& secondDemand, const Real48& fixedCost);

// The whole demand data file for nodes 1..NumNodes of the store.
std::string DemandDataFileText(const TNetworkStore& network);
// The whole distance file from the store's PathRows[1..NumNodes] (ERangeError if they are not
// there).
std::string DistanceFileText(const TNetworkStore& network);
