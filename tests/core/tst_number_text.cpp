// The text forms of numbers: integers, padding, the digit record and the three real forms,
// judged on the values as Real48 holds them.

#include <QTest>
#include <limits>

#include "core/extended_testing.h"
#include "core/number_text.h"
#include "core/real48.h"
#include "core/separators.h"
#include "core/text_to_number.h"

namespace {
// A typed text as the node window stores it: converted, narrowed to Real48 and widened.
Extended Held(const char* typed) {
    return Real48::Narrow(StrToFloat(typed)).Widen();
}
}  // namespace

class TestNumberText : public QObject {
    Q_OBJECT
  private slots:
    void cleanup();
    void TypedValuesInTheThreeForms_data();
    void TypedValuesInTheThreeForms();
    void DigitRecord_data();
    void DigitRecord();
    void GroupedForm_data();
    void GroupedForm();
    void GeneralForm_data();
    void GeneralForm();
    void IntegerTexts_data();
    void IntegerTexts();
    void PadLeftNeverCuts();
    void RegionalSeparatorsInEveryRealForm();
};

void TestNumberText::cleanup() {
    SetFormatSeparators({});
}

// Typed text -> StrToFloat -> Real48 -> written. Rounding is judged on the held value: 0.35
// is held a little below 0.35 and 0.15 a little above; 0.25 and 7.25 are held exactly and
// round up.
void TestNumberText::TypedValuesInTheThreeForms_data() {
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<QByteArray>("grouped");
    QTest::addColumn<QByteArray>("plainFixed");
    QTest::addColumn<QByteArray>("general");
    auto row = [](const char* typed, const char* grouped, const char* plain, const char* general) {
        QTest::newRow(typed) << QByteArray(typed) << QByteArray(grouped) << QByteArray(plain)
                             << QByteArray(general);
    };
    row("0", "0.0", "0.00", "0");
    row("5", "5.0", "5.00", "5");
    row("12.5", "12.5", "12.50", "12.5");
    row("0.25", "0.3", "0.25", "0.25");
    row("0.35", "0.3", "0.35", "0.349999999999909");
    row("0.05", "0.1", "0.05", "0.0500000000000114");
    row("0.04", "0.0", "0.04", "0.0400000000000205");
    row("0.1", "0.1", "0.10", "0.100000000000023");
    row("999.96", "1,000.0", "999.96", "999.959999999963");
    row("1234.56", "1,234.6", "1234.56", "1234.56000000052");
    row("10000", "10,000.0", "10000.00", "10000");
    row("0.00001", "0.0", "0.00", "9.99999999999612E-6");
    row("0.15", "0.2", "0.15", "0.150000000000091");
    row("7.25", "7.3", "7.25", "7.25");
}

void TestNumberText::TypedValuesInTheThreeForms() {
    QFETCH(QByteArray, typed);
    QFETCH(QByteArray, grouped);
    QFETCH(QByteArray, plainFixed);
    QFETCH(QByteArray, general);
    const Extended held = Held(typed.constData());
    QCOMPARE(QByteArray::fromStdString(FormatGrouped(held, 10, 1)), grouped);
    QCOMPARE(QByteArray::fromStdString(FormatPlainFixed(held, 10, 2)), plainFixed);
    QCOMPARE(QByteArray::fromStdString(FormatGeneral(held)), general);
}

