#include "import/distance_tables.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// One row: its line and its cells, unquoted and trimmed.
struct TRow {
    int Line = 0;
    std::vector<std::string> Cells;
};

std::vector<std::string> CellsOf(const TTextLine& line, char separator) {
    std::vector<std::string> cells;
    const std::string_view text = line.Text;
    std::size_t at = 0;
    for (;;) {
        while (at < text.size() && IsBlank(text[at]) && text[at] != separator) {
            ++at;
        }
        std::string cell;
        if (at < text.size() && text[at] == '"') {
            for (++at;; ++at) {
                if (at >= text.size()) {
                    Refuse(line.Number, static_cast<int>(cells.size()) + 1,
                           "the quote that opens the cell is not closed on its line");
                }
                if (text[at] == '"') {
                    if (at + 1 < text.size() && text[at + 1] == '"') {
                        ++at;
                    } else {
                        break;
                    }
                }
                cell += text[at];
            }
            for (++at; at < text.size() && text[at] != separator; ++at) {
                if (!IsBlank(text[at])) {
                    Refuse(line.Number, static_cast<int>(cells.size()) + 1,
                           "text follows the quote that closes the cell");
                }
            }
        } else {
            const std::size_t end = std::min(text.find(separator, at), text.size());
            cell = std::string(Trimmed(text.substr(at, end - at)));
            at = end;
        }
        cells.push_back(std::move(cell));
        if (at >= text.size()) {
            return cells;
        }
        ++at;  // the separator
    }
}

std::string Lowered(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    return lower;
}

std::string CellsText(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " cell" : " cells");
}

void CheckWidth(const TRow& row, std::size_t width) {
    if (row.Cells.size() != width) {
        Refuse(row.Line, 0,
               "the row holds " + CellsText(row.Cells.size()) + "; the first row holds " +
                   std::to_string(width));
    }
}

std::string NameOf(const TRow& row, std::size_t cell, bool utf8) {
    std::string held;
    const std::string reason = HeldImportName(row.Cells[cell], utf8, held);
    if (!reason.empty()) {
        Refuse(row.Line, static_cast<int>(cell) + 1, reason);
    }
    return held;
}

// The distance of a cell; false for an empty cell, which is no link.
bool DistanceOf(const TRow& row, std::size_t cell, bool decimalComma, double& value) {
    if (row.Cells[cell].empty()) {
        return false;
    }
    const std::string reason = ReadDistance(row.Cells[cell], decimalComma, value);
    if (!reason.empty()) {
        Refuse(row.Line, static_cast<int>(cell) + 1, reason);
    }
    return true;
}

TImportedValues SquareTable(const std::vector<TRow>& rows, bool utf8, bool decimalComma) {
    TImportBuilder builder;
    const TRow& header = rows[0];
    for (std::size_t cell = 1; cell < header.Cells.size(); ++cell) {
        builder.AddNamed(NameOf(header, cell, utf8), header.Line, static_cast<int>(cell) + 1);
    }
    builder.FinishNodes();
    const int n = builder.Count();
    std::vector<int> rowLine(static_cast<std::size_t>(n) + 1, 0);
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const TRow& row = rows[r];
        CheckWidth(row, header.Cells.size());
        const std::string name = NameOf(row, 0, utf8);
        const int i = builder.NodeOfName(name);
        if (i == 0) {
            Refuse(row.Line, 1, QuotedName(name) + " names no column of the table");
        }
        if (rowLine[static_cast<std::size_t>(i)] != 0) {
            Refuse(row.Line, 1,
                   "the row of " + QuotedName(name) + " is there twice, first on line " +
                       std::to_string(rowLine[static_cast<std::size_t>(i)]));
        }
        rowLine[static_cast<std::size_t>(i)] = row.Line;
        for (int j = 1; j <= n; ++j) {
            double value = 0;
            if (DistanceOf(row, static_cast<std::size_t>(j), decimalComma, value)) {
                builder.SetValue(i, j, value, row.Line, j + 1);
            }
        }
    }
    if (rows.size() - 1 != static_cast<std::size_t>(n)) {
        Refuse(0, 0,
               "The table holds " + std::to_string(n) + " columns of places and " +
                   std::to_string(rows.size() - 1) +
                   " rows; a square table holds as many of each.");
    }
    builder.Values.Kind = TImportKind::SquareTable;
    builder.Values.KindText = "square table";
    return std::move(builder.Values);
}

