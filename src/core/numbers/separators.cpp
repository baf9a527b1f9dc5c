#include "core/numbers/separators.h"

namespace {
TFormatSeparators CurrentSeparators;
}

const TFormatSeparators& FormatSeparators() {
    return CurrentSeparators;
}

void SetFormatSeparators(const TFormatSeparators& separators) {
    CurrentSeparators = separators;
}
