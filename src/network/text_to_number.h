#pragma once

// Reading numbers back from text. Both raise EConvertError for a text they refuse.

#include <cstdint>
#include <string>

#include "network/real48.h"

// Blanks, an optional sign, digits with an optional decimal separator (separators.h), an
// optional exponent, blanks. Message: "'<text>' is not a valid floating point value".
Extended StrToFloat(const std::string& text);

// Blanks, an optional sign, digits; within the signed 32-bit range.
// Message: "'<text>' is not a valid integer value".
std::int32_t StrToInt(const std::string& text);
