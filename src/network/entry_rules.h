#pragma once

// The rules of the numeric edit fields, over plain text: the key rule applied to every
// typed character, and the validation run when the field is left. The windows deliver the
// events and show what these rules decide.

#include <cstdint>
#include <string>

#include "network/real48.h"

constexpr char16_t Backspace = 8;

// True when a typed character may reach a numeric field: a digit, ".", "-", backspace, or
// the regional decimal separator.
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

// Validates a field's text into target, within [low, high] inclusive, comparing the value
// as narrowed to Real48. A refused text leaves target as the caller set it.
TEntryResult CheckRealEntry(const std::string& text, Real48& target, Real48 low, Real48 high);

// The same for a 32-bit integer: the value is rounded to the nearest integer, ties to even.
TEntryResult CheckIntegerEntry(const std::string& text, std::int32_t& target, std::int32_t low,
                               std::int32_t high);
