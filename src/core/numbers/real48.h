#pragma once

// Real48: the 6-byte floating-point type in which node demands and fixed costs are held.
//
//   byte 0      exponent e, bias 129; e = 0 means zero whatever the other bytes hold
//   bytes 1..5  39-bit fraction f, least significant byte first (bits 0..6 of byte 5 are
//               its top bits)
//   bit 7 of byte 5: sign s
//   value = (-1)^s * (1 + f / 2^39) * 2^(e - 129)
//
// The significand has 40 bits, about 12 decimal digits. A decimal entry is held only to
// that precision, and every value shown, compared or written is the held one:
//   0.1     is held as 0.10000000000002274
//   1234.56 is held as 1234.5600000005215
//   9999.9  is held as 9999.9000000059605
//   10000   is held exactly

#include <array>
#include <cstdint>
#include <limits>

// The working floating type: 80-bit extended with a 64-bit significand.
using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64,
              "Extended must be the 80-bit type with a 64-bit significand");

class Real48 {
  public:
    using TBytes = std::array<std::uint8_t, 6>;

    constexpr Real48() = default;

    // Rounds the 64-bit significand to 40 bits by adding the first discarded bit (half away
    // from zero on the magnitude); a carry raises the exponent. Magnitudes below 2^-128,
    // and -0, become +0. A magnitude that rounds to 2^127 or more raises EOverflow, and so
    // do infinities and NaNs.
    static Real48 Narrow(Extended value);

    // Exact: every Real48 is an Extended.
    Extended Widen() const;

    static Real48 FromBytes(const TBytes& bytes) {
        Real48 r;
        r.Bytes_ = bytes;
        return r;
    }
    const TBytes& Bytes() const { return Bytes_; }

    // Compares the values held (all zeros are equal, whatever their fraction bytes).
    friend bool operator==(const Real48& a, const Real48& b) { return a.Widen() == b.Widen(); }

  private:
    TBytes Bytes_{};
};
