#include "cli/region_separators.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

std::optional<TFormatSeparators> Lookup(const std::string& name) {
    const TRegionSeparators* const end = RegionSeparatorTable + RegionSeparatorCount;
    const TRegionSeparators* const found = std::lower_bound(
        RegionSeparatorTable, end, name,
        [](const TRegionSeparators& entry, const std::string& key) { return entry.Name < key; });
    if (found != end && found->Name == name) {
        return TFormatSeparators{found->Decimal, found->Thousands};
    }
    return std::nullopt;
}

}  // namespace

TFormatSeparators SeparatorsOfLocaleName(std::string_view name) {
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
        if (const auto separators = Lookup(key)) {
            return *separators;
        }
    }
    return {};
}

TFormatSeparators RegionSeparators() {
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) {
            return SeparatorsOfLocaleName(value);
        }
    }
    return {};
}
