#include "core/rows/tab_separated.h"

#include <utf8proc.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "core/file_texts/name_bytes.h"

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t BufferSize = 1 << 16;

// The bytes that end an unquoted cell.
constexpr std::array<bool, 256> CellEnds = [] {
    std::array<bool, 256> ends{};
    ends['\t'] = ends['\n'] = ends['\r'] = true;
    return ends;
}();

// The bytes where a plain row stops or cuts a cell: a tab, its line end, or a quote, which
// the full reading handles.
constexpr std::array<bool, 256> RowStops = [] {
    std::array<bool, 256> stops = CellEnds;
    stops['"'] = true;
    return stops;
}();

bool IsUtf8(const std::string& text) {
    unsigned char high = 0;  // ASCII alone, the common case, in one pass the compiler widens
    for (const char byte : text) {
        high |= static_cast<unsigned char>(byte);
    }
    if (high < 0x80) {
        return true;
    }
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    auto left = static_cast<utf8proc_ssize_t>(text.size());
    while (left > 0) {
        if (*bytes < 0x80) {
            ++bytes;
            --left;
            continue;
        }
        utf8proc_int32_t code = 0;
        const utf8proc_ssize_t length = utf8proc_iterate(bytes, left, &code);
        if (length <= 0) {
            return false;
        }
        bytes += length;
        left -= length;
    }
    return true;
}

std::string CountOfCells(std::size_t count) {
    constexpr const char* Words[] = {"no",  "one",   "two",   "three", "four", "five",
                                     "six", "seven", "eight", "nine",  "ten"};
    return (count < std::size(Words) ? std::string(Words[count]) : std::to_string(count)) +
           (count == 1 ? " cell" : " cells");
}

}  // namespace

bool IsBlankCell(std::string_view cell) {
    return cell.find_first_not_of(' ') == std::string_view::npos;
}

TTabSeparatedReader::TTabSeparatedReader(std::string_view text) : Data(text) {}

TTabSeparatedReader::TTabSeparatedReader(TByteSource source)
    : Source(std::move(source)), FromBytes(true), Buffer(new char[BufferSize]) {}

bool TTabSeparatedReader::More() {
    if (At < Data.size()) {
        return true;
    }
    if (!Source) {
        return false;
    }
    const std::size_t count = Source(Buffer.get(), BufferSize);
    Data = std::string_view(Buffer.get(), count);
    At = 0;
    if (count == 0) {
        Source = nullptr;
    }
    return count > 0;
}

// Reads one cell up to its end (not taken), into cell where it is kept; false at a refusal.
// No more is looked at than the longest cell and one byte: an endless cell is refused there.
bool TTabSeparatedReader::ReadCell(TClipboardRow& row, std::string* cell, bool& blank) {
    std::size_t length = 0;
    const auto take = [&](std::string_view part) {
        blank = blank && IsBlankCell(part);
        length += part.size();
        if (cell != nullptr && length <= LongestCell) {
            cell->append(part);
        }
        return length <= LongestCell;
    };
    // The bytes from At that may still belong to the cell before it is too long.
    const auto window = [&] { return std::min(Data.size() - At, LongestCell + 1 - length); };
    const auto tooLong = [&] {
        Refused = RowRefusal(row.Number, "",
                             "a cell holds more than " + std::to_string(LongestCell) + " bytes");
        return false;
    };
    blank = true;
    if (More() && Data[At] == '"') {
        ++At;
        for (;;) {
            if (!More()) {
                Refused = RowRefusal(row.Number, "", "a cell opens a quote that is never closed");
                return false;
            }
            const std::string_view part = Data.substr(At, window());
            const std::size_t quote = std::min(part.find('"'), part.size());
            At += quote;
            if (!take(part.substr(0, quote))) {
                return tooLong();
            }
            if (quote == part.size()) {
                continue;
            }
            ++At;  // the quote: doubled, closing, or a quote of the cell
            if (!More() || CellEnds[static_cast<unsigned char>(Data[At])]) {
                break;
            }
            if (!take("\"")) {
                return tooLong();
            }
            At += Data[At] == '"' ? 1 : 0;
        }
    } else {
        while (More()) {
            const std::size_t stop = At + window();
            std::size_t end = At;
            while (end < stop && !CellEnds[static_cast<unsigned char>(Data[end])]) {
                ++end;
            }
            const bool within = take(Data.substr(At, end - At));
            At = end;
            if (!within) {
                return tooLong();
            }
            if (At < Data.size() && CellEnds[static_cast<unsigned char>(Data[At])]) {
                break;
            }
        }
    }
    return true;
}

// Reads a row that the buffer holds up to its line end and that has no quote, as the most
// rows of a large paste are, cut at its tabs in the same pass that finds its end; false, with
// nothing taken, for any other row. Its end is the first CR or LF (a CR LF, or a CR alone when
// the buffer shows the byte after it), so that no row looks further than its own end.
bool TTabSeparatedReader::ReadPlainRow(TClipboardRow& row, bool keep, std::size_t& kept) {
    const char* const start = Data.data() + At;
    const char* const last = Data.data() + Data.size();
    const char* from = start;
    std::size_t width = 0;
    std::size_t cellCount = 0;
    std::size_t keptCells = 0;
    bool blank = true;
    unsigned char high = 0;
    const char* at = start;
    for (;; ++at) {
        if (at == last) {
            return false;
        }
        const auto byte = static_cast<unsigned char>(*at);
        if (!RowStops[byte]) {
            blank = blank && byte == ' ';
            high |= byte;
            continue;
        }
        const auto size = static_cast<std::size_t>(at - from);
        if (byte == '"' || size > LongestCell) {
            return false;  // read in full, which refuses a cell too long where it starts to be
        }
        if (keep && width < KeptCells) {
            if (row.Cells.size() <= width) {
                row.Cells.emplace_back();
            }
            row.Cells[width].assign(from, size);
            keptCells = width + 1;
        }
        ++width;
        cellCount = blank ? cellCount : width;
        if (byte != '\t') {
            break;
        }
        from = at + 1;
        blank = true;
    }
    if (*at == '\r') {
        if (at + 1 == last) {
            return false;
        }
        at += at[1] == '\n' ? 1 : 0;
    }
    row.Number = NextNumber++;
    row.Width = width;
    row.CellCount = cellCount;
    kept = keptCells;
    Ascii = high < 0x80;
    At += static_cast<std::size_t>(at - start) + 1;
    return true;
}

