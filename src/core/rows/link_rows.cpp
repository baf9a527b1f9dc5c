#include "core/rows/link_rows.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <utility>

#include "core/file_texts/name_bytes.h"
#include "core/rows/cell_values.h"
#include "core/rows/spreadsheet_forms.h"
#include "core/rows/tab_separated.h"

namespace {

constexpr std::size_t PlainCells = 3;   // origin, destination, distance
constexpr std::size_t CopiedCells = 5;  // origin number and name, the same of the destination,
                                        // distance
constexpr const char* EndColumns[] = {"origin", "destination"};

bool IsDigits(const std::string& cell) {
    return !cell.empty() &&
           std::all_of(cell.begin(), cell.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A header row: words, and no digit, in its distance cell and, copied, its number cells.
bool IsHeader(const TClipboardRow& row) {
    const std::vector<std::string>& cells = row.Cells;
    return (row.CellCount == PlainCells && IsHeaderCell(cells[2])) ||
           (row.CellCount == CopiedCells && IsHeaderCell(cells[0]) && IsHeaderCell(cells[2]) &&
            IsHeaderCell(cells[4]));
}

std::string Quoted(const std::string& cell) {
    return "\"" + cell + "\"";
}

// The nodes of a network by number or by name.
class TNodeFinder {
  public:
    explicit TNodeFinder(const TNetworkStore& network) : Network(network) {
        for (int node = 1; node <= network.NumNodes; ++node) {
            const auto [at, added] = ByName.emplace(network.NodeNames[node], node);
            if (!added) {
                at->second = Several;
            }
            DigitNames = DigitNames || IsDigits(network.NodeNames[node]);
        }
    }

    // The node a cell of a plain row names, or nothing with why set.
    std::optional<int> NodeOf(const std::string& cell, std::string& why) const {
        // Where no node is called by digits, digits can only be a number (the common case of
        // a large paste, looked up without the names, in a call that needs no frame).
        if (!DigitNames && cell.size() <= 3 && IsDigits(cell)) {
            int number = 0;
            for (const char digit : cell) {
                number = number * 10 + (digit - '0');
            }
            if (number >= 1 && number <= Network.NumNodes) {
                return number;
            }
        }
        return NamedNodeOf(cell, why);
    }

    // Whether digits can only be a number: no node is called by digits.
    bool DigitsAreNumbers() const { return !DigitNames; }

  private:
    [[gnu::noinline]] std::optional<int> NamedNodeOf(const std::string& cell,
                                                     std::string& why) const {
        // A name no node can hold names none, whatever it would be held as.
        const auto found =
            FirstUnheldCharacterOfText(cell) ? ByName.end() : ByName.find(HeldNodeNameOfText(cell));
        const int named = found == ByName.end() ? None : found->second;
        const int number = NumberOf(cell);
        if (named == None && number != None) {
            return number;
        }
        if (named != None && named != Several && (number == None || number == named)) {
            return named;
        }
        if (named == None) {
            why = IsDigits(cell) ? "there is no node " + cell : "no node is called " + Quoted(cell);
        } else if (number == None) {
            why = "more than one node is called " + Quoted(cell);
        } else {
            why = Quoted(cell) + " could be node " + std::to_string(number) + ", or " +
                  (named == Several ? "one of the nodes"
                                    : "node " + std::to_string(named) + ", which is") +
                  " called " + Quoted(cell);
        }
        return std::nullopt;
    }

  public:
    // The node of the number cell of a copied row, which must be called name.
    std::optional<int> NodeOf(const std::string& numberCell, const std::string& name,
                              std::string& why) const {
        const int number = NumberOf(numberCell);
        if (number == None) {
            why = "there is no node " + numberCell;
        } else if (FirstUnheldCharacterOfText(name) ||
                   Network.NodeNames[number] != HeldNodeNameOfText(name)) {
            why = "node " + std::to_string(number) + " is not called " + Quoted(name);
        } else {
            return number;
        }
        return std::nullopt;
    }

  private:
    static constexpr int None = 0;
    static constexpr int Several = -1;  // more than one node is called so

    // The node whose number the cell's digits are, or None.
    int NumberOf(const std::string& cell) const {
        if (!IsDigits(cell)) {
            return None;
        }
        const std::size_t start = std::min(cell.find_first_not_of('0'), cell.size());
        if (cell.size() - start > 3) {
            return None;
        }
        int number = 0;
        for (std::size_t at = start; at < cell.size(); ++at) {
            number = number * 10 + (cell[at] - '0');
        }
        return number >= 1 && number <= Network.NumNodes ? number : None;
    }

    const TNetworkStore& Network;
    std::unordered_map<std::string, int> ByName;
    bool DigitNames = false;  // some node is called by digits alone
};

// The links read so far, by their ends, with the row that gave each.
class TReadLinks {
  public:
    // Adds the link of a row, or returns why not: the same link had another distance before.
    std::string Add(const TPastedLink& link, int row, std::vector<TPastedLink>& links) {
        return Took(link, row, links) ? std::string() : Conflict(link, row, links);
    }

    // Adds the link of a row; false where the same link had another distance before.
    [[gnu::always_inline]] bool Took(const TPastedLink& link, int row,
                                     std::vector<TPastedLink>& links) {
        std::uint32_t& slot =
            Slots[static_cast<std::size_t>(link.Origin * (MaxNodes + 1) + link.Destination)];
        if (slot == 0) {
            links.push_back(link);
            RowOf.push_back(row);
            slot = static_cast<std::uint32_t>(links.size());
            return true;
        }
        return links[slot - 1].Distance == link.Distance;
    }

    // Why the link of a row that Took() refused cannot be.
    [[gnu::noinline]] std::string Conflict(const TPastedLink& link, int row,
                                           const std::vector<TPastedLink>& links) const {
        const std::uint32_t slot =
            Slots[static_cast<std::size_t>(link.Origin * (MaxNodes + 1) + link.Destination)];
        const TPastedLink& earlier = links[slot - 1];
        return "Rows " + std::to_string(RowOf[slot - 1]) + " and " + std::to_string(row) +
               " give the link from node " + std::to_string(link.Origin) + " to node " +
               std::to_string(link.Destination) + " two distances, " +
               std::to_string(earlier.Distance) + " and " + std::to_string(link.Distance) + ".";
    }

    void Reserve(std::size_t links) { RowOf.reserve(links); }

  private:
    // By origin * (MaxNodes + 1) + destination: 1 + the link's place in links, 0 for none yet.
    std::vector<std::uint32_t> Slots =
        std::vector<std::uint32_t>((MaxNodes + 1) * (MaxNodes + 1), 0);
    std::vector<int> RowOf;  // the row of each link, in the order of links
};

// Reads one row into links, or returns why it cannot be.
std::string ReadLinkRow(const TClipboardRow& row, const TNodeFinder& finder, TReadLinks& read,
                        std::vector<TPastedLink>& links) {
    const std::vector<std::string>& cells = row.Cells;
    const bool copied = row.CellCount == CopiedCells;
    if (!copied && row.CellCount != PlainCells) {
        return RowShapeRefusal(row, LinkRowShape);
    }
    int ends[2] = {};
    for (std::size_t end = 0; end < 2; ++end) {
        std::string why;
        const std::optional<int> node = copied
                                            ? finder.NodeOf(cells[2 * end], cells[2 * end + 1], why)
                                            : finder.NodeOf(cells[end], why);
        if (!node) {
            return RowRefusal(row.Number, EndColumns[end], why);
        }
        ends[end] = *node;
    }
    if (ends[0] == ends[1]) {
        return RowRefusal(row.Number, "", "origin and destination are the same node");
    }
    std::int32_t distance = 0;
    const std::string why = JudgeDistanceCell(cells.back(), distance);
    if (!why.empty()) {
        return RowRefusal(row.Number, "distance", why);
    }
    return read.Add({ends[0], ends[1], distance}, row.Number, links);
}

// Takes the rows that follow, as long as each is origin, destination and distance in plain
// digits that ReadLinkRow would take without looking further (two different nodes by numbers
// of up to three digits, where digits are no name; a distance of up to five digits, at most
// 10000), straight from the reader's buffer; any other row is left to ReadLinkRow. Returns
// why a row so taken cannot be, as ReadLinkRow would.
std::string ReadPlainLinkRows(TTabSeparatedReader& rows, const TNodeFinder& finder, int nodes,
                              TReadLinks& read, std::vector<TPastedLink>& links) {
    constexpr std::array<std::size_t, PlainCells> Longest = {3, 3, 5};
    std::array<std::int32_t, PlainCells> cells = {};
    if (!finder.DigitsAreNumbers()) {
        return {};
    }
    while (rows.SeeDigitRow(Longest, cells)) {
        const auto [origin, destination, distance] = cells;
        if (origin < 1 || origin > nodes || destination < 1 || destination > nodes ||
            origin == destination || distance > MaxDistance) {
            break;
        }
        const TPastedLink link{origin, destination, distance};
        if (const int row = rows.Take(); !read.Took(link, row, links)) {
            return read.Conflict(link, row, links);
        }
    }
    return {};
}

}  // namespace

std::string LinkRowsText(const TNetworkStore& network) {
    return TabSeparatedText(LinkSheetRows(network));
}

TLinkRowsReading ReadLinkRows(TTabSeparatedReader& rows, const TNetworkStore& network) {
    TLinkRowsReading reading;
    const TNodeFinder finder(network);
    TReadLinks read;
    // Room for every link at once: grown by doubling, the list would be copied and fresh
    // memory touched a dozen times in a large paste.
    const auto most = static_cast<std::size_t>(network.NumNodes) * (network.NumNodes - 1);
    reading.Links.reserve(most);
    read.Reserve(most);
    TClipboardRow row;
    // Each row is checked as it is read; only the distinct links are kept.
    for (bool first = true; rows.Next(row); first = false) {
        if (first && IsHeader(row)) {
            continue;
        }
        reading.Refusal = ReadLinkRow(row, finder, read, reading.Links);
        if (reading.Refusal.empty()) {
            reading.Refusal =
                ReadPlainLinkRows(rows, finder, network.NumNodes, read, reading.Links);
        }
        if (!reading.Refusal.empty()) {
            break;
        }
    }
    if (reading.Refusal.empty()) {
        reading.Refusal = rows.Refusal();
    }
    if (!reading.Refusal.empty()) {
        reading.Links.clear();
    }
    return reading;
}

TLinkRowsReading ReadLinkRows(std::string_view text, const TNetworkStore& network) {
    TTabSeparatedReader rows(text);
    return ReadLinkRows(rows, network);
}

void AddPastedLinks(TNetworkStore& network, const std::vector<TPastedLink>& links) {
    for (const TPastedLink& link : links) {
        SetLinkDistance(network, link.Origin, link.Destination, link.Distance);
    }
}
