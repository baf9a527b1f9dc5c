#pragma once

// Rows of a spreadsheet as the clipboard carries them: tab-separated cells, one row a line.
//
// Reading: rows end with LF or CR LF (a lone CR too). A double quote at the start of a cell
// opens a quoted cell, which may hold tabs, line breaks and doubled quotes, and is closed
// only by a quote before a tab, a line end or the end of the text; any other quote is part
// of the cell:
//   "a\t\"b\tc\"\"d\"\n" -> one row, cells  a  and  b<tab>c"d
//   "\"North\t5\n5\" wide\t7" -> Row 1: a cell opens a quote that is never closed.
// Rows keep the numbers they have in the spreadsheet (line 1 is row 1, a quoted line break
// does not start a row), so a refusal names the row the planner sees. Spreadsheets copy an
// empty row as tabs and may end a row with empty cells, so a row whose cells are all empty
// or blank is left out like a blank line, and trailing empty or blank cells are no cells.
//
// Rows are read one at a time, from a text or from a source of bytes, so that no more is
// held than one row: of a row's cells only the first KeptCells are kept (more fit no row),
// and a cell longer than LongestCell bytes is refused.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

constexpr std::size_t KeptCells = 7;
constexpr std::size_t LongestCell = 65536;

// A cell of blanks alone (or none): such a cell counts as empty.
bool IsBlankCell(std::string_view cell);

struct TClipboardRow {
    int Number = 0;
    std::vector<std::string> Cells;  // at least one, the last neither empty nor blank
    std::size_t CellCount = 0;       // the cells up to the last one neither empty nor blank
    std::size_t Width = 0;           // the cells as written, trailing empty ones too
    bool NameBytes = false;          // not UTF-8: its cells taken in the bytes of names
    bool Raw = false;                // its cells are the bytes of a file as they came
};

// Fills buffer with up to size bytes and returns how many; 0 at the end.
using TByteSource = std::function<std::size_t(char* buffer, std::size_t size)>;

// The rows of a text or of a source of bytes, one at a time. A row whose bytes are not UTF-8
// is taken in the bytes names are held in (name_bytes.h), as a saved demand data file holds
// them; each row is decided on its own. A leading byte-order mark is dropped.
class TTabSeparatedReader {
  public:
    explicit TTabSeparatedReader(std::string_view text);
    explicit TTabSeparatedReader(TByteSource source);
    TTabSeparatedReader(const TTabSeparatedReader&) = delete;  // it views its own buffer
    TTabSeparatedReader& operator=(const TTabSeparatedReader&) = delete;

    // The next row that holds a cell, its cells kept when keep is set (else only counted);
    // false at the end, or at a refusal, which then names the row:
    //   "a\t\"b\nc" -> Refusal "Row 1: a cell opens a quote that is never closed."
    bool Next(TClipboardRow& row, bool keep = true);
    const std::string& Refusal() const { return Refused; }

    // The next row's numbers, for a reader that takes rows of plain digits without the
    // strings of Next(): true, numbers set, when the buffer holds the row up to its line end
    // and it is Count cells, each of 1 to longest[cell] ASCII digits (at most 9), separated by
    // tabs alone. Nothing is taken: Take() takes the row so seen and returns its number; any
    // other row is left to Next(), which so keeps every rule and every refusal.
    template <std::size_t Count>
    bool SeeDigitRow(const std::array<std::size_t, Count>& longest,
                     std::array<std::int32_t, Count>& numbers);
    int Take() {
        At = Seen;
        return NextNumber++;
    }

  private:
    bool More();  // true when a byte is at At, reading more from the source where needed
    bool ReadCell(TClipboardRow& row, std::string* cell, bool& blank);
    bool ReadPlainRow(TClipboardRow& row, bool keep, std::size_t& kept);
    bool ReadRow(TClipboardRow& row, bool keep, std::size_t& kept);

