#include "core/rows/cell_values.h"

#include <utf8proc.h>

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "core/network/network_store.h"
#include "core/numbers/entry_rules.h"
#include "core/numbers/separators.h"
#include "core/numbers/text_to_number.h"
#include "core/rows/tab_separated.h"

namespace {

// A separator, held as a Latin-1 byte, as it stands in UTF-8 text.
std::string Utf8(char separator) {
    const auto byte = static_cast<unsigned char>(separator);
    if (byte < 0x80) {
        return std::string(1, separator);
    }
    return {static_cast<char>(0xC0 | byte >> 6), static_cast<char>(0x80 | (byte & 0x3F))};
}

// The forms of the region's grouping symbol in pasted text: a no-break space comes as the
// narrow one too, and as a plain space, which a planner types for it; an apostrophe, plain or
// typographic, groups in some regions whose symbol the windows cannot hold (it is no decimal
// symbol anywhere), so it is taken everywhere.
// Where the region's grouping symbol is its decimal symbol too (both "," where the region's
// own grouping symbol is none the windows can hold), it is no grouping symbol: a symbol is
// read one way only, and "12,5" is twelve and a half.
std::vector<std::string> GroupingSymbols() {
    const TFormatSeparators& separators = FormatSeparators();
    const char grouping = separators.Thousands;
    std::vector<std::string> symbols{"'", "\xE2\x80\x99"};
    if (grouping != separators.Decimal) {
        symbols.push_back(Utf8(grouping));
    }
    if (static_cast<unsigned char>(grouping) == 0xA0) {
        symbols.insert(symbols.end(), {"\xE2\x80\xAF", " "});
    }
    return symbols;
}

// The length of the grouping symbol that starts at, or 0.
std::size_t GroupingAt(const std::string& cell, std::size_t at,
                       const std::vector<std::string>& symbols) {
    for (const std::string& symbol : symbols) {
        if (cell.compare(at, symbol.size(), symbol) == 0) {
            return symbol.size();
        }
    }
    return 0;
}

// The cell without its grouping symbols, when each stands between groups of three digits of
// the whole part ("-1.234.567,5" -> "-1234567,5"); nothing when one stands anywhere else.
std::optional<std::string> Ungrouped(const std::string& cell) {
    // Digits and an ASCII decimal symbol, the cells of a large paste, hold no grouping symbol
    // (the decimal symbol never groups): as they are, without the symbols' work.
    const char decimal = FormatSeparators().Decimal;
    if (std::all_of(cell.begin(), cell.end(),
                    [&](char c) { return (c >= '0' && c <= '9') || (c == decimal && c > 0); })) {
        return cell;
    }
    const std::vector<std::string> symbols = GroupingSymbols();
    std::size_t at = std::min(cell.find_first_not_of(' '), cell.size());
    at += at < cell.size() && (cell[at] == '+' || cell[at] == '-') ? 1 : 0;
    std::string plain = cell.substr(0, at);
    const std::size_t start = at;
    int run = 0;  // digits since the start of the whole part or the last grouping symbol
    bool grouped = false;
    while (at < cell.size()) {
        if (cell[at] >= '0' && cell[at] <= '9') {
            plain += cell[at++];
            ++run;
        } else if (const std::size_t length = GroupingAt(cell, at, symbols); length > 0) {
            // A blank groups only between digits; else it is a blank around the number.
            if (cell[at] == ' ' &&
                (at + 1 >= cell.size() || cell[at + 1] < '0' || cell[at + 1] > '9')) {
                break;
            }
            // A grouped number never starts with a group of 0: "0,500" is a fraction written
            // with another region's decimal symbol.
            if (run == 0 || run > 3 || (grouped && run != 3) || (!grouped && cell[start] == '0')) {
                return std::nullopt;
            }
            grouped = true;
            run = 0;
            at += length;
        } else {
            break;
        }
    }
    if (grouped && run != 3) {
        return std::nullopt;
    }
    // Trailing blanks are no grouping symbol, even where the symbol is a blank.
    const std::size_t end = cell.find_last_not_of(' ') + 1;
    for (std::size_t rest = at; rest < end; ++rest) {
        if (cell[rest] != ' ' && GroupingAt(cell, rest, symbols) > 0) {
            return std::nullopt;
        }
    }
    return plain + cell.substr(at);
}

std::string NotInRange(const std::string& cell) {
    return ShownCell(cell) + " is not a number from 0 to " + std::to_string(MaxDistance);
}

// Why a cell is no number: where it holds no more than digits, signs, exponents and marks
// that separate digits, the marks were the wrong ones, and the reason shows the right ones;
// else the first character a number cannot hold is named.
std::string NotANumber(const std::string& cell) {
    const std::vector<std::string> symbols = GroupingSymbols();
    const TFormatSeparators& separators = FormatSeparators();
    const std::string marks = std::string(".,") + separators.Decimal;
    bool marked = false;
    for (std::size_t at = 0; at < cell.size();) {
        const std::size_t grouping = GroupingAt(cell, at, symbols);
        marked = marked || (grouping > 0 && cell[at] != ' ') ||
                 marks.find(cell[at]) != std::string::npos;
        if (grouping == 0 && marks.find(cell[at]) == std::string::npos &&
            std::string_view(" +-0123456789eE").find(cell[at]) == std::string_view::npos) {
            std::size_t length = 1;
            while (at + length < cell.size() &&
                   (static_cast<unsigned char>(cell[at + length]) & 0xC0) == 0x80) {
                ++length;
            }
            return ShownCell(cell) + " is not a number: it may not hold \"" +
                   cell.substr(at, length) + "\"";
        }
        at += std::max<std::size_t>(grouping, 1);
    }
    if (marked) {
        const std::string decimal = Utf8(separators.Decimal);
        const std::string grouping =
            separators.Thousands == separators.Decimal ? "" : Utf8(separators.Thousands);
        return ShownCell(cell) + " is not a number: the decimal symbol is \"" + decimal +
               "\", as in 1" + grouping + "234" + decimal + "5";
    }
    return ShownCell(cell) + " is not a number";
}

}  // namespace

