// Real48: the byte layout, exact widening and the rounding of narrowing.

#include <QTest>
#include <cmath>

#include "core/errors.h"
#include "core/network_store.h"
#include "core/real48.h"
#include "core/text_to_number.h"

class TestReal48 : public QObject {
    Q_OBJECT
  private slots:
    void NarrowedDecimals_data();
    void NarrowedDecimals();
    void ByteLayout_data();
    void ByteLayout();
    void RoundsHalfAwayFromZeroWithCarry();
    void TinyValuesAndNegativeZeroBecomePositiveZero();
    void OverflowRaises();
    void MatrixRowsAreRangeChecked();
    void DeletedRowCannotBeRead();
};

// Narrowing then widening, printed with 17 significant digits.
void TestReal48::NarrowedDecimals_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("held");
    QTest::newRow("0.1") << "0.1"
                         << "0.10000000000002274";
    QTest::newRow("1234.56") << "1234.56"
                             << "1234.5600000005215";
    QTest::newRow("9999.9") << "9999.9"
                            << "9999.9000000059605";
    QTest::newRow("10000 exact") << "10000"
                                 << "10000";
    QTest::newRow("0.25 exact") << "0.25"
                                << "0.25";
}

void TestReal48::NarrowedDecimals() {
    QFETCH(QString, typed);
    QFETCH(QString, held);
    const Extended value = std::strtold(typed.toLatin1().constData(), nullptr);
    const double widened = static_cast<double>(Real48::Narrow(value).Widen());
    QCOMPARE(QString::number(widened, 'g', 17), held);
}

void TestReal48::ByteLayout_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("0") << 0.0 << QByteArray::fromHex("000000000000");
    QTest::newRow("1") << 1.0 << QByteArray::fromHex("810000000000");
    QTest::newRow("-1") << -1.0 << QByteArray::fromHex("810000000080");
    QTest::newRow("0.5") << 0.5 << QByteArray::fromHex("800000000000");
    QTest::newRow("10000") << 10000.0 << QByteArray::fromHex("8e000000401c");
    QTest::newRow("1.5") << 1.5 << QByteArray::fromHex("810000000040");
    QTest::newRow("2^-128 smallest")
        << std::ldexp(1.0, -128) << QByteArray::fromHex("010000000000");
}

void TestReal48::ByteLayout() {
    QFETCH(double, value);
    QFETCH(QByteArray, bytes);
    const Real48 narrowed = Real48::Narrow(value);
    const auto& held = narrowed.Bytes();
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(held.data()), 6), bytes);
    QCOMPARE(static_cast<double>(narrowed.Widen()), value);
}

void TestReal48::RoundsHalfAwayFromZeroWithCarry() {
    // 1 + 2^-40 is exactly half a unit of the 40-bit significand: it rounds up.
    const Extended half = 1.0L + std::ldexp(1.0L, -40);
    QCOMPARE(Real48::Narrow(half).Widen(), 1.0L + std::ldexp(1.0L, -39));
    QCOMPARE(Real48::Narrow(-half).Widen(), -(1.0L + std::ldexp(1.0L, -39)));
    // Just below half rounds down.
    QCOMPARE(Real48::Narrow(half - std::ldexp(1.0L, -63)).Widen(), 1.0L);
    // All 40 bits set plus a half carries into the exponent: 2 - 2^-40 -> 2.
    QCOMPARE(Real48::Narrow(2.0L - std::ldexp(1.0L, -40)).Widen(), 2.0L);
}

void TestReal48::TinyValuesAndNegativeZeroBecomePositiveZero() {
    for (const Extended value : {-0.0L, 1e-40L, -1e-40L, std::ldexp(1.0L, -129)}) {
        const Real48 narrowed = Real48::Narrow(value);
        const auto& bytes = narrowed.Bytes();
        QVERIFY(std::all_of(bytes.begin(), bytes.end(), [](auto b) { return b == 0; }));
    }
}

void TestReal48::OverflowRaises() {
    QVERIFY_THROWS_EXCEPTION(EOverflow, Real48::Narrow(std::ldexp(1.0L, 127)));
    QVERIFY_THROWS_EXCEPTION(EOverflow, Real48::Narrow(HUGE_VALL));
    QCOMPARE(Real48::Narrow(std::ldexp(1.0L, 126)).Widen(), std::ldexp(1.0L, 126));
}

void TestReal48::MatrixRowsAreRangeChecked() {
    ResetNetworkStore();
    Network.LinkRows.AllocateRows(3);
    Network.LinkRows[3][150] = NoLink;
    QVERIFY_THROWS_EXCEPTION(ERangeError, Network.LinkRows[0][1]);
    QVERIFY_THROWS_EXCEPTION(ERangeError, Network.LinkRows[1][151]);
    QVERIFY_THROWS_EXCEPTION(ERangeError, Network.LinkRows[4][1]);  // never allocated
    QVERIFY_THROWS_EXCEPTION(ERangeError, Network.NodeNames[0]);
    Network.LinkRows.ReleaseRows(3);
}

void TestReal48::DeletedRowCannotBeRead() {
    ResetNetworkStore();
    Network.PathRows.AllocateRows(2);
    Network.PathRows[2][2] = 7;
    Network.PathRows.ReleaseRows(2);
    QVERIFY(!Network.PathRows.IsAllocated(2));
    QVERIFY_THROWS_EXCEPTION(ERangeError, Network.PathRows[2][2]);
}

QTEST_GUILESS_MAIN(TestReal48)
#include "tst_real48.moc"
