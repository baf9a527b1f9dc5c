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
    return "\"" + std::string(text) + "\"";
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
    const Real48 held = Real48::Narrow(wide);
    if (held.Widen() < 0 || held.Widen() > MaxDistance) {
        return Quoted(Trimmed(text)) + " is not a value from 0 to 10000";
    }
    value = held;
    return {};
}

namespace {

// The characters of valid UTF-8 text.
std::u32string CodesOf(std::string_view utf8) {
    std::u32string codes;
    for (std::size_t at = 0; at < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[at]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (int more = 1; more < length && at + static_cast<std::size_t>(more) < utf8.size();
             ++more) {
            code = (code << 6) |
                   (static_cast<unsigned char>(utf8[at + static_cast<std::size_t>(more)]) & 0x3F);
        }
        codes += code;
        at += static_cast<std::size_t>(length);
    }
    return codes;
}

std::string CodeText(char32_t code) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
    return text;
}

std::string Utf8Of(char32_t code) {
    std::string text;
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
    return text;
}

bool IsControl(char32_t code) {
    return code < 0x20 || (code >= 0x7F && code <= 0x9F);
}

bool IsCombiningMark(char32_t code) {
    return code >= 0x300 && code <= 0x36F;
}

}  // namespace

// The names a demand data file can hold: no control character and none without a byte in the
// held set, refused rather than changed, so that the file names every place as the import
// did. (To become the one name rule of core/file_texts/name_bytes.h.)
std::string HeldImportName(std::string_view cell, bool utf8, std::string& held) {
    const std::string_view name = Trimmed(cell);
    if (name.empty()) {
        return "the name is empty";
    }
    if (!utf8) {
        for (const char c : name) {
            if (!IsHeldNameByte(static_cast<unsigned char>(c))) {
                char text[8];
                std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned char>(c));
                return std::string("the name holds the byte ") + text +
                       ", which a demand data file cannot hold";
            }
        }
        held = std::string(name);
    } else {
        const std::u32string codes = CodesOf(name);
        for (const char32_t code : codes) {
            if (IsControl(code)) {
                return "the name holds the control character " + CodeText(code) +
                       ", which a demand data file cannot hold";
            }
        }
        held = HeldNodeNameOfText(name);
        // Every "?" held that the name did not hold stands for a character without a byte.
        if (std::count(held.begin(), held.end(), '?') > std::count(name.begin(), name.end(), '?')) {
            char32_t missing = 0;
            for (const char32_t code : codes) {
                if (code != '?' && NameByte(code) == '?') {
                    if (!IsCombiningMark(code)) {
                        missing = code;
                        break;
                    }
                    missing = missing == 0 ? code : missing;  // one left alone by composing
                }
            }
            return "the name " + Quoted(name) + " holds the character " + Quoted(Utf8Of(missing)) +
                   " (" + CodeText(missing) + "), which a demand data file cannot hold";
        }
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