void TestNumberText::DigitRecord_data() {
    QTest::addColumn<Extended>("value");
    QTest::addColumn<int>("precision");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QByteArray>("digits");
    QTest::addColumn<int>("exponent");
    QTest::addColumn<bool>("negative");
    QTest::newRow("1234.5") << 1234.5L << 15 << AllDecimals << QByteArray("12345") << 4 << false;
    QTest::newRow("0.05") << 0.05L << 15 << AllDecimals << QByteArray("5") << -1 << false;
    QTest::newRow("zero") << 0.0L << 15 << 2 << QByteArray() << 0 << false;
    QTest::newRow("minus zero") << -0.0L << 15 << 2 << QByteArray() << 0 << false;
    // 19 significant digits, exact in Extended, ending in a half: the 18th digit rounds up.
    QTest::newRow("18-digit half") << 1234567890123456785.0L << 30 << AllDecimals
                                   << QByteArray("123456789012345679") << 19 << false;
    // 1/3 keeps all 18 digits beyond precision 18, and 15 at precision 15.
    QTest::newRow("third, precision 20")
        << 1.0L / 3 << 20 << AllDecimals << QByteArray("333333333333333333") << 0 << false;
    QTest::newRow("third, precision 15")
        << 1.0L / 3 << 15 << AllDecimals << QByteArray("333333333333333") << 0 << false;
    // Below a tenth of a unit of the last decimal: the record of zero, sign dropped.
    QTest::newRow("-0.004, 1 decimal") << -0.004L << 10 << 1 << QByteArray() << 0 << false;
    // Rounding at the first digit: 5 or more gives the digit 1 one place up, less gives none.
    QTest::newRow("0.05 held, 1 decimal")
        << Held("0.05") << 10 << 1 << QByteArray("1") << 0 << false;
    QTest::newRow("-0.06, 1 decimal") << -0.06L << 10 << 1 << QByteArray("1") << 0 << true;
    QTest::newRow("0.04 held, 1 decimal") << Held("0.04") << 10 << 1 << QByteArray() << -1 << false;
    // The carry runs past the first digit.
    QTest::newRow("999.96 held, 1 decimal")
        << Held("999.96") << 10 << 1 << QByteArray("1") << 4 << false;
    QTest::newRow("-9.5, 0 decimals") << -9.5L << 10 << 0 << QByteArray("1") << 2 << true;
    // The precision limits before the decimals do.
    QTest::newRow("123456.78, precision 4")
        << 123456.78L << 4 << 2 << QByteArray("1235") << 6 << false;
    QTest::newRow("largest Extended") << std::numeric_limits<Extended>::max() << 18 << AllDecimals
                                      << QByteArray("118973149535723177") << 4933 << false;
    QTest::newRow("smallest Extended")
        << std::numeric_limits<Extended>::denorm_min() << 18 << AllDecimals
        << QByteArray("36451995318824746") << -4950 << false;
}

void TestNumberText::DigitRecord() {
    QFETCH(Extended, value);
    QFETCH(int, precision);
    QFETCH(int, decimals);
    QFETCH(QByteArray, digits);
    QFETCH(int, exponent);
    QFETCH(bool, negative);
    const TDigitRecord record = MakeDigitRecord(value, precision, decimals);
    QCOMPARE(QByteArray::fromStdString(record.Digits), digits);
    QCOMPARE(record.Exponent, exponent);
    QCOMPARE(record.Negative, negative);
}

void TestNumberText::GroupedForm_data() {
    QTest::addColumn<Extended>("value");
    QTest::addColumn<int>("precision");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QByteArray>("grouped");
    QTest::addColumn<QByteArray>("plainFixed");
    QTest::newRow("millions") << 1234567.891L << 10 << 1 << QByteArray("1,234,567.9")
                              << QByteArray("1234567.9");
    QTest::newRow("three digits, no separator")
        << 999.0L << 10 << 1 << QByteArray("999.0") << QByteArray("999.0");
    QTest::newRow("negative") << -1234.5L << 10 << 1 << QByteArray("-1,234.5")
                              << QByteArray("-1234.5");
    QTest::newRow("leading zeros of a fraction")
        << 0.004L << 10 << 3 << QByteArray("0.004") << QByteArray("0.004");
    QTest::newRow("no decimals") << 100.4L << 10 << 0 << QByteArray("100") << QByteArray("100");
    QTest::newRow("rounded to more digits than the record")
        << 1.0L << 10 << 4 << QByteArray("1.0000") << QByteArray("1.0000");
    // More integer digits than the precision: handed to the general form with that precision.
    QTest::newRow("beyond precision")
        << 123456789012.0L << 10 << 1 << QByteArray("1.23456789E11") << QByteArray("1.23456789E11");
    QTest::newRow("rounds up beyond precision")
        << 9999999999.96L << 10 << 1 << QByteArray("1E10") << QByteArray("1E10");
    QTest::newRow("ten digits") << 9999999999.0L << 10 << 1 << QByteArray("9,999,999,999.0")
                                << QByteArray("9999999999.0");
}

