// Reading numbers from text: what is accepted, the value read, and the messages of refusal.

#include <QTest>
#include <cmath>
#include <limits>
#include <string>

#include "core/errors.h"
#include "core/extended_testing.h"
#include "core/separators.h"
#include "core/text_to_number.h"

class TestTextToNumber : public QObject {
    Q_OBJECT
  private slots:
    void cleanup();
    void FloatTexts_data();
    void FloatTexts();
    void NearestExtended_data();
    void NearestExtended();
    void LongTexts();
    void FloatMessageNamesTheText();
    void RegionalDecimalSeparator();
    void IntegerTexts_data();
    void IntegerTexts();
};

void TestTextToNumber::cleanup() {
    SetFormatSeparators({});
}

void TestTextToNumber::FloatTexts_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<Extended>("value");
    auto valid = [](const char* name, const char* text, Extended value) {
        QTest::newRow(name) << QByteArray(text) << true << value;
    };
    auto invalid = [](const char* name, const char* text) {
        QTest::newRow(name) << QByteArray(text) << false << Extended{0};
    };
    valid("12.5 between blanks", " 12.5 ", 12.5L);
    valid("full stop alone", ".", 0.0L);
    invalid("minus alone", "-");
    invalid("1..2", "1..2");
    invalid("5-", "5-");
    invalid("1,000", "1,000");
    valid("1E3", "1E3", 1000.0L);
    valid("1E without digits", "1E", 1.0L);
    invalid("1E5000", "1E5000");
    valid("2.5e-1", "2.5e-1", 0.25L);

    invalid("empty", "");
    invalid("blanks only", "   ");
    invalid("plus alone", "+");
    invalid("--5", "--5");
    invalid("blank after the sign", "- 5");
    invalid("blank inside", "1 2");
    invalid("tab is not a blank", "\t5");
    invalid("exponent alone", "E5");
    invalid("fraction in the exponent", "1E5.5");
    invalid("second exponent", "1E5E5");
    invalid("hexadecimal", "0x10");
    invalid("inf", "inf");
    invalid("nan", "nan");
    invalid("letter", "12a");
    valid("plus sign", "+5", 5.0L);
    valid("many blanks", "     -7   ", -7.0L);
    valid("leading separator", ".5", 0.5L);
    valid("trailing separator", "5.", 5.0L);
    valid("minus and separator", "-.", 0.0L);
    valid("separator before exponent", ".E5", 0.0L);
    valid("exponent sign without digits", "3E+", 3.0L);
    valid("lower case exponent with sign", "1e+2", 100.0L);
    valid("leading zeros", "000012.50", 12.5L);
    // The exponent takes digits while it is below 500: "0500" reads all four, "4999" reads
    // all four and overflows, "5000" leaves its last digit over.
    valid("1E499", "1E499", 1e499L);
    valid("1E0500", "1E0500", 1e500L);
    valid("exponent leading zeros", "1E00000000003", 1000.0L);
    invalid("1E4999 overflows", "1E4999");
    invalid("digits overflow", "2E4932");
    valid("largest", "1.18973149535723176502E4932", std::numeric_limits<Extended>::max());
    valid("1E-4999 underflows to zero", "1E-4999", 0.0L);
    valid("negative exponent stop", "1E-0499", 1e-499L);
    invalid("negative exponent left over", "1E-5000");
}

void TestTextToNumber::FloatTexts() {
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(Extended, value);
    if (valid) {
        QCOMPARE(StrToFloat(text.toStdString()), value);
    } else {
        QVERIFY_THROWS_EXCEPTION(EConvertError, StrToFloat(text.toStdString()));
    }
}

// Up to 19 significant digits the result is the Extended nearest to the text. The compiler
// reads each literal the same way (to nearest, a tie to even), so the two must agree.
void TestTextToNumber::NearestExtended_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<Extended>("nearest");
#define MESHLOOM_ROW(literal) QTest::newRow(#literal) << QByteArray(#literal) << literal##L
    MESHLOOM_ROW(0.1);
    MESHLOOM_ROW(0.35);
    MESHLOOM_ROW(1234.56);
    MESHLOOM_ROW(9999.9);
    MESHLOOM_ROW(1.234567890123456789);
    MESHLOOM_ROW(3.141592653589793238);
    MESHLOOM_ROW(9.999999999999999999e-300);
    MESHLOOM_ROW(1.000000000000000001e300);
    MESHLOOM_ROW(4.999999999999999999e-4940);
    MESHLOOM_ROW(1234567890123456789.0);
    MESHLOOM_ROW(18446744073709551617.0);  // 2^64 + 1: halfway, to the even 2^64
    MESHLOOM_ROW(0.0000000000000000001);
