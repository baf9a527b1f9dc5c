// The texts of the link window without the window: node lines, link lines, the heading's
// columns, the count, and the order of the link list.

#include <QTest>

#include "core/link_lines.h"
#include "core/network_store.h"
#include "core/separators.h"

namespace {
// A network of count nodes named by the caller, with an empty link matrix.
void MakeNetwork(std::initializer_list<std::string> names) {
    ResetNetworkStore();
    for (const std::string& name : names) {
        ++Network.NumNodes;
        Network.NodeNames[Network.NumNodes] = name;
    }
    Network.LinkRows.AllocateRows(Network.NumNodes);
    for (int i = 1; i <= Network.NumNodes; ++i) {
        for (int j = 1; j <= Network.NumNodes; ++j) {
            Network.LinkRows[i][j] = NoLink;
        }
    }
}

QList<TLinkEnds> EndsOf(const TLinkListing& listing) {
    return QList<TLinkEnds>(listing.Ends.begin(), listing.Ends.end());
}
}  // namespace

namespace QTest {
template <>
char* toString(const TLinkEnds& ends) {
    return qstrdup(QByteArray::number(ends.Origin) + "->" + QByteArray::number(ends.Destination));
}
}  // namespace QTest

class TestLinkLines : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void NodeLines_data();
    void NodeLines();
    void LinkLines_data();
    void LinkLines();
    void LinkLineUsesRegionalSeparators();
    void HeadingStandsOverTheColumns();
    void CountText();
    void ListedByPairLowerDirectionFirst();
    void ListingMatchesSingleLines();
    void LatinOneNamesKeepTheirCharacters();
    void NoNodesListsNothing();
};

void TestLinkLines::init() {
    SetFormatSeparators({'.', ','});
}

void TestLinkLines::cleanup() {
    SetFormatSeparators({'.', ','});
    ResetNetworkStore();
}

void TestLinkLines::NodeLines_data() {
    QTest::addColumn<int>("node");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("line");
    QTest::newRow("short name right-aligned") << 7 << "Leeds"
                                              << "   7                 Leeds";
    QTest::newRow("exactly 20") << 12 << "ABCDEFGHIJKLMNOPQRST"
                                << "  12  ABCDEFGHIJKLMNOPQRST";
    QTest::newRow("longer cut to first 20") << 150 << "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                            << " 150  ABCDEFGHIJKLMNOPQRST";
    QTest::newRow("empty name") << 1 << ""
                                << "   1                      ";
    QTest::newRow("blanks kept") << 3 << "  North  "
                                 << "   3               North  ";
}

void TestLinkLines::NodeLines() {
    QFETCH(int, node);
    QFETCH(QString, name);
    QFETCH(QString, line);
    QCOMPARE(QString::fromLatin1(LinkWindowNodeLine(node, name.toStdString())), line);
}

void TestLinkLines::LinkLines_data() {
    QTest::addColumn<int>("distance");
    QTest::addColumn<QString>("line");
    QTest::newRow("0 is a link") << 0
                                 << "   1                     A ->    2                     B"
                                    "      DIST =          0.0";
    QTest::newRow("grouped") << 1250
                             << "   1                     A ->    2                     B"
                                "      DIST =      1,250.0";
    QTest::newRow("largest") << 10000
                             << "   1                     A ->    2                     B"
                                "      DIST =     10,000.0";
}

void TestLinkLines::LinkLines() {
    QFETCH(int, distance);
    QFETCH(QString, line);
    QCOMPARE(QString::fromLatin1(LinkWindowLinkLine(1, "A", 2, "B", distance)), line);
}

void TestLinkLines::LinkLineUsesRegionalSeparators() {
    SetFormatSeparators({',', '.'});
    QCOMPARE(QString::fromLatin1(
                 LinkWindowLinkLine(140, "Aachen", 9, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 9999)),
             QStringLiteral(" 140                Aachen ->    9  ABCDEFGHIJKLMNOPQRST"
                            "      DIST =      9.999,0"));
}

