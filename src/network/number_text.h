#pragma once

// The text forms of numbers shown in lists, messages and edit fields. All texts are Latin-1
// strings, one byte per character. The real forms write the separators of separators.h.

#include <cstdint>
#include <string>

#include "network/real48.h"

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
TDigitRecord MakeDigitRecord(Extended value, int precision, int decimals);

// Grouped form, as in the node and link lists (precision 10, 1 decimal):
//   1234.56 -> "1,234.6";  999.96 -> "1,000.0"
std::string FormatGrouped(Extended value, int precision, int decimals);

// Plain fixed form: the grouped form without thousands separators. 10000 -> "10000.00".
std::string FormatPlainFixed(Extended value, int precision, int decimals);

// General form: as many digits as the value needs, up to precision; scientific notation
// below 0.0001 or beyond precision digits. 12.5 -> "12.5"; -1 -> "-1".
std::string FormatGeneral(Extended value, int precision = 15);
