#include "core/numbers/text_to_number.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/numbers/errors.h"
#include "core/numbers/separators.h"

namespace {

// The exponent takes digits only while it is below this; a digit left over refuses the text.
constexpr int ExponentStop = 500;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

[[noreturn]] void RefuseFloat(const std::string& text) {
    throw EConvertError("'" + text + "' is not a valid floating point value");
}

[[noreturn]] void RefuseInteger(const std::string& text) {
    throw EConvertError("'" + text + "' is not a valid integer value");
}

// The start both conversions share: any number of blanks, then an optional sign. Returns the
// position after them.
std::size_t SkipBlanksAndSign(const std::string& text, bool& negative) {
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }
    negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    return pos;
}

}  // namespace

Extended StrToFloat(const std::string& text) {
    const char decimal = FormatSeparators().Decimal;
    const std::size_t end = text.size();
    bool negative = false;
    std::size_t pos = SkipBlanksAndSign(text, negative);
    std::string digits;  // the digits before and after the separator, as one whole number
    long long digitsAfterSeparator = 0;
    bool mantissaTaken = false;
    while (pos < end && IsDigit(text[pos])) {
        digits += text[pos++];
        mantissaTaken = true;
    }
    if (pos < end && text[pos] == decimal) {
        ++pos;
        mantissaTaken = true;
        while (pos < end && IsDigit(text[pos])) {
            digits += text[pos++];
            ++digitsAfterSeparator;
        }
    }
    if (!mantissaTaken) {
        RefuseFloat(text);
    }
    int exponent = 0;
    if (pos < end && (text[pos] == 'E' || text[pos] == 'e')) {
        ++pos;
        bool negativeExponent = false;
        if (pos < end && (text[pos] == '+' || text[pos] == '-')) {
            negativeExponent = text[pos] == '-';
            ++pos;
        }
        while (pos < end && IsDigit(text[pos]) && exponent < ExponentStop) {
            exponent = exponent * 10 + (text[pos++] - '0');
        }
        if (pos < end && IsDigit(text[pos])) {
            RefuseFloat(text);
        }
        if (negativeExponent) {
            exponent = -exponent;
        }
    }
    while (pos < end && text[pos] == ' ') {
        ++pos;
    }
    if (pos != end) {
        RefuseFloat(text);
    }

    digits.erase(0, digits.find_first_not_of('0'));
    if (digits.empty()) {
        return negative ? -0.0L : 0.0L;
    }
    const long long power = static_cast<long long>(exponent) - digitsAfterSeparator;
    // A whole number of up to 18 digits is exact in an Extended (64-bit significand): the
    // value strtold would give, without its cost (a pasted full network reads 22,350).
    if (power == 0 && digits.size() <= 18) {
        long long whole = 0;
        for (const char digit : digits) {
            whole = whole * 10 + (digit - '0');
        }
        return negative ? -static_cast<Extended>(whole) : static_cast<Extended>(whole);
    }
    // The whole number and its power of ten, without a decimal point, so the conversion does
    // not depend on the C locale. It rounds to the nearest Extended, whatever the length.
    const std::string normalised = digits + 'e' + std::to_string(power);
    const Extended magnitude = std::strtold(normalised.c_str(), nullptr);
    if (std::isinf(magnitude)) {
        RefuseFloat(text);
    }
    return negative ? -magnitude : magnitude;
}

std::int32_t StrToInt(const std::string& text) {
    constexpr long long Limit = 2147483648LL;  // the magnitude of the smallest int32
    const std::size_t end = text.size();
    bool negative = false;
    std::size_t pos = SkipBlanksAndSign(text, negative);
    if (pos == end || !IsDigit(text[pos])) {
        RefuseInteger(text);
    }
    long long magnitude = 0;
    for (; pos < end && IsDigit(text[pos]); ++pos) {
        magnitude = std::min(magnitude * 10 + (text[pos] - '0'), Limit + 1);
    }
    if (pos != end || magnitude > (negative ? Limit : Limit - 1)) {
        RefuseInteger(text);
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}
