#include "core/numbers/real48.h"

#include <cmath>

#include "core/numbers/errors.h"

namespace {
constexpr int ExponentBias = 129;
constexpr int FractionBits = 39;
constexpr std::uint64_t HiddenBit = std::uint64_t{1} << FractionBits;
}  // namespace

Real48 Real48::Narrow(Extended value) {
    if (!std::isfinite(value)) {
        throw EOverflow();
    }
    Real48 result;
    if (value == 0) {
        return result;
    }
    const bool negative = std::signbit(value);
    int binaryExponent = 0;
    // value = fraction * 2^binaryExponent with fraction in [0.5, 1); scaling the fraction by
    // 2^64 gives the full 64-bit significand exactly.
    const Extended fraction = std::frexp(std::fabs(value), &binaryExponent);
    const auto significand64 = static_cast<std::uint64_t>(std::ldexp(fraction, 64));

    std::uint64_t significand40 = significand64 >> 24;
    significand40 += (significand64 >> 23) & 1U;  // add the first discarded bit
    if (significand40 >> (FractionBits + 1)) {    // carry out of the 40 bits
        significand40 >>= 1;
        ++binaryExponent;
    }
    // value = significand40 / 2^39 * 2^(binaryExponent - 1) = (1 + f/2^39) * 2^(e - 129)
    const int exponent = binaryExponent - 1 + ExponentBias;
    if (exponent <= 0) {
        return result;
    }
    if (exponent > 255) {
        throw EOverflow();
    }
    const std::uint64_t fractionBits = significand40 - HiddenBit;
    result.Bytes_[0] = static_cast<std::uint8_t>(exponent);
    for (int i = 0; i < 5; ++i) {
        result.Bytes_[1 + i] = static_cast<std::uint8_t>(fractionBits >> (8 * i));
    }
    if (negative) {
        result.Bytes_[5] |= 0x80U;
    }
    return result;
}

Extended Real48::Widen() const {
    const int exponent = Bytes_[0];
    if (exponent == 0) {
        return 0;
    }
    std::uint64_t fractionBits = Bytes_[5] & 0x7FU;
    for (int i = 3; i >= 0; --i) {
        fractionBits = (fractionBits << 8) | Bytes_[1 + i];
    }
    const Extended magnitude = std::ldexp(static_cast<Extended>(HiddenBit | fractionBits),
                                          exponent - ExponentBias - FractionBits);
    return (Bytes_[5] & 0x80U) ? -magnitude : magnitude;
}
