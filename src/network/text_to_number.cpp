// Interim conversions so that the windows can be built; replaced by the exact rules.
#include "network/text_to_number.h"

#include <cstdlib>

#include "network/errors.h"

Extended StrToFloat(const std::string& text) {
    char* end = nullptr;
    const Extended value = std::strtold(text.c_str(), &end);
    if (text.empty() || *end != '\0') {
        throw EConvertError("'" + text + "' is not a valid floating point value");
    }
    return value;
}

std::int32_t StrToInt(const std::string& text) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0') {
        throw EConvertError("'" + text + "' is not a valid integer value");
    }
    return static_cast<std::int32_t>(value);
}
