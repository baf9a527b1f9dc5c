#pragma once

// The text forms of numbers shown in lists, messages and edit fields. All texts are Latin-1
// strings, one byte per character. The real forms write the separators of separators.h.
//
// Every real form starts from the digit record of the value as it is held: a node value is
// first narrowed to Real48, so 0.35 is shown from 0.349999999999909 and 0.15 from a value a
// little above 0.15.

#include <cstdint>
#include <string>

#include "core/numbers/real48.h"

// "-12", "0", "150": no grouping, no plus sign.
std::string IntToStr(std::int32_t value);

// IntToPadded(7, 4) == "   7"; IntToPadded(12345, 4) == "12345" (never cut).
std::string IntToPadded(std::int32_t value, int width);

// Right-aligns text in width; a longer text comes back unchanged (callers cut first).
std::string PadLeft(const std::string& text, int width);

// The decimal digits of a value: 0.d1 d2 d3 ... x 10^Exponent.
struct TDigitRecord {
    std::string Digits;  // at most 18, the first not '0', no trailing zeros; empty for zero
    int Exponent = 0;    // 1234.5 -> "12345", 4;  0.05 -> "5", -1
    bool Negative = false;
};

// Decimals large enough that only the precision limits the digits (the general form).
constexpr int AllDecimals = 100000;

// The 18 most significant digits of the exact value, rounded to nearest (a tie away from
// zero), then rounded half away from zero on the digit string at the precision-th digit or
// the decimals-th decimal, whichever comes first; a value below a tenth of a unit of the last
// decimal has the record of zero. With 1 decimal: 0.05 (held as 0.0500000000000114) -> "1",
// Exponent 0; 0.04 -> no digits; 999.96 -> "1", Exponent 4. A value that is not finite (the
// program never formats one) also gives the record of zero.
TDigitRecord MakeDigitRecord(Extended value, int precision, int decimals);

// Grouped form, as in the node and link lists (precision 10, 1 decimal), rounded on the held
// value:
//   1234.56 -> "1,234.6";  999.96 -> "1,000.0";  10000 -> "10,000.0"
//   0.35 -> "0.3" (held just below 0.35);  0.15 -> "0.2" (held just above 0.15)
//   0.25 -> "0.3" and 7.25 -> "7.3" (halves exact in base 2 always round up)
// A value with more integer digits than the precision is written in the general form with
// that precision instead.
std::string FormatGrouped(Extended value, int precision, int decimals);

// Plain fixed form: the grouped form without thousands separators. With precision 10 and
// 2 decimals: 10000 -> "10000.00";  0.05 -> "0.05";  999.96 -> "999.96".
std::string FormatPlainFixed(Extended value, int precision, int decimals);

// The exact value rounded to decimals places, a half rounding away from zero, with a full
// stop, at least one integer digit and no grouping, whatever the regional settings (the form
// of the demand data file). Exact: the digits come from the value's full decimal expansion,
// so a stored half is seen as a half and rounded once.
//   2.0625 -> "2.063" (not the even 2.062);  0.9999 -> "1.000";  9.9996 -> "10.000";
//   0.5 -> "0.500";  0.0005 (held a little below) -> "0.000";  2^100 -> all 31 digits.
// With 0 decimals (or fewer) there is no full stop.
std::string FormatExactFixed(Extended value, int decimals);

// General form: as many digits as the value needs, up to precision; scientific notation
// below 0.0001 or beyond precision integer digits.
//   12.5 -> "12.5";  -1 -> "-1";  10000 -> "10000";  0.1 (held) -> "0.100000000000023"
//   0.00001 (held) -> "9.99999999999612E-6";  1E20 -> "1E20"
std::string FormatGeneral(Extended value, int precision = 15);

// The shortest text, positional (never a power of ten), with the region's decimal symbol and
// no grouping, that text-to-number reads back to exactly this held value: the form in which a
// value is shown for editing and copied out.
//   200 -> "200";  10000 -> "10000";  0.1 (held 0.10000000000002274) -> "0.1";
//   1234.56 (held 1234.5600000005215) -> "1234.56";  with "," as decimal symbol: "1234,56"
std::string ShortestValueText(const Real48& value);
