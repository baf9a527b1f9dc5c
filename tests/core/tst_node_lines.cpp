// The texts of the node window: the list lines, the count and the name as it is held.

#include <QTest>

#include "core/node_lines.h"
#include "core/real48.h"
#include "core/separators.h"
#include "platform/name_text.h"

class TestNodeLines : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void ListLine_data();
    void ListLine();
    void ExampleLineColumns();
    void CountText_data();
    void CountText();
    void SanitisedName_data();
    void SanitisedName();

  private:
    TFormatSeparators SavedSeparators;
};

void TestNodeLines::init() {
    SavedSeparators = FormatSeparators();
    SetFormatSeparators({'.', ','});
}

void TestNodeLines::cleanup() {
    SetFormatSeparators(SavedSeparators);
}

void TestNodeLines::ListLine_data() {
    QTest::addColumn<int>("node");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<double>("first");
    QTest::addColumn<double>("second");
    QTest::addColumn<double>("cost");
    QTest::addColumn<char>("decimal");
    QTest::addColumn<char>("thousands");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("example") << 7 << QByteArray("North Riverside Depot") << 1234.5 << 0.0 << 10000.0
                             << '.' << ','
                             << QByteArray(
                                    "   7  North Riverside       1,234.5           0.0"
                                    "      10,000.0");
    QTest::newRow("20 characters, first 15 kept")
        << 150 << QByteArray("ABCDEFGHIJKLMNOPQRST") << 0.1 << 0.25 << 999.96 << '.' << ','
        << QByteArray(" 150  ABCDEFGHIJKLMNO           0.1           0.3       1,000.0");
    QTest::newRow("short name right-aligned")
        << 1 << QByteArray("Hub") << 5.0 << 12.5 << 0.35 << '.' << ','
        << QByteArray("   1              Hub           5.0          12.5           0.3");
    QTest::newRow("empty name") << 12 << QByteArray() << 0.0 << 0.0 << 0.0 << '.' << ','
                                << QByteArray("  12" + QByteArray(19, ' ') +
                                              "         0.0           0.0           0.0");
    QTest::newRow("Latin-1 and angle brackets")
        << 3 << QByteArray("<Caf\xe9 Nord>") << 1.0 << 2.0 << 3.0 << '.' << ','
        << QByteArray("   3      <Caf\xe9 Nord>           1.0           2.0           3.0");
    QTest::newRow("regional comma decimal")
        << 7 << QByteArray("North Riverside Depot") << 1234.5 << 0.0 << 10000.0 << ',' << '.'
        << QByteArray("   7  North Riverside       1.234,5           0,0      10.000,0");
}

void TestNodeLines::ListLine() {
    QFETCH(int, node);
    QFETCH(QByteArray, name);
    QFETCH(double, first);
    QFETCH(double, second);
    QFETCH(double, cost);
    QFETCH(char, decimal);
    QFETCH(char, thousands);
    QFETCH(QByteArray, line);
    SetFormatSeparators({decimal, thousands});
    const std::string built = NodeWindowListLine(node, name.toStdString(), Real48::Narrow(first),
                                                 Real48::Narrow(second), Real48::Narrow(cost));
    QCOMPARE(QByteArray::fromStdString(built), line);
    QCOMPARE(built.size(), std::size_t{63});
}

// Columns counted from 1, as the planner reads them.
void TestNodeLines::ExampleLineColumns() {
    const QByteArray line = QByteArray::fromStdString(
        NodeWindowListLine(7, "North Riverside Depot", Real48::Narrow(1234.5), Real48::Narrow(0),
                           Real48::Narrow(10000)));
    const auto columns = [&line](int first, int last) {
        return line.mid(first - 1, last - first + 1);
    };
    QCOMPARE(columns(1, 4), QByteArray("   7"));
    QCOMPARE(columns(7, 21), QByteArray("North Riverside"));
    QCOMPARE(columns(29, 35), QByteArray("1,234.5"));
    QCOMPARE(columns(47, 49), QByteArray("0.0"));
    QCOMPARE(columns(56, 63), QByteArray("10,000.0"));
    for (const int gap : {5, 22, 36, 50}) {
        QCOMPARE(columns(gap, gap + 1), QByteArray("  "));
    }
    QCOMPARE(columns(24, 28).trimmed(), QByteArray());
    QCOMPARE(columns(38, 46).trimmed(), QByteArray());
    QCOMPARE(columns(52, 55).trimmed(), QByteArray());
}

