#pragma once

// One value cell of a spreadsheet row, read and written with the region's separators
// (separators.h).
//
// Spreadsheets copy the text they display, so a value cell is read as the region's
// spreadsheet shows it: the region's grouping symbol may stand between groups of three digits
// of the whole part, and is then left out; otherwise the cell goes through the rules of the
// value's field (entry_rules.h), bounds and narrowing included. With "," as decimal symbol
// and "." as grouping symbol:
//   "1.234,50" -> 1234.5     "12.345" -> 12345     " 12,5 " -> 12.5    "1e3" -> 1000
//   "12.5", "1.23,4", "1,234.50" -> refused naming the decimal symbol ("," here)
// and with "." and ",":  "1,234.50" -> 1234.5;  "12,5" -> refused.
// A refusal is the reason alone, for a row's refusal (tab_separated.h) to frame:
//   "\"12.5\" is not a number: the decimal symbol is \",\", as in 1.234,5"
//   "\"10000,01\" is not a number from 0 to 10000"

#include <cstdint>
#include <string>

#include "core/numbers/real48.h"

// A cell of a header row: it holds a letter (of any script) and is not a number, so that
// "Demand 1" and "Fixed cost" name columns, while "-", "?", "1e3" and digits of any script
// ("\u0663", read as no number) are values. A header is known by its words, never by cells
// that could not be read, so that a first row of values is never dropped unseen.
bool IsHeaderCell(const std::string& cell);

// A node value, 0 to 10000, narrowed to its stored form; an empty cell is 0, as an empty
// field leaves it. Returns the refusal, or an empty text with value set.
std::string JudgeValueCell(const std::string& cell, Real48& value);

// A distance, 0 to 10000, rounded to an integer as the distance field rounds it; an empty
// cell is refused. Returns the refusal, or an empty text with distance set.
std::string JudgeDistanceCell(const std::string& cell, std::int32_t& distance);