bool IsHeaderCell(const std::string& cell) {
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(cell.data());
    auto left = static_cast<utf8proc_ssize_t>(cell.size());
    bool letter = false;
    while (left > 0 && !letter) {
        utf8proc_int32_t code = 0;
        const utf8proc_ssize_t length =
            std::max<utf8proc_ssize_t>(utf8proc_iterate(bytes, left, &code), 1);
        const utf8proc_category_t category = utf8proc_category(code);
        letter = code >= 0 && category >= UTF8PROC_CATEGORY_LU && category <= UTF8PROC_CATEGORY_LO;
        bytes += length;
        left -= length;
    }
    if (!letter) {
        return false;
    }
    // A letter in a number is its exponent: "1e3".
    const std::optional<std::string> text = Ungrouped(cell);
    Real48 value;
    return !text ||
           JudgeRealEntry(*text, value, Real48::Narrow(0), Real48::Narrow(MaxDistance)).Outcome ==
               TEntryOutcome::ConversionError;
}

std::string JudgeValueCell(const std::string& cell, Real48& value) {
    value = Real48::Narrow(0);
    if (IsBlankCell(cell)) {
        return {};  // as an empty field leaves it
    }
    const std::optional<std::string> text = Ungrouped(cell);
    if (!text) {
        return NotANumber(cell);
    }
    switch (JudgeRealEntry(*text, value, Real48::Narrow(0), Real48::Narrow(MaxDistance)).Outcome) {
        case TEntryOutcome::Accepted:
        case TEntryOutcome::Empty:
            return {};
        case TEntryOutcome::OutOfRange:
            return NotInRange(cell);
        case TEntryOutcome::ConversionError:
            break;
    }
    return NotANumber(cell);
}

std::string JudgeDistanceCell(const std::string& cell, std::int32_t& distance) {
    // Up to five plain digits, the cells of a large paste, are the number they spell, as the
    // rules below read them too; this only spares their work.
    if (!cell.empty() && cell.size() <= 5 &&
        std::all_of(cell.begin(), cell.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        std::int32_t value = 0;
        for (const char digit : cell) {
            value = value * 10 + (digit - '0');
        }
        if (value <= MaxDistance) {
            distance = value;
            return {};
        }
    }
    distance = -1;
    if (IsBlankCell(cell)) {
        return NotInRange(cell);
    }
    const std::optional<std::string> text = Ungrouped(cell);
    if (!text) {
        return NotANumber(cell);
    }
    switch (JudgeIntegerEntry(*text, distance, 0, MaxDistance).Outcome) {
        case TEntryOutcome::Accepted:
            return {};
        case TEntryOutcome::Empty:
        case TEntryOutcome::OutOfRange:
            return NotInRange(cell);
        case TEntryOutcome::ConversionError:
            break;
    }
    return NotANumber(cell);
}
