#pragma once

// What every kind of imported file is read with: its lines, its numbers, its names and the
// refusal that stops the reading. Inside the import room only.

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "import/network_import.h"

// Thrown by the readers of the kinds and caught by ReadImportText, which gives it back as the
// reading's refusal; nothing of the file is taken then.
struct TImportRefused {
    TImportRefusal Refusal;
};
[[noreturn]] void Refuse(int line, int cell, std::string reason);

// The file's text once its bytes are judged: UTF-8 (a byte order mark left out), or, where it
// is not UTF-8, the bytes in which names are held, each byte a character of its own.
struct TImportText {
    std::string_view Text;
    bool Utf8 = true;
};

// One line of the text, without its end (LF, CR LF or CR alone), numbered from 1.
struct TTextLine {
    int Number = 0;
    std::string_view Text;
};
std::vector<TTextLine> SplitLines(std::string_view text);

// A blank or a tab.
inline bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
std::string_view Trimmed(std::string_view text);
// The words of a line parted by blanks and tabs.
std::vector<std::string_view> BlankParted(std::string_view text);

// A number as a table writes it: blanks around it, a sign, digits with one decimal point
// ("," too where decimalComma), an exponent. Returns the reason it is not one ("\"abc\" is not
// a number", "\"inf\" is not a finite number"), or an empty text with value set.
std::string ReadNumber(std::string_view text, bool decimalComma, double& value);
// A distance: a number, 0 or more. The reason, or an empty text.
std::string ReadDistance(std::string_view text, bool decimalComma, double& value);
// A whole number 0 or more, digits alone: true with value set.
bool ReadCount(std::string_view text, long long& value);
// A node value (demand, fixed cost): a number from 0 to 10000 as held. The reason, or empty.
std::string ReadNodeValue(std::string_view text, bool decimalComma, Real48& value);

// A name, in the bytes a demand data file holds it in; the reason it cannot be held, or an
// empty text with held set.
std::string HeldImportName(std::string_view cell, bool utf8, std::string& held);
// A held name in a message, in UTF-8 and quoted: "\"O'Neill\"".
std::string QuotedName(const std::string& held);
// The shortest decimal text that reads back to value: 2.5 -> "2.5", 1e+20 -> "1e+20".
std::string NumberText(double value);

// The nodes and the values a file gives, checked and put together.
class TImportBuilder {
  public:
    // Nodes 1..nodes, named by their numbers, first demand 1, second demand and fixed cost 0;
    // more than MaxNodes, or fewer than 2, is refused (line 0).
    void StartNumbered(long long nodes);
    // Nodes to be added by name (AddNamed).
    void StartNamed() {}
    // Adds a node by its held name; a name given before is refused at line and cell. Returns
    // its number.
    int AddNamed(const std::string& held, int line, int cell);
    // The number of the node of this held name, 0 where there is none.
    int NodeOfName(const std::string& held) const;
    int Count() const { return static_cast<int>(Values.Nodes.size()); }
    // Refuses fewer than 2 nodes and sizes the values; called once all nodes are known.
    void FinishNodes();
    TNodeSlot& Node(int node) { return Values.Nodes[static_cast<std::size_t>(node - 1)]; }
    std::optional<double>& Value(int i, int j) { return Values.Values[MatrixIndex(Count(), i, j)]; }
    // The value from i to j, read from a cell: a value from a place to itself is refused unless
    // it is 0 (and then kept out of the links).
    void SetValue(int i, int j, double value, int line, int cell);

    TImportedValues Values;

  private:
    std::map<std::string, int> NodesByName;
};
