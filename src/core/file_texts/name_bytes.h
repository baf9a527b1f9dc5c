#pragma once

// The single-byte character set in which node names are held, listed and written to the
// demand data file: Windows-1252. Printable Latin-1 characters keep their own byte; the
// typographic characters (euro sign, curly quotes, dashes, ellipsis, ...) have their bytes at
// 0x80-0x9F; five bytes there (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for no character.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The byte of one character, or '?' when the set has none for it (U+0080-U+009F included,
// whose bytes stand for other characters here). The controls below 0x80 keep their code;
// removing them is the caller's concern.
char NameByte(char32_t code);

// The character a held byte stands for, for the lists and the name field: U+0000 for the five
// bytes that stand for none (shown as "?", as the characters without a byte were stored).
char32_t NameCharacter(unsigned char byte);

// Whether a held name can hold the byte: no control (below 0x20, 0x7F) and none of the five
// bytes that stand for no character.
bool IsHeldNameByte(unsigned char byte);

// A typed name (its code points, composed where the set has a composed form) in the bytes in
// which it is held and written, one line per node, to the demand data file: a pasted tab, CR
// or LF becomes one blank, the other control characters (NUL, ESC, DEL, the C1 codes) are
// removed, and every character without a byte becomes "?". Blanks, "<", ">" and every other
// printable character are kept, at any length.
//   U"O\u2019Neill \u2013 S\u00FCd \u20AC" -> "O\x92Neill \x96 S\xFCd \x80"
//   U"Tab\there" -> "Tab here";  U"\u03A9" -> "?"
std::string HeldNodeName(std::u32string_view typed);

// Text in the bytes names are held in, as UTF-8: each byte the character it stands for, "?"
// for the five that stand for none.   "O\x92Neill \x80" -> "O\xE2\x80\x99Neill \xE2\x82\xAC"
std::string TextOfNameBytes(std::string_view held);

// The same for bytes read as names are held (a row that is not UTF-8), except that a byte
// that stands for no character becomes the control of its own code (0x81 -> U+0081), which
// no name holds, so that the reader refuses it instead of taking a "?".
std::string TextOfReadBytes(std::string_view bytes);

// The same for a name in UTF-8 text, such as a pasted cell; a byte that starts no character
// stands for the character of its own code. Printable ASCII is held as it is.
//   "O\xE2\x80\x99Neill" -> "O\x92Neill"
std::string HeldNodeNameOfText(std::string_view utf8);

// Why a name of length characters is not taken (longer than LongestNodeName, network_store.h):
//   5000 -> "the name holds 5000 characters; a name holds at most 4096"
std::string LongNameText(std::size_t length);
// The same where a longer name is typed or pasted into the name field, which keeps the first
// LongestNodeName:   5000 -> "The name holds 5000 characters; a name holds at most 4096, so
// only its first 4096 are kept."
std::string LongNameCutText(std::size_t length);

// The one rule of which characters a name can hold, for every reader of names (rows, saved
// lines, Open, a paste, the name field): what it refuses, all refuse, so that every pair the
// program writes opens again. A name cannot hold a control character (below U+0020, U+007F,
// U+0080-U+009F; a tab or line break aside, which parts words and becomes a blank) nor a
// character the set has no byte for. FirstUnheldCharacter gives the first such character of a
// typed name, or nothing when the name is held as it is.
//   U"\u0141\u00F3d\u017A" -> U'\u0141';  U"Caf\u00E9" -> nothing;  U"A\x7F" -> U'\x7F'
std::optional<char32_t> FirstUnheldCharacter(std::u32string_view typed);

// The same for a name in UTF-8 text, read as HeldNodeNameOfText reads it (composed first).
std::optional<char32_t> FirstUnheldCharacterOfText(std::string_view utf8);

// The first byte of held bytes (a saved name, byte for byte) that no name holds, or nothing.
std::optional<unsigned char> FirstUnheldByte(std::string_view held);

// Why a name is not taken, naming the character (a control by its code alone):
//   U'\u0141' -> "the name holds \"\u0141\" (U+0141), which a demand data file cannot hold"
//   U'\x7F' -> "the name holds U+007F, which a demand data file cannot hold"
std::string UnheldCharacterText(char32_t code);

// The same for a held byte, by the character it stands for, or by its value where it stands
// for none: 0x81 -> "the name holds the byte 0x81, which a demand data file cannot hold"
std::string UnheldByteText(unsigned char byte);

// The name field's warning, which keeps what it can (as UTF-8 text):
//   U'\u0141', "?\u00F3d?" -> "The name holds \"\u0141\" (U+0141), which a demand data file
//   cannot hold, so it is kept as \"?\u00F3d?\"."
std::string UnheldCharacterKeptText(char32_t code, std::string_view kept);

// Appends a character to UTF-8 text.
void AppendUtf8(std::string& text, char32_t code);
