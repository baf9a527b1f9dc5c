// The 6-byte real: widening is exact (the six bytes say exactly the value widened, and
// narrowing it again gives the same bytes); narrowing rounds as the rules say, is idempotent
// and keeps the order of any two values.
//
// Input: six bytes of a stored real, then two extended values (see ExtendedFrom).

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>

#include "core/numbers/errors.h"
#include "core/numbers/real48.h"
#include "fuzz_input.h"
#include "reference_rules.h"

namespace {

// Narrow, or nothing when the value is too large for the 6-byte real.
std::optional<Real48> Narrowed(Extended value) {
    try {
        return Real48::Narrow(value);
    } catch (const EOverflow&) {
        return std::nullopt;
    }
}

void CheckWidening(const Real48::TBytes& bytes) {
    const Real48 stored = Real48::FromBytes(bytes);
    const Extended wide = stored.Widen();
    FUZZ_CHECK(std::isfinite(wide), "widened to %s", fuzz::Shown(wide).c_str());
    FUZZ_CHECK(fuzz::BytesHold(bytes, wide) || (bytes[0] == 0 && wide == 0),
               "bytes %02x %02x %02x %02x %02x %02x widened to %s", bytes[0], bytes[1], bytes[2],
               bytes[3], bytes[4], bytes[5], fuzz::Shown(wide).c_str());
    const auto again = Narrowed(wide);
    FUZZ_CHECK(again.has_value(), "a stored value does not narrow: %s", fuzz::Shown(wide).c_str());
    if (bytes[0] == 0) {
        FUZZ_CHECK(again->Bytes() == Real48::TBytes{}, "zero did not narrow to six zero bytes");
    } else {
        FUZZ_CHECK(again->Bytes() == bytes, "%s did not narrow back to its own bytes",
                   fuzz::Shown(wide).c_str());
    }
}

// Narrowing value; returns the held value, or nothing on overflow.
std::optional<Extended> CheckNarrowing(Extended value) {
    const fuzz::TNarrowing expected = fuzz::NarrowByRule(value);
    const auto narrowed = Narrowed(value);
    FUZZ_CHECK(narrowed.has_value() == !expected.Overflow, "%s: overflow %d, rules say %d",
               fuzz::Shown(value).c_str(), !narrowed.has_value(), expected.Overflow);
    if (!narrowed) {
        return std::nullopt;
    }
    const Extended held = narrowed->Widen();
    FUZZ_CHECK(fuzz::BytesHold(narrowed->Bytes(), expected.Value),
               "%s narrowed to %s, rules say %s", fuzz::Shown(value).c_str(),
               fuzz::Shown(held).c_str(), fuzz::Shown(expected.Value).c_str());
    const auto twice = Narrowed(held);
    FUZZ_CHECK(twice.has_value() && twice->Bytes() == narrowed->Bytes(),
               "narrowing %s again changed it", fuzz::Shown(held).c_str());
    const auto mirrored = Narrowed(-value);
    FUZZ_CHECK(mirrored.has_value() && mirrored->Widen() == -held,
               "-%s did not narrow to the negated value", fuzz::Shown(value).c_str());
    return held;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::TByteReader in(data, size);
    CheckWidening(in.Bytes<Real48::TBytes>());

    const Extended a = fuzz::ExtendedFrom(in);
    const Extended b = fuzz::ExtendedFrom(in);
    const auto heldA = CheckNarrowing(a);
    const auto heldB = CheckNarrowing(b);
    if (heldA && heldB) {
        FUZZ_CHECK((a <= b) <= (*heldA <= *heldB) && (b <= a) <= (*heldB <= *heldA),
                   "order lost: %s and %s held as %s and %s", fuzz::Shown(a).c_str(),
                   fuzz::Shown(b).c_str(), fuzz::Shown(*heldA).c_str(),
                   fuzz::Shown(*heldB).c_str());
    }

    // Infinities and NaNs are never stored.
    for (const Extended odd :
         {std::numeric_limits<Extended>::infinity(), -std::numeric_limits<Extended>::infinity(),
          std::numeric_limits<Extended>::quiet_NaN()}) {
        FUZZ_CHECK(!Narrowed(odd).has_value(), "%s was narrowed", fuzz::Shown(odd).c_str());
    }
    return 0;
}
