// Real48: the byte layout, exact widening and the rounding of narrowing.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/network/network_store.h"
#include "core/numbers/errors.h"
#include "core/numbers/real48.h"
#include "core_test.h"
#include "extended_testing.h"

namespace {

using Real48Test = CoreTest;

std::string HexOf(const Real48::TBytes& bytes) {
    std::string hex;
    for (const std::uint8_t byte : bytes) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", byte);
        hex += pair;
    }
    return hex;
}

// Narrowing then widening, printed with 17 significant digits.
TEST_F(Real48Test, NarrowedDecimals) {
    struct TRow {
        const char* Typed;
        const char* Held;
    };
    const TRow rows[] = {
        {"0.1", "0.10000000000002274"},
        {"1234.56", "1234.5600000005215"},
        {"9999.9", "9999.9000000059605"},
        {"10000", "10000"},
        {"0.25", "0.25"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Typed);
        const Extended value = std::strtold(row.Typed, nullptr);
        const double widened = static_cast<double>(Real48::Narrow(value).Widen());
        char text[40];
        std::snprintf(text, sizeof text, "%.17g", widened);
        EXPECT_EQ(std::string(text), row.Held);
    }
}

TEST_F(Real48Test, ByteLayout) {
    struct TRow {
        const char* Name;
        double Value;
        const char* Bytes;  // in hexadecimal, byte 0 first
    };
    const TRow rows[] = {
        {"0", 0.0, "000000000000"},
        {"1", 1.0, "810000000000"},
        {"-1", -1.0, "810000000080"},
        {"0.5", 0.5, "800000000000"},
        {"10000", 10000.0, "8e000000401c"},
        {"1.5", 1.5, "810000000040"},
        {"2^-128 smallest", std::ldexp(1.0, -128), "010000000000"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        const Real48 narrowed = Real48::Narrow(row.Value);
        EXPECT_EQ(HexOf(narrowed.Bytes()), row.Bytes);
        EXPECT_EQ(static_cast<double>(narrowed.Widen()), row.Value);
    }
}

TEST_F(Real48Test, RoundsHalfAwayFromZeroWithCarry) {
    // 1 + 2^-40 is exactly half a unit of the 40-bit significand: it rounds up.
    const Extended half = 1.0L + std::ldexp(1.0L, -40);
    EXPECT_EXTENDED_EQ(Real48::Narrow(half).Widen(), 1.0L + std::ldexp(1.0L, -39));
    EXPECT_EXTENDED_EQ(Real48::Narrow(-half).Widen(), -(1.0L + std::ldexp(1.0L, -39)));
    // Just below half rounds down.
    EXPECT_EXTENDED_EQ(Real48::Narrow(half - std::ldexp(1.0L, -63)).Widen(), 1.0L);
    // All 40 bits set plus a half carries into the exponent: 2 - 2^-40 -> 2.
    EXPECT_EXTENDED_EQ(Real48::Narrow(2.0L - std::ldexp(1.0L, -40)).Widen(), 2.0L);
}

TEST_F(Real48Test, TinyValuesAndNegativeZeroBecomePositiveZero) {
    for (const Extended value : {-0.0L, 1e-40L, -1e-40L, std::ldexp(1.0L, -129)}) {
        SCOPED_TRACE(ExtendedDigits(value));
        EXPECT_EQ(HexOf(Real48::Narrow(value).Bytes()), "000000000000");
    }
}

TEST_F(Real48Test, OverflowRaises) {
    EXPECT_THROW(Real48::Narrow(std::ldexp(1.0L, 127)), EOverflow);
    EXPECT_THROW(Real48::Narrow(HUGE_VALL), EOverflow);
    EXPECT_EXTENDED_EQ(Real48::Narrow(std::ldexp(1.0L, 126)).Widen(), std::ldexp(1.0L, 126));
}

TEST_F(Real48Test, MatrixRowsAreRangeChecked) {
    Network.LinkRows.AllocateRows(3);
    Network.LinkRows[3][150] = NoLink;
    EXPECT_THROW(Network.LinkRows[0][1], ERangeError);
    EXPECT_THROW(Network.LinkRows[1][151], ERangeError);
    EXPECT_THROW(Network.LinkRows[4][1], ERangeError);  // never allocated
    EXPECT_THROW(Network.NodeNames[0], ERangeError);
    Network.LinkRows.ReleaseRows(3);
}

TEST_F(Real48Test, DeletedRowCannotBeRead) {
    Network.PathRows.AllocateRows(2);
    Network.PathRows[2][2] = 7;
    Network.PathRows.ReleaseRows(2);
    EXPECT_FALSE(Network.PathRows.IsAllocated(2));
    EXPECT_THROW(Network.PathRows[2][2], ERangeError);
}

}  // namespace
