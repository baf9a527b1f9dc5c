// The demand data file and the distance file: their text, byte for byte, and what a failed
// save leaves on disk.

#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>

#include "core/data_files.h"
#include "core/network_store.h"
#include "core/number_text.h"
#include "core/shortest_paths.h"
#include "platform/file_writer.h"

namespace {

// The notation of the worked example: '·' stands for a blank.
QByteArray Blanks(const char* dotted) {
    return QString::fromUtf8(dotted).replace(QChar(0xB7), QChar(' ')).toLatin1();
}

// A value as typed, held as it is stored. Hexadecimal texts ("0x1p-128") give exact values.
Real48 Held(const QString& typed) {
    return Real48::Narrow(std::strtold(typed.toLatin1().constData(), nullptr));
}

QByteArray ReadFile(const QString& name) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        return "<unreadable>";
    }
    return file.readAll();
}

void PutFile(const QString& name, const QByteArray& bytes) {
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

void AddNode(const std::string& name, const char* first, const char* second, const char* cost) {
    const int node = ++Network.NumNodes;
    Network.NodeNames[node] = name;
    Network.FirstDemands[node] = Held(first);
    Network.SecondDemands[node] = Held(second);
    Network.FixedCosts[node] = Held(cost);
}

// Nodes and links of the worked example, with the paths completed.
void MakeWorkedExample() {
    ResetNetworkStore();
    AddNode("Depot", "12.5", "0", "300");
    AddNode("North Yard", "2.0625", "10000", "0");
    Network.LinkRows.AllocateRows(2);
    Network.LinkRows[1][1] = Network.LinkRows[2][2] = NoLink;
    Network.LinkRows[1][2] = Network.LinkRows[2][1] = 5;
    CompleteShortestPaths();
}

const QByteArray WorkedDemandData =
    Blanks("···1····0.0····0.0·············12.500············0.000··········300.000···<·Depot·>") +
    "\r\n" +
    Blanks(
        "···2····0.0····0.0··············2.063········10000.000············0.000···<"
        "·North·Yard·>") +
    "\r\n";

}  // namespace

class TestDataFiles : public QObject {
    Q_OBJECT
  private slots:
    void cleanup();
    void IntegerTexts_data();
    void IntegerTexts();
    void FixedPointTexts_data();
    void FixedPointTexts();
    void DemandDataLines_data();
    void DemandDataLines();
    void WorkedExample();
    void OneWayLinkMakesTheFileAsymmetric();
    void FilesOf150Nodes();
    void SuccessReplacesAnEarlierFile();
    void MissingFolderFails();
};

void TestDataFiles::cleanup() {
    ResetNetworkStore();
}

void TestDataFiles::IntegerTexts_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("node 1") << 1 << 4 << QByteArray("   1");
    QTest::newRow("node 150") << 150 << 4 << QByteArray(" 150");
    QTest::newRow("distance 0") << 0 << 0 << QByteArray("0");
    QTest::newRow("distance 10000") << 10000 << 0 << QByteArray("10000");
    QTest::newRow("longer than the width") << 12345 << 4 << QByteArray("12345");
    QTest::newRow("negative") << -12 << 4 << QByteArray(" -12");
    QTest::newRow("smallest") << INT_MIN << 0 << QByteArray("-2147483648");
}

void TestDataFiles::IntegerTexts() {
    QFETCH(int, value);
    QFETCH(int, width);
    QFETCH(QByteArray, text);
    QCOMPARE(QByteArray::fromStdString(IntToPadded(value, width)), text);
}

