// The shortest-distance matrix and the connectivity verdict, and the row-wise completion
// against the plain checked triple loop.

#include <QRegularExpression>
#include <QTest>
#include <climits>
#include <random>
#include <vector>

#include "core/errors.h"
#include "core/network_store.h"
#include "core/shortest_paths.h"
#include "reference_paths.h"

namespace {

using TMatrix = std::vector<std::int32_t>;  // n * n entries, row after row

void StartNetwork(int n) {
    ResetNetworkStore();
    Network.NumNodes = n;
    Network.LinkRows.AllocateRows(n);
    for (int o = 1; o <= n; ++o) {
        for (int d = 1; d <= n; ++d) {
            Network.LinkRows[o][d] = NoLink;
        }
    }
}

// "1>2:5" is a one-way link of 5 from 1 to 2; "1-2:5" a two-way link.
void AddLinks(const QString& links) {
    for (const QString& link : links.split(' ', Qt::SkipEmptyParts)) {
        const bool twoWay = link.contains('-');
        const QStringList parts = link.split(QRegularExpression("[->:]"));
        const int origin = parts[0].toInt();
        const int destination = parts[1].toInt();
        const int distance = parts[2].toInt();
        Network.LinkRows[origin][destination] = distance;
        if (twoWay) {
            Network.LinkRows[destination][origin] = distance;
        }
    }
}

TMatrix Entries(const TRowMatrix& rows, int n) {
    TMatrix entries;
    for (int i = 1; i <= n; ++i) {
        for (int j = 1; j <= n; ++j) {
            entries.push_back(rows[i][j]);
        }
    }
    return entries;
}

enum class TCompletion { RowWise, Reference };

void Complete(TCompletion completion) {
    if (completion == TCompletion::RowWise) {
        CompleteShortestPaths();
    } else {
        CompleteShortestPathsReference();
    }
}

}  // namespace

class TestShortestPaths : public QObject {
    Q_OBJECT
  private slots:
    void cleanup();
    void SmallNetworks_data();
    void SmallNetworks();
    void NoLinksAmong150Nodes();
    void ReleaseFreesTheRows();
    void OutOfRangeLinkIsRefused_data();
    void OutOfRangeLinkIsRefused();
    void DeadColumnsAreNotRead();
    void RowWiseEqualsReferenceOnRandomNetworks();
};

void TestShortestPaths::cleanup() {
    ResetNetworkStore();
}

void TestShortestPaths::SmallNetworks_data() {
    QTest::addColumn<int>("nodes");
    QTest::addColumn<QString>("links");
    QTest::addColumn<QList<int>>("paths");
    QTest::addColumn<bool>("connected");

    QTest::newRow("one-way 5") << 2 << "1>2:5" << QList<int>{0, 5, 10000, 0} << false;
    QTest::newRow("two-way 5") << 2 << "1-2:5" << QList<int>{0, 5, 5, 0} << true;
    QTest::newRow("6000 + 6000 capped")
        << 3 << "1-2:6000 2-3:6000" << QList<int>{0, 6000, 10000, 6000, 0, 6000, 10000, 6000, 0}
        << false;
    QTest::newRow("exactly 10000 stays connected")
        << 3 << "1-2:5000 2-3:5000" << QList<int>{0, 5000, 10000, 5000, 0, 5000, 10000, 5000, 0}
        << true;
    QTest::newRow("zero-length two-way") << 2 << "1-2:0" << QList<int>{0, 0, 0, 0} << true;
    QTest::newRow("shorter indirect path")
        << 3 << "1>3:100 1>2:30 2>3:40" << QList<int>{0, 30, 70, 10000, 0, 40, 10000, 10000, 0}
        << false;
    QTest::newRow("indirect path both ways")
        << 3 << "1-3:100 1-2:30 2-3:40" << QList<int>{0, 30, 70, 30, 0, 40, 70, 40, 0} << true;
    QTest::newRow("chain against the order")
        << 4 << "4>3:1 3>2:1 2>1:1"
        << QList<int>{0, 10000, 10000, 10000, 1, 0, 10000, 10000, 2, 1, 0, 10000, 3, 2, 1, 0}
        << false;
    QTest::newRow("one node") << 1 << "" << QList<int>{0} << true;
    QTest::newRow("two nodes, no link") << 2 << "" << QList<int>{0, 10000, 10000, 0} << false;
}

void TestShortestPaths::SmallNetworks() {
    QFETCH(int, nodes);
    QFETCH(QString, links);
    QFETCH(QList<int>, paths);
    QFETCH(bool, connected);
    const TMatrix expected(paths.begin(), paths.end());

    for (const TCompletion completion : {TCompletion::RowWise, TCompletion::Reference}) {
        StartNetwork(nodes);
        AddLinks(links);
        const TMatrix linksBefore = Entries(Network.LinkRows, nodes);
        Network.NetworkConnected = !connected;

        Complete(completion);

        QCOMPARE(Entries(Network.PathRows, nodes), expected);
        QCOMPARE(Network.NetworkConnected, connected);
        QCOMPARE(Entries(Network.LinkRows, nodes), linksBefore);
        for (int i = 1; i <= nodes; ++i) {
            QCOMPARE(Network.LinkRows[i][i], NoLink);
        }
        ReleasePathRows();
    }
}

// NoLink + NoLink is added over and over without overflow; every pair ends at the cap.
void TestShortestPaths::NoLinksAmong150Nodes() {
    for (const TCompletion completion : {TCompletion::RowWise, TCompletion::Reference}) {
        StartNetwork(MaxNodes);
        Complete(completion);
        QVERIFY(!Network.NetworkConnected);
        for (int i = 1; i <= MaxNodes; ++i) {
            for (int j = 1; j <= MaxNodes; ++j) {
                QCOMPARE(Network.PathRows[i][j], i == j ? 0 : MaxDistance);
                QCOMPARE(Network.LinkRows[i][j], NoLink);
            }
        }
        ReleasePathRows();
    }
}

