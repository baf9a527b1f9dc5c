// Interim forms so that the windows can be built; replaced by the exact rules.
#include "network/number_text.h"

#include <cstdio>

std::string IntToStr(std::int32_t value) {
    return std::to_string(value);
}

std::string IntToPadded(std::int32_t value, int width) {
    return PadLeft(IntToStr(value), width);
}

std::string PadLeft(const std::string& text, int width) {
    if (static_cast<int>(text.size()) >= width) {
        return text;
    }
    return std::string(width - text.size(), ' ') + text;
}

TDigitRecord MakeDigitRecord(Extended, int, int) {
    return {};
}

std::string FormatGrouped(Extended value, int, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*Lf", decimals, value);
    return buffer;
}

std::string FormatPlainFixed(Extended value, int precision, int decimals) {
    return FormatGrouped(value, precision, decimals);
}

std::string FormatGeneral(Extended value, int) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15Lg", value);
    return buffer;
}
