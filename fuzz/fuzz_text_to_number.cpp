// Text-to-number: never a crash; a text is refused exactly when the rules refuse it, and an
// accepted text of up to 19 significant digits reads as the extended value nearest to it.
//
// Input: one byte choosing the decimal separator, then the text.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/numbers/errors.h"
#include "core/numbers/separators.h"
#include "core/numbers/text_to_number.h"
#include "fuzz_input.h"
#include "reference_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::TByteReader in(data, size);
    const char decimal = fuzz::DecimalSeparatorFrom(in.Byte());
    const std::string text = in.Rest();
    SetFormatSeparators({decimal, decimal == ',' ? '.' : ','});

    const fuzz::TNumberReading expected = fuzz::ReadNumberText(text, decimal);
    bool accepted = true;
    Extended value = 0;
    try {
        value = StrToFloat(text);
    } catch (const EConvertError& error) {
        accepted = false;
        // The message is a C string: a text holding a NUL byte is cut there.
        FUZZ_CHECK(text.find('\0') != std::string::npos ||
                       error.what() == "'" + text + "' is not a valid floating point value",
                   "message \"%s\"", error.what());
    }
    const bool valid = expected.Grammatical && expected.Finite;
    FUZZ_CHECK(accepted == valid, "\"%s\" (separator '%c'): accepted %d, rules say %d",
               text.c_str(), decimal, accepted, valid);
    if (!accepted) {
        return 0;
    }
    FUZZ_CHECK(std::isfinite(value), "\"%s\" read as %s", text.c_str(), fuzz::Shown(value).c_str());
    if (value != 0) {
        FUZZ_CHECK(std::signbit(value) == expected.Negative, "\"%s\" read as %s", text.c_str(),
                   fuzz::Shown(value).c_str());
    }
    if (expected.Significant.size() <= 19) {
        FUZZ_CHECK(value == expected.Value, "\"%s\" read as %s, nearest is %s", text.c_str(),
                   fuzz::Shown(value).c_str(), fuzz::Shown(expected.Value).c_str());
    } else {
        // Longer texts: at most one unit in the last place from the nearest value.
        const Extended step =
            std::nextafter(std::fabs(expected.Value), HUGE_VALL) - std::fabs(expected.Value);
        FUZZ_CHECK(std::fabs(value - expected.Value) <= step, "\"%s\" read as %s, nearest is %s",
                   text.c_str(), fuzz::Shown(value).c_str(), fuzz::Shown(expected.Value).c_str());
    }
    return 0;
}