#undef MESHLOOM_ROW
}

void TestTextToNumber::NearestExtended() {
    QFETCH(QByteArray, text);
    QFETCH(Extended, nearest);
    QCOMPARE(StrToFloat(text.toStdString()), nearest);
    QCOMPARE(StrToFloat("-" + text.toStdString()), -nearest);
}

// Texts of any length: a field may hold thousands of typed or pasted characters.
void TestTextToNumber::LongTexts() {
    QCOMPARE(StrToFloat("1" + std::string(400, '0')), 1e400L);
    QCOMPARE(StrToFloat(std::string(5000, '0') + "25"), 25.0L);
    QCOMPARE(StrToFloat("0." + std::string(5000, '0') + "1"), 0.0L);  // 1E-5001
    QCOMPARE(StrToFloat("0." + std::string(300, '0') + "1E+0301"), 1.0L);
    QVERIFY_THROWS_EXCEPTION(EConvertError, StrToFloat("1" + std::string(5000, '0')));
    QVERIFY_THROWS_EXCEPTION(EConvertError, StrToFloat(std::string(30000, '-')));
}

void TestTextToNumber::FloatMessageNamesTheText() {
    try {
        StrToFloat("1..2");
        QFAIL("1..2 was accepted");
    } catch (const EConvertError& error) {
        QCOMPARE(std::string(error.what()), "'1..2' is not a valid floating point value");
    }
    try {
        StrToInt(" 12 ");
        QFAIL("' 12 ' was accepted");
    } catch (const EConvertError& error) {
        QCOMPARE(std::string(error.what()), "' 12 ' is not a valid integer value");
    }
}

// Where "," is the decimal symbol, it is the only decimal mark: a full stop is refused.
void TestTextToNumber::RegionalDecimalSeparator() {
    SetFormatSeparators({',', '.'});
    QCOMPARE(StrToFloat("1,5"), 1.5L);
    QCOMPARE(StrToFloat(" 2,5e-1 "), 0.25L);
    QCOMPARE(StrToFloat(","), 0.0L);
    QVERIFY_THROWS_EXCEPTION(EConvertError, StrToFloat("1.5"));
    QVERIFY_THROWS_EXCEPTION(EConvertError, StrToFloat("1.000,5"));
    QCOMPARE(StrToInt("-42"), -42);
}

void TestTextToNumber::IntegerTexts_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("blanks before") << QByteArray("  12") << true << 12;
    QTest::newRow("blank after") << QByteArray("12 ") << false << 0;
    QTest::newRow("empty") << QByteArray("") << false << 0;
    QTest::newRow("2147483648") << QByteArray("2147483648") << false << 0;
    QTest::newRow("-2147483648") << QByteArray("-2147483648") << true
                                 << std::numeric_limits<int>::min();
    QTest::newRow("2147483647") << QByteArray("2147483647") << true
                                << std::numeric_limits<int>::max();
    QTest::newRow("-2147483649") << QByteArray("-2147483649") << false << 0;
    QTest::newRow("many digits") << QByteArray("99999999999999999999999") << false << 0;
    QTest::newRow("leading zeros") << QByteArray("+00000000000000000007") << true << 7;
    QTest::newRow("sign alone") << QByteArray("-") << false << 0;
    QTest::newRow("blanks alone") << QByteArray("  ") << false << 0;
    QTest::newRow("fraction") << QByteArray("1.0") << false << 0;
    QTest::newRow("exponent") << QByteArray("1E3") << false << 0;
    QTest::newRow("link line piece") << QByteArray(" 150") << true << 150;
}

void TestTextToNumber::IntegerTexts() {
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    if (valid) {
        QCOMPARE(StrToInt(text.toStdString()), value);
    } else {
        QVERIFY_THROWS_EXCEPTION(EConvertError, StrToInt(text.toStdString()));
    }
}

QTEST_GUILESS_MAIN(TestTextToNumber)
#include "tst_text_to_number.moc"
