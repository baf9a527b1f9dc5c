#pragma once

// The field's standard test problems: an OR-Library p-median file and a TSPLIB file.
//
// p-median: a first line "n m p", then m edges "i j cost", numbers parted by any blanks; each
// edge sets both directions and the last cost listed for a pair counts. p is no part of the
// network and is said in a note.
//
// TSPLIB: keys "KEY : value" (blanks around the colon or none), sections of numbers, "EOF".
// TYPE TSP, ATSP or CVRP; EDGE_WEIGHT_TYPE EUC_2D, CEIL_2D, ATT or GEO over a
// NODE_COORD_SECTION, or EXPLICIT over an EDGE_WEIGHT_SECTION in the EDGE_WEIGHT_FORMAT
// FULL_MATRIX (one way, as listed), UPPER_ROW, LOWER_ROW, UPPER_DIAG_ROW or LOWER_DIAG_ROW
// (both ways). A CVRP's DEMAND_SECTION gives the first demands. The distances are the
// library's own, whole numbers:
//   EUC_2D   nint(sqrt(dx^2 + dy^2)), nint(d) = (int)(d + 0.5)
//   CEIL_2D  ceil(sqrt(dx^2 + dy^2))
//   ATT      r = sqrt((dx^2 + dy^2) / 10); t = nint(r); t < r ? t + 1 : t
//   GEO      x the latitude, y the longitude as DDD.MM (degrees the whole part, minutes
//            after the point); radians PI * (deg + 5 * min / 3) / 180 with PI = 3.141592;
//            (int)(6378.388 * acos(0.5 * ((1 + q1) * q2 - (1 - q1) * q3)) + 1.0) with
//            q1 = cos(lon_i - lon_j), q2 = cos(lat_i - lat_j), q3 = cos(lat_i + lat_j)
// The nodes keep their coordinates as places: on a plane (x east, y north), or for GEO on the
// globe in decimal degrees.

#include <vector>

#include "import/import_text.h"

// Whether the first line that is not blank begins a p-median file (three whole numbers) or a
// TSPLIB file (one of its keys or sections).
bool LooksLikePMedian(std::string_view firstLine);
bool LooksLikeTsplib(std::string_view firstLine);

TImportedValues ReadPMedian(const std::vector<TTextLine>& lines);
TImportedValues ReadTsplib(const std::vector<TTextLine>& lines);

// One TSPLIB distance between two coordinate pairs, for the edge weight types above.
enum class TTsplibMetric { Euclidean, Ceiling, Pseudo, Geographic };
double TsplibDistance(TTsplibMetric metric, double xi, double yi, double xj, double yj);
