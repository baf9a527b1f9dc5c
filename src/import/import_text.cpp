#include "import/import_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/file_texts/name_bytes.h"

void Refuse(int line, int cell, std::string reason) {
    throw TImportRefused{{line, cell, std::move(reason)}};
}

std::vector<TTextLine> SplitLines(std::string_view text) {
    std::vector<TTextLine> lines;
    std::size_t start = 0;
    int number = 1;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back({number, text.substr(start)});
            break;
        }
        lines.push_back({number++, text.substr(start, end - start)});
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::vector<std::string_view> BlankParted(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && IsBlank(text[at])) {
            ++at;
        }
        const std::size_t start = at;
        while (at < text.size() && !IsBlank(text[at])) {
            ++at;
        }
        if (at > start) {
            words.push_back(text.substr(start, at - start));
        }
    }
    return words;
}

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    quoted.append(text);
    quoted += '"';
    return quoted;
}

}  // namespace

std::string ReadNumber(std::string_view text, bool decimalComma, double& value) {
    const std::string_view number = Trimmed(text);
    std::string plain;  // the text from_chars reads: no plus sign, a point as decimal mark
    std::size_t at = 0;
    if (at < number.size() && (number[at] == '+' || number[at] == '-')) {
        if (number[at] == '-') {
            plain += '-';
        }
        ++at;
    }
    std::string lower;
    for (std::size_t c = at; c < number.size(); ++c) {
        lower +=
            static_cast<char>(number[c] >= 'A' && number[c] <= 'Z' ? number[c] + 32 : number[c]);
    }
    if (lower == "nan" || lower == "inf" || lower == "infinity") {
        return Quoted(number) + " is not a finite number";
    }
    int digits = 0;
    bool point = false;
    for (; at < number.size(); ++at) {
        const char c = number[at];
        if (IsDigit(c)) {
            ++digits;
            plain += c;
        } else if (!point && (c == '.' || (decimalComma && c == ','))) {
            point = true;
            plain += '.';
        } else {
            break;
        }
    }
    if (digits > 0 && at < number.size() && (number[at] == 'e' || number[at] == 'E')) {
        plain += 'e';
        ++at;
        if (at < number.size() && (number[at] == '+' || number[at] == '-')) {
            plain += number[at++];
        }
        const std::size_t exponent = at;
        while (at < number.size() && IsDigit(number[at])) {
            plain += number[at++];
        }
        digits = at > exponent ? digits : 0;
    }
    if (digits == 0 || at != number.size()) {
        return number.empty() ? "an empty cell is not a number"
                              : Quoted(number) + " is not a number";
    }
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too small for a double is 0; too large is no finite number.
        const std::size_t e = plain.find('e');
        if (e != std::string::npos && plain[e + 1] == '-') {
            value = 0;
            return {};
        }
        return Quoted(number) + " is not a finite number";
    }
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value)) {
        return Quoted(number) + " is not a number";
    }
    value = value == 0 ? 0.0 : value;  // -0 is 0
    return {};
}

std::string ReadDistance(std::string_view text, bool decimalComma, double& value) {
    std::string reason = ReadNumber(text, decimalComma, value);
    if (reason.empty() && value < 0) {
        reason = Quoted(Trimmed(text)) + " is negative; a distance is 0 or more";
    }
    return reason;
}

bool ReadCount(std::string_view text, long long& value) {
    if (text.empty() || text.size() > 15 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return IsDigit(c); })) {
        return false;
    }
    std::from_chars(text.data(), text.data() + text.size(), value);
    return true;
}

std::string ReadNodeValue(std::string_view text, bool decimalComma, Real48& value) {
    double number = 0;
    std::string reason = ReadNumber(text, decimalComma, number);
    if (!reason.empty()) {
        return reason;
    }
    // The decimal text itself narrowed, as a typed value is: through the extended type, not
    // through the double.
    std::string plain(Trimmed(text));
    std::replace(plain.begin(), plain.end(), ',', '.');
    if (!plain.empty() && plain[0] == '+') {
        plain.erase(0, 1);
    }
    long double wide = number;
    std::from_chars(plain.data(), plain.data() + plain.size(), wide);
    const std::string outside = Quoted(Trimmed(text)) + " is not a value from 0 to 10000";
    // Far outside, it is said so before the narrowing, which a value beyond the 6-byte real's
    // range would overflow.
    if (!(wide >= -1 && wide <= MaxDistance + 1)) {
        return outside;
    }
    const Real48 held = Real48::Narrow(wide);
    if (held.Widen() < 0 || held.Widen() > MaxDistance) {
        return outside;
    }
    value = held;
    return {};
}

// The names a demand data file can hold, by the one rule of every reader of names: a character
// the file cannot hold is refused rather than changed, so that the file names every place as
// the import did.
std::string HeldImportName(std::string_view cell, bool utf8, std::string& held) {
    const std::string_view name = Trimmed(cell);
    if (name.empty()) {
        return "the name is empty";
    }
    if (!utf8) {
        if (const std::optional<unsigned char> byte = FirstUnheldByte(name)) {
            return UnheldByteText(*byte);
        }
        held = std::string(name);
    } else {
        if (const std::optional<char32_t> code = FirstUnheldCharacterOfText(name)) {
            return UnheldCharacterText(*code);
        }
        held = HeldNodeNameOfText(name);
    }
    if (held.size() > LongestNodeName) {
        return LongNameText(held.size());
    }
    return {};
}

std::string QuotedName(const std::string& held) {
    return Quoted(TextOfNameBytes(held));
}

std::string NumberText(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

void TImportBuilder::StartNumbered(long long nodes) {
    if (nodes > MaxNodes) {
        Refuse(0, 0,
               "The file holds " + std::to_string(nodes) + " nodes; a network holds at most " +
                   std::to_string(MaxNodes) + ".");
    }
    for (long long node = 1; node <= nodes; ++node) {
        AddNamed(std::to_string(node), 0, 0);
    }
    FinishNodes();
}

int TImportBuilder::AddNamed(const std::string& held, int line, int cell) {
    const auto [where, added] = NodesByName.emplace(held, Count() + 1);
    if (!added) {
        Refuse(line, cell, "the name " + QuotedName(held) + " is there twice");
    }
    if (Count() == MaxNodes) {
        Refuse(line, cell,
               QuotedName(held) + " is place " + std::to_string(MaxNodes + 1) +
                   "; a network holds at most " + std::to_string(MaxNodes));
    }
    TNodeSlot node;
    node.Name = held;
    node.FirstDemand = Real48::Narrow(1);
    Values.Nodes.push_back(node);
    return where->second;
}

int TImportBuilder::NodeOfName(const std::string& held) const {
    const auto found = NodesByName.find(held);
    return found == NodesByName.end() ? 0 : found->second;
}

void TImportBuilder::FinishNodes() {
    if (Count() < 2) {
        Refuse(0, 0,
               "The file holds " + std::to_string(Count()) + (Count() == 1 ? " node" : " nodes") +
                   "; a network needs at least 2.");
    }
    Values.Values.assign(static_cast<std::size_t>(Count()) * static_cast<std::size_t>(Count()),
                         std::nullopt);
}

void TImportBuilder::SetValue(int i, int j, double value, int line, int cell) {
    if (i != j) {
        Value(i, j) = value;
    } else if (value != 0) {
        Refuse(line, cell,
               "the distance from " + QuotedName(Node(i).Name) + " to itself is " +
                   NumberText(value) + ", not 0");
    }
}
