#include "core/clipboard_rows.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <optional>
#include <unordered_map>

#include "core/entry_rules.h"
#include "core/errors.h"
#include "core/link_lines.h"
#include "core/name_bytes.h"
#include "core/separators.h"
#include "core/spreadsheet_forms.h"
#include "core/text_to_number.h"

namespace {

constexpr const char* ValueColumns[] = {"first demand", "second demand", "fixed cost"};
constexpr const char* EndColumns[] = {"origin", "destination"};

// The code points of UTF-8 text; a byte that starts no character stands for itself.
std::u32string CodePoints(std::string_view text) {
    std::u32string codes;
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const int length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        int taken = 1;
        while (taken < length && at + taken < text.size() &&
               (static_cast<unsigned char>(text[at + taken]) & 0xC0) == 0x80) {
            code = (code << 6) | (static_cast<unsigned char>(text[at + taken]) & 0x3F);
            ++taken;
        }
        codes += taken == length ? code : char32_t{lead};
        at += static_cast<std::size_t>(taken == length ? length : 1);
    }
    return codes;
}

// The name a typed or pasted text is held as; printable ASCII is held as it is.
std::string HeldName(std::string_view text) {
    if (std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c < 0x7F; })) {
        return std::string(text);
    }
    return HeldNodeName(CodePoints(text));
}

bool IsNumber(const std::string& cell) {
    try {
        StrToFloat(cell);
        return true;
    } catch (const EConvertError&) {
        return false;
    }
}

// A header: value cells with text in them, none of which is a number.
bool IsHeader(const std::vector<std::string>& values) {
    return std::any_of(values.begin(), values.end(), [](const auto& v) { return !v.empty(); }) &&
           std::none_of(values.begin(), values.end(), IsNumber);
}

std::string RowRefusal(int row, const std::string& column, const std::string& why) {
    return "Row " + std::to_string(row) + (column.empty() ? "" : ", " + column) + ": " + why + ".";
}

std::string NotANumber(const std::string& cell) {
    return "\"" + cell + "\" is not a number from 0 to " + std::to_string(MaxDistance);
}

// A value cell through the rules of a node value field: empty is 0.
bool JudgeNodeValue(const std::string& cell, Real48& value) {
    value = Real48::Narrow(0);
    const TEntryOutcome outcome =
        JudgeRealEntry(cell, value, Real48::Narrow(0), Real48::Narrow(MaxDistance)).Outcome;
    return outcome == TEntryOutcome::Accepted || outcome == TEntryOutcome::Empty;
}

// A line of a saved demand data file: its three values (with "." as their decimal point) and
// its name, or nothing when the line is not one.
std::optional<std::vector<std::string>> DemandDataLineCells(const std::string& line) {
    constexpr std::string_view Constant = "    0.0    0.0    ";
    const std::size_t end = line.size() >= 2 && line.compare(line.size() - 2, 2, " >") == 0
                                ? line.size() - 2
                                : std::string::npos;
    if (line.size() < 78 || end == std::string::npos || line.compare(4, 18, Constant) != 0 ||
        line.compare(71, 5, "   < ") != 0) {
        return std::nullopt;
    }
    std::vector<std::string> cells{line.substr(76, end - 76)};
    for (const std::size_t at : {22, 39, 56}) {
        std::string value = line.substr(at, 15);
        std::replace(value.begin(), value.end(), '.', FormatSeparators().Decimal);
        cells.push_back(value);
    }
    return cells;
}

// The nodes of a network by number, or by a name that exactly one node has.
class TNodeFinder {
  public:
    explicit TNodeFinder(const TNetworkStore& network) : Network(network) {
        for (int node = 1; node <= network.NumNodes; ++node) {
            const auto [at, added] = ByName.emplace(network.NodeNames[node], node);
            if (!added) {
                at->second = 0;  // more than one node has it
            }
        }
    }

    // The node the cell names, or nothing with why set.
    std::optional<int> NodeOf(const std::string& cell, std::string& why) const {
        const bool digits = !cell.empty() && std::all_of(cell.begin(), cell.end(), [](char c) {
            return c >= '0' && c <= '9';
        });
        if (digits) {
            const int number = cell.size() > 3 ? MaxNodes + 1 : std::stoi(cell);
            if (number >= 1 && number <= Network.NumNodes) {
                return number;
            }
            why = "there is no node " + cell;
            return std::nullopt;
        }
        const auto found = ByName.find(HeldName(cell));
        if (found == ByName.end()) {
            why = "no node is called \"" + cell + "\"";
            return std::nullopt;
        }
        if (found->second == 0) {
            why = "more than one node is called \"" + cell + "\"";
            return std::nullopt;
        }
        return found->second;
    }

  private:
    const TNetworkStore& Network;
    std::unordered_map<std::string, int> ByName;
};

}  // namespace

