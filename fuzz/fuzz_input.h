#pragma once

// What every fuzz target does with its input: reads the fuzzer's bytes as numbers, texts and
// separators, shows a value in a failure message, and stops the run with a readable reason
// when a check fails.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "core/numbers/real48.h"

// Stops the run as a crash, so libFuzzer saves the input that led here.
#define FUZZ_CHECK(condition, ...)                                                            \
    do {                                                                                      \
        if (!(condition)) {                                                                   \
            std::fprintf(stderr, "\nFUZZ CHECK FAILED: %s (%s:%d)\n  ", #condition, __FILE__, \
                         __LINE__);                                                           \
            std::fprintf(stderr, __VA_ARGS__);                                                \
            std::fprintf(stderr, "\n");                                                       \
            std::abort();                                                                     \
        }                                                                                     \
    } while (0)

namespace fuzz {

// Reads the fuzzer's bytes front to back; past the end every read gives zeros.
class TByteReader {
  public:
    TByteReader(const std::uint8_t* data, std::size_t size) : Data(data), Size(size) {}

    std::uint8_t Byte() { return Pos < Size ? Data[Pos++] : 0; }

    template <typename T>
    T Bytes() {
        T value{};
        unsigned char raw[sizeof(T)] = {};
        for (auto& b : raw) {
            b = Byte();
        }
        std::memcpy(&value, raw, sizeof(T));
        return value;
    }

    // The rest of the input as text.
    std::string Rest() {
        std::string text(reinterpret_cast<const char*>(Data) + Pos, Size - Pos);
        Pos = Size;
        return text;
    }

  private:
    const std::uint8_t* Data;
    std::size_t Size;
    std::size_t Pos = 0;
};

// A decimal separator for one run: mostly "." and ",", now and then another single character
// that a regional setting could give (never a digit, a blank, a sign or an exponent letter,
// which would make the texts ambiguous).
inline char DecimalSeparatorFrom(std::uint8_t choice) {
    if (choice < 128) {
        return '.';
    }
    if (choice < 192) {
        return ',';
    }
    const char c = static_cast<char>(choice & 0x7F);
    const bool unusable = (c >= '0' && c <= '9') || c == ' ' || c == '+' || c == '-' || c == 'E' ||
                          c == 'e' || c == '\0';
    return unusable ? '.' : c;
}

// A finite extended value from the fuzzer's bytes, spread over the ranges that matter: most
// near the 6-byte real's own range, some anywhere, some subnormal.
inline Extended ExtendedFrom(TByteReader& in) {
    const std::uint8_t shape = in.Byte();
    std::uint64_t significand = in.Bytes<std::uint64_t>();
    const auto rawExponent = in.Bytes<std::int16_t>();
    int exponent = 0;
    switch (shape % 4) {
        case 0:
        case 1:
            exponent = rawExponent % 300 - 64;  // magnitudes 2^-300 .. 2^299
            significand |= std::uint64_t{1} << 63;
            break;
        case 2:
            exponent = rawExponent % 30 - 64;  // 2^-30 .. 2^28: the entries 0..10000 and more
            significand |= std::uint64_t{1} << 63;
            break;
        default:
            exponent = rawExponent;  // overflow to infinity and subnormals both occur
            break;
    }
    Extended value = std::ldexp(static_cast<Extended>(significand), exponent);
    if (!std::isfinite(value)) {
        value = std::numeric_limits<Extended>::max();
    }
    return (shape & 0x80U) ? -value : value;
}

inline std::string Shown(Extended value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.21Lg (%La)", value, value);
    return text;
}

}  // namespace fuzz
