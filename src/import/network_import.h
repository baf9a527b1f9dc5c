#pragma once

// A network brought in from the forms a planner already holds: an OR-Library p-median file, a
// TSPLIB file, a square table of distances, a long list of origin, destination and cost, a
// routing service's table (JSON) and a table of sites with coordinates. The kind is told by
// the content alone. Reading gives the nodes and the values as the file defines them; scaling
// then gives the network, each value times the scale rounded to a whole distance, or the
// first value that does not fit.
//
// Standard C++ alone, no Qt: the command and the windows import alike.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/network/network_store.h"

enum class TImportKind { PMedian, Tsplib, SquareTable, LongList, RoutingTable, Sites };

// Which array of a routing service's table to take where it has both.
enum class TRoutingValue { Unchosen, Durations, Distances };

// Why a file is not taken: the line (1-based; 0 where the whole file is meant), the cell in it
// where one is meant (1-based; 0 otherwise) and the reason.
struct TImportRefusal {
    int Line = 0;
    int Cell = 0;
    std::string Reason;
};
// The refusal as the command and the box say it, naming the file.
std::string ImportRefusalText(const std::string& fileName, const TImportRefusal& refusal);

// What a file held, before the scale.
struct TImportedValues {
    TImportKind Kind = TImportKind::PMedian;
    std::string KindText;  // the kind in words, for the box, the report and the main menu
    // The nodes: names held as a demand data file holds them, values, places where given.
    std::vector<TNodeSlot> Nodes;
    TPlaceKind PlaceKind = TPlaceKind::None;
    // The link from node i to node j at MatrixIndex(n, i, j), as the file gives it (not yet
    // scaled or rounded); nullopt where there is none.
    std::vector<std::optional<double>> Values;
    std::vector<std::string> Notes;  // such as "p = 5 is not part of the network"
    // For a routing table holding both arrays, read with TRoutingValue::Unchosen: their names
    // ("durations", "distances"), and nothing else but the kind; the caller asks and reads
    // again with its choice.
    std::vector<std::string> Choices;
};

struct TImportReading {
    std::optional<TImportedValues> Values;
    std::optional<TImportRefusal> Refusal;  // when set, Values is empty
};

// Reads a file's whole text: UTF-8 (a byte order mark left out), or where it is not UTF-8 the
// bytes in which names are held, one a character; a control byte other than tab, CR and LF is
// refused as no text. The largest text taken is LargestImportText().
TImportReading ReadImportText(std::string_view text, TRoutingValue value = TRoutingValue::Unchosen);
std::size_t LargestImportText();

// The network at a scale: each value times scale, rounded to the nearest whole number (halves
// away from zero).
struct TScaledImport {
    std::optional<TOpenedNetwork> Network;  // links at MatrixIndex, NoLink where none
    std::optional<TImportRefusal> Refusal;  // a value above MaxDistance: its pair, its value and
                                            // the largest scale at which every value fits
    int Links = 0;                          // each direction counts once
    int LargestDistance = 0;
};
TScaledImport ScaleImport(const TImportedValues& values, double scale);
// The largest scale at which every value fits in MaxDistance once rounded (infinite where no
// value is above 0); a scale of 1 needs no question where this is at least 1.
double LargestFittingScale(const TImportedValues& values);
// A scale as the refusal says it: four significant digits, rounded down so that it still fits
// where it is the largest fitting scale ("0.8123"); "any" for an infinite one.
std::string ScaleText(double scale);
