#include "import/test_problems.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// One number of a file of numbers parted by blanks, with its line and its place in the line.
struct TToken {
    int Line = 0;
    int Cell = 0;
    std::string_view Text;
};

void AddTokens(const TTextLine& line, std::vector<TToken>& tokens) {
    int cell = 0;
    for (const std::string_view word : BlankParted(line.Text)) {
        tokens.push_back({line.Number, ++cell, word});
    }
}

// A node number 1..nodes.
int NodeNumber(const TToken& token, int nodes, std::string_view whose) {
    long long node = 0;
    if (!ReadCount(token.Text, node) || node < 1 || node > nodes) {
        Refuse(token.Line, token.Cell,
               "there is no node " + std::string(token.Text) + "; the nodes are 1 to " +
                   std::to_string(nodes) + std::string(whose));
    }
    return static_cast<int>(node);
}

double DistanceOf(const TToken& token) {
    double value = 0;
    const std::string reason = ReadDistance(token.Text, false, value);
    if (!reason.empty()) {
        Refuse(token.Line, token.Cell, reason);
    }
    return value;
}

double NumberOf(const TToken& token) {
    double value = 0;
    const std::string reason = ReadNumber(token.Text, false, value);
    if (!reason.empty()) {
        Refuse(token.Line, token.Cell, reason);
    }
    return value;
}

