// Reading numbers from text: what is accepted, the value read, and the messages of refusal.

#include <cstdint>
#include <limits>
#include <string>

#include "core/numbers/errors.h"
#include "core/numbers/separators.h"
#include "core/numbers/text_to_number.h"
#include "core_test.h"
#include "extended_testing.h"

namespace {

using TextToNumberTest = CoreTest;

constexpr bool Valid = true;
constexpr bool Refused = false;

TEST_F(TextToNumberTest, FloatTexts) {
    struct TRow {
        const char* Name;
        const char* Text;
        bool Valid;
        Extended Value;  // when valid
    };
    const TRow rows[] = {
        {"12.5 between blanks", " 12.5 ", Valid, 12.5L},
        {"full stop alone", ".", Valid, 0.0L},
        {"minus alone", "-", Refused, 0},
        {"1..2", "1..2", Refused, 0},
        {"5-", "5-", Refused, 0},
        {"1,000", "1,000", Refused, 0},
        {"1E3", "1E3", Valid, 1000.0L},
        {"1E without digits", "1E", Valid, 1.0L},
        {"1E5000", "1E5000", Refused, 0},
        {"2.5e-1", "2.5e-1", Valid, 0.25L},

        {"empty", "", Refused, 0},
        {"blanks only", "   ", Refused, 0},
        {"plus alone", "+", Refused, 0},
        {"--5", "--5", Refused, 0},
        {"blank after the sign", "- 5", Refused, 0},
        {"blank inside", "1 2", Refused, 0},
        {"tab is not a blank", "\t5", Refused, 0},
        {"exponent alone", "E5", Refused, 0},
        {"fraction in the exponent", "1E5.5", Refused, 0},
        {"second exponent", "1E5E5", Refused, 0},
        {"hexadecimal", "0x10", Refused, 0},
        {"inf", "inf", Refused, 0},
        {"nan", "nan", Refused, 0},
        {"letter", "12a", Refused, 0},
        {"plus sign", "+5", Valid, 5.0L},
        {"many blanks", "     -7   ", Valid, -7.0L},
        {"leading separator", ".5", Valid, 0.5L},
        {"trailing separator", "5.", Valid, 5.0L},
        {"minus and separator", "-.", Valid, 0.0L},
        {"separator before exponent", ".E5", Valid, 0.0L},
        {"exponent sign without digits", "3E+", Valid, 3.0L},
        {"lower case exponent with sign", "1e+2", Valid, 100.0L},
        {"leading zeros", "000012.50", Valid, 12.5L},
        // The exponent takes digits while it is below 500: "0500" reads all four, "4999" reads
        // all four and overflows, "5000" leaves its last digit over.
        {"1E499", "1E499", Valid, 1e499L},
        {"1E0500", "1E0500", Valid, 1e500L},
        {"exponent leading zeros", "1E00000000003", Valid, 1000.0L},
        {"1E4999 overflows", "1E4999", Refused, 0},
        {"digits overflow", "2E4932", Refused, 0},
        {"largest", "1.18973149535723176502E4932", Valid, std::numeric_limits<Extended>::max()},
        {"1E-4999 underflows to zero", "1E-4999", Valid, 0.0L},
        {"negative exponent stop", "1E-0499", Valid, 1e-499L},
        {"negative exponent left over", "1E-5000", Refused, 0},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        if (row.Valid) {
            EXPECT_EXTENDED_EQ(StrToFloat(row.Text), row.Value);
        } else {
            EXPECT_THROW(StrToFloat(row.Text), EConvertError);
        }
    }
}

// Up to 19 significant digits the result is the Extended nearest to the text. The compiler
// reads each literal the same way (to nearest, a tie to even), so the two must agree.
TEST_F(TextToNumberTest, NearestExtended) {
    struct TRow {
        const char* Text;
        Extended Nearest;
    };
#define MESHLOOM_ROW(literal) \
    TRow {                    \
#literal, literal##L  \
    }
    const TRow rows[] = {
        MESHLOOM_ROW(0.1),
        MESHLOOM_ROW(0.35),
        MESHLOOM_ROW(1234.56),
        MESHLOOM_ROW(9999.9),
        MESHLOOM_ROW(1.234567890123456789),
        MESHLOOM_ROW(3.141592653589793238),
        MESHLOOM_ROW(9.999999999999999999e-300),
        MESHLOOM_ROW(1.000000000000000001e300),
        MESHLOOM_ROW(4.999999999999999999e-4940),
        MESHLOOM_ROW(1234567890123456789.0),
        MESHLOOM_ROW(18446744073709551617.0),  // 2^64 + 1: halfway, to the even 2^64
        MESHLOOM_ROW(0.0000000000000000001),
    };
#undef MESHLOOM_ROW
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Text);
        EXPECT_EXTENDED_EQ(StrToFloat(row.Text), row.Nearest);
        EXPECT_EXTENDED_EQ(StrToFloat("-" + std::string(row.Text)), -row.Nearest);
    }
}

