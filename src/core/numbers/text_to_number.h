#pragma once

// Reading numbers back from text. Both raise EConvertError for a text they refuse.

#include <cstdint>
#include <string>

#include "core/numbers/real48.h"

// Blanks, an optional sign, digits with an optional decimal separator (separators.h), an
// optional exponent, blanks; the digits and the separator together take at least one
// character. " 12.5 " -> 12.5;  "." -> 0;  "1E" -> 1;  "2.5e-1" -> 0.25. Refused: "", "-",
// "1..2", "5-", "1,000" (the thousands separator is never accepted), "1E5000" (the exponent
// takes digits only while it is below 500). The value is the Extended nearest to the text;
// a value beyond the Extended range is refused, one too small for it becomes zero.
// Message: "'<text>' is not a valid floating point value".
Extended StrToFloat(const std::string& text);

// Blanks, an optional sign, one or more digits, the end (no trailing blanks); within the
// signed 32-bit range. "  12" -> 12;  "-2147483648" is the smallest.
// Message: "'<text>' is not a valid integer value".
std::int32_t StrToInt(const std::string& text);
