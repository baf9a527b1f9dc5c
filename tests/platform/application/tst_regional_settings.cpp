// The separators follow the user's regional settings: read from the system locale (here
// set through LC_ALL before the application starts), with fallbacks for symbols that are not
// one Latin-1 character, and read again when the desktop announces a change.

#include <QApplication>
#include <QTest>

#include "core/numbers/number_text.h"
#include "core/numbers/separators.h"
#include "platform/application/regional_settings.h"

Q_DECLARE_METATYPE(QLocale)

class TestRegionalSettings : public QObject {
    Q_OBJECT
  private slots:
    void cleanup();
    void LocaleSymbols_data();
    void LocaleSymbols();
    void ReadsTheSystemLocaleNotTheDefault();
    void LocaleChangeReadsAgain();
};

void TestRegionalSettings::cleanup() {
    QLocale::setDefault(QLocale::system());
    SetFormatSeparators({});
}

void TestRegionalSettings::LocaleSymbols_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<char>("decimal");
    QTest::addColumn<char>("thousands");
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << '.' << ',';
    QTest::newRow("German") << QLocale(QLocale::German) << ',' << '.';
    QTest::newRow("C") << QLocale::c() << '.' << ',';
    // U+00A0, the no-break space, is Latin-1.
    QTest::newRow("Russian") << QLocale(QLocale::Russian) << ',' << '\xA0';
    // U+066B and U+066C: neither is Latin-1, both fall back.
    QTest::newRow("Arabic") << QLocale(QLocale::Arabic, QLocale::Egypt) << '.' << ',';
    // U+2019 as grouping symbol falls back to ",".
    QTest::newRow("Swiss German") << QLocale(QLocale::German, QLocale::Switzerland) << '.' << ',';
    // U+202F, a narrow no-break space: written as the Latin-1 no-break space rather than
    // falling back to "," beside the decimal ",".
    QTest::newRow("French") << QLocale(QLocale::French) << ',' << '\xA0';
}

void TestRegionalSettings::LocaleSymbols() {
    QFETCH(QLocale, locale);
    QFETCH(char, decimal);
    QFETCH(char, thousands);
    const TFormatSeparators separators = SeparatorsOfLocale(locale);
    QCOMPARE(separators.Decimal, decimal);
    QCOMPARE(separators.Thousands, thousands);

    ReadRegionalSettings(locale);
    QCOMPARE(FormatSeparators().Decimal, decimal);
    QCOMPARE(FormatSeparators().Thousands, thousands);
}

// The user's regional settings are German here (LC_ALL, see main). A default locale set by
// the program is not the user's setting.
void TestRegionalSettings::ReadsTheSystemLocaleNotTheDefault() {
    QCOMPARE(QLocale::system().language(), QLocale::German);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ReadRegionalSettings();
    QCOMPARE(FormatSeparators().Decimal, ',');
    QCOMPARE(FormatSeparators().Thousands, '.');
    QCOMPARE(FormatGrouped(1234.5L, 10, 1), "1.234,5");
}

void TestRegionalSettings::LocaleChangeReadsAgain() {
    StartRegionalSettings();
    QCOMPARE(FormatSeparators().Decimal, ',');

    SetFormatSeparators({'.', ','});
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    // A locale change of one widget is not a change of the user's settings.
    QWidget widget;
    QEvent widgetChange(QEvent::LocaleChange);
    QApplication::sendEvent(&widget, &widgetChange);
    QCOMPARE(FormatSeparators().Decimal, '.');

    QEvent change(QEvent::LocaleChange);
    QApplication::sendEvent(qApp, &change);
    QCOMPARE(FormatSeparators().Decimal, ',');
    QCOMPARE(FormatSeparators().Thousands, '.');
    QCOMPARE(QLocale().language(), QLocale::German);  // the default is the user's again

    // A change posted as the desktop posts it; starting a second time does no harm.
    StartRegionalSettings();
    SetFormatSeparators({'.', ','});
    QCoreApplication::postEvent(qApp, new QEvent(QEvent::LocaleChange));
    QTRY_COMPARE(FormatSeparators().Decimal, ',');
}

int main(int argc, char** argv) {
    // The user's regional settings for this run, before Qt first reads them.
    qputenv("LC_ALL", "de_DE.UTF-8");
    QApplication application(argc, argv);
    TestRegionalSettings test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_regional_settings.moc"
