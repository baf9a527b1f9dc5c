// The Windows-1252 bytes of node names: the corners of the 0x80-0x9F block in both
// directions, every byte back to itself through its character, and a typed name in the bytes
// in which it is held.

#include <string>

#include "core/file_texts/name_bytes.h"
#include "core_test.h"

namespace {

using NameBytesTest = CoreTest;

// Held bytes -> the characters they stand for, U+0000 where a byte stands for none.
TEST_F(NameBytesTest, CharactersOfHeldBytes) {
    struct TRow {
        const char* Name;
        std::string Bytes;
        std::u32string Characters;
    };
    const TRow rows[] = {
        {"0x80 euro", "\x80", U"\u20AC"},
        {"0x9F Y diaeresis", "\x9f", U"\u0178"},
        {"quote and dash", "O\x92N \x96", U"O\u2019N \u2013"},
        {"five bytes without a character", "\x81\x8d\x8f\x90\x9d", std::u32string(5, U'\0')},
        {"Latin-1 range kept", "\x7f\xa0\xe9\xff", U"\u007f\u00a0\u00e9\u00ff"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        std::u32string characters;
        for (const char byte : row.Bytes) {
            characters += NameCharacter(static_cast<unsigned char>(byte));
        }
        EXPECT_EQ(characters, row.Characters);
    }
}

// A name read back from the list, the field or UTF-8 text must be stored with the bytes it had; the
// five bytes without a character come back as "?", as they are shown.
TEST_F(NameBytesTest, EveryByteBackToItselfThroughItsCharacter) {
    const std::string withoutCharacter = "\x81\x8d\x8f\x90\x9d";
    for (int byte = 0; byte < 256; ++byte) {
        SCOPED_TRACE(byte);
        const char held = static_cast<char>(byte);
        const char32_t character = NameCharacter(static_cast<unsigned char>(byte));
        const bool none = withoutCharacter.find(held) != std::string::npos;
        EXPECT_EQ(character == 0 && byte != 0, none);
        if (!none) {
            EXPECT_EQ(NameByte(character), held);
        }
        // And through UTF-8 text, as the command line shows and reads names.
        if (byte >= ' ' && byte != 0x7F) {
            EXPECT_EQ(HeldNodeNameOfText(TextOfNameBytes(std::string(1, held))),
                      none ? "?" : std::string(1, held));
        }
    }
    EXPECT_EQ(NameByte(U'Ω'), '?');
    EXPECT_EQ(NameByte(U'\u0081'), '?');  // a Latin-1 control, not byte 0x81
}

// Typed code points -> held bytes. Composing a typed name and pairing its surrogates is the
// text side's work (platform/services/name_text.h).
TEST_F(NameBytesTest, HeldNodeName) {
    struct TRow {
        const char* Name;
        std::u32string Typed;
        std::string Stored;
    };
    const TRow rows[] = {
        {"plain", U"North Riverside Depot", "North Riverside Depot"},
        {"blanks and brackets kept", U"  <Depot> & Co.  ", "  <Depot> & Co.  "},
        {"tab becomes a blank", U"North\tDepot", "North Depot"},
        {"each CR and LF becomes a blank", U"North\r\nDepot\n", "North  Depot "},
        {"NUL, ESC and DEL removed",
         std::u32string(U"A\0B\x1b"
                        U"C\x7f"
                        U"D",
                        7),
         "ABCD"},
        {"C1 controls removed", U"A\u0085B\u009fC", "ABC"},
        {"codes of the five bytes without a character removed", U"A\u0081\u008d\u008f\u0090\u009dB",
         "AB"},
        {"Latin-1 letters kept", U"Caf\u00e9 M\u00fcnster \u00bd", "Caf\xe9 M\xfcnster \xbd"},
        {"no-break space kept", U"A\u00a0B",
         "A\xa0"
         "B"},
        {"typographic characters get their Windows-1252 bytes", U"O’Neill – Süd €",
         "\x4f\x92\x4e\x65\x69\x6c\x6c\x20\x96\x20\x53\xfc\x64\x20\x80"},
        {"block corners", U"\u20ac\u0178", "\x80\x9f"},
        {"beyond Windows-1252 becomes ?", U"\u03a9 Hub \u20ac5",
         "? Hub \x80"
         "5"},
        {"one ? for a character beyond the basic plane", U"Depot \U0001F69A", "Depot ?"},
        {"line separator becomes ?", U"A\u2028B", "A?B"},
        {"long name kept whole", std::u32string(300, U'x'), std::string(300, 'x')},
        {"empty", U"", ""},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(HeldNodeName(row.Typed), row.Stored);
    }
}

}  // namespace

// The one rule of what a name can hold, against what it is held as: a name the rule takes is
// held character for character (its bytes give its text back), and the first character it
// refuses is the one the messages name.
TEST(NameRuleTest, FirstCharacterANameCannotHold) {
    struct TRow {
        std::string Text;  // UTF-8
        char32_t First;    // 0: held as it is
        std::string Why;   // the refusal's words, for a refused name
    };
    const TRow rows[] = {
        {"Depot", 0, ""},
        {"O\xE2\x80\x99Neill \xE2\x80\x93 S\xC3\xBC"
         "d \xE2\x82\xAC ?",
         0, ""},
        {"Cafe\xCC\x81", 0, ""},  // composed first: the byte of "é"
        {"\xC5\x81\xC3\xB3"
         "d\xC5\xBA",
         U'\u0141', "the name holds \"\xC5\x81\" (U+0141), which a demand data file cannot hold"},
        {"De\x7Fpot", U'\x7F', "the name holds U+007F, which a demand data file cannot hold"},
        {"B\xC2\x81x", U'\u0081', "the name holds U+0081, which a demand data file cannot hold"},
        {"A\x1B", U'\x1B', "the name holds U+001B, which a demand data file cannot hold"},
        {"\xF0\x9F\x9A\x9A bus", U'\U0001F69A',
         "the name holds \"\xF0\x9F\x9A\x9A\" (U+1F69A), which a demand data file cannot hold"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Text);
        const auto first = FirstUnheldCharacterOfText(row.Text);
        EXPECT_EQ(first.value_or(0), row.First);
        if (first) {
            EXPECT_EQ(UnheldCharacterText(*first), row.Why);
        } else {
            EXPECT_EQ(TextOfNameBytes(HeldNodeNameOfText(row.Text)),
                      row.Text == "Cafe\xCC\x81" ? "Caf\xC3\xA9" : row.Text);
        }
    }
    // Held bytes: a saved name byte for byte, by the character each stands for.
    EXPECT_FALSE(FirstUnheldByte("O\x92Neill \x80"));
    EXPECT_EQ(FirstUnheldByte("A\x7F\x81").value_or(0), 0x7F);
    EXPECT_EQ(UnheldByteText(0x8D),
              "the name holds the byte 0x8D, which a demand data file cannot hold");
    EXPECT_EQ(UnheldCharacterKeptText(U'\u0141',
                                      "?\xC3\xB3"
                                      "d?"),
              "The name holds \"\xC5\x81\" (U+0141), which a demand data file cannot hold, so it "
              "is kept as \"?\xC3\xB3"
              "d?\".");
}