// Texts of any length: a field may hold thousands of typed or pasted characters.
TEST_F(TextToNumberTest, LongTexts) {
    EXPECT_EXTENDED_EQ(StrToFloat("1" + std::string(400, '0')), 1e400L);
    EXPECT_EXTENDED_EQ(StrToFloat(std::string(5000, '0') + "25"), 25.0L);
    EXPECT_EXTENDED_EQ(StrToFloat("0." + std::string(5000, '0') + "1"), 0.0L);  // 1E-5001
    EXPECT_EXTENDED_EQ(StrToFloat("0." + std::string(300, '0') + "1E+0301"), 1.0L);
    EXPECT_THROW(StrToFloat("1" + std::string(5000, '0')), EConvertError);
    EXPECT_THROW(StrToFloat(std::string(30000, '-')), EConvertError);
}

TEST_F(TextToNumberTest, FloatMessageNamesTheText) {
    try {
        StrToFloat("1..2");
        ADD_FAILURE() << "1..2 was accepted";
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "'1..2' is not a valid floating point value");
    }
    try {
        StrToInt(" 12 ");
        ADD_FAILURE() << "' 12 ' was accepted";
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "' 12 ' is not a valid integer value");
    }
}

// Where "," is the decimal symbol, it is the only decimal mark: a full stop is refused.
TEST_F(TextToNumberTest, RegionalDecimalSeparator) {
    SetFormatSeparators({',', '.'});
    EXPECT_EXTENDED_EQ(StrToFloat("1,5"), 1.5L);
    EXPECT_EXTENDED_EQ(StrToFloat(" 2,5e-1 "), 0.25L);
    EXPECT_EXTENDED_EQ(StrToFloat(","), 0.0L);
    EXPECT_THROW(StrToFloat("1.5"), EConvertError);
    EXPECT_THROW(StrToFloat("1.000,5"), EConvertError);
    EXPECT_EQ(StrToInt("-42"), -42);
}

TEST_F(TextToNumberTest, IntegerTexts) {
    struct TRow {
        const char* Name;
        const char* Text;
        bool Valid;
        std::int32_t Value;  // when valid
    };
    const TRow rows[] = {
        {"blanks before", "  12", Valid, 12},
        {"blank after", "12 ", Refused, 0},
        {"empty", "", Refused, 0},
        {"2147483648", "2147483648", Refused, 0},
        {"-2147483648", "-2147483648", Valid, std::numeric_limits<std::int32_t>::min()},
        {"2147483647", "2147483647", Valid, std::numeric_limits<std::int32_t>::max()},
        {"-2147483649", "-2147483649", Refused, 0},
        {"many digits", "99999999999999999999999", Refused, 0},
        {"leading zeros", "+00000000000000000007", Valid, 7},
        {"sign alone", "-", Refused, 0},
        {"blanks alone", "  ", Refused, 0},
        {"fraction", "1.0", Refused, 0},
        {"exponent", "1E3", Refused, 0},
        {"link line piece", " 150", Valid, 150},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        if (row.Valid) {
            EXPECT_EQ(StrToInt(row.Text), row.Value);
        } else {
            EXPECT_THROW(StrToInt(row.Text), EConvertError);
        }
    }
}

}  // namespace
