#pragma once

// The rules that the fuzz targets check the program's answers against: an independent reading
// of the number texts and of the 6-byte real, written from the rules alone.
//
// The recognisers here are state machines over one character at a time; the program's
// readers are written differently on purpose. Values are taken from strtold, which rounds a
// decimal text to the nearest extended value.

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/numbers/real48.h"

namespace fuzz {

// A text read by the rules of the numeric fields: blanks, an optional sign, digits with an
// optional decimal separator (at least one of the two), an optional exponent (E or e, an
// optional sign, digits taken while the exponent is below 500), blanks, the end.
struct TNumberReading {
    bool Grammatical = false;       // the characters follow the rules
    bool Finite = false;            // ... and the value lies within the extended range
    bool Negative = false;          // a "-" before the digits
    std::string Significant;        // the digits from the first non-zero to the last non-zero
    long long DecimalExponent = 0;  // value = Significant x 10^DecimalExponent
    Extended Value = 0;             // the nearest extended value (signed); 0 when not Finite
};

inline TNumberReading ReadNumberText(const std::string& text, char decimal) {
    enum class TState { Lead, Sign, Whole, Fraction, ExpLetter, ExpSign, ExpDigits, Trail };
    TNumberReading reading;
    TState state = TState::Lead;
    std::string mantissa;  // every digit before and after the separator
    long long afterSeparator = 0;
    bool mantissaSeen = false;
    bool exponentNegative = false;
    long long exponent = 0;

    for (const char c : text) {
        const bool digit = c >= '0' && c <= '9';
        const bool sign = c == '+' || c == '-';
        const bool letter = c == 'E' || c == 'e';
        switch (state) {
            case TState::Lead:
            case TState::Sign:
                if (c == ' ' && state == TState::Lead) {
                    continue;
                }
                if (sign && state == TState::Lead) {
                    reading.Negative = c == '-';
                    state = TState::Sign;
                } else if (digit) {
                    mantissa += c;
                    mantissaSeen = true;
                    state = TState::Whole;
                } else if (c == decimal) {
                    mantissaSeen = true;
                    state = TState::Fraction;
                } else {
                    return reading;
                }
                break;
            case TState::Whole:
                if (digit) {
                    mantissa += c;
                } else if (c == decimal) {
                    state = TState::Fraction;
                } else if (letter) {
                    state = TState::ExpLetter;
                } else if (c == ' ') {
                    state = TState::Trail;
                } else {
                    return reading;
                }
                break;
            case TState::Fraction:
                if (digit) {
                    mantissa += c;
                    ++afterSeparator;
                } else if (letter) {
                    state = TState::ExpLetter;
                } else if (c == ' ') {
                    state = TState::Trail;
                } else {
                    return reading;
                }
                break;
            case TState::ExpLetter:
            case TState::ExpSign:
            case TState::ExpDigits:
                if (sign && state == TState::ExpLetter) {
                    exponentNegative = c == '-';
                    state = TState::ExpSign;
                } else if (digit) {
                    if (exponent >= 500) {
                        return reading;  // a digit left over once the exponent reached 500
                    }
                    exponent = exponent * 10 + (c - '0');
                    state = TState::ExpDigits;
                } else if (c == ' ') {
                    state = TState::Trail;
                } else {
                    return reading;
                }
                break;
            case TState::Trail:
                if (c != ' ') {
                    return reading;
                }
                break;
        }
    }
    if (!mantissaSeen) {
        return reading;
    }
    reading.Grammatical = true;

    const std::size_t first = mantissa.find_first_not_of('0');
    long long scale = (exponentNegative ? -exponent : exponent) - afterSeparator;
    if (first != std::string::npos) {
        const std::size_t last = mantissa.find_last_not_of('0');
        reading.Significant = mantissa.substr(first, last - first + 1);
        scale += static_cast<long long>(mantissa.size() - 1 - last);
        reading.DecimalExponent = scale;
    }
    if (reading.Significant.empty()) {
        reading.Finite = true;
        reading.Value = reading.Negative ? -0.0L : 0.0L;
        return reading;
    }
    const std::string plain = reading.Significant + "e" + std::to_string(scale);
    errno = 0;
    const Extended magnitude = std::strtold(plain.c_str(), nullptr);
    reading.Finite = !std::isinf(magnitude);
    if (reading.Finite) {
        reading.Value = reading.Negative ? -magnitude : magnitude;
    }
    return reading;
}

// A text read by the rules of text-to-integer: blanks, an optional sign, one or more digits,
// the end; the value within the signed 32-bit range.
struct TIntegerReading {
    bool Valid = false;
    std::int64_t Value = 0;
};

inline TIntegerReading ReadIntegerText(const std::string& text) {
    enum class TState { Lead, Sign, Digits };
    TIntegerReading reading;
    TState state = TState::Lead;
    bool negative = false;
    std::int64_t magnitude = 0;
    for (const char c : text) {
        const bool digit = c >= '0' && c <= '9';
        if (state == TState::Lead && c == ' ') {
            continue;
        }
        if (state == TState::Lead && (c == '+' || c == '-')) {
            negative = c == '-';
            state = TState::Sign;
        } else if (digit) {
            // Anything past 2^31 is refused; stop growing there.
            if (magnitude <= (std::int64_t{1} << 32)) {
                magnitude = magnitude * 10 + (c - '0');
            }
            state = TState::Digits;
        } else {
            return reading;
        }
    }
    if (state != TState::Digits) {
        return reading;
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    reading.Valid = value >= INT32_MIN && value <= INT32_MAX;
    reading.Value = value;
    return reading;
}

// The 6-byte real's rounding, worked out on the magnitude scaled to 40 integer bits:
// half away from zero, below 2^-128 zero, from 2^127 on an overflow.
struct TNarrowing {
    bool Overflow = false;
    Extended Value = 0;
};

inline TNarrowing NarrowByRule(Extended value) {
    TNarrowing result;
    if (!std::isfinite(value)) {
        result.Overflow = true;
        return result;
    }
    if (value == 0) {
        return result;
    }
    const Extended magnitude = std::fabs(value);
    const int top = std::ilogb(magnitude);  // 2^top <= magnitude < 2^(top+1)
    if (top < -140) {
        return result;  // far below 2^-128 even after rounding
    }
    const Extended scaled = std::ldexp(magnitude, 39 - top);  // in [2^39, 2^40), exact
    const Extended rounded = std::round(scaled);              // ties away from zero
    const Extended held = std::ldexp(rounded, top - 39);
    if (held < std::ldexp(1.0L, -128)) {
        return result;
    }
    if (held >= std::ldexp(1.0L, 127)) {
        result.Overflow = true;
        return result;
    }
    result.Value = value < 0 ? -held : held;
    return result;
}

// Whether a Real48's six bytes decode to value: zero exactly when the exponent byte is 0;
// otherwise sign, exponent and the 39 stored bits as written.
inline bool BytesHold(const Real48::TBytes& bytes, Extended value) {
    if (bytes[0] == 0) {
        return value == 0 && !std::signbit(value);
    }
    if (value == 0 || !std::isfinite(value)) {
        return false;
    }
    int binaryExponent = 0;
    const Extended fraction = std::frexp(std::fabs(value), &binaryExponent);  // [0.5, 1)
    const Extended significand = std::ldexp(fraction, 40);
    if (significand != std::floor(significand)) {
        return false;  // more than 40 significant bits
    }
    std::uint64_t stored = bytes[5] & 0x7FU;
    for (int i = 4; i >= 1; --i) {
        stored = (stored << 8) | bytes[i];
    }
    const bool negative = (bytes[5] & 0x80U) != 0;
    return negative == std::signbit(value) &&
           static_cast<std::uint64_t>(significand) == ((std::uint64_t{1} << 39) | stored) &&
           binaryExponent - 1 == bytes[0] - 129;
}

}  // namespace fuzz