    TByteSource Source;
    bool FromBytes = false;          // read from a source of bytes, not from a text
    bool Ascii = false;              // the row just read is ASCII alone
    std::unique_ptr<char[]> Buffer;  // not cleared: only the bytes read are looked at
    std::string_view Data;
    std::size_t At = 0;
    std::size_t Seen = 0;  // where the row SeeDigitRow saw ends, past its line end
    bool Started = false;
    int NextNumber = 1;
    std::string Refused;
};

namespace TabSeparatedDetail {
// The bytes of a window that SeeDigitRow looks at, and which of them are no ASCII digit (one
// bit each, the first byte the lowest).
constexpr std::size_t Window = 16;
inline std::uint32_t NonDigits(const char* window) {
#if defined(__SSE2__)
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(window));
    const __m128i values = _mm_sub_epi8(bytes, _mm_set1_epi8('0'));
    const __m128i digits = _mm_cmpeq_epi8(_mm_min_epu8(values, _mm_set1_epi8(9)), values);
    return ~static_cast<std::uint32_t>(_mm_movemask_epi8(digits)) & 0xFFFF;
#else
    std::uint32_t stops = 0;
    for (std::size_t at = 0; at < Window; ++at) {
        const auto value = static_cast<unsigned char>(window[at] - '0');
        stops |= value < 10 ? 0 : 1u << at;
    }
    return stops;
#endif
}

}  // namespace TabSeparatedDetail

// A row whose cells are digits has no quote, no blank and no byte beyond ASCII, so Next()
// would read it as ReadPlainRow does: the same cells, the same line end. Such a row is looked
// at in one window of the buffer (rows of a large paste of numbers are shorter), the ends of
// its cells found at once.
template <std::size_t Count>
inline bool TTabSeparatedReader::SeeDigitRow(const std::array<std::size_t, Count>& longest,
                                             std::array<std::int32_t, Count>& numbers) {
    if (!Started || !Refused.empty() || Data.size() - At < TabSeparatedDetail::Window) {
        return false;  // the byte-order mark and a refusal are Next()'s
    }
    const char* const row = Data.data() + At;
    const std::uint32_t stops =
        TabSeparatedDetail::NonDigits(row) | 1u << TabSeparatedDetail::Window;
    std::size_t from = 0;
#pragma GCC unroll 4
    for (std::size_t cell = 0; cell < Count; ++cell) {
        const auto end = from + static_cast<std::size_t>(__builtin_ctz(stops >> from));
        if (end == from || end - from > longest[cell] || end + 1 >= TabSeparatedDetail::Window) {
            return false;
        }
        std::int32_t number = 0;
        for (std::size_t digit = from; digit < end; ++digit) {
            number = number * 10 + (row[digit] - '0');
        }
        numbers[cell] = number;
        const char stop = row[end];
        from = end + 1;
        if (cell + 1 < Count ? stop != '\t' : stop != '\n' && stop != '\r') {
            return false;
        }
    }
    from += row[from - 1] == '\r' && row[from] == '\n' ? 1 : 0;
    Seen = At + from;
    return true;
}
// All rows of a text at once, or none and the refusal.
struct TTabSeparatedRows {
    std::vector<TClipboardRow> Rows;
    std::string Refusal;
};
TTabSeparatedRows TabSeparatedRows(std::string_view text);

// One cell as written: in double quotes, with its quotes doubled, when it holds a tab, a line
// break or a quote, else as it is.   Depot -> Depot;   5" pipe -> "5"" pipe"
std::string TabSeparatedCell(std::string_view cell);

// A cell as a message shows it: in quotes, and its first 40 bytes only (never half a
// character) with "..." when it is longer.
std::string ShownCell(std::string_view cell);

// The refusals of a row, each ending with a full stop:
//   RowRefusal(4, "second demand", "\"x\" is not a number") -> Row 4, second demand: "x" is ...
//   RowShapeRefusal({1, {"Depot,12.5"}}, "A node row is ...")
//     -> Row 1 holds one cell: "Depot,12.5". A node row is ...
std::string RowRefusal(int row, std::string_view column, std::string_view why);
std::string RowShapeRefusal(const TClipboardRow& row, std::string_view shape);
