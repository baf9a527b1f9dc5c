// Text-to-integer: never a crash; a text is refused exactly when the rules refuse it (blanks,
// a sign, digits, the end, within the signed 32-bit range), and an accepted text reads as its
// value.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/numbers/errors.h"
#include "core/numbers/text_to_number.h"
#include "fuzz_input.h"
#include "reference_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const fuzz::TIntegerReading expected = fuzz::ReadIntegerText(text);
    bool accepted = true;
    std::int32_t value = 0;
    try {
        value = StrToInt(text);
    } catch (const EConvertError& error) {
        accepted = false;
        // The message is a C string: a text holding a NUL byte is cut there.
        FUZZ_CHECK(text.find('\0') != std::string::npos ||
                       error.what() == "'" + text + "' is not a valid integer value",
                   "message \"%s\"", error.what());
    }
    FUZZ_CHECK(accepted == expected.Valid, "\"%s\": accepted %d, rules say %d", text.c_str(),
               accepted, expected.Valid);
    if (accepted) {
        FUZZ_CHECK(value == expected.Value, "\"%s\" read as %d, not %lld", text.c_str(), value,
                   static_cast<long long>(expected.Value));
    }
    return 0;
}
