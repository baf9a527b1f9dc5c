// The text forms of numbers: integers, padding, the digit record and the three real forms,
// judged on the values as Real48 holds them.

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "core/numbers/number_text.h"
#include "core/numbers/real48.h"
#include "core/numbers/separators.h"
#include "core/numbers/text_to_number.h"
#include "core_test.h"
#include "extended_testing.h"

namespace {

using NumberTextTest = CoreTest;

// A typed text as the node window stores it: converted, narrowed to Real48 and widened.
Extended Held(const char* typed) {
    return Real48::Narrow(StrToFloat(typed)).Widen();
}

// Typed text -> StrToFloat -> Real48 -> written. Rounding is judged on the held value: 0.35
// is held a little below 0.35 and 0.15 a little above; 0.25 and 7.25 are held exactly and
// round up.
TEST_F(NumberTextTest, TypedValuesInTheThreeForms) {
    struct TRow {
        const char* Typed;
        const char* Grouped;
        const char* PlainFixed;
        const char* General;
    };
    const TRow rows[] = {
        {"0", "0.0", "0.00", "0"},
        {"5", "5.0", "5.00", "5"},
        {"12.5", "12.5", "12.50", "12.5"},
        {"0.25", "0.3", "0.25", "0.25"},
        {"0.35", "0.3", "0.35", "0.349999999999909"},
        {"0.05", "0.1", "0.05", "0.0500000000000114"},
        {"0.04", "0.0", "0.04", "0.0400000000000205"},
        {"0.1", "0.1", "0.10", "0.100000000000023"},
        {"999.96", "1,000.0", "999.96", "999.959999999963"},
        {"1234.56", "1,234.6", "1234.56", "1234.56000000052"},
        {"10000", "10,000.0", "10000.00", "10000"},
        {"0.00001", "0.0", "0.00", "9.99999999999612E-6"},
        {"0.15", "0.2", "0.15", "0.150000000000091"},
        {"7.25", "7.3", "7.25", "7.25"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Typed);
        const Extended held = Held(row.Typed);
        EXPECT_EQ(FormatGrouped(held, 10, 1), row.Grouped);
        EXPECT_EQ(FormatPlainFixed(held, 10, 2), row.PlainFixed);
        EXPECT_EQ(FormatGeneral(held), row.General);
    }
}

TEST_F(NumberTextTest, DigitRecord) {
    struct TRow {
        const char* Name;
        Extended Value;
        int Precision;
        int Decimals;
        const char* Digits;
        int Exponent;
        bool Negative;
    };
    const TRow rows[] = {
        {"1234.5", 1234.5L, 15, AllDecimals, "12345", 4, false},
        {"0.05", 0.05L, 15, AllDecimals, "5", -1, false},
        {"zero", 0.0L, 15, 2, "", 0, false},
        {"minus zero", -0.0L, 15, 2, "", 0, false},
        // 19 significant digits, exact in Extended, ending in a half: the 18th digit rounds up.
        {"18-digit half", 1234567890123456785.0L, 30, AllDecimals, "123456789012345679", 19, false},
        // 1/3 keeps all 18 digits beyond precision 18, and 15 at precision 15.
        {"third, precision 20", 1.0L / 3, 20, AllDecimals, "333333333333333333", 0, false},
        {"third, precision 15", 1.0L / 3, 15, AllDecimals, "333333333333333", 0, false},
        // Below a tenth of a unit of the last decimal: the record of zero, sign dropped.
        {"-0.004, 1 decimal", -0.004L, 10, 1, "", 0, false},
        // Rounding at the first digit: 5 or more gives the digit 1 one place up, less gives none.
        {"0.05 held, 1 decimal", Held("0.05"), 10, 1, "1", 0, false},
        {"-0.06, 1 decimal", -0.06L, 10, 1, "1", 0, true},
        {"0.04 held, 1 decimal", Held("0.04"), 10, 1, "", -1, false},
        // The carry runs past the first digit.
        {"999.96 held, 1 decimal", Held("999.96"), 10, 1, "1", 4, false},
        {"-9.5, 0 decimals", -9.5L, 10, 0, "1", 2, true},
        // The precision limits before the decimals do.
        {"123456.78, precision 4", 123456.78L, 4, 2, "1235", 6, false},
        {"largest Extended", std::numeric_limits<Extended>::max(), 18, AllDecimals,
         "118973149535723177", 4933, false},
        {"smallest Extended", std::numeric_limits<Extended>::denorm_min(), 18, AllDecimals,
         "36451995318824746", -4950, false},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        const TDigitRecord record = MakeDigitRecord(row.Value, row.Precision, row.Decimals);
        EXPECT_EQ(record.Digits, row.Digits);
        EXPECT_EQ(record.Exponent, row.Exponent);
        EXPECT_EQ(record.Negative, row.Negative);
    }
}

TEST_F(NumberTextTest, GroupedForm) {
    struct TRow {
        const char* Name;
        Extended Value;
        int Precision;
        int Decimals;
        const char* Grouped;
        const char* PlainFixed;
    };
    const TRow rows[] = {
        {"millions", 1234567.891L, 10, 1, "1,234,567.9", "1234567.9"},
        {"three digits, no separator", 999.0L, 10, 1, "999.0", "999.0"},
        {"negative", -1234.5L, 10, 1, "-1,234.5", "-1234.5"},
        {"leading zeros of a fraction", 0.004L, 10, 3, "0.004", "0.004"},
        {"no decimals", 100.4L, 10, 0, "100", "100"},
        {"rounded to more digits than the record", 1.0L, 10, 4, "1.0000", "1.0000"},
        // More integer digits than the precision: handed to the general form with that
        // precision.
        {"beyond precision", 123456789012.0L, 10, 1, "1.23456789E11", "1.23456789E11"},
        {"rounds up beyond precision", 9999999999.96L, 10, 1, "1E10", "1E10"},
        {"ten digits", 9999999999.0L, 10, 1, "9,999,999,999.0", "9999999999.0"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(FormatGrouped(row.Value, row.Precision, row.Decimals), row.Grouped);
        EXPECT_EQ(FormatPlainFixed(row.Value, row.Precision, row.Decimals), row.PlainFixed);
    }
}

TEST_F(NumberTextTest, GeneralForm) {
    struct TRow {
        const char* Name;
        Extended Value;
        const char* General;
    };
    const TRow rows[] = {
        // Integers are widened exactly and show no decimals.
        {"-1", -1.0L, "-1"},
        {"10000", 10000.0L, "10000"},
        {"smallest int32", -2147483648.0L, "-2147483648"},
        {"15 digits", 999999999999999.0L, "999999999999999"},
        {"16 digits", 1000000000000000.0L, "1E15"},
        {"18 digits", 123456789012345678.0L, "1.23456789012346E17"},
        {"1E-4 plain", 0.0001L, "0.0001"},
        {"1E-5 scientific", 0.00001L, "1E-5"},
        {"negative scientific", -1.5e-10L, "-1.5E-10"},
        {"large", 2.5e300L, "2.5E300"},
        {"fraction", 12.5L, "12.5"},
        {"nines round up", 0.9999999999999999L, "1"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(FormatGeneral(row.Value), row.General);
    }
}

TEST_F(NumberTextTest, IntegerTexts) {
    struct TRow {
        const char* Name;
        std::int32_t Value;
        int Width;
        const char* Text;
        const char* Padded;
    };
    const TRow rows[] = {
        {"7", 7, 4, "7", "   7"},
        {"150", 150, 4, "150", " 150"},
        {"12345 uncut", 12345, 4, "12345", "12345"},
        {"0", 0, 4, "0", "   0"},
        {"-12", -12, 4, "-12", " -12"},
        {"smallest", std::numeric_limits<std::int32_t>::min(), 4, "-2147483648", "-2147483648"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(IntToStr(row.Value), row.Text);
        EXPECT_EQ(IntToPadded(row.Value, row.Width), row.Padded);
    }
}

TEST_F(NumberTextTest, PadLeftNeverCuts) {
    const std::string twenty = "North Riverside Depo";
    EXPECT_EQ(PadLeft(twenty, 15), twenty);
    EXPECT_EQ(PadLeft(twenty.substr(0, 15), 15), "North Riverside");
    EXPECT_EQ(PadLeft("Ash", 15), "            Ash");
    EXPECT_EQ(PadLeft("", 3), "   ");
}

// A region with "," as decimal symbol and "." as grouping symbol.
TEST_F(NumberTextTest, RegionalSeparatorsInEveryRealForm) {
    SetFormatSeparators({',', '.'});
    EXPECT_EQ(FormatGrouped(12.5L, 10, 1), "12,5");
    EXPECT_EQ(FormatPlainFixed(12.5L, 10, 1), "12,5");
    EXPECT_EQ(FormatGeneral(12.5L), "12,5");
    EXPECT_EQ(FormatGeneral(1.5e-10L), "1,5E-10");

    const Extended held = Held("1234,56");
    EXPECT_EQ(FormatGrouped(held, 10, 1), "1.234,6");
    EXPECT_EQ(FormatPlainFixed(held, 10, 2), "1234,56");
    EXPECT_EQ(FormatGeneral(held), "1234,56000000052");
    EXPECT_EQ(FormatGrouped(1234567.0L, 10, 0), "1.234.567");
    // The integer forms use neither separator.
    EXPECT_EQ(IntToStr(-12345), "-12345");
    EXPECT_EQ(IntToPadded(1234, 6), "  1234");
}

// The text a value is edited and copied in reads back to the same held value, in both regions,
// and holds no power of ten (200 is "200", not "2E2"): 40 random bits scaled by 2^-140..2^59,
// and node values in thousandths.
TEST_F(NumberTextTest, ShortestValueTextReadsBackPositionally) {
    std::mt19937_64 random(37);
    for (const char decimal : {'.', ','}) {
        SetFormatSeparators({decimal, decimal == '.' ? ',' : '.'});
        for (int draw = 0; draw < 20000; ++draw) {
            const std::uint64_t bits = random();
            const Real48 value = Real48::Narrow(
                draw % 2 == 0 ? std::ldexp(static_cast<Extended>(bits >> 24), int(bits % 200) - 140)
                              : static_cast<Extended>(bits % 10000001) / 1000);
            const std::string text = ShortestValueText(value);
            EXPECT_TRUE(text.find_first_of("eE") == std::string::npos &&
                        Real48::Narrow(StrToFloat(text)) == value)
                << text;
        }
    }
}

}  // namespace