void TestNodeLines::CountText_data() {
    QTest::addColumn<int>("numNodes");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("empty") << 0 << QByteArray("0 Nodes in the network");
    QTest::newRow("one") << 1 << QByteArray("1 Nodes in the network");
    QTest::newRow("one short of full") << 149 << QByteArray("149 Nodes in the network");
    QTest::newRow("full") << 150
                          << QByteArray("150 Nodes in the network.  NO MORE NODES MAY BE ADDED.");
}

void TestNodeLines::CountText() {
    QFETCH(int, numNodes);
    QFETCH(QByteArray, text);
    QCOMPARE(QByteArray::fromStdString(NodeCountText(numNodes)), text);
}

void TestNodeLines::SanitisedName_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("plain") << QStringLiteral("North Riverside Depot")
                           << QByteArray("North Riverside Depot");
    QTest::newRow("blanks and brackets kept")
        << QStringLiteral("  <Depot> & Co.  ") << QByteArray("  <Depot> & Co.  ");
    QTest::newRow("tab becomes a blank")
        << QStringLiteral("North\tDepot") << QByteArray("North Depot");
    QTest::newRow("each CR and LF becomes a blank")
        << QStringLiteral("North\r\nDepot\n") << QByteArray("North  Depot ");
    QTest::newRow("NUL, ESC and DEL removed") << QString::fromLatin1(
                                                     "A\0B\x1b"
                                                     "C\x7f"
                                                     "D",
                                                     7)
                                              << QByteArray("ABCD");
    QTest::newRow("C1 controls removed")
        << QString::fromUtf16(u"A\u0085B\u009fC") << QByteArray("ABC");
    QTest::newRow("codes of the five bytes without a character removed")
        << QString::fromUtf16(u"A\u0081\u008d\u008f\u0090\u009dB") << QByteArray("AB");
    QTest::newRow("Latin-1 letters kept") << QString::fromUtf16(u"Caf\u00e9 M\u00fcnster \u00bd")
                                          << QByteArray("Caf\xe9 M\xfcnster \xbd");
    QTest::newRow("no-break space kept") << QString::fromUtf16(u"A\u00a0B")
                                         << QByteArray(
                                                "A\xa0"
                                                "B");
    QTest::newRow("typographic characters get their Windows-1252 bytes")
        << QString::fromUtf16(u"O’Neill – Süd €")
        << QByteArray("\x4f\x92\x4e\x65\x69\x6c\x6c\x20\x96\x20\x53\xfc\x64\x20\x80");
    QTest::newRow("block corners") << QString::fromUtf16(u"\u20ac\u0178") << QByteArray("\x80\x9f");
    QTest::newRow("beyond Windows-1252 becomes ?") << QString::fromUtf16(u"\u03a9 Hub \u20ac5")
                                                   << QByteArray(
                                                          "? Hub \x80"
                                                          "5");
    QTest::newRow("one ? for a character beyond the basic plane")
        << QString::fromUtf16(u"Depot \U0001F69A") << QByteArray("Depot ?");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QByteArray("?");
    QTest::newRow("combining accent composed")
        << QString::fromUtf16(u"Cafe\u0301") << QByteArray("Caf\xe9");
    QTest::newRow("line separator becomes ?")
        << QString::fromUtf16(u"A\u2028B") << QByteArray("A?B");
    QTest::newRow("long name kept whole") << QString(300, QLatin1Char('x')) << QByteArray(300, 'x');
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestNodeLines::SanitisedName() {
    QFETCH(QString, typed);
    QFETCH(QByteArray, stored);
    QCOMPARE(QByteArray::fromStdString(SanitiseNodeName(typed)), stored);
}

QTEST_GUILESS_MAIN(TestNodeLines)
#include "tst_node_lines.moc"
