#include "import/routing_table.h"

#include "core/file_texts/name_bytes.h"

#include <charconv>
#include <cmath>
#include <memory>

namespace {

// One JSON value and the line it starts on.
struct TJson {
    enum TType { Null, Bool, NumberType, String, Array, Object } Type = Null;
    int Line = 0;
    double Number = 0;
    std::string Text;  // a string's characters in UTF-8, a number's text
    std::vector<TJson> Items;
    // An object's members: their names, and their values in the same order (two lists, as a
    // pair would need the whole of this type where it is declared).
    std::vector<std::string> Keys;
    std::vector<TJson> Members;

    const TJson* Member(std::string_view name) const {
        for (std::size_t at = 0; at < Keys.size(); ++at) {
            if (Keys[at] == name) {
                return &Members[at];
            }
        }
        return nullptr;
    }
};

class TJsonReader {
  public:
    explicit TJsonReader(std::string_view text) : Text(text) {}

    TJson Document() {
        TJson value = Value(0);
        Space();
        if (At < Text.size()) {
            Fail("text follows the end of the JSON value");
        }
        return value;
    }

  private:
    [[noreturn]] void Fail(const std::string& what) { Refuse(Line, 0, "not JSON: " + what); }
    void Space() {
        for (; At < Text.size(); ++At) {
            const char c = Text[At];
            if (c == '\n') {
                ++Line;
            } else if (c == '\r') {
                Line += At + 1 < Text.size() && Text[At + 1] == '\n' ? 0 : 1;
            } else if (c != ' ' && c != '\t') {
                return;
            }
        }
    }
    bool Take(char c) {
        Space();
        if (At < Text.size() && Text[At] == c) {
            ++At;
            return true;
        }
        return false;
    }
    void Word(std::string_view word) {
        if (Text.substr(At, word.size()) != word) {
            Fail("a value is expected");
        }
        At += word.size();
    }

    TJson Value(int depth) {
        if (depth > 64) {
            Fail("nested more than 64 deep");
        }
        Space();
        TJson value;
        value.Line = Line;
        if (At >= Text.size()) {
            Fail("the text stops early");
        }
        const char c = Text[At];
        if (c == '{') {
            value.Type = TJson::Object;
            ++At;
            if (!Take('}')) {
                do {
                    Space();
                    if (At >= Text.size() || Text[At] != '"') {
                        Fail("a name in quotes is expected");
                    }
                    std::string name = String();
                    if (!Take(':')) {
                        Fail("a ':' is expected");
                    }
                    value.Keys.push_back(std::move(name));
                    value.Members.push_back(Value(depth + 1));
                } while (Take(','));
                if (!Take('}')) {
                    Fail("a ',' or '}' is expected");
                }
            }
        } else if (c == '[') {
            value.Type = TJson::Array;
            ++At;
            if (!Take(']')) {
                do {
                    value.Items.push_back(Value(depth + 1));
                } while (Take(','));
                if (!Take(']')) {
                    Fail("a ',' or ']' is expected");
                }
            }
        } else if (c == '"') {
            value.Type = TJson::String;
            value.Text = String();
        } else if (c == 't' || c == 'f') {
            value.Type = TJson::Bool;
            Word(c == 't' ? "true" : "false");
        } else if (c == 'n') {
            Word("null");
        } else {
            value.Type = TJson::NumberType;
            value.Text = NumberText();
            const auto result = std::from_chars(
                value.Text.data(), value.Text.data() + value.Text.size(), value.Number);
            if (result.ec == std::errc::result_out_of_range) {
                value.Number = value.Text.find("e-") != std::string::npos ||
                                       value.Text.find("E-") != std::string::npos
                                   ? 0.0
                                   : HUGE_VAL;
            }
        }
        return value;
    }

    // -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
    std::string NumberText() {
        const std::size_t start = At;
        const auto digits = [&] {
            const std::size_t from = At;
            while (At < Text.size() && Text[At] >= '0' && Text[At] <= '9') {
                ++At;
            }
            return At - from;
        };
        At += At < Text.size() && Text[At] == '-' ? 1 : 0;
        const std::size_t whole = At;
        if (digits() == 0 || (Text[whole] == '0' && At - whole > 1)) {
            Fail("a value is expected");
        }
        if (At < Text.size() && Text[At] == '.') {
            ++At;
            if (digits() == 0) {
                Fail("digits are expected after the decimal point");
            }
        }
        if (At < Text.size() && (Text[At] == 'e' || Text[At] == 'E')) {
            ++At;
            At += At < Text.size() && (Text[At] == '+' || Text[At] == '-') ? 1 : 0;
            if (digits() == 0) {
                Fail("digits are expected in the exponent");
            }
        }
        return std::string(Text.substr(start, At - start));
    }

    unsigned Hex4() {
        unsigned code = 0;
        for (int digit = 0; digit < 4; ++digit, ++At) {
            const char c = At < Text.size() ? Text[At] : 'x';
            const int value = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (value < 0) {
                Fail("four hexadecimal digits are expected after \\u");
            }
            code = code * 16 + static_cast<unsigned>(value);
        }
        return code;
    }

