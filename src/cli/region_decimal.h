#pragma once

// The decimal symbol of the region, taken as the windows take it, without their toolkit: from
// the first of LC_ALL, LC_NUMERIC and LANG that is set and not empty, by the locale it names.
//   LC_ALL=de_DE.UTF-8 -> ','   LANG=de_CH.UTF-8 -> '.'   LC_NUMERIC=fr_FR@euro -> ','
//   LC_ALL=C.UTF-8 -> '.'       LANG=de_XX -> ',' (a region German has not: German's own)
//   nothing set, or a language the locale data lacks (xx_DE, POSIX) -> '.'
// The locale need not be installed: the symbols come from the windows' own locale data, built
// into the command (region_decimals_tool.cpp writes the table).

#include <cstddef>
#include <string_view>

struct TRegionDecimal {
    const char* Name;  // language[_Script][_TERRITORY], as in "de", "de_CH", "sr_Latn_RS"
    char Decimal;
};

// Sorted by name.
extern const TRegionDecimal RegionDecimals[];
extern const std::size_t RegionDecimalCount;

// The decimal symbol of a locale name such as "de_DE.UTF-8@euro" or "de-AT".
char DecimalOfLocaleName(std::string_view name);

// The decimal symbol of the region set in the environment.
char RegionDecimal();
