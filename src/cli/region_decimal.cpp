#include "cli/region_decimal.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

std::optional<char> Lookup(const std::string& name) {
    const TRegionDecimal* const end = RegionDecimals + RegionDecimalCount;
    const TRegionDecimal* const found = std::lower_bound(
        RegionDecimals, end, name,
        [](const TRegionDecimal& entry, const std::string& key) { return entry.Name < key; });
    if (found != end && found->Name == name) {
        return found->Decimal;
    }
    return std::nullopt;
}

}  // namespace

char DecimalOfLocaleName(std::string_view name) {
    // language[_Script][_TERRITORY][.codeset][@modifier]; "-" parts as "_" does.
    std::string locale(name.substr(0, name.find_first_of(".@")));
    std::replace(locale.begin(), locale.end(), '-', '_');
    const std::string language = locale.substr(0, locale.find('_'));
    const std::size_t lastPart = locale.rfind('_');
    // The full name, then the language with its script, then the language alone (a territory
    // the language is not spoken in: its main locale).
    for (const std::string& key :
         {locale, locale.substr(0, lastPart == std::string::npos ? locale.size() : lastPart),
          language}) {
        if (const auto decimal = Lookup(key)) {
            return *decimal;
        }
    }
    return '.';
}

char RegionDecimal() {
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) {
            return DecimalOfLocaleName(value);
        }
    }
    return '.';
}
