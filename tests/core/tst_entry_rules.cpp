// The rules of the numeric fields without a window: the key rule and the validation of the
// node values and the link distance, with the messages and write-backs they produce.

#include <QRandomGenerator>
#include <QTest>
#include <limits>

#include "core/entry_rules.h"
#include "core/extended_testing.h"
#include "core/network_store.h"
#include "core/separators.h"

Q_DECLARE_METATYPE(TEntryOutcome)

namespace {
const QByteArray BoundsMessage = "Invalid Parameter Value.  Must have 0.00 <= X <= 10000.00";
const Real48 Low = Real48::Narrow(0.0L);
const Real48 High = Real48::Narrow(10000.0L);
}  // namespace

class TestEntryRules : public QObject {
    Q_OBJECT
  private slots:
    void cleanup();
    void KeyRule_data();
    void KeyRule();
    void KeyRuleTakesTheRegionalDecimalSeparator();
    void NodeValue_data();
    void NodeValue();
    void WriteBackIsTheTargetsValue();
    void Distance_data();
    void Distance();
    void RegionalMessagesAndWriteBack();
    void NoTextEscapesTheTwoOutcomes();
};

void TestEntryRules::cleanup() {
    SetFormatSeparators({});
}

void TestEntryRules::KeyRule_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("accepted");
    for (char16_t digit = u'0'; digit <= u'9'; ++digit) {
        QTest::addRow("digit %c", static_cast<char>(digit)) << int{digit} << true;
    }
    QTest::newRow("full stop") << int{u'.'} << true;
    QTest::newRow("minus") << int{u'-'} << true;
    QTest::newRow("backspace") << 8 << true;
    QTest::newRow("letter") << int{u'a'} << false;
    QTest::newRow("exponent letter") << int{u'E'} << false;
    QTest::newRow("plus") << int{u'+'} << false;
    QTest::newRow("comma") << int{u','} << false;
    QTest::newRow("blank") << int{u' '} << false;
    QTest::newRow("carriage return") << 13 << false;
    QTest::newRow("tab") << 9 << false;
    QTest::newRow("escape") << 27 << false;
    QTest::newRow("ctrl+V") << 22 << false;
    QTest::newRow("nul") << 0 << false;
    QTest::newRow("e acute") << 0xE9 << false;
    QTest::newRow("arabic-indic digit") << 0x0661 << false;
    QTest::newRow("full-width digit") << 0xFF11 << false;
    QTest::newRow("full stop + 256") << 0x012E << false;
}

void TestEntryRules::KeyRule() {
    QFETCH(int, key);
    QFETCH(bool, accepted);
    QCOMPARE(KeyRuleAccepts(static_cast<char16_t>(key)), accepted);
}

// Where "," is the decimal symbol a fraction can be typed; "." still passes and is refused
// when the field is left.
void TestEntryRules::KeyRuleTakesTheRegionalDecimalSeparator() {
    QVERIFY(!KeyRuleAccepts(u','));
    SetFormatSeparators({',', '.'});
    QVERIFY(KeyRuleAccepts(u','));
    QVERIFY(KeyRuleAccepts(u'.'));
    SetFormatSeparators({'\xB7', ' '});  // a Latin-1 middle dot
    QVERIFY(KeyRuleAccepts(u'\u00B7'));
    QVERIFY(!KeyRuleAccepts(u' '));
}