// Reads any row, cell by cell, refilling the buffer as needed; false at a refusal.
bool TTabSeparatedReader::ReadRow(TClipboardRow& row, bool keep, std::size_t& kept) {
    Ascii = false;  // not known: its cells are looked at
    row.Number = NextNumber++;
    row.CellCount = 0;
    row.Width = 0;
    kept = 0;
    for (;;) {
        std::string* cell = nullptr;
        if (keep && row.Width < KeptCells) {
            if (row.Cells.size() <= row.Width) {
                row.Cells.emplace_back();
            }
            cell = &row.Cells[row.Width];
            cell->clear();
            kept = row.Width + 1;
        }
        bool blank = true;
        if (!ReadCell(row, cell, blank)) {
            return false;
        }
        ++row.Width;
        row.CellCount = blank ? row.CellCount : row.Width;
        if (More() && Data[At] == '\t') {
            ++At;
            continue;
        }
        if (More() && Data[At] == '\r') {
            ++At;
            if (More() && Data[At] == '\n') {
                ++At;
            }
        } else if (More()) {
            ++At;  // LF
        }
        return true;
    }
}

bool TTabSeparatedReader::Next(TClipboardRow& row, bool keep) {
    if (!Started) {
        Started = true;
        // A stream may hand the mark over in pieces: it is read on until the mark is whole,
        // or the bytes so far start no mark.
        if (More() && Source) {
            std::size_t count = Data.size();
            while (Source && count < ByteOrderMark.size() &&
                   Data == ByteOrderMark.substr(0, count)) {
                const std::size_t more = Source(Buffer.get() + count, BufferSize - count);
                if (more == 0) {
                    Source = nullptr;
                }
                count += more;
                Data = std::string_view(Buffer.get(), count);
            }
        }
        if (More() && Data.substr(At, ByteOrderMark.size()) == ByteOrderMark) {
            At += ByteOrderMark.size();
        }
    }
    while (Refused.empty() && More()) {
        std::size_t kept = 0;
        if (!ReadPlainRow(row, keep, kept) && !ReadRow(row, keep, kept)) {
            break;
        }
        if (!Refused.empty()) {
            break;
        }
        row.Cells.resize(std::min({kept, row.CellCount, KeptCells}));
        if (row.CellCount == 0) {
            continue;
        }
        row.NameBytes = !Ascii && !std::all_of(row.Cells.begin(), row.Cells.end(), IsUtf8);
        row.Raw = FromBytes && !row.NameBytes;
        if (row.NameBytes) {
            for (std::string& cell : row.Cells) {
                cell = TextOfReadBytes(cell);
            }
        }
        return true;
    }
    row.Cells.clear();
    return false;
}

TTabSeparatedRows TabSeparatedRows(std::string_view text) {
    TTabSeparatedRows read;
    TTabSeparatedReader reader(text);
    TClipboardRow row;
    while (reader.Next(row)) {
        read.Rows.push_back(row);
    }
    read.Refusal = reader.Refusal();
    if (!read.Refusal.empty()) {
        read.Rows.clear();
    }
    return read;
}

std::string TabSeparatedCell(std::string_view cell) {
    if (cell.find_first_of("\t\r\n\"") == std::string_view::npos) {
        return std::string(cell);
    }
    std::string quoted = "\"";
    for (const char c : cell) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + "\"";
}

std::string ShownCell(std::string_view cell) {
    constexpr std::size_t Longest = 40;
    std::size_t cut = std::min(cell.size(), Longest);
    while (cut < cell.size() && cut > 0 && (static_cast<unsigned char>(cell[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    // Appended piece by piece: GCC 12 at -O3 takes "\"" + text + "\"" for an overlapping copy
    // and warns (-Wrestrict), which fails the Release build where warnings are errors.
    std::string shown = "\"";
    shown.append(cell.substr(0, cut));
    shown += cut < cell.size() ? "...\"" : "\"";
    return shown;
}

std::string RowRefusal(int row, std::string_view column, std::string_view why) {
    std::string refusal = "Row " + std::to_string(row);
    if (!column.empty()) {
        refusal.append(", ").append(column);
    }
    return refusal.append(": ").append(why).append(".");
}

std::string RowShapeRefusal(const TClipboardRow& row, std::string_view shape) {
    constexpr std::size_t Shown = 6;
    std::string refusal =
        "Row " + std::to_string(row.Number) + " holds " + CountOfCells(row.CellCount) + ": ";
    for (std::size_t cell = 0; cell < std::min(row.Cells.size(), Shown); ++cell) {
        refusal += (cell > 0 ? ", " : "") + ShownCell(row.Cells[cell]);
    }
    return refusal.append(row.CellCount > Shown ? ", ..." : "").append(". ").append(shape);
}