    std::string String() {
        std::string text;
        for (++At;; ++At) {
            if (At >= Text.size()) {
                Fail("a string is not closed");
            }
            const auto c = static_cast<unsigned char>(Text[At]);
            if (c == '"') {
                ++At;
                return text;
            }
            if (c < 0x20) {
                Fail("a string holds a control character");
            }
            if (c != '\\') {
                text += static_cast<char>(c);
                continue;
            }
            ++At;
            const char escape = At < Text.size() ? Text[At] : ' ';
            const std::string_view plain = "\"\\/bfnrt";
            const std::string_view meant = "\"\\/\b\f\n\r\t";
            if (const std::size_t found = plain.find(escape); found != std::string_view::npos) {
                text += meant[found];
                continue;
            }
            if (escape != 'u') {
                Fail("a string holds an unknown escape");
            }
            ++At;
            unsigned code = Hex4();
            if (code >= 0xD800 && code < 0xDC00 && Text.substr(At, 2) == "\\u") {
                At += 2;
                const unsigned low = Hex4();
                code = low >= 0xDC00 && low < 0xE000
                           ? 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00)
                           : 0xFFFD;
            }
            --At;
            // The characters in UTF-8 (a lone surrogate as U+FFFD).
            code = code >= 0xD800 && code < 0xE000 ? 0xFFFD : code;
            AppendUtf8(text, code);
        }
    }

    std::string_view Text;
    std::size_t At = 0;
    int Line = 1;
};

// The sources' locations, [longitude, latitude], where every one of the n nodes has one.
void KeepLocations(const TJson& table, TImportBuilder& builder) {
    const TJson* sources = table.Member("sources");
    if (sources == nullptr || sources->Type != TJson::Array ||
        sources->Items.size() != static_cast<std::size_t>(builder.Count())) {
        return;
    }
    for (const TJson& source : sources->Items) {
        const TJson* location = source.Member("location");
        if (location == nullptr || location->Type != TJson::Array || location->Items.size() != 2 ||
            location->Items[0].Type != TJson::NumberType ||
            location->Items[1].Type != TJson::NumberType ||
            std::fabs(location->Items[0].Number) > 180 ||
            std::fabs(location->Items[1].Number) > 90) {
            return;
        }
    }
    for (int node = 1; node <= builder.Count(); ++node) {
        const TJson& location =
            *sources->Items[static_cast<std::size_t>(node - 1)].Member("location");
        builder.Node(node).Place = {true, location.Items[0].Number, location.Items[1].Number};
    }
    builder.Values.PlaceKind = TPlaceKind::Globe;
}

}  // namespace

TImportedValues ReadRoutingTable(std::string_view text, TRoutingValue choice) {
    const TJson table = TJsonReader(text).Document();
    if (table.Type != TJson::Object) {
        Refuse(table.Line, 0, "the JSON text is not an object");
    }
    const char* names[2] = {"durations", "distances"};
    const TJson* arrays[2] = {};
    for (int which = 0; which < 2; ++which) {
        for (std::size_t at = 0; at < table.Keys.size(); ++at) {
            const TJson& value = table.Members[at];
            if (table.Keys[at] == names[which]) {
                if (arrays[which] != nullptr) {
                    Refuse(value.Line, 0, std::string("\"") + names[which] + "\" is given twice");
                }
                arrays[which] = &value;
            }
        }
    }
    TImportedValues choices;
    choices.Kind = TImportKind::RoutingTable;
    choices.KindText = "routing table";
    if (arrays[0] == nullptr && arrays[1] == nullptr) {
        Refuse(0, 0, "The table holds neither \"durations\" nor \"distances\".");
    }
    if (choice == TRoutingValue::Unchosen && arrays[0] != nullptr && arrays[1] != nullptr) {
        choices.Choices = {names[0], names[1]};
        return choices;
    }
    const int which = choice == TRoutingValue::Durations   ? 0
                      : choice == TRoutingValue::Distances ? 1
                                                           : (arrays[0] != nullptr ? 0 : 1);
    const std::string name = names[which];
    if (arrays[which] == nullptr) {
        Refuse(0, 0, "The table holds no \"" + name + "\".");
    }
    const TJson& rows = *arrays[which];
    if (rows.Type != TJson::Array) {
        Refuse(rows.Line, 0, "\"" + name + "\" is not an array of rows");
    }
    TImportBuilder builder;
    builder.StartNumbered(static_cast<long long>(rows.Items.size()));
    const int n = builder.Count();
    for (int i = 1; i <= n; ++i) {
        const TJson& row = rows.Items[static_cast<std::size_t>(i - 1)];
        const std::string rowName = "row " + std::to_string(i) + " of \"" + name + "\"";
        if (row.Type != TJson::Array) {
            Refuse(row.Line, 0, rowName + " is not an array");
        }
        if (row.Items.size() != static_cast<std::size_t>(n)) {
            Refuse(row.Line, 0,
                   rowName + " holds " + std::to_string(row.Items.size()) +
                       (row.Items.size() == 1 ? " value" : " values") + "; the table has " +
                       std::to_string(n) + " rows, and a table of a network is square");
        }
        for (int j = 1; j <= n; ++j) {
            const TJson& cell = row.Items[static_cast<std::size_t>(j - 1)];
            const std::string where = rowName + ", column " + std::to_string(j) + ": ";
            if (cell.Type == TJson::Null) {
                continue;
            }
            if (cell.Type != TJson::NumberType) {
                Refuse(cell.Line, 0, where + "the value is not a number");
            }
            if (!std::isfinite(cell.Number)) {
                Refuse(cell.Line, 0, where + cell.Text + " is not a finite number");
            }
            if (cell.Number < 0) {
                Refuse(cell.Line, 0, where + cell.Text + " is negative; a distance is 0 or more");
            }
            builder.SetValue(i, j, cell.Number == 0 ? 0.0 : cell.Number, cell.Line, 0);
        }
    }
    KeepLocations(table, builder);
    builder.Values.Kind = TImportKind::RoutingTable;
    builder.Values.KindText = "routing table (" + name + ")";
    return std::move(builder.Values);
}