// The rounding works on the value as stored, which may lie just above or below the typed one.
void TestDataFiles::FixedPointTexts_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QByteArray>("text");
    auto row = [](const char* name, const char* typed, const char* text) {
        QTest::newRow(name) << QString(typed) << 15 << 3 << QByteArray(text);
    };
    row("0", "0", "          0.000");
    row("10000", "10000", "      10000.000");
    row("12.5", "12.5", "         12.500");
    row("0.5", "0.5", "          0.500");
    row("exact half 2.0625 up, not to even", "2.0625", "          2.063");
    row("exact half 0.0625 up", "0.0625", "          0.063");
    row("exact half 0.3125 up", "0.3125", "          0.313");
    row("just below 2.0625", "0x1.07fffffffe000p+1", "          2.062");
    row("0.9999 carries", "0.9999", "          1.000");
    row("9.9996 gains a digit", "9.9996", "         10.000");
    row("9999.9996", "9999.9996", "      10000.000");
    row("0.1 held a little above", "0.1", "          0.100");
    row("1234.56", "1234.56", "       1234.560");
    row("9999.9", "9999.9", "       9999.900");
    row("0.0005 held below the half", "0.0005", "          0.000");
    row("1.0005 held above the half", "1.0005", "          1.001");
    row("2.0005 held below the half", "2.0005", "          2.000");
    row("9999.9995 held above the half", "9999.9995", "      10000.000");
    row("0.00051", "0.00051", "          0.001");
    row("smallest stored", "0x1p-128", "          0.000");
    row("negative half away from zero", "-2.0625", "         -2.063");
    row("2^100 beyond the width", "0x1p100", "1267650600228229401496703205376.000");
    row("1e30 as held", "1e30", "999999999999534741748122124288.000");
    QTest::newRow("1 decimal") << QString("2.0625") << 0 << 1 << QByteArray("2.1");
    QTest::newRow("2 decimals, below half") << QString("2.0625") << 0 << 2 << QByteArray("2.06");
    QTest::newRow("4 decimals exact") << QString("2.0625") << 8 << 4 << QByteArray("  2.0625");
    QTest::newRow("0 decimals, half up") << QString("2.5") << 0 << 0 << QByteArray("3");
    QTest::newRow("leading zeros") << QString("0.0625") << 0 << 4 << QByteArray("0.0625");
}

void TestDataFiles::FixedPointTexts() {
    QFETCH(QString, typed);
    QFETCH(int, width);
    QFETCH(int, decimals);
    QFETCH(QByteArray, text);
    QCOMPARE(QByteArray::fromStdString(FixedPointText(Held(typed), width, decimals)), text);
}

void TestDataFiles::DemandDataLines_data() {
    QTest::addColumn<int>("node");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("line");
    const QByteArray values = Blanks("····0.0····0.0····") + Blanks("··········1.000") +
                              Blanks("··") + Blanks("··········2.000") + Blanks("··") +
                              Blanks("··········3.000") + Blanks("···<·");
    QTest::newRow("blanks in the name")
        << 7 << QByteArray(" two  blanks ") << "   7" + values + " two  blanks  >\r\n";
    QTest::newRow("marks in the name")
        << 1 << QByteArray("<a>b<") << "   1" + values + "<a>b< >\r\n";
    QTest::newRow("empty name") << 1 << QByteArray() << "   1" + values + " >\r\n";
    QTest::newRow("Latin-1 bytes")
        << 2 << QByteArray("Z\xFCrich \xC5s") << "   2" + values + "Z\xFCrich \xC5s >\r\n";
    QTest::newRow("long name in full")
        << 150 << QByteArray("A name of forty characters, not cut off")
        << " 150" + values + "A name of forty characters, not cut off >\r\n";
}

void TestDataFiles::DemandDataLines() {
    QFETCH(int, node);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, line);
    const std::string text =
        DemandDataLine(node, name.toStdString(), Held("1"), Held("2"), Held("3"));
    QCOMPARE(QByteArray::fromStdString(text), line);
    QCOMPARE(static_cast<qsizetype>(text.size()), 78 + name.size() + 2);
}

