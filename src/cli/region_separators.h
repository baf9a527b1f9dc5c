#pragma once

// The separators of the region, taken as the windows take them, without their toolkit: from
// the first of LC_ALL, LC_NUMERIC and LANG that is set and not empty, by the locale it names.
//   LC_ALL=de_DE.UTF-8 -> ',' and '.'     LANG=de_CH.UTF-8 -> '.' and ',' (its own is not Latin-1)
//   LC_NUMERIC=fr_FR@euro -> ',' and the no-break space    LC_ALL=C.UTF-8 -> '.' and ','
//   LANG=de_XX -> ',' and '.' (a region German has not: German's own)
//   nothing set, or a language the locale data lacks (xx_DE, POSIX) -> '.' and ','
// The locale need not be installed: the symbols come from the windows' own locale data, built
// into the command (platform/application/region_separators_tool.cpp writes the table).

#include <cstddef>
#include <string_view>

#include "core/numbers/separators.h"

struct TRegionSeparators {
    const char* Name;  // language[_Script][_TERRITORY], as in "de", "de_CH", "sr_Latn_RS"
    char Decimal;
    char Thousands;
};

// Sorted by name.
extern const TRegionSeparators RegionSeparatorTable[];
extern const std::size_t RegionSeparatorCount;

// The separators of a locale name such as "de_DE.UTF-8@euro" or "de-AT".
TFormatSeparators SeparatorsOfLocaleName(std::string_view name);

// The separators of the region set in the environment.
TFormatSeparators RegionSeparators();
