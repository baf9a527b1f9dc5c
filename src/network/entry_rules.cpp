// Interim rules so that the windows can be built; replaced by the exact rules.
#include "network/entry_rules.h"

#include <cmath>

#include "network/errors.h"
#include "network/number_text.h"
#include "network/text_to_number.h"

bool KeyRuleAccepts(char16_t key) {
    return (key >= u'0' && key <= u'9') || key == u'.' || key == u'-' || key == Backspace;
}

TEntryResult CheckRealEntry(const std::string& text, Real48& target, Real48 low, Real48 high) {
    if (text.empty()) {
        return {};
    }
    try {
        const Real48 value = Real48::Narrow(StrToFloat(text));
        if (value.Widen() < low.Widen() || value.Widen() > high.Widen()) {
            return {TEntryOutcome::OutOfRange, "Invalid Parameter Value.",
                    FormatGeneral(target.Widen())};
        }
        target = value;
        return {TEntryOutcome::Accepted, "", ""};
    } catch (const EConvertError&) {
        return {TEntryOutcome::ConversionError, "Conversion Error", FormatGeneral(target.Widen())};
    }
}

TEntryResult CheckIntegerEntry(const std::string& text, std::int32_t& target, std::int32_t low,
                               std::int32_t high) {
    if (text.empty()) {
        return {};
    }
    try {
        const auto value = static_cast<std::int32_t>(std::nearbyint(StrToFloat(text)));
        if (value < low || value > high) {
            return {TEntryOutcome::OutOfRange, "Invalid Parameter Value.", IntToStr(target)};
        }
        target = value;
        return {TEntryOutcome::Accepted, "", ""};
    } catch (const EConvertError&) {
        return {TEntryOutcome::ConversionError, "Conversion Error", IntToStr(target)};
    }
}
