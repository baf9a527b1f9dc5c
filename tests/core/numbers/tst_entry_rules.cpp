// The rules of the numeric fields without a window: the key rule and the validation of the
// node values and the link distance, with the messages and write-backs they produce.

#include <cstdint>
#include <random>
#include <string>

#include "core/network/network_store.h"
#include "core/numbers/entry_rules.h"
#include "core/numbers/separators.h"
#include "core_test.h"
#include "extended_testing.h"

namespace {

using EntryRulesTest = CoreTest;

const char* const BoundsMessage = "Invalid Parameter Value.  Must have 0.00 <= X <= 10000.00";
const Real48 Low = Real48::Narrow(0.0L);
const Real48 High = Real48::Narrow(10000.0L);

constexpr TEntryOutcome Accepted = TEntryOutcome::Accepted;
constexpr TEntryOutcome Empty = TEntryOutcome::Empty;
constexpr TEntryOutcome ConversionError = TEntryOutcome::ConversionError;
constexpr TEntryOutcome OutOfRange = TEntryOutcome::OutOfRange;

TEST_F(EntryRulesTest, KeyRule) {
    struct TRow {
        const char* Name;
        char16_t Key;
        bool Accepted;
    };
    const TRow rows[] = {
        {"digit 0", u'0', true},
        {"digit 1", u'1', true},
        {"digit 2", u'2', true},
        {"digit 3", u'3', true},
        {"digit 4", u'4', true},
        {"digit 5", u'5', true},
        {"digit 6", u'6', true},
        {"digit 7", u'7', true},
        {"digit 8", u'8', true},
        {"digit 9", u'9', true},
        {"full stop", u'.', true},
        {"minus", u'-', true},
        {"backspace", 8, true},
        {"letter", u'a', false},
        {"exponent letter", u'E', false},
        {"plus", u'+', false},
        {"comma", u',', false},
        {"blank", u' ', false},
        {"carriage return", 13, false},
        {"tab", 9, false},
        {"escape", 27, false},
        {"ctrl+V", 22, false},
        {"nul", 0, false},
        {"e acute", 0xE9, false},
        {"arabic-indic digit", 0x0661, false},
        {"full-width digit", 0xFF11, false},
        {"full stop + 256", 0x012E, false},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(KeyRuleAccepts(row.Key), row.Accepted);
    }
}

// Where "," is the decimal symbol a fraction can be typed; "." still passes and is refused
// when the field is left.
TEST_F(EntryRulesTest, KeyRuleTakesTheRegionalDecimalSeparator) {
    EXPECT_FALSE(KeyRuleAccepts(u','));
    SetFormatSeparators({',', '.'});
    EXPECT_TRUE(KeyRuleAccepts(u','));
    EXPECT_TRUE(KeyRuleAccepts(u'.'));
    SetFormatSeparators({'\xB7', ' '});  // a Latin-1 middle dot
    EXPECT_TRUE(KeyRuleAccepts(u'\u00B7'));
    EXPECT_FALSE(KeyRuleAccepts(u' '));
}

// Node values: bounds 0 and 10000, preset 0.
TEST_F(EntryRulesTest, NodeValue) {
    struct TRow {
        const char* Name;
        const char* Text;
        TEntryOutcome Outcome;
        Extended Stored;
        const char* Message;
        const char* WriteBack;
    };
    const char* const Conversion = "Conversion Error";
    const TRow rows[] = {
        {"empty", "", Empty, 0.0L, "", ""},
        {"10000", "10000", Accepted, 10000.0L, "", ""},
        {"10000.00", "10000.00", Accepted, 10000.0L, "", ""},
        {"0", "0", Accepted, 0.0L, "", ""},
        {"-0", "-0", Accepted, 0.0L, "", ""},
        {"the held value is stored", "1234.56", Accepted, Real48::Narrow(1234.56L).Widen(), "", ""},
        {"below Real48's range becomes 0", "1E-40", Accepted, 0.0L, "", ""},
        {"-1E-40 becomes 0", "-1E-40", Accepted, 0.0L, "", ""},
        {"blanks around", " 12.5 ", Accepted, 12.5L, "", ""},
        // 10000.0000000001 narrows to 10000 itself: the bound is compared on the held value.
        {"just above 10000, held as 10000", "10000.0000000001", Accepted, 10000.0L, "", ""},
        {"10000.01", "10000.01", OutOfRange, 0.0L, BoundsMessage, "0"},
        {"-0.001", "-0.001", OutOfRange, 0.0L, BoundsMessage, "0"},
        {"1E38", "1E38", OutOfRange, 0.0L, BoundsMessage, "0"},
        // Beyond what Real48 can hold: the same warning, never an error box.
        {"rounds to 2^127", "1.7014118346046923E38", OutOfRange, 0.0L, BoundsMessage, "0"},
        {"1E39", "1E39", OutOfRange, 0.0L, BoundsMessage, "0"},
        {"-1E39", "-1E39", OutOfRange, 0.0L, BoundsMessage, "0"},
        {"1E4000", "1E4000", OutOfRange, 0.0L, BoundsMessage, "0"},
        {"1E4931", "1E4931", OutOfRange, 0.0L, BoundsMessage, "0"},
        {"1..2", "1..2", ConversionError, 0.0L, Conversion, "0"},
        {"5-", "5-", ConversionError, 0.0L, Conversion, "0"},
        {"--5", "--5", ConversionError, 0.0L, Conversion, "0"},
        {"minus alone", "-", ConversionError, 0.0L, Conversion, "0"},
        {"beyond Extended", "1E4999", ConversionError, 0.0L, Conversion, "0"},
        {"letters", "abc", ConversionError, 0.0L, Conversion, "0"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        Real48 target;  // the caller's preset, 0
        const TEntryResult result = JudgeRealEntry(row.Text, target, Low, High);
        EXPECT_EQ(result.Outcome, row.Outcome);
        EXPECT_EXTENDED_EQ(target.Widen(), row.Stored);
        EXPECT_EQ(result.Message, row.Message);
        EXPECT_EQ(result.WriteBack, row.WriteBack);
    }
}

TEST_F(EntryRulesTest, WriteBackIsTheTargetsValue) {
    Real48 target = Real48::Narrow(0.1L);
    const TEntryResult result = JudgeRealEntry("20000", target, Low, High);
    EXPECT_EQ(result.WriteBack, "0.100000000000023");
    EXPECT_EXTENDED_EQ(target.Widen(), Real48::Narrow(0.1L).Widen());

    std::int32_t distance = 42;
    EXPECT_EQ(JudgeIntegerEntry("x", distance, 0, 10000).WriteBack, "42");
    EXPECT_EQ(distance, 42);
}

// The link distance: bounds 0 and 10000, preset -1. A refused text writes back "-1".
TEST_F(EntryRulesTest, Distance) {
    struct TRow {
        const char* Name;
        const char* Text;
        TEntryOutcome Outcome;
        std::int32_t Stored;
        const char* Message;
    };
    const char* const Conversion = "Conversion Error";
    const TRow rows[] = {
        {"empty", "", Empty, -1, ""},
        // Ties go to the even integer.
        {"2.5", "2.5", Accepted, 2, ""},
        {"3.5", "3.5", Accepted, 4, ""},
        {"-0.5", "-0.5", Accepted, 0, ""},
        {"-0.4", "-0.4", Accepted, 0, ""},
        {"10000.5", "10000.5", Accepted, 10000, ""},
        {"12.75", "12.75", Accepted, 13, ""},
        {"0", "0", Accepted, 0, ""},
        {"10000", "10000", Accepted, 10000, ""},
        {"1.5E3", "1.5E3", Accepted, 1500, ""},
        {"4999.4999999", "4999.4999999", Accepted, 4999, ""},
        {"10000.6", "10000.6", OutOfRange, -1, BoundsMessage},
        {"-0.6", "-0.6", OutOfRange, -1, BoundsMessage},
        {"-1 written back", "-1", OutOfRange, -1, BoundsMessage},
        {"10001", "10001", OutOfRange, -1, BoundsMessage},
        // Beyond the 32-bit range once rounded: the same warning, never an error box.
        {"2147483647.5", "2147483647.5", OutOfRange, -1, BoundsMessage},
        {"2147483648", "2147483648", OutOfRange, -1, BoundsMessage},
        {"-2147483649", "-2147483649", OutOfRange, -1, BoundsMessage},
        {"1E30", "1E30", OutOfRange, -1, BoundsMessage},
        {"-3E9", "-3E9", OutOfRange, -1, BoundsMessage},
        {"1E4000", "1E4000", OutOfRange, -1, BoundsMessage},
        {"1..2", "1..2", ConversionError, -1, Conversion},
        {"--5", "--5", ConversionError, -1, Conversion},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        std::int32_t target = -1;
        const TEntryResult result = JudgeIntegerEntry(row.Text, target, 0, MaxDistance);
        EXPECT_EQ(result.Outcome, row.Outcome);
        EXPECT_EQ(target, row.Stored);
        EXPECT_EQ(result.Message, row.Message);
        const bool refused = row.Outcome == OutOfRange || row.Outcome == ConversionError;
        EXPECT_EQ(result.WriteBack, refused ? "-1" : "");
    }
}

TEST_F(EntryRulesTest, RegionalMessagesAndWriteBack) {
    SetFormatSeparators({',', '.'});
    Real48 target = Real48::Narrow(12.5L);
    TEntryResult result = JudgeRealEntry("10000,01", target, Low, High);
    EXPECT_EQ(result.Message, "Invalid Parameter Value.  Must have 0,00 <= X <= 10000,00");
    EXPECT_EQ(result.WriteBack, "12,5");
    result = JudgeRealEntry("1.5", target, Low, High);
    EXPECT_EQ(result.Outcome, ConversionError);
    EXPECT_EQ(result.WriteBack, "12,5");
    result = JudgeRealEntry("1,5", target, Low, High);
    EXPECT_EQ(result.Outcome, Accepted);
    EXPECT_EXTENDED_EQ(target.Widen(), 1.5L);

    std::int32_t distance = -1;
    result = JudgeIntegerEntry("10000,6", distance, 0, 10000);
    EXPECT_EQ(result.Message, "Invalid Parameter Value.  Must have 0,00 <= X <= 10000,00");
    EXPECT_EQ(JudgeIntegerEntry("2,5", distance, 0, 10000).Outcome, Accepted);
    EXPECT_EQ(distance, 2);
}

// Whatever the field holds, typed or pasted, validation ends in one of the expected outcomes:
// the target holds an in-range value, or it keeps its preset. Nothing is thrown.
TEST_F(EntryRulesTest, NoTextEscapesTheTwoOutcomes) {
    std::mt19937 random(20240517);
    const std::string typeable = "0123456789.-";
    const std::string pasteable = "0123456789.-+eE ,x";
    for (int round = 0; round < 20000; ++round) {
        const std::string& alphabet = round % 2 ? typeable : pasteable;
        std::uniform_int_distribution<int> length(1, round % 100 == 0 ? 399 : 11);
        std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
        std::string text;
        for (int i = length(random); i > 0; --i) {
            text += alphabet[pick(random)];
        }
        SCOPED_TRACE("'" + text + "'");
        Real48 value;
        std::int32_t distance = -1;
        try {
            const TEntryResult real = JudgeRealEntry(text, value, Low, High);
            const TEntryResult integer = JudgeIntegerEntry(text, distance, 0, MaxDistance);
            if (real.Outcome == Accepted) {
                ASSERT_TRUE(value.Widen() >= 0 && value.Widen() <= 10000);
            } else {
                ASSERT_TRUE(value.Widen() == 0 && real.WriteBack == "0");
            }
            if (integer.Outcome == Accepted) {
                ASSERT_TRUE(distance >= 0 && distance <= 10000);
            } else {
                ASSERT_TRUE(distance == -1 && integer.WriteBack == "-1");
            }
        } catch (const std::exception& error) {
            FAIL() << "raised " << error.what();
        }
    }
}

}  // namespace
