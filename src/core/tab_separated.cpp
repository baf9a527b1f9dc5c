#include "core/tab_separated.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(const std::string& cell) {
    return cell.find_first_not_of(' ') == std::string::npos;
}

std::string CountOfCells(std::size_t count) {
    constexpr const char* Words[] = {"no",  "one",   "two",   "three", "four", "five",
                                     "six", "seven", "eight", "nine",  "ten"};
    return (count < std::size(Words) ? std::string(Words[count]) : std::to_string(count)) +
           (count == 1 ? " cell" : " cells");
}

// A cell as a message shows it: in quotes, and its first 40 bytes only (never half a
// character) with "..." when it is longer.
std::string ShownCell(const std::string& cell) {
    constexpr std::size_t Longest = 40;
    if (cell.size() <= Longest) {
        return "\"" + cell + "\"";
    }
    std::size_t cut = Longest;
    while (cut > 0 && (static_cast<unsigned char>(cell[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    // Appended piece by piece: GCC 12 at -O3 takes "\"" + cell.substr(...) for an overlapping
    // copy and warns (-Wrestrict), which fails the Release build where warnings are errors.
    std::string shown = "\"";
    shown.append(cell, 0, cut);
    shown += "...\"";
    return shown;
}

}  // namespace

TTabSeparatedRows TabSeparatedRows(std::string_view text) {
    TTabSeparatedRows read;
    if (text.substr(0, ByteOrderMark.size()) == ByteOrderMark) {
        text.remove_prefix(ByteOrderMark.size());
    }
    std::vector<TClipboardRow>& rows = read.Rows;
    rows.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    TClipboardRow row{1, {}};
    row.Cells.reserve(5);
    std::size_t at = 0;
    for (;;) {
        std::string cell;
        const bool quoted = at < text.size() && text[at] == '"';
        bool closed = !quoted;
        for (at += quoted ? 1 : 0; quoted && at < text.size();) {
            const std::size_t quote = std::min(text.find('"', at), text.size());
            cell.append(text.substr(at, quote - at));
            at = quote + 1;
            closed = quote < text.size();
            if (at >= text.size() || text[at] != '"') {
                break;  // the closing quote; what follows up to the tab belongs to the cell
            }
            cell += '"';
            ++at;
            closed = false;
        }
        if (!closed) {
            read.Rows.clear();
            read.Refusal = RowRefusal(row.Number, "", "a cell opens a quote that is never closed");
            return read;
        }
        at = std::min(at, text.size());
        std::size_t end = at;
        while (end < text.size() && text[end] != '\t' && text[end] != '\n' && text[end] != '\r') {
            ++end;
        }
        cell.append(text.substr(at, end - at));
        row.Cells.push_back(std::move(cell));
        at = end;
        if (at < text.size() && text[at] == '\t') {
            ++at;
            continue;
        }
        while (!row.Cells.empty() && IsBlank(row.Cells.back())) {
            row.Cells.pop_back();
        }
        const int number = row.Number;
        if (!row.Cells.empty()) {
            rows.push_back(std::move(row));
        }
        at += at + 1 < text.size() && text[at] == '\r' && text[at + 1] == '\n' ? 2 : 1;
        if (at >= text.size()) {
            return read;
        }
        row = {number + 1, {}};
        row.Cells.reserve(5);
    }
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

bool IsHeaderCell(const std::string& cell) {
    return cell.find_first_not_of(' ') != std::string::npos &&
           cell.find_first_of("0123456789") == std::string::npos;
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
        "Row " + std::to_string(row.Number) + " holds " + CountOfCells(row.Cells.size()) + ": ";
    for (std::size_t cell = 0; cell < std::min(row.Cells.size(), Shown); ++cell) {
        refusal += (cell > 0 ? ", " : "") + ShownCell(row.Cells[cell]);
    }
    return refusal.append(row.Cells.size() > Shown ? ", ..." : "").append(". ").append(shape);
}