void TestShortestPaths::ReleaseFreesTheRows() {
    StartNetwork(5);
    CompleteShortestPaths();
    for (int i = 1; i <= 5; ++i) {
        QVERIFY(Network.PathRows.IsAllocated(i));
    }
    QVERIFY(!Network.PathRows.IsAllocated(6));
    ReleasePathRows();
    for (int i = 1; i <= 5; ++i) {
        QVERIFY(!Network.PathRows.IsAllocated(i));
        QVERIFY(Network.LinkRows.IsAllocated(i));
    }
    QVERIFY_THROWS_EXCEPTION(ERangeError, Network.PathRows[1][1]);
}

// A link entry outside NoLink and 0..10000 would break the argument that every sum fits in
// 32 bits: the completion refuses it before it allocates anything.
void TestShortestPaths::OutOfRangeLinkIsRefused_data() {
    QTest::addColumn<int>("origin");
    QTest::addColumn<int>("destination");
    QTest::addColumn<int>("value");
    QTest::newRow("negative") << 1 << 2 << -1;
    QTest::newRow("10001") << 2 << 3 << 10001;
    QTest::newRow("just below NoLink") << 3 << 1 << NoLink - 1;
    QTest::newRow("just above NoLink") << 1 << 3 << NoLink + 1;
    QTest::newRow("largest integer") << 2 << 1 << INT_MAX;
    QTest::newRow("on the diagonal") << 2 << 2 << -5;
}

void TestShortestPaths::OutOfRangeLinkIsRefused() {
    QFETCH(int, origin);
    QFETCH(int, destination);
    QFETCH(int, value);
    StartNetwork(3);
    AddLinks("1-2:5 2-3:7");
    Network.LinkRows[origin][destination] = value;
    QVERIFY_THROWS_EXCEPTION(EMeshLoomError, CompleteShortestPaths());
    QVERIFY(!Network.PathRows.IsAllocated(1));
    QCOMPARE(Network.LinkRows[origin][destination], value);

    Network.NumNodes = MaxNodes + 1;
    QVERIFY_THROWS_EXCEPTION(EMeshLoomError, CompleteShortestPaths());
}

// Columns and rows above NumNodes may hold anything; they are neither checked nor read.
void TestShortestPaths::DeadColumnsAreNotRead() {
    StartNetwork(4);
    AddLinks("1-2:5 2-3:7");
    Network.NumNodes = 3;
    Network.LinkRows[1][4] = -9;
    Network.LinkRows[4][1] = -9;
    CompleteShortestPaths();
    QCOMPARE(Entries(Network.PathRows, 3), (TMatrix{0, 5, 12, 5, 0, 7, 12, 7, 0}));
    QVERIFY(Network.NetworkConnected);
    QVERIFY(!Network.PathRows.IsAllocated(4));
}

void TestShortestPaths::RowWiseEqualsReferenceOnRandomNetworks() {
    struct TKind {
        const char* Name;
        double LinkChance;  // of each unordered pair; < 0: about 2 links a node
        double OneWayShare;
        int Shortest;
        int Longest;
    };
    const TKind kinds[] = {
        {"dense", 0.9, 0.2, 0, 10000},          {"sparse", -1, 0.3, 1, 3000},
        {"one-way only", 0.15, 1.0, 0, 10000},  {"mostly zero", 0.05, 0.5, 0, 1},
        {"near the cap", 0.3, 0.3, 4990, 5010}, {"at the cap", 0.2, 0.5, 9990, 10000},
    };
    std::vector<int> sizes;
    for (int n = 1; n <= 24; ++n) {
        sizes.push_back(n);
    }
    for (int n : {31, 32, 33, 47, 63, 64, 65, 99, 127, 128, 143, 144, 145, 149, 150}) {
        sizes.push_back(n);
    }

    std::mt19937 random(20240607);
    int connectedSeen = 0;
    int notConnectedSeen = 0;
    for (const TKind& kind : kinds) {
        for (const int n : sizes) {
            StartNetwork(n);
            const double chance = kind.LinkChance < 0 ? 2.0 / n : kind.LinkChance;
            std::uniform_real_distribution<double> unit(0, 1);
            std::uniform_int_distribution<int> distance(kind.Shortest, kind.Longest);
            for (int o = 1; o <= n; ++o) {
                for (int d = o + 1; d <= n; ++d) {
                    if (unit(random) >= chance) {
                        continue;
                    }
                    if (unit(random) < kind.OneWayShare) {
                        (unit(random) < 0.5 ? Network.LinkRows[o][d] : Network.LinkRows[d][o]) =
                            distance(random);
                    } else {
                        Network.LinkRows[o][d] = Network.LinkRows[d][o] = distance(random);
                    }
                }
            }

            CompleteShortestPathsReference();
            const TMatrix reference = Entries(Network.PathRows, n);
            const bool referenceConnected = Network.NetworkConnected;
            ReleasePathRows();
            CompleteShortestPaths();
            const QByteArray where = QByteArray(kind.Name) + ", " + QByteArray::number(n);
            QVERIFY2(Entries(Network.PathRows, n) == reference, where.constData());
            QVERIFY2(Network.NetworkConnected == referenceConnected, where.constData());
            ReleasePathRows();
            ++(referenceConnected ? connectedSeen : notConnectedSeen);
        }
    }
    QVERIFY(connectedSeen > 20);
    QVERIFY(notConnectedSeen > 20);
}

QTEST_APPLESS_MAIN(TestShortestPaths)
#include "tst_shortest_paths.moc"
