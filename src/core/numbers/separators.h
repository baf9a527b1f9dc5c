#pragma once

// The two separators of the real-number texts, held in one place for the whole program.
// The platform layer fills them from the user's regional settings at start and again when
// the settings change; tests set them explicitly and restore them.

struct TFormatSeparators {
    char Decimal = '.';    // the decimal symbol; the only decimal mark text-to-number accepts
    char Thousands = ',';  // the digit-grouping symbol; written only by the grouped form
};

const TFormatSeparators& FormatSeparators();
void SetFormatSeparators(const TFormatSeparators& separators);