TImportedValues LongList(const std::vector<TRow>& rows, bool utf8, bool decimalComma) {
    TImportBuilder builder;
    struct TLink {
        int From, To;
        double Value;
    };
    std::vector<TLink> links;
    std::map<std::pair<int, int>, int> pairLines;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const TRow& row = rows[r];
        if (row.Cells.size() != 3) {
            Refuse(row.Line, 0,
                   "the row holds " + CellsText(row.Cells.size()) +
                       "; a row of a long list holds origin, destination and cost");
        }
        int ends[2] = {};
        for (std::size_t cell = 0; cell < 2; ++cell) {
            const std::string name = NameOf(row, cell, utf8);
            ends[cell] = builder.NodeOfName(name);
            if (ends[cell] == 0) {
                ends[cell] = builder.AddNamed(name, row.Line, static_cast<int>(cell) + 1);
            }
        }
        const auto [first, added] = pairLines.emplace(std::pair(ends[0], ends[1]), row.Line);
        if (!added) {
            Refuse(row.Line, 0,
                   "the pair from " + QuotedName(builder.Node(ends[0]).Name) + " to " +
                       QuotedName(builder.Node(ends[1]).Name) + " is listed twice, first on line " +
                       std::to_string(first->second));
        }
        double value = 0;
        if (DistanceOf(row, 2, decimalComma, value)) {
            if (ends[0] == ends[1] && value != 0) {
                Refuse(row.Line, 3,
                       "the distance from " + QuotedName(builder.Node(ends[0]).Name) +
                           " to itself is " + NumberText(value) + ", not 0");
            }
            links.push_back({ends[0], ends[1], value});
        }
    }
    builder.FinishNodes();
    for (const TLink& link : links) {
        if (link.From != link.To) {
            builder.Value(link.From, link.To) = link.Value;
        }
    }
    builder.Values.Kind = TImportKind::LongList;
    builder.Values.KindText = "long list";
    return std::move(builder.Values);
}

enum class TColumn { Name, X, Y, Latitude, Longitude, FirstDemand, SecondDemand, FixedCost };

const std::map<std::string, TColumn>& SiteColumns() {
    static const std::map<std::string, TColumn> columns = {
        {"name", TColumn::Name},
        {"x", TColumn::X},
        {"y", TColumn::Y},
        {"latitude", TColumn::Latitude},
        {"lat", TColumn::Latitude},
        {"longitude", TColumn::Longitude},
        {"lon", TColumn::Longitude},
        {"lng", TColumn::Longitude},
        {"first demand", TColumn::FirstDemand},
        {"demand", TColumn::FirstDemand},
        {"second demand", TColumn::SecondDemand},
        {"fixed cost", TColumn::FixedCost},
    };
    return columns;
}

// A header of sites names both axes of a plane or of the globe, and its first cell is not
// empty (as a square table's may be).
bool NamesSites(const TRow& header) {
    int plane = 0;
    int globe = 0;
    for (const std::string& cell : header.Cells) {
        const auto found = SiteColumns().find(Lowered(cell));
        if (found != SiteColumns().end()) {
            plane += found->second == TColumn::X || found->second == TColumn::Y ? 1 : 0;
            globe += found->second == TColumn::Latitude || found->second == TColumn::Longitude;
        }
    }
    return !header.Cells[0].empty() && (plane >= 2 || globe >= 2);
}