// Node values: bounds 0 and 10000, preset 0.
void TestEntryRules::NodeValue_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<TEntryOutcome>("outcome");
    QTest::addColumn<Extended>("stored");
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QByteArray>("writeBack");
    auto accepted = [](const char* name, const char* text, Extended stored) {
        QTest::newRow(name) << QByteArray(text) << TEntryOutcome::Accepted << stored << QByteArray()
                            << QByteArray();
    };
    auto outOfRange = [](const char* name, const char* text) {
        QTest::newRow(name) << QByteArray(text) << TEntryOutcome::OutOfRange << Extended{0}
                            << BoundsMessage << QByteArray("0");
    };
    auto notANumber = [](const char* name, const char* text) {
        QTest::newRow(name) << QByteArray(text) << TEntryOutcome::ConversionError << Extended{0}
                            << QByteArray("Conversion Error") << QByteArray("0");
    };
    QTest::newRow("empty") << QByteArray() << TEntryOutcome::Empty << Extended{0} << QByteArray()
                           << QByteArray();
    accepted("10000", "10000", 10000.0L);
    accepted("10000.00", "10000.00", 10000.0L);
    accepted("0", "0", 0.0L);
    accepted("-0", "-0", 0.0L);
    accepted("the held value is stored", "1234.56", Real48::Narrow(1234.56L).Widen());
    accepted("below Real48's range becomes 0", "1E-40", 0.0L);
    accepted("-1E-40 becomes 0", "-1E-40", 0.0L);
    accepted("blanks around", " 12.5 ", 12.5L);
    // 10000.0000000001 narrows to 10000 itself: the bound is compared on the held value.
    accepted("just above 10000, held as 10000", "10000.0000000001", 10000.0L);
    outOfRange("10000.01", "10000.01");
    outOfRange("-0.001", "-0.001");
    outOfRange("1E38", "1E38");
    // Beyond what Real48 can hold: the same warning, never an error box.
    outOfRange("rounds to 2^127", "1.7014118346046923E38");
    outOfRange("1E39", "1E39");
    outOfRange("-1E39", "-1E39");
    outOfRange("1E4000", "1E4000");
    outOfRange("1E4931", "1E4931");
    notANumber("1..2", "1..2");
    notANumber("5-", "5-");
    notANumber("--5", "--5");
    notANumber("minus alone", "-");
    notANumber("beyond Extended", "1E4999");
    notANumber("letters", "abc");
}

void TestEntryRules::NodeValue() {
    QFETCH(QByteArray, text);
    QFETCH(TEntryOutcome, outcome);
    QFETCH(Extended, stored);
    QFETCH(QByteArray, message);
    QFETCH(QByteArray, writeBack);
    Real48 target;  // the caller's preset, 0
    const TEntryResult result = JudgeRealEntry(text.toStdString(), target, Low, High);
    QCOMPARE(result.Outcome, outcome);
    QCOMPARE(target.Widen(), stored);
    QCOMPARE(QByteArray::fromStdString(result.Message), message);
    QCOMPARE(QByteArray::fromStdString(result.WriteBack), writeBack);
}

void TestEntryRules::WriteBackIsTheTargetsValue() {
    Real48 target = Real48::Narrow(0.1L);
    const TEntryResult result = JudgeRealEntry("20000", target, Low, High);
    QCOMPARE(result.WriteBack, "0.100000000000023");
    QCOMPARE(target.Widen(), Real48::Narrow(0.1L).Widen());

    std::int32_t distance = 42;
    QCOMPARE(JudgeIntegerEntry("x", distance, 0, 10000).WriteBack, "42");
    QCOMPARE(distance, 42);
}

// The link distance: bounds 0 and 10000, preset -1.
void TestEntryRules::Distance_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<TEntryOutcome>("outcome");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QByteArray>("message");
    auto accepted = [](const char* text, int stored) {
        QTest::newRow(text) << QByteArray(text) << TEntryOutcome::Accepted << stored
                            << QByteArray();
    };
    auto outOfRange = [](const char* name, const char* text) {
        QTest::newRow(name) << QByteArray(text) << TEntryOutcome::OutOfRange << -1 << BoundsMessage;
    };
    QTest::newRow("empty") << QByteArray() << TEntryOutcome::Empty << -1 << QByteArray();
    // Ties go to the even integer.
    accepted("2.5", 2);
    accepted("3.5", 4);
    accepted("-0.5", 0);
    accepted("-0.4", 0);
    accepted("10000.5", 10000);
    accepted("12.75", 13);
    accepted("0", 0);
    accepted("10000", 10000);
    accepted("1.5E3", 1500);
    accepted("4999.4999999", 4999);
    outOfRange("10000.6", "10000.6");
    outOfRange("-0.6", "-0.6");
    outOfRange("-1 written back", "-1");
    outOfRange("10001", "10001");
    // Beyond the 32-bit range once rounded: the same warning, never an error box.
    outOfRange("2147483647.5", "2147483647.5");
    outOfRange("2147483648", "2147483648");
    outOfRange("-2147483649", "-2147483649");
    outOfRange("1E30", "1E30");
    outOfRange("-3E9", "-3E9");
    outOfRange("1E4000", "1E4000");
    QTest::newRow("1..2") << QByteArray("1..2") << TEntryOutcome::ConversionError << -1
                          << QByteArray("Conversion Error");
    QTest::newRow("--5") << QByteArray("--5") << TEntryOutcome::ConversionError << -1
                         << QByteArray("Conversion Error");
}