std::vector<TClipboardRow> TabSeparatedRows(std::string_view text) {
    std::vector<TClipboardRow> rows;
    rows.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    TClipboardRow row{1, {}};
    row.Cells.reserve(5);
    bool quotedCell = false;
    std::size_t at = 0;
    for (;;) {
        std::string cell;
        const bool quoted = at < text.size() && text[at] == '"';
        quotedCell = quotedCell || quoted;
        for (at += quoted ? 1 : 0; quoted && at < text.size();) {
            const std::size_t quote = std::min(text.find('"', at), text.size());
            cell.append(text.substr(at, quote - at));
            at = quote + 1;
            if (at >= text.size() || text[at] != '"') {
                break;  // the closing quote; what follows up to the tab belongs to the cell
            }
            cell += '"';
            ++at;
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
        const int number = row.Number;
        if (row.Cells.size() > 1 || !row.Cells.front().empty() || quotedCell) {
            rows.push_back(std::move(row));
        }
        at += at + 1 < text.size() && text[at] == '\r' && text[at + 1] == '\n' ? 2 : 1;
        if (at >= text.size()) {
            return rows;
        }
        row = {number + 1, {}};
        row.Cells.reserve(5);
        quotedCell = false;
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

std::string ShortestValueText(const Real48& value) {
    char text[64];
    for (int decimals = 0;; ++decimals) {
        std::snprintf(text, sizeof text, "%.*Lf", decimals, value.Widen());
        std::string shown = text;
        std::replace(shown.begin(), shown.end(), '.', FormatSeparators().Decimal);
        if (decimals >= 20 || Real48::Narrow(StrToFloat(shown)) == value) {
            return shown;
        }
    }
}

std::string NodeRowsText(const TNetworkStore& network) {
    return TabSeparatedText(NodeSheetRows(network));
}

std::string LinkRowsText(const TNetworkStore& network) {
    return TabSeparatedText(LinkSheetRows(network));
}

TNodeRowsReading ReadNodeRows(std::string_view text, int room) {
    TNodeRowsReading reading;
    std::vector<TClipboardRow> rows = TabSeparatedRows(text);
    for (TClipboardRow& row : rows) {
        std::vector<std::string>& cells = row.Cells;
        if (cells.size() == 1) {
            cells = DemandDataLineCells(cells.front()).value_or(cells);
        }
        cells.resize(std::max<std::size_t>(cells.size(), 4));
        if (&row == &rows.front() && IsHeader({cells.begin() + 1, cells.begin() + 4})) {
            continue;
        }
        if (std::any_of(cells.begin() + 4, cells.end(), [](const auto& c) { return !c.empty(); })) {
            reading.Refusal = RowRefusal(row.Number, "", "more than four cells");
            break;
        }
        TPastedNode node{HeldName(cells[0]), {}, {}, {}};
        Real48* const values[] = {&node.FirstDemand, &node.SecondDemand, &node.FixedCost};
        for (int column = 0; column < 3 && reading.Refusal.empty(); ++column) {
            if (!JudgeNodeValue(cells[column + 1], *values[column])) {
                reading.Refusal =
                    RowRefusal(row.Number, ValueColumns[column], NotANumber(cells[column + 1]));
            }
        }
        if (!reading.Refusal.empty()) {
            break;
        }
        reading.Nodes.push_back(node);
    }
    if (reading.Refusal.empty() && static_cast<int>(reading.Nodes.size()) > room) {
        reading.Refusal = "The clipboard holds " + std::to_string(reading.Nodes.size()) +
                          " nodes; " + std::to_string(room) + " more fit into the table.";
    }
    if (!reading.Refusal.empty()) {
        reading.Nodes.clear();
    }
    return reading;
}

TLinkRowsReading ReadLinkRows(std::string_view text, const TNetworkStore& network) {
    TLinkRowsReading reading;
    const TNodeFinder finder(network);
    std::vector<TClipboardRow> rows = TabSeparatedRows(text);
    for (TClipboardRow& row : rows) {
        std::vector<std::string>& cells = row.Cells;
        // The rows that copying writes: number, name, number, name, distance.
        const bool named = cells.size() == 5;
        const std::size_t distanceAt = named ? 4 : 2;
        cells.resize(std::max<std::size_t>(cells.size(), 3));
        if (&row == &rows.front() && IsHeader({cells[distanceAt]})) {
            continue;
        }
        if (!named && cells.size() > 3) {
            reading.Refusal = RowRefusal(
                row.Number, "",
                "a link row has three cells (origin, destination, distance), or five as copied");
            break;
        }
        std::optional<int> ends[2];
        for (std::size_t end = 0; end < 2 && reading.Refusal.empty(); ++end) {
            std::string why;
            ends[end] = finder.NodeOf(cells[named ? 2 * end : end], why);
            const std::string& name = cells[2 * end + 1];
            if (ends[end] && named && network.NodeNames[*ends[end]] != HeldName(name)) {
                why = "node " + std::to_string(*ends[end]) + " is not called \"" + name + "\"";
                ends[end].reset();
            }
            if (!ends[end]) {
                reading.Refusal = RowRefusal(row.Number, EndColumns[end], why);
            }
        }
        if (reading.Refusal.empty() && ends[0] == ends[1]) {
            reading.Refusal =
                RowRefusal(row.Number, "", "origin and destination are the same node");
        }
        const std::string& distanceCell = cells[distanceAt];
        std::int32_t distance = -1;
        if (reading.Refusal.empty() &&
            JudgeIntegerEntry(distanceCell, distance, 0, MaxDistance).Outcome !=
                TEntryOutcome::Accepted) {
            reading.Refusal = RowRefusal(row.Number, "distance", NotANumber(distanceCell));
        }
        if (!reading.Refusal.empty()) {
            reading.Links.clear();
            break;
        }
        reading.Links.push_back({*ends[0], *ends[1], distance});
    }
    return reading;
}

void AddPastedNodes(TNetworkStore& network, const std::vector<TPastedNode>& nodes) {
    for (const TPastedNode& node : nodes) {
        network.PendingName = node.Name;
        network.PendingFirstDemand = node.FirstDemand;
        network.PendingSecondDemand = node.SecondDemand;
        network.PendingFixedCost = node.FixedCost;
        AddPendingNode(network);
    }
}

void AddPastedLinks(TNetworkStore& network, const std::vector<TPastedLink>& links) {
    const std::int32_t pending = network.PendingDistance;
    for (const TPastedLink& link : links) {
        network.PendingDistance = link.Distance;
        SetOneWayLink(network, link.Origin, link.Destination);
    }
    network.PendingDistance = pending;
}
