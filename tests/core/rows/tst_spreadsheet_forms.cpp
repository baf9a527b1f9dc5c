// The forms Copy offers: the same cells as tab-separated text, SYLK and an XML cell range,
// names as text whatever they look like, values as numbers with "." in the typed forms.

#include <string>
#include <vector>

#include "core/rows/spreadsheet_forms.h"
#include "core_test.h"

namespace {

using SpreadsheetFormsTest = CoreTest;

const std::string SylkHeader =
    "ID;PMESHLOOM\nC;X1;Y1;K\"Name\"\nC;X2;Y1;K\"First demand\"\nC;X3;Y1;K\"Second "
    "demand\"\nC;X4;Y1;K\"Fixed cost\"\n";
const std::string XmlHeader =
    "BaseCol=\"0\" BaseRow=\"0\">\n<gnm:Cells>\n"
    "<gnm:Cell Row=\"0\" Col=\"0\" ValueType=\"60\">Name</gnm:Cell>\n"
    "<gnm:Cell Row=\"0\" Col=\"1\" ValueType=\"60\">First demand</gnm:Cell>\n"
    "<gnm:Cell Row=\"0\" Col=\"2\" ValueType=\"60\">Second demand</gnm:Cell>\n"
    "<gnm:Cell Row=\"0\" Col=\"3\" ValueType=\"60\">Fixed cost</gnm:Cell>\n";

std::string Xml(int rows, const std::string& cells) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gnm:ClipboardRange "
           "xmlns:gnm=\"http://www.gnumeric.org/v10.dtd\" Cols=\"4\" Rows=\"" +
           std::to_string(rows) + "\" " + XmlHeader + cells +
           "</gnm:Cells>\n</gnm:ClipboardRange>\n";
}

// The node rows of no node or one (its name, first demand and fixed cost 10000), in a region
// with "," as decimal symbol; names in their held bytes (0x92 is a closing quote, 0x80 the euro).
TEST_F(SpreadsheetFormsTest, NodeRowsInEveryForm) {
    SetFormatSeparators({',', '.'});
    const struct {
        const char* Name;
        long double FirstDemand;
        const char* Tabbed;
        const char* Sylk;
        const char* Xml;
    } rows[] = {
        {nullptr, 0, "", "", ""},
        {"01067", 12.5L, "01067\t12,5\t0\t10000\n",
         "C;X1;Y2;K\"01067\"\nC;X2;Y2;K12.5\nC;X3;Y2;K0\nC;X4;Y2;K10000\n",
         "<gnm:Cell Row=\"1\" Col=\"0\" ValueType=\"60\">01067</gnm:Cell>\n"
         "<gnm:Cell Row=\"1\" Col=\"1\" ValueType=\"40\">12.5</gnm:Cell>\n"
         "<gnm:Cell Row=\"1\" Col=\"2\" ValueType=\"40\">0</gnm:Cell>\n"
         "<gnm:Cell Row=\"1\" Col=\"3\" ValueType=\"40\">10000</gnm:Cell>\n"},
        {"=1+1", 0.1L, "=1+1\t0,1\t0\t10000\n",
         "C;X1;Y2;K\"=1+1\"\nC;X2;Y2;K0.1\nC;X3;Y2;K0\nC;X4;Y2;K10000\n",
         "<gnm:Cell Row=\"1\" Col=\"0\" ValueType=\"60\">=1+1</gnm:Cell>\n"
         "<gnm:Cell Row=\"1\" Col=\"1\" ValueType=\"40\">0.1</gnm:Cell>\n"
         "<gnm:Cell Row=\"1\" Col=\"2\" ValueType=\"40\">0</gnm:Cell>\n"
         "<gnm:Cell Row=\"1\" Col=\"3\" ValueType=\"40\">10000</gnm:Cell>\n"},
        {"a;b\"<&>\x92\x80", 1234.56L, "\"a;b\"\"<&>\x92\x80\"\t1234,56\t0\t10000\n",
         "C;X1;Y2;K\"a;;b\"<&>\x92\x80\"\nC;X2;Y2;K1234.56\nC;X3;Y2;K0\nC;X4;Y2;K10000\n",
         "<gnm:Cell Row=\"1\" Col=\"0\" "
         "ValueType=\"60\">a;b&quot;&lt;&amp;&gt;\x92\x80</gnm:Cell>\n"
         "<gnm:Cell Row=\"1\" Col=\"1\" ValueType=\"40\">1234.56</gnm:Cell>\n"
         "<gnm:Cell Row=\"1\" Col=\"2\" ValueType=\"40\">0</gnm:Cell>\n"
         "<gnm:Cell Row=\"1\" Col=\"3\" ValueType=\"40\">10000</gnm:Cell>\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Tabbed);
        ResetNetworkStore();
        if (row.Name != nullptr) {
            Network.NodeNames[++Network.NumNodes] = row.Name;
            Network.FirstDemands[1] = Real48::Narrow(row.FirstDemand);
            Network.FixedCosts[1] = Real48::Narrow(10000);
        }
        const std::vector<TSheetRow> sheet = NodeSheetRows(Network);
        EXPECT_EQ(TabSeparatedText(sheet),
                  std::string("Name\tFirst demand\tSecond demand\tFixed cost\n") + row.Tabbed);
        EXPECT_EQ(SylkText(sheet), SylkHeader + row.Sylk + "E\n");
        EXPECT_EQ(CellRangeXml(sheet), Xml(Network.NumNodes + 1, row.Xml));
    }
}

}  // namespace