void TestDataFiles::WorkedExample() {
    MakeWorkedExample();
    QTemporaryDir folder;
    QVERIFY(WriteDemandDataFile(folder.filePath("EXAMPLE.NET")));
    QVERIFY(WriteDistanceFile(folder.filePath("EXAMPLE.NED")));

    const QByteArray demandData = ReadFile(folder.filePath("EXAMPLE.NET"));
    QCOMPARE(demandData, WorkedDemandData);
    const QList<QByteArray> lines = demandData.split('\n');
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0].size(), 83 + 1);
    QCOMPARE(lines[1].size(), 88 + 1);
    QCOMPARE(ReadFile(folder.filePath("EXAMPLE.NED")), QByteArray("0\r\n5\r\n5\r\n0\r\n"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({"EXAMPLE.NED", "EXAMPLE.NET"}));
}

void TestDataFiles::OneWayLinkMakesTheFileAsymmetric() {
    MakeWorkedExample();
    ReleasePathRows();
    Network.LinkRows[2][1] = NoLink;
    CompleteShortestPaths();
    QCOMPARE(QByteArray::fromStdString(DistanceFileText()), QByteArray("0\r\n5\r\n10000\r\n0\r\n"));
}

// A one-way ring 1 -> 2 -> ... -> 150 -> 1 of length 1: the distance from i to j is
// (j - i) mod 150, so a file written column after column would not match.
void TestDataFiles::FilesOf150Nodes() {
    ResetNetworkStore();
    for (int node = 1; node <= MaxNodes; ++node) {
        AddNode("Node " + std::to_string(node), "1", "2", "3");
    }
    Network.LinkRows.AllocateRows(MaxNodes);
    for (int o = 1; o <= MaxNodes; ++o) {
        for (int d = 1; d <= MaxNodes; ++d) {
            Network.LinkRows[o][d] = NoLink;
        }
        Network.LinkRows[o][o % MaxNodes + 1] = 1;
    }
    CompleteShortestPaths();
    QVERIFY(Network.NetworkConnected);

    QTemporaryDir folder;
    QVERIFY(WriteDistanceFile(folder.filePath("RING.NED")));
    const QByteArray distances = ReadFile(folder.filePath("RING.NED"));
    QVERIFY(distances.endsWith("\r\n"));
    const QList<QByteArray> lines = distances.chopped(1).split('\n');
    QCOMPARE(lines.size(), 22500);
    for (int i = 1; i <= MaxNodes; ++i) {
        for (int j = 1; j <= MaxNodes; ++j) {
            const QByteArray expected = QByteArray::number((j - i + MaxNodes) % MaxNodes) + '\r';
            QCOMPARE(lines[(i - 1) * MaxNodes + j - 1], expected);
        }
    }

    QVERIFY(WriteDemandDataFile(folder.filePath("RING.NET")));
    const QList<QByteArray> demandLines = ReadFile(folder.filePath("RING.NET")).split('\n');
    QCOMPARE(demandLines.size(), MaxNodes + 1);
    QVERIFY(demandLines[MaxNodes - 1].startsWith(" 150    0.0"));
    QVERIFY(demandLines[MaxNodes - 1].endsWith("< Node 150 >\r"));
}

void TestDataFiles::SuccessReplacesAnEarlierFile() {
    MakeWorkedExample();
    QTemporaryDir folder;
    const QString name = folder.filePath("EXAMPLE.NET");
    PutFile(name, QByteArray(10000, 'x'));
    QVERIFY(WriteDemandDataFile(name));
    QCOMPARE(ReadFile(name), WorkedDemandData);
}

void TestDataFiles::MissingFolderFails() {
    MakeWorkedExample();
    QTemporaryDir folder;
    QVERIFY(!WriteDemandDataFile(folder.filePath("missing/EXAMPLE.NET")));
    QVERIFY(!WriteDistanceFile(folder.filePath("missing/EXAMPLE.NED")));
    QVERIFY(!WriteDistanceFile(QString()));
    QVERIFY(QDir(folder.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

QTEST_GUILESS_MAIN(TestDataFiles)
#include "tst_data_files.moc"