void TestEntryRules::Distance() {
    QFETCH(QByteArray, text);
    QFETCH(TEntryOutcome, outcome);
    QFETCH(int, stored);
    QFETCH(QByteArray, message);
    std::int32_t target = -1;
    const TEntryResult result = JudgeIntegerEntry(text.toStdString(), target, 0, MaxDistance);
    QCOMPARE(result.Outcome, outcome);
    QCOMPARE(target, stored);
    QCOMPARE(QByteArray::fromStdString(result.Message), message);
    const bool refused =
        outcome == TEntryOutcome::OutOfRange || outcome == TEntryOutcome::ConversionError;
    QCOMPARE(QByteArray::fromStdString(result.WriteBack), refused ? "-1" : "");
}

void TestEntryRules::RegionalMessagesAndWriteBack() {
    SetFormatSeparators({',', '.'});
    Real48 target = Real48::Narrow(12.5L);
    TEntryResult result = JudgeRealEntry("10000,01", target, Low, High);
    QCOMPARE(result.Message, "Invalid Parameter Value.  Must have 0,00 <= X <= 10000,00");
    QCOMPARE(result.WriteBack, "12,5");
    result = JudgeRealEntry("1.5", target, Low, High);
    QCOMPARE(result.Outcome, TEntryOutcome::ConversionError);
    QCOMPARE(result.WriteBack, "12,5");
    result = JudgeRealEntry("1,5", target, Low, High);
    QCOMPARE(result.Outcome, TEntryOutcome::Accepted);
    QCOMPARE(target.Widen(), 1.5L);

    std::int32_t distance = -1;
    result = JudgeIntegerEntry("10000,6", distance, 0, 10000);
    QCOMPARE(result.Message, "Invalid Parameter Value.  Must have 0,00 <= X <= 10000,00");
    QCOMPARE(JudgeIntegerEntry("2,5", distance, 0, 10000).Outcome, TEntryOutcome::Accepted);
    QCOMPARE(distance, 2);
}

// Whatever the field holds, typed or pasted, validation ends in one of the expected outcomes:
// the target holds an in-range value, or it keeps its preset. Nothing is thrown.
void TestEntryRules::NoTextEscapesTheTwoOutcomes() {
    QRandomGenerator random(20240517);
    const QByteArray typeable = "0123456789.-";
    const QByteArray pasteable = "0123456789.-+eE ,x";
    for (int round = 0; round < 20000; ++round) {
        const QByteArray& alphabet = round % 2 ? typeable : pasteable;
        std::string text;
        const int length = random.bounded(1, round % 100 == 0 ? 400 : 12);
        for (int i = 0; i < length; ++i) {
            text += alphabet.at(random.bounded(alphabet.size()));
        }
        Real48 value;
        std::int32_t distance = -1;
        try {
            const TEntryResult real = JudgeRealEntry(text, value, Low, High);
            const TEntryResult integer = JudgeIntegerEntry(text, distance, 0, MaxDistance);
            if (real.Outcome == TEntryOutcome::Accepted) {
                QVERIFY2(value.Widen() >= 0 && value.Widen() <= 10000, text.c_str());
            } else {
                QVERIFY2(value.Widen() == 0 && real.WriteBack == "0", text.c_str());
            }
            if (integer.Outcome == TEntryOutcome::Accepted) {
                QVERIFY2(distance >= 0 && distance <= 10000, text.c_str());
            } else {
                QVERIFY2(distance == -1 && integer.WriteBack == "-1", text.c_str());
            }
        } catch (const std::exception& error) {
            QFAIL(qPrintable(QStringLiteral("'%1' raised %2")
                                 .arg(QString::fromStdString(text), QLatin1String(error.what()))));
        }
    }
}

QTEST_GUILESS_MAIN(TestEntryRules)
#include "tst_entry_rules.moc"
