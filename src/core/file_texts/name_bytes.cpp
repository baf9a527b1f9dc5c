#include "core/file_texts/name_bytes.h"

#include <utf8proc.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <string>

#include "core/network/network_store.h"

namespace {
// The characters of the bytes 0x80-0x9F; 0 where a byte stands for none.
constexpr std::array<char16_t, 32> HighControlBlock = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 0x88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 0x98
};
constexpr unsigned BlockStart = 0x80;
constexpr unsigned BlockEnd = BlockStart + HighControlBlock.size();

bool IsControlCharacter(char32_t code) {
    return code < 0x20 || (code >= 0x7F && code <= 0x9F);
}

// A pasted tab or line break parts two words, so it becomes a blank rather than nothing.
bool IsWordBreak(char32_t code) {
    return code == '\t' || code == '\n' || code == '\r';
}
}  // namespace

void AppendUtf8(std::string& text, char32_t code) {
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
}

char NameByte(char32_t code) {
    if (code < BlockStart || (code >= BlockEnd && code <= 0xFF)) {
        return static_cast<char>(code);
    }
    for (unsigned byte = BlockStart; byte < BlockEnd; ++byte) {
        if (HighControlBlock[byte - BlockStart] != 0 &&
            HighControlBlock[byte - BlockStart] == code) {
            return static_cast<char>(byte);
        }
    }
    // The Latin-1 controls U+0080-U+009F among them: their bytes mean other characters here.
    return '?';
}

bool IsHeldNameByte(unsigned char byte) {
    return byte >= 0x20 && byte != 0x7F && NameCharacter(byte) != 0;
}

char32_t NameCharacter(unsigned char byte) {
    if (byte < BlockStart || byte >= BlockEnd) {
        return byte;
    }
    return HighControlBlock[byte - BlockStart];
}

std::string HeldNodeName(std::u32string_view typed) {
    std::string held;
    held.reserve(typed.size());
    for (const char32_t code : typed) {
        if (IsWordBreak(code)) {
            held += ' ';
        } else if (!IsControlCharacter(code)) {
            held += NameByte(code);
        }
    }
    return held;
}

namespace {
// The code points of a name in UTF-8 text, composed (NFC) first, as the windows compose a
// typed or pasted name: "Cafe" and U+0301 is the "Caf\u00E9" of a typed "Caf\u00E9". Text
// that is not UTF-8 is taken as it is, a byte that starts no character standing for its own
// code.
std::u32string ComposedCodes(std::string_view utf8) {
    utf8proc_uint8_t* composed = nullptr;
    const utf8proc_ssize_t composedLength =
        utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(utf8.data()),
                     static_cast<utf8proc_ssize_t>(utf8.size()), &composed,
                     static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE));
    const std::string normal = composedLength >= 0
                                   ? std::string(reinterpret_cast<const char*>(composed),
                                                 static_cast<std::size_t>(composedLength))
                                   : std::string(utf8);
    std::free(composed);
    std::u32string codes;
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(normal.data());
    for (auto left = static_cast<utf8proc_ssize_t>(normal.size()); left > 0;) {
        utf8proc_int32_t code = 0;
        utf8proc_ssize_t taken = utf8proc_iterate(bytes, left, &code);
        if (taken <= 0) {
            code = *bytes;
            taken = 1;
        }
        codes += static_cast<char32_t>(code);
        bytes += taken;
        left -= taken;
    }
    return codes;
}

bool IsPlainAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c < 0x7F; });
}

// "\u0141" (U+0141), or U+007F alone for a control, which shows as nothing.
std::string CharacterText(char32_t code) {
    constexpr char Digits[] = "0123456789ABCDEF";
    std::string number;
    for (char32_t rest = code; rest != 0 || number.size() < 4; rest >>= 4) {
        number.insert(number.begin(), Digits[rest & 0xF]);
    }
    if (IsControlCharacter(code) || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
        return "U+" + number;
    }
    std::string text = "\"";
    AppendUtf8(text, code);
    return text + "\" (U+" + number + ")";
}

constexpr std::string_view CannotHold = ", which a demand data file cannot hold";
}  // namespace

std::string HeldNodeNameOfText(std::string_view utf8) {
    return IsPlainAscii(utf8) ? std::string(utf8) : HeldNodeName(ComposedCodes(utf8));
}

std::optional<char32_t> FirstUnheldCharacter(std::u32string_view typed) {
    for (const char32_t code : typed) {
        if (!IsWordBreak(code) &&
            (IsControlCharacter(code) || (NameByte(code) == '?' && code != U'?'))) {
            return code;
        }
    }
    return std::nullopt;
}

std::optional<char32_t> FirstUnheldCharacterOfText(std::string_view utf8) {
    return IsPlainAscii(utf8) ? std::nullopt : FirstUnheldCharacter(ComposedCodes(utf8));
}

std::optional<unsigned char> FirstUnheldByte(std::string_view held) {
    for (const char byte : held) {
        if (!IsHeldNameByte(static_cast<unsigned char>(byte))) {
            return static_cast<unsigned char>(byte);
        }
    }
    return std::nullopt;
}

std::string UnheldCharacterText(char32_t code) {
    return "the name holds " + CharacterText(code) + std::string(CannotHold);
}

std::string UnheldByteText(unsigned char byte) {
    if (NameCharacter(byte) != 0 || byte == 0) {
        return UnheldCharacterText(NameCharacter(byte));
    }
    constexpr char Digits[] = "0123456789ABCDEF";
    return std::string("the name holds the byte 0x") + Digits[byte >> 4] + Digits[byte & 0xF] +
           std::string(CannotHold);
}

std::string UnheldCharacterKeptText(char32_t code, std::string_view kept) {
    std::string text = UnheldCharacterText(code);
    text[0] = 'T';
    return text + ", so it is kept as \"" + std::string(kept) + "\".";
}

std::string TextOfNameBytes(std::string_view held) {
    std::string text;
    text.reserve(held.size());
    for (const char byte : held) {
        char32_t code = NameCharacter(static_cast<unsigned char>(byte));
        code = code == 0 && byte != 0 ? U'?' : code;
        AppendUtf8(text, code);
    }
    return text;
}

std::string TextOfReadBytes(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const char32_t code = NameCharacter(static_cast<unsigned char>(byte));
        AppendUtf8(text, code == 0 && byte != 0 ? static_cast<unsigned char>(byte) : code);
    }
    return text;
}

std::string LongNameText(std::size_t length) {
    return "the name holds " + std::to_string(length) + " characters; a name holds at most " +
           std::to_string(LongestNodeName);
}

std::string LongNameCutText(std::size_t length) {
    std::string text = LongNameText(length);
    text[0] = 'T';
    return text + ", so only its first " + std::to_string(LongestNodeName) + " are kept.";
}
