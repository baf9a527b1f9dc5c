#include "core/numbers/entry_rules.h"

#include <cmath>
#include <limits>
#include <optional>
#include <utility>

#include "core/numbers/errors.h"
#include "core/numbers/number_text.h"
#include "core/numbers/separators.h"
#include "core/numbers/text_to_number.h"

namespace {

constexpr int BoundPrecision = 10;
constexpr int BoundDecimals = 2;

// The nearest integer, a tie going to the even one; nothing when the result lies outside
// the 32-bit range.
std::optional<std::int32_t> RoundToInt32(Extended value) {
    Extended rounded = std::floor(value);
    const Extended fraction = value - rounded;  // exact in binary floating point
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(rounded, 2.0L) != 0)) {
        rounded += 1;
    }
    if (rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

TEntryResult Refused(TEntryOutcome outcome, std::string message, Extended target) {
    return {outcome, std::move(message), FormatGeneral(target)};
}

// A non-empty text read as a number, or nothing when it is none (StrToFloat refuses it).
std::optional<Extended> TypedNumber(const std::string& text) {
    try {
        return StrToFloat(text);
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

}  // namespace

bool KeyRuleAccepts(char16_t key) {
    const auto decimal =
        static_cast<char16_t>(static_cast<unsigned char>(FormatSeparators().Decimal));
    return (key >= u'0' && key <= u'9') || key == u'.' || key == u'-' || key == Backspace ||
           key == decimal;
}

std::string OutOfRangeMessage(Extended low, Extended high) {
    return "Invalid Parameter Value.  Must have " +
           FormatPlainFixed(low, BoundPrecision, BoundDecimals) +
           " <= X <= " + FormatPlainFixed(high, BoundPrecision, BoundDecimals);
}

TEntryResult JudgeRealEntry(const std::string& text, Real48& target, Real48 low, Real48 high) {
    if (text.empty()) {
        return {};
    }
    const std::optional<Extended> typed = TypedNumber(text);
    if (!typed) {
        return Refused(TEntryOutcome::ConversionError, "Conversion Error", target.Widen());
    }
    const auto outOfRange = [&] {
        return Refused(TEntryOutcome::OutOfRange, OutOfRangeMessage(low.Widen(), high.Widen()),
                       target.Widen());
    };
    Real48 narrowed;
    try {
        narrowed = Real48::Narrow(*typed);
    } catch (const EOverflow&) {
        return outOfRange();
    }
    if (narrowed.Widen() < low.Widen() || narrowed.Widen() > high.Widen()) {
        return outOfRange();
    }
    target = narrowed;
    return {TEntryOutcome::Accepted, "", ""};
}

TEntryResult JudgeIntegerEntry(const std::string& text, std::int32_t& target, std::int32_t low,
                               std::int32_t high) {
    if (text.empty()) {
        return {};
    }
    const std::optional<Extended> typed = TypedNumber(text);
    if (!typed) {
        return Refused(TEntryOutcome::ConversionError, "Conversion Error", target);
    }
    const std::optional<std::int32_t> rounded = RoundToInt32(*typed);
    if (!rounded || *rounded < low || *rounded > high) {
        return Refused(TEntryOutcome::OutOfRange, OutOfRangeMessage(low, high), target);
    }
    target = *rounded;
    return {TEntryOutcome::Accepted, "", ""};
}
