#pragma once

// The rules of the numeric edit fields, over plain text: the key rule applied to every
// typed character, and the validation run when the field is left. The windows deliver the
// events and show what these rules decide.

#include <cstdint>
#include <string>

#include "core/numbers/real48.h"

constexpr char16_t Backspace = 8;

// True when a typed character may reach a numeric field: a digit, ".", "-", backspace, or
// the regional decimal separator (so that "1,5" can be typed where "," is the decimal
// symbol; "." still gets through and is refused by the validation there). Single characters
// only: "1..2" and "5-" can be typed and are caught when the field is left.
bool KeyRuleAccepts(char16_t key);

enum class TEntryOutcome {
    Accepted,         // the target now holds the value; the field keeps its text
    Empty,            // nothing typed: no message, target and field unchanged
    ConversionError,  // not a number: Message is shown, the field gets WriteBack
    OutOfRange,       // outside the bounds: Message is shown, the field gets WriteBack
};

struct TEntryResult {
    TEntryOutcome Outcome = TEntryOutcome::Empty;
    std::string Message;    // the warning to show, empty when none
    std::string WriteBack;  // the text to put into the field after a warning
};

// "Invalid Parameter Value.  Must have 0.00 <= X <= 10000.00": the bounds in the plain fixed
// form, precision 10 and 2 decimals.
std::string OutOfRangeMessage(Extended low, Extended high);

// Validates a field's text into target, within [low, high] inclusive, comparing the value
// as narrowed to Real48 (the very value stored). A refused text leaves target as the caller
// set it and writes it back in the general form: "10000.01" -> out of range, field "0".
// A magnitude too large for Real48 (2^127 or more) is out of range like any other.
TEntryResult JudgeRealEntry(const std::string& text, Real48& target, Real48 low, Real48 high);

// The same for a 32-bit integer: the value is rounded to the nearest integer, a tie to the
// even one (2.5 -> 2, 3.5 -> 4, -0.5 -> 0, 10000.5 -> 10000), and the rounded value is
// compared and stored; an accepted "12.75" stays in the field while 13 is stored. A rounded
// value outside the 32-bit range is out of range like any other.
TEntryResult JudgeIntegerEntry(const std::string& text, std::int32_t& target, std::int32_t low,
                               std::int32_t high);