void TestNumberText::GroupedForm() {
    QFETCH(Extended, value);
    QFETCH(int, precision);
    QFETCH(int, decimals);
    QFETCH(QByteArray, grouped);
    QFETCH(QByteArray, plainFixed);
    QCOMPARE(QByteArray::fromStdString(FormatGrouped(value, precision, decimals)), grouped);
    QCOMPARE(QByteArray::fromStdString(FormatPlainFixed(value, precision, decimals)), plainFixed);
}

void TestNumberText::GeneralForm_data() {
    QTest::addColumn<Extended>("value");
    QTest::addColumn<QByteArray>("general");
    // Integers are widened exactly and show no decimals.
    QTest::newRow("-1") << -1.0L << QByteArray("-1");
    QTest::newRow("10000") << 10000.0L << QByteArray("10000");
    QTest::newRow("smallest int32") << -2147483648.0L << QByteArray("-2147483648");
    QTest::newRow("15 digits") << 999999999999999.0L << QByteArray("999999999999999");
    QTest::newRow("16 digits") << 1000000000000000.0L << QByteArray("1E15");
    QTest::newRow("18 digits") << 123456789012345678.0L << QByteArray("1.23456789012346E17");
    QTest::newRow("1E-4 plain") << 0.0001L << QByteArray("0.0001");
    QTest::newRow("1E-5 scientific") << 0.00001L << QByteArray("1E-5");
    QTest::newRow("negative scientific") << -1.5e-10L << QByteArray("-1.5E-10");
    QTest::newRow("large") << 2.5e300L << QByteArray("2.5E300");
    QTest::newRow("fraction") << 12.5L << QByteArray("12.5");
    QTest::newRow("nines round up") << 0.9999999999999999L << QByteArray("1");
}

void TestNumberText::GeneralForm() {
    QFETCH(Extended, value);
    QFETCH(QByteArray, general);
    QCOMPARE(QByteArray::fromStdString(FormatGeneral(value)), general);
}

void TestNumberText::IntegerTexts_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("padded");
    QTest::newRow("7") << 7 << 4 << QByteArray("7") << QByteArray("   7");
    QTest::newRow("150") << 150 << 4 << QByteArray("150") << QByteArray(" 150");
    QTest::newRow("12345 uncut") << 12345 << 4 << QByteArray("12345") << QByteArray("12345");
    QTest::newRow("0") << 0 << 4 << QByteArray("0") << QByteArray("   0");
    QTest::newRow("-12") << -12 << 4 << QByteArray("-12") << QByteArray(" -12");
    QTest::newRow("smallest") << std::numeric_limits<int>::min() << 4 << QByteArray("-2147483648")
                              << QByteArray("-2147483648");
}

void TestNumberText::IntegerTexts() {
    QFETCH(int, value);
    QFETCH(int, width);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, padded);
    QCOMPARE(QByteArray::fromStdString(IntToStr(value)), text);
    QCOMPARE(QByteArray::fromStdString(IntToPadded(value, width)), padded);
}

void TestNumberText::PadLeftNeverCuts() {
    const std::string twenty = "North Riverside Depo";
    QCOMPARE(PadLeft(twenty, 15), twenty);
    QCOMPARE(PadLeft(twenty.substr(0, 15), 15), "North Riverside");
    QCOMPARE(PadLeft("Ash", 15), "            Ash");
    QCOMPARE(PadLeft("", 3), "   ");
}

// A region with "," as decimal symbol and "." as grouping symbol.
void TestNumberText::RegionalSeparatorsInEveryRealForm() {
    SetFormatSeparators({',', '.'});
    QCOMPARE(FormatGrouped(12.5L, 10, 1), "12,5");
    QCOMPARE(FormatPlainFixed(12.5L, 10, 1), "12,5");
    QCOMPARE(FormatGeneral(12.5L), "12,5");
    QCOMPARE(FormatGeneral(1.5e-10L), "1,5E-10");

    const Extended held = Held("1234,56");
    QCOMPARE(FormatGrouped(held, 10, 1), "1.234,6");
    QCOMPARE(FormatPlainFixed(held, 10, 2), "1234,56");
    QCOMPARE(FormatGeneral(held), "1234,56000000052");
    QCOMPARE(FormatGrouped(1234567.0L, 10, 0), "1.234.567");
    // The integer forms use neither separator.
    QCOMPARE(IntToStr(-12345), "-12345");
    QCOMPARE(IntToPadded(1234, 6), "  1234");
}

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_number_text.moc"
