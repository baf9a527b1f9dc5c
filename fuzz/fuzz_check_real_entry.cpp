// JudgeRealEntry: whatever is typed, the target ends holding either an accepted value within
// the bounds (the typed value as the 6-byte real holds it) or the caller's preset, byte for
// byte; the outcome, the message and the text written back agree with that.
//
// Input: a byte of choices (separator, bounds), the preset, the bounds when not the usual
// 0..10000, then the text.

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

namespace {

Real48 Real48From(fuzz::TByteReader& in) {
    return Real48::FromBytes(in.Bytes<Real48::TBytes>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::TByteReader in(data, size);
    const std::uint8_t choices = in.Byte();
    const char decimal = fuzz::DecimalSeparatorFrom(in.Byte());
    SetFormatSeparators({decimal, decimal == ',' ? '.' : ','});

    // The windows preset 0 and check against 0..10000; other presets and bounds keep the
    // routine honest about which value it writes back and which bounds it names.
    const Real48 preset = (choices & 1U) ? Real48From(in) : Real48();
    Real48 low = Real48::Narrow(0);
    Real48 high = Real48::Narrow(MaxDistance);
    if (choices & 2U) {
        low = Real48From(in);
        high = Real48From(in);
    }
    const std::string text = in.Rest();

    Real48 target = preset;
    TEntryResult result;
    try {
        result = JudgeRealEntry(text, target, low, high);
    } catch (const std::exception& error) {
        FUZZ_CHECK(false, "\"%s\" raised \"%s\"", text.c_str(), error.what());
    }

    const bool heldPreset = target.Bytes() == preset.Bytes();
    const std::string writeBack = FormatGeneral(preset.Widen());
    const fuzz::TNumberReading reading = fuzz::ReadNumberText(text, decimal);
    switch (result.Outcome) {
        case TEntryOutcome::Empty:
            FUZZ_CHECK(text.empty(), "\"%s\" counted as empty", text.c_str());
            FUZZ_CHECK(heldPreset && result.Message.empty(), "empty text changed the target");
            return 0;
        case TEntryOutcome::ConversionError:
            FUZZ_CHECK(!(reading.Grammatical && reading.Finite),
                       "\"%s\" is a number but gave Conversion Error", text.c_str());
            FUZZ_CHECK(heldPreset, "\"%s\" refused but the target changed", text.c_str());
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

    // The value the routine had to judge: the text's value as the 6-byte real holds it.
    const Extended typed = StrToFloat(text);
    const fuzz::TNarrowing narrowed = fuzz::NarrowByRule(typed);
    const bool inRange =
        !narrowed.Overflow && narrowed.Value >= low.Widen() && narrowed.Value <= high.Widen();
    if (result.Outcome == TEntryOutcome::OutOfRange) {
        FUZZ_CHECK(!inRange, "\"%s\" (held as %s) refused within %s..%s", text.c_str(),
                   fuzz::Shown(narrowed.Value).c_str(), fuzz::Shown(low.Widen()).c_str(),
                   fuzz::Shown(high.Widen()).c_str());
        FUZZ_CHECK(heldPreset, "\"%s\" refused but the target changed", text.c_str());
        const std::string message = OutOfRangeMessage(low.Widen(), high.Widen());
        FUZZ_CHECK(result.Message == message, "message \"%s\"", result.Message.c_str());
        FUZZ_CHECK(result.WriteBack == writeBack, "written back \"%s\", not \"%s\"",
                   result.WriteBack.c_str(), writeBack.c_str());
        return 0;
    }
    FUZZ_CHECK(inRange, "\"%s\" (held as %s) accepted outside %s..%s", text.c_str(),
               fuzz::Shown(narrowed.Value).c_str(), fuzz::Shown(low.Widen()).c_str(),
               fuzz::Shown(high.Widen()).c_str());
    FUZZ_CHECK(target.Widen() >= low.Widen() && target.Widen() <= high.Widen(),
               "target %s outside the bounds", fuzz::Shown(target.Widen()).c_str());
    FUZZ_CHECK(fuzz::BytesHold(target.Bytes(), narrowed.Value), "\"%s\" stored as %s, not %s",
               text.c_str(), fuzz::Shown(target.Widen()).c_str(),
               fuzz::Shown(narrowed.Value).c_str());
    FUZZ_CHECK(result.Message.empty() && result.WriteBack.empty(), "accepted with message \"%s\"",
               result.Message.c_str());
    return 0;
}
