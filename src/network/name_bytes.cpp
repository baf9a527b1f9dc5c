#include "network/name_bytes.h"

#include <array>

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
}  // namespace

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

QString NameText(std::string_view bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < BlockStart || byte >= BlockEnd) {
            text += QChar(byte);
        } else {
            const char16_t code = HighControlBlock[byte - BlockStart];
            text += code != 0 ? QChar(code) : QLatin1Char('?');
        }
    }
    return text;
}
