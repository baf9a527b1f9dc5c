#pragma once

// The single-byte character set in which node names are held, listed and written to the
// demand data file: Windows-1252. Printable Latin-1 characters keep their own byte; the
// typographic characters (euro sign, curly quotes, dashes, ellipsis, ...) have their bytes at
// 0x80-0x9F; five bytes there (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for no character.

#include <QString>
#include <string_view>

// The byte of one character, or '?' when the set has none for it (U+0080-U+009F included,
// whose bytes stand for other characters here). The controls below 0x80 keep their code;
// removing them is the caller's concern.
char NameByte(char32_t code);

// Held bytes as text, for the lists and the name field. A byte that stands for no character
// is shown as "?", as the characters without a byte were stored.
QString NameText(std::string_view bytes);