TImportedValues Sites(const std::vector<TRow>& rows, bool utf8, bool decimalComma) {
    const TRow& header = rows[0];
    std::map<TColumn, std::size_t> columns;
    for (std::size_t cell = 0; cell < header.Cells.size(); ++cell) {
        const auto found = SiteColumns().find(Lowered(header.Cells[cell]));
        if (found == SiteColumns().end()) {
            Refuse(header.Line, static_cast<int>(cell) + 1,
                   "\"" + header.Cells[cell] +
                       "\" names no column of a table of sites (name, x and y or latitude and "
                       "longitude, first demand, second demand, fixed cost)");
        }
        if (!columns.emplace(found->second, cell).second) {
            Refuse(header.Line, static_cast<int>(cell) + 1,
                   "the column \"" + header.Cells[cell] + "\" is there twice");
        }
    }
    const bool plane = columns.count(TColumn::X) + columns.count(TColumn::Y) == 2;
    const bool globe = columns.count(TColumn::Latitude) + columns.count(TColumn::Longitude) == 2;
    if (plane == globe || columns.count(TColumn::X) + columns.count(TColumn::Y) +
                                  columns.count(TColumn::Latitude) +
                                  columns.count(TColumn::Longitude) !=
                              2) {
        Refuse(header.Line, 0,
               "a table of sites names x and y, or latitude and longitude, not both");
    }
    TImportBuilder builder;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const TRow& row = rows[r];
        CheckWidth(row, header.Cells.size());
        const auto name = columns.find(TColumn::Name);
        const int node = builder.AddNamed(
            name == columns.end() ? std::to_string(builder.Count() + 1)
                                  : NameOf(row, name->second, utf8),
            row.Line, name == columns.end() ? 0 : static_cast<int>(name->second) + 1);
        TNodeSlot& slot = builder.Node(node);
        double coordinates[2] = {};
        const TColumn axes[2][2] = {{TColumn::X, TColumn::Y},
                                    {TColumn::Longitude, TColumn::Latitude}};
        for (int axis = 0; axis < 2; ++axis) {
            const std::size_t cell = columns[axes[plane ? 0 : 1][axis]];
            std::string reason = ReadNumber(row.Cells[cell], decimalComma, coordinates[axis]);
            const double limit = axis == 0 ? 180 : 90;
            if (reason.empty() && !plane && std::fabs(coordinates[axis]) > limit) {
                reason = std::string("the ") + (axis == 0 ? "longitude " : "latitude ") +
                         row.Cells[cell] + " is not from -" + NumberText(limit) + " to " +
                         NumberText(limit);
            }
            if (!reason.empty()) {
                Refuse(row.Line, static_cast<int>(cell) + 1, reason);
            }
        }
        slot.Place = {true, coordinates[0], coordinates[1]};
        const std::pair<TColumn, Real48 TNodeSlot::*> values[] = {
            {TColumn::FirstDemand, &TNodeSlot::FirstDemand},
            {TColumn::SecondDemand, &TNodeSlot::SecondDemand},
            {TColumn::FixedCost, &TNodeSlot::FixedCost}};
        for (const auto& [column, member] : values) {
            const auto found = columns.find(column);
            if (found != columns.end() && !row.Cells[found->second].empty()) {
                const std::string reason =
                    ReadNodeValue(row.Cells[found->second], decimalComma, slot.*member);
                if (!reason.empty()) {
                    Refuse(row.Line, static_cast<int>(found->second) + 1, reason);
                }
            }
        }
    }
    builder.FinishNodes();
    const int n = builder.Count();
    for (int i = 1; i <= n; ++i) {
        const TSitePlace a = builder.Node(i).Place;
        for (int j = 1; j <= n; ++j) {
            const TSitePlace b = builder.Node(j).Place;
            if (i != j) {
                builder.Value(i, j) = plane ? std::hypot(a.X - b.X, a.Y - b.Y)
                                            : GreatCircleDistance(a.Y, a.X, b.Y, b.X);
            }
        }
    }
    builder.Values.Kind = TImportKind::Sites;
    builder.Values.KindText =
        plane ? "sites on a plane (x, y)" : "sites on the globe (latitude, longitude)";
    builder.Values.PlaceKind = plane ? TPlaceKind::Plane : TPlaceKind::Globe;
    return std::move(builder.Values);
}

}  // namespace

char TableSeparator(std::string_view firstLine) {
    for (const char separator : {'\t', ';', ','}) {
        if (firstLine.find(separator) != std::string_view::npos) {
            return separator;
        }
    }
    return 0;
}

double GreatCircleDistance(double latitude1, double longitude1, double latitude2,
                           double longitude2) {
    constexpr double Radius = 6371.0;
    constexpr double Degree = 3.14159265358979323846 / 180.0;
    const double dLatitude = (latitude2 - latitude1) * Degree;
    const double dLongitude = (longitude2 - longitude1) * Degree;
    const double h = std::sin(dLatitude / 2) * std::sin(dLatitude / 2) +
                     std::cos(latitude1 * Degree) * std::cos(latitude2 * Degree) *
                         std::sin(dLongitude / 2) * std::sin(dLongitude / 2);
    return 2 * Radius * std::asin(std::min(1.0, std::sqrt(h)));
}

TImportedValues ReadDistanceTable(const std::vector<TTextLine>& lines, bool utf8) {
    std::vector<TRow> rows;
    char separator = 0;
    for (const TTextLine& line : lines) {
        if (Trimmed(line.Text).empty()) {
            continue;
        }
        separator = separator == 0 ? TableSeparator(line.Text) : separator;
        TRow row{line.Number, CellsOf(line, separator)};
        if (std::any_of(row.Cells.begin(), row.Cells.end(),
                        [](const std::string& cell) { return !cell.empty(); })) {
            rows.push_back(std::move(row));
        }
    }
    if (rows.empty()) {
        Refuse(0, 0, "The file holds no cell that is not empty.");
    }
    const bool decimalComma = separator != ',';
    const TRow& header = rows[0];
    double ignored = 0;
    if (NamesSites(header)) {
        return Sites(rows, utf8, decimalComma);
    }
    // Three cells are a long list's header unless the first row starts with one of its places.
    if (header.Cells.size() >= 2 &&
        (header.Cells.size() != 3 ||
         (rows.size() > 1 && std::find(header.Cells.begin() + 1, header.Cells.end(),
                                       rows[1].Cells[0]) != header.Cells.end()))) {
        return SquareTable(rows, utf8, decimalComma);
    }
    if (header.Cells.size() == 3 &&
        std::none_of(header.Cells.begin(), header.Cells.end(), [&](const std::string& cell) {
            return cell.empty() || ReadNumber(cell, decimalComma, ignored).empty();
        })) {
        return LongList(rows, utf8, decimalComma);
    }
    Refuse(header.Line, 0,
           "the first line names no kind of network that can be imported: an OR-Library "
           "p-median file, a TSPLIB file, a square table, a long list, a routing table or "
           "sites with coordinates");
}