// The heading names each column over the characters of a link line that fill it.
void TestLinkLines::HeadingStandsOverTheColumns() {
    const QString heading = QString::fromLatin1(LinkListHeading);
    const QString line = QString::fromLatin1(LinkWindowLinkLine(
        1, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 2, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 10000));
    QCOMPARE(heading, QStringLiteral("Numb  ........NAME........ -> NUMB  ........NAME........"
                                     "      LINK DISTANCE"));
    QCOMPARE(heading.indexOf(QStringLiteral(" -> ")), line.indexOf(QStringLiteral(" -> ")));
    // Both name columns: 20 characters after "Numb  " and after "NUMB  ".
    QCOMPARE(heading.mid(6, 20), QStringLiteral("........NAME........"));
    QCOMPARE(line.mid(6, 20), QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    QCOMPARE(heading.mid(36, 20), QStringLiteral("........NAME........"));
    QCOMPARE(line.mid(36, 20), QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    QCOMPARE(line.mid(30, 4), QStringLiteral("   2"));
    QCOMPARE(line.size(), 81);
}

void TestLinkLines::CountText() {
    QCOMPARE(QString::fromLatin1(LinkCountText(0)), QStringLiteral("0 links have been specified."));
    QCOMPARE(QString::fromLatin1(LinkCountText(1)), QStringLiteral("1 links have been specified."));
    QCOMPARE(QString::fromLatin1(LinkCountText(22350)),
             QStringLiteral("22350 links have been specified."));
}

void TestLinkLines::ListedByPairLowerDirectionFirst() {
    MakeNetwork({"One", "Two", "Three", "Four"});
    // Stored in this order: 2->3, 3->1, 1->2, 1->3, 2->1, and 4->2 without its mirror.
    Network.LinkRows[2][3] = 23;
    Network.LinkRows[3][1] = 31;
    Network.LinkRows[1][2] = 12;
    Network.LinkRows[1][3] = 13;
    Network.LinkRows[2][1] = 21;
    Network.LinkRows[4][2] = 42;
    const TLinkListing listing = LinkWindowLinkLines(Network);
    const QList<TLinkEnds> expected{{1, 2}, {2, 1}, {1, 3}, {3, 1}, {2, 3}, {4, 2}};
    QCOMPARE(EndsOf(listing), expected);
    QCOMPARE(listing.Lines.size(), 6);
    QVERIFY(listing.Lines[3].startsWith(QStringLiteral("   3                 Three ->    1")));
    QVERIFY(listing.Lines[3].endsWith(QStringLiteral("DIST =         31.0")));
    QVERIFY(listing.Lines[5].startsWith(QStringLiteral("   4                  Four ->    2")));
}

// The listing builds its lines from shared pieces; each must read as the single line does.
void TestLinkLines::ListingMatchesSingleLines() {
    MakeNetwork({"Alpha", "a name longer than twenty", "", "x -> 2"});
    Network.LinkRows[1][2] = 0;
    Network.LinkRows[2][1] = 10000;
    Network.LinkRows[4][3] = 1234;
    Network.LinkRows[3][4] = 7;
    Network.LinkRows[1][4] = 999;
    Network.LinkRows[4][1] = 999;
    const TLinkListing listing = LinkWindowLinkLines(Network);
    QCOMPARE(listing.Lines.size(), 6);
    for (qsizetype k = 0; k < listing.Lines.size(); ++k) {
        const TLinkEnds ends = listing.Ends[static_cast<std::size_t>(k)];
        QCOMPARE(listing.Lines[k], QString::fromLatin1(LinkWindowLinkLine(
                                       ends.Origin, Network.NodeNames[ends.Origin],
                                       ends.Destination, Network.NodeNames[ends.Destination],
                                       Network.LinkRows[ends.Origin][ends.Destination])));
    }
}

// Names are Latin-1 bytes: "Zürich" is six bytes and six columns, not a UTF-8 sequence.
void TestLinkLines::LatinOneNamesKeepTheirCharacters() {
    MakeNetwork({"Z\xfcrich", "M\xe1laga"});
    Network.LinkRows[1][2] = 5;
    const QStringList nodes = LinkWindowNodeLines(Network);
    QCOMPARE(nodes, QStringList({QStringLiteral("   1                Z\u00fcrich"),
                                 QStringLiteral("   2                M\u00e1laga")}));
    const TLinkListing listing = LinkWindowLinkLines(Network);
    QCOMPARE(listing.Lines.size(), 1);
    QVERIFY(listing.Lines[0].startsWith(nodes[0] + QStringLiteral(" -> ") + nodes[1]));
}

void TestLinkLines::NoNodesListsNothing() {
    MakeNetwork({});
    QVERIFY(LinkWindowNodeLines(Network).isEmpty());
    const TLinkListing listing = LinkWindowLinkLines(Network);
    QVERIFY(listing.Lines.isEmpty());
    QVERIFY(listing.Ends.empty());
}

QTEST_APPLESS_MAIN(TestLinkLines)
#include "tst_link_lines.moc"