std::string Plural(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

bool LooksLikePMedian(std::string_view firstLine) {
    const std::vector<std::string_view> words = BlankParted(firstLine);
    long long ignored = 0;
    return words.size() == 3 && std::all_of(words.begin(), words.end(), [&](std::string_view w) {
               return ReadCount(w, ignored);
           });
}

TImportedValues ReadPMedian(const std::vector<TTextLine>& lines) {
    std::vector<TToken> tokens;
    for (const TTextLine& line : lines) {
        AddTokens(line, tokens);
    }
    long long counts[3] = {};
    for (int at = 0; at < 3; ++at) {
        ReadCount(tokens[static_cast<std::size_t>(at)].Text, counts[at]);
    }
    TImportBuilder builder;
    builder.StartNumbered(counts[0]);
    const int nodes = builder.Count();
    const long long edges = counts[1];
    const std::size_t needed = 3 + static_cast<std::size_t>(edges) * 3;
    if (tokens.size() < needed) {
        const std::size_t given = (tokens.size() - 3) / 3;
        Refuse(0, 0,
               "The file stops early: its first line promises " +
                   Plural(static_cast<std::size_t>(edges), "edge", "edges") + ", and " +
                   std::to_string(given) + (given == 1 ? " follows." : " follow."));
    }
    if (tokens.size() > needed) {
        Refuse(tokens[needed].Line, tokens[needed].Cell,
               "more than the " + Plural(static_cast<std::size_t>(edges), "edge", "edges") +
                   " the first line promises");
    }
    int twice = 0;
    for (std::size_t at = 3; at < needed; at += 3) {
        const int i = NodeNumber(tokens[at], nodes, "");
        const int j = NodeNumber(tokens[at + 1], nodes, "");
        const double cost = DistanceOf(tokens[at + 2]);
        if (i != j) {
            twice += builder.Value(i, j).has_value() ? 1 : 0;
            builder.Value(j, i) = cost;  // the last cost listed counts
        }
        builder.SetValue(i, j, cost, tokens[at + 2].Line, tokens[at + 2].Cell);
    }
    TImportedValues values = std::move(builder.Values);
    values.Kind = TImportKind::PMedian;
    values.KindText = "OR-Library p-median file";
    values.Notes.push_back("p = " + std::to_string(counts[2]) + " is not part of the network");
    if (twice > 0) {
        values.Notes.push_back(Plural(static_cast<std::size_t>(twice), "edge", "edges") +
                               " listed again: the last cost counts");
    }
    return values;
}

namespace {

constexpr const char* TsplibKeys[] = {"NAME",
                                      "TYPE",
                                      "COMMENT",
                                      "DIMENSION",
                                      "CAPACITY",
                                      "EDGE_WEIGHT_TYPE",
                                      "EDGE_WEIGHT_FORMAT",
                                      "EDGE_DATA_FORMAT",
                                      "NODE_COORD_TYPE",
                                      "DISPLAY_DATA_TYPE"};
constexpr const char* TsplibSections[] = {
    "NODE_COORD_SECTION",  "DEPOT_SECTION",        "DEMAND_SECTION", "EDGE_DATA_SECTION",
    "FIXED_EDGES_SECTION", "DISPLAY_DATA_SECTION", "TOUR_SECTION",   "EDGE_WEIGHT_SECTION"};

bool IsOneOf(std::string_view word, const auto& list) {
    return std::find(std::begin(list), std::end(list), word) != std::end(list);
}

// A line of keys: its keyword (capitals, digits and "_"), and what follows a colon if one does.
struct TKeyLine {
    std::string_view Word;
    bool Colon = false;
    std::string_view Value;
};
TKeyLine KeyLine(std::string_view text) {
    text = Trimmed(text);
    std::size_t end = 0;
    while (end < text.size() && ((text[end] >= 'A' && text[end] <= 'Z') || text[end] == '_' ||
                                 (text[end] >= '0' && text[end] <= '9'))) {
        ++end;
    }
    TKeyLine key{text.substr(0, end), false, Trimmed(text.substr(end))};
    if (!key.Value.empty() && key.Value.front() == ':') {
        key.Colon = true;
        key.Value = Trimmed(key.Value.substr(1));
    }
    return key;
}

bool StartsWithCapital(std::string_view text) {
    text = Trimmed(text);
    return !text.empty() && text.front() >= 'A' && text.front() <= 'Z';
}

struct TKey {
    int Line = 0;
    std::string Value;
};

}  // namespace

bool LooksLikeTsplib(std::string_view firstLine) {
    const TKeyLine key = KeyLine(firstLine);
    return (key.Colon && IsOneOf(key.Word, TsplibKeys)) ||
           (key.Value.empty() && IsOneOf(key.Word, TsplibSections));
}

double TsplibDistance(TTsplibMetric metric, double xi, double yi, double xj, double yj) {
    // The library's (int) of a distance, which is never below 0, is its floor; kept in a
    // double, so that coordinates far apart give a distance too large rather than no number.
    const auto nint = [](double d) { return std::floor(d + 0.5); };
    const double xd = xi - xj;
    const double yd = yi - yj;
    switch (metric) {
        case TTsplibMetric::Euclidean:
            return nint(std::sqrt(xd * xd + yd * yd));
        case TTsplibMetric::Ceiling:
            return std::ceil(std::sqrt(xd * xd + yd * yd));
        case TTsplibMetric::Pseudo: {
            const double r = std::sqrt((xd * xd + yd * yd) / 10.0);
            const double t = nint(r);
            return t < r ? t + 1 : t;
        }
        case TTsplibMetric::Geographic:
            break;
    }
    const double pi = 3.141592;
    const auto radians = [&](double value) {
        const double degrees = std::trunc(value);  // (int) x: the whole part
        const double minutes = value - degrees;
        return pi * (degrees + 5.0 * minutes / 3.0) / 180.0;
    };
    const double rrr = 6378.388;
    const double q1 = std::cos(radians(yi) - radians(yj));
    const double q2 = std::cos(radians(xi) - radians(xj));
    const double q3 = std::cos(radians(xi) + radians(xj));
    // (Kept within acos's domain where rounding takes it a hair past 1 for one spot.)
    const double cosine = std::clamp(0.5 * ((1.0 + q1) * q2 - (1.0 - q1) * q3), -1.0, 1.0);
    return std::floor(rrr * std::acos(cosine) + 1.0);
}

TImportedValues ReadTsplib(const std::vector<TTextLine>& lines) {
    std::map<std::string, TKey, std::less<>> keys;
    std::map<std::string, std::vector<TToken>, std::less<>> sections;
    std::map<std::string, int, std::less<>> sectionLines;
    bool ended = false;
    for (std::size_t at = 0; at < lines.size() && !ended;) {
        const TTextLine& line = lines[at++];
        if (Trimmed(line.Text).empty()) {
            continue;
        }
        const TKeyLine key = KeyLine(line.Text);
        if (key.Word == "EOF" && key.Value.empty()) {
            ended = true;
        } else if (key.Colon && !IsOneOf(key.Word, TsplibSections)) {
            if (keys.count(key.Word) != 0) {
                Refuse(line.Number, 0, std::string(key.Word) + " is given twice");
            }
            keys[std::string(key.Word)] = {line.Number, std::string(key.Value)};
        } else if (IsOneOf(key.Word, TsplibSections) && key.Value.empty()) {
            if (sections.count(key.Word) != 0) {
                Refuse(line.Number, 0, std::string(key.Word) + " is given twice");
            }
            std::vector<TToken>& tokens = sections[std::string(key.Word)];
            sectionLines[std::string(key.Word)] = line.Number;
            for (; at < lines.size() && !StartsWithCapital(lines[at].Text); ++at) {
                AddTokens(lines[at], tokens);
            }
        } else {
            Refuse(line.Number, 0,
                   "\"" + std::string(Trimmed(line.Text)).substr(0, 40) +
                       "\" is neither a key nor a section of a TSPLIB file");
        }
    }
    const std::string early = ended ? "" : "The file stops early: ";
    const auto needKey = [&](const char* name) -> const TKey& {
        const auto found = keys.find(name);
        if (found == keys.end()) {
            Refuse(0, 0,
                   early.empty() ? std::string("The file gives no ") + name + "."
                                 : early + "it ends before its " + name + ".");
        }
        return found->second;
    };
    const auto needSection = [&](const char* name,
                                 const std::string& why) -> const std::vector<TToken>& {
        const auto found = sections.find(name);
        if (found == sections.end()) {
            Refuse(0, 0,
                   early.empty()
                       ? std::string("The file has no ") + name + ", which " + why + " needs."
                       : early + "it ends before its " + name + ".");
        }
        return found->second;
    };

    const TKey& type = needKey("TYPE");
    const std::string typeWord(BlankParted(type.Value).empty() ? "" : BlankParted(type.Value)[0]);
    if (typeWord != "TSP" && typeWord != "ATSP" && typeWord != "CVRP") {
        Refuse(type.Line, 0, "TYPE " + type.Value + " is none of TSP, ATSP and CVRP");
    }
    const TKey& dimension = needKey("DIMENSION");
    long long nodes = 0;
    if (!ReadCount(dimension.Value, nodes)) {
        Refuse(dimension.Line, 0, "DIMENSION " + dimension.Value + " is not a whole number");
    }
    TImportBuilder builder;
    builder.StartNumbered(nodes);
    const int n = builder.Count();
    const std::string dimensionWords = "DIMENSION is " + std::to_string(n);
    const TKey& weightType = needKey("EDGE_WEIGHT_TYPE");
    const std::string& metricName = weightType.Value;
    std::string kindText = "TSPLIB file (" + typeWord + ", " + metricName;

    // Lines "node value..." of a section, each node once: the values of each node.
    const auto nodeRows = [&](const char* name, std::size_t width) {
        const std::vector<TToken>& tokens = needSection(name, metricName);
        std::vector<std::vector<TToken>> rows(static_cast<std::size_t>(n));
        std::size_t at = 0;
        for (; at + width <= tokens.size(); at += width) {
            const int node = NodeNumber(tokens[at], n, " (" + dimensionWords + ")");
            auto& row = rows[static_cast<std::size_t>(node - 1)];
            if (!row.empty()) {
                Refuse(tokens[at].Line, tokens[at].Cell,
                       "node " + std::to_string(node) + " is given twice in " + name);
            }
            row.assign(tokens.begin() + static_cast<std::ptrdiff_t>(at + 1),
                       tokens.begin() + static_cast<std::ptrdiff_t>(at + width));
        }
        const std::size_t given = at / width;
        if (at != tokens.size()) {
            Refuse(tokens[at].Line, 0,
                   std::string("the line is not one of ") + name + "'s lines (" +
                       std::to_string(width) + " numbers each)");
        }
        if (given != static_cast<std::size_t>(n)) {
            Refuse(sectionLines[name], 0,
                   (early.empty() ? "" : "the file stops early: ") + std::string(name) + " holds " +
                       Plural(given, "node", "nodes") + "; " + dimensionWords);
        }
        return rows;
    };

    TImportedValues& values = builder.Values;
    if (metricName == "EXPLICIT") {
        const auto format = keys.find("EDGE_WEIGHT_FORMAT");
        const std::string formatName = format == keys.end() ? "" : format->second.Value;
        struct TFormat {
            const char* Name;
            bool Upper;
            bool Diagonal;
        };
        constexpr TFormat Formats[] = {{"UPPER_ROW", true, false},
                                       {"LOWER_ROW", false, false},
                                       {"UPPER_DIAG_ROW", true, true},
                                       {"LOWER_DIAG_ROW", false, true}};
        const TFormat* triangle = nullptr;
        for (const TFormat& f : Formats) {
            triangle = formatName == f.Name ? &f : triangle;
        }
        if (formatName != "FULL_MATRIX" && triangle == nullptr) {
            Refuse(format == keys.end() ? 0 : format->second.Line, 0,
                   (format == keys.end() ? "EXPLICIT needs an EDGE_WEIGHT_FORMAT"
                                         : "EDGE_WEIGHT_FORMAT " + formatName + " is") +
                       std::string(format == keys.end() ? ": " : " none of ") +
                       "FULL_MATRIX, UPPER_ROW, LOWER_ROW, UPPER_DIAG_ROW and LOWER_DIAG_ROW");
        }
        kindText += " " + formatName;
        const std::vector<TToken>& tokens = needSection("EDGE_WEIGHT_SECTION", "EXPLICIT");
        // The pairs in the order the format lists them.
        std::vector<std::pair<int, int>> pairs;
        for (int i = 1; i <= n; ++i) {
            for (int j = 1; j <= n; ++j) {
                const bool listed = triangle == nullptr ||
                                    (triangle->Upper ? (j > i || (triangle->Diagonal && j == i))
                                                     : (j < i || (triangle->Diagonal && j == i)));
                if (listed) {
                    pairs.emplace_back(i, j);
                }
            }
        }
        const std::string needs = std::to_string(pairs.size()) + " values that " + dimensionWords +
                                  " gives in " + formatName;
        if (tokens.size() > pairs.size()) {
            Refuse(tokens[pairs.size()].Line, tokens[pairs.size()].Cell,
                   "EDGE_WEIGHT_SECTION holds more than the " + needs);
        }
        if (tokens.size() < pairs.size()) {
            Refuse(sectionLines["EDGE_WEIGHT_SECTION"], 0,
                   (early.empty() ? "" : "the file stops early: ") +
                       std::string("EDGE_WEIGHT_SECTION holds ") + std::to_string(tokens.size()) +
                       " of the " + needs);
        }
        bool diagonal = false;
        for (std::size_t at = 0; at < pairs.size(); ++at) {
            const auto [i, j] = pairs[at];
            const double value = DistanceOf(tokens[at]);
            if (i == j) {
                diagonal = diagonal || value != 0;
            } else {
                builder.Value(i, j) = value;
                if (triangle != nullptr) {
                    builder.Value(j, i) = value;
                }
            }
        }
        if (diagonal) {
            values.Notes.push_back(
                "the values from each node to itself are no distances and were left out");
        }
        if (sections.count("DISPLAY_DATA_SECTION") != 0) {
            const auto rows = nodeRows("DISPLAY_DATA_SECTION", 3);
            for (int node = 1; node <= n; ++node) {
                const auto& row = rows[static_cast<std::size_t>(node - 1)];
                builder.Node(node).Place = {true, NumberOf(row[0]), NumberOf(row[1])};
            }
            values.PlaceKind = TPlaceKind::Plane;
        }
    } else {
        const std::pair<const char*, TTsplibMetric> metrics[] = {
            {"EUC_2D", TTsplibMetric::Euclidean},
            {"CEIL_2D", TTsplibMetric::Ceiling},
            {"ATT", TTsplibMetric::Pseudo},
            {"GEO", TTsplibMetric::Geographic}};
        const auto* metric = std::find_if(std::begin(metrics), std::end(metrics),
                                          [&](const auto& m) { return metricName == m.first; });
        if (metric == std::end(metrics)) {
            Refuse(weightType.Line, 0,
                   "EDGE_WEIGHT_TYPE " + metricName +
                       " is none of EUC_2D, CEIL_2D, ATT, GEO and EXPLICIT");
        }
        const auto rows = nodeRows("NODE_COORD_SECTION", 3);
        std::vector<std::pair<double, double>> points;
        for (const auto& row : rows) {
            points.emplace_back(NumberOf(row[0]), NumberOf(row[1]));
        }
        for (int i = 1; i <= n; ++i) {
            const auto [xi, yi] = points[static_cast<std::size_t>(i - 1)];
            for (int j = 1; j <= n; ++j) {
                const auto [xj, yj] = points[static_cast<std::size_t>(j - 1)];
                if (i != j) {
                    builder.Value(i, j) = TsplibDistance(metric->second, xi, yi, xj, yj);
                }
            }
            if (metric->second == TTsplibMetric::Geographic) {
                // On the globe in decimal degrees: x is the latitude, y the longitude.
                const auto degrees = [](double value) {
                    const double whole = std::trunc(value);
                    return whole + 5.0 * (value - whole) / 3.0;
                };
                builder.Node(i).Place = {true, degrees(yi), degrees(xi)};
            } else {
                builder.Node(i).Place = {true, xi, yi};
            }
        }
        values.PlaceKind =
            metric->second == TTsplibMetric::Geographic ? TPlaceKind::Globe : TPlaceKind::Plane;
    }
    if (typeWord == "CVRP" && sections.count("DEMAND_SECTION") != 0) {
        const auto rows = nodeRows("DEMAND_SECTION", 2);
        for (int node = 1; node <= n; ++node) {
            const TToken& demand = rows[static_cast<std::size_t>(node - 1)][0];
            const std::string reason =
                ReadNodeValue(demand.Text, false, builder.Node(node).FirstDemand);
            if (!reason.empty()) {
                Refuse(demand.Line, demand.Cell, "the demand " + reason);
            }
        }
    }
    if (const auto capacity = keys.find("CAPACITY"); capacity != keys.end()) {
        values.Notes.push_back("CAPACITY = " + capacity->second.Value +
                               " is not part of the network");
    }
    values.Kind = TImportKind::Tsplib;
    values.KindText = kindText + ")";
    return std::move(builder.Values);
}
