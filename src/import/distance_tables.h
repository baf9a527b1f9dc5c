#pragma once

// The tables a spreadsheet or a GIS writes: cells parted by tabs, semicolons or commas (the
// first that the first line holds, in that order), a cell in double quotes where it holds the
// separator ("" for a quote inside), blanks around a cell left out, lines of empty cells
// skipped. In a file of tabs or semicolons a decimal comma is a decimal point.
//
// Which table it is, the first line tells:
//   sites      a header naming x and y, or latitude and longitude (with name, first demand,
//              second demand, fixed cost where given; any order, any case): every pair a
//              two-way link at the straight distance in the file's unit, or at the
//              great-circle distance on a sphere of radius 6371.0 (km); the places are kept
//                name,x,y           name;latitude;longitude;first demand
//                Depot,0,0          Oslo;59,91;10,75;3
//   square     the places' names across the first line (the top-left cell empty or a word)
//              and down the first column, in any order; a cell is the distance from its row's
//              place to its column's, an empty cell no link
//                ,Depot,Mill        (Depot,0,4 / Mill,5,0)
//   long list  a header of three words (origin, destination, cost), then one direction a
//              row; places by name or number, numbered as they first appear; an empty cost
//              no link; a pair listed twice is refused
//                from,to,minutes    (Depot,Mill,4)

#include <vector>

#include "import/import_text.h"

// Whether the first line that is not blank parts cells: the separator, or 0.
char TableSeparator(std::string_view firstLine);

TImportedValues ReadDistanceTable(const std::vector<TTextLine>& lines, bool utf8);

// The great-circle distance in km between two places given in degrees.
double GreatCircleDistance(double latitude1, double longitude1, double latitude2,
                           double longitude2);
