// JudgeIntegerEntry: whatever is typed, the target ends holding either an accepted value
// within the bounds (the typed value rounded to the nearest integer, a tie to the even one)
// or the caller's preset; the outcome, the message and the text written back agree.
//
// Input: a byte of choices (separator, preset, bounds), the preset and bounds when not the
// usual -1 and 0..10000, then the text.

#include <cfenv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

#include "core/network/network_store.h"
#include "core/numbers/entry_rules.h"
#include "core/numbers/errors.h"
#include "core/numbers/number_text.h"
#include "core/numbers/separators.h"
#include "core/numbers/text_to_number.h"
#include "fuzz_input.h"
#include "reference_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::TByteReader in(data, size);
    const std::uint8_t choices = in.Byte();
    const char decimal = fuzz::DecimalSeparatorFrom(in.Byte());
    SetFormatSeparators({decimal, decimal == ',' ? '.' : ','});

    const std::int32_t preset = (choices & 1U) ? in.Bytes<std::int32_t>() : -1;
    std::int32_t low = 0;
    std::int32_t high = MaxDistance;
    if (choices & 2U) {
        low = in.Bytes<std::int32_t>();
        high = in.Bytes<std::int32_t>();
    }
    const std::string text = in.Rest();

    std::int32_t target = preset;
    TEntryResult result;
    try {
        result = JudgeIntegerEntry(text, target, low, high);
    } catch (const std::exception& error) {
        FUZZ_CHECK(false, "\"%s\" raised \"%s\"", text.c_str(), error.what());
    }

    const std::string writeBack = FormatGeneral(preset);
    const fuzz::TNumberReading reading = fuzz::ReadNumberText(text, decimal);
    switch (result.Outcome) {
        case TEntryOutcome::Empty:
            FUZZ_CHECK(text.empty(), "\"%s\" counted as empty", text.c_str());
            FUZZ_CHECK(target == preset && result.Message.empty(), "empty text changed the target");
            return 0;
        case TEntryOutcome::ConversionError:
            FUZZ_CHECK(!(reading.Grammatical && reading.Finite),
                       "\"%s\" is a number but gave Conversion Error", text.c_str());
            FUZZ_CHECK(target == preset, "\"%s\" refused but the target changed", text.c_str());
            FUZZ_CHECK(result.Message == "Conversion Error", "message \"%s\"",
                       result.Message.c_str());
            FUZZ_CHECK(result.WriteBack == writeBack, "written back \"%s\", not \"%s\"",
                       result.WriteBack.c_str(), writeBack.c_str());
            return 0;
        case TEntryOutcome::OutOfRange:
        case TEntryOutcome::Accepted:
            break;
    }
    FUZZ_CHECK(!text.empty(), "empty text not counted as empty");
    FUZZ_CHECK(reading.Grammatical && reading.Finite, "\"%s\" is not a number but was read",
               text.c_str());

    // Round to nearest, ties to even: the default rounding of the floating-point unit.
    FUZZ_CHECK(std::fegetround() == FE_TONEAREST, "rounding mode changed");
    const Extended rounded = std::nearbyint(StrToFloat(text));
    const bool fits = rounded >= INT32_MIN && rounded <= INT32_MAX;
    const bool inRange = fits && rounded >= low && rounded <= high;
    if (result.Outcome == TEntryOutcome::OutOfRange) {
        FUZZ_CHECK(!inRange, "\"%s\" (rounded %s) refused within %d..%d", text.c_str(),
                   fuzz::Shown(rounded).c_str(), low, high);
        FUZZ_CHECK(target == preset, "\"%s\" refused but the target changed", text.c_str());
        const std::string message = OutOfRangeMessage(low, high);
        FUZZ_CHECK(result.Message == message, "message \"%s\"", result.Message.c_str());
        FUZZ_CHECK(result.WriteBack == writeBack, "written back \"%s\", not \"%s\"",
                   result.WriteBack.c_str(), writeBack.c_str());
        return 0;
    }
    FUZZ_CHECK(inRange, "\"%s\" (rounded %s) accepted outside %d..%d", text.c_str(),
               fuzz::Shown(rounded).c_str(), low, high);
    FUZZ_CHECK(target == rounded && target >= low && target <= high,
               "\"%s\" stored as %d, rounded is %s", text.c_str(), target,
               fuzz::Shown(rounded).c_str());
    FUZZ_CHECK(result.Message.empty() && result.WriteBack.empty(), "accepted with message \"%s\"",
               result.Message.c_str());
    return 0;
}
