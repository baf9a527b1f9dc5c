// Node names as text: held bytes shown in the lists and the name field, each shown character
// back to its byte, and what the text side does before the bytes are chosen (composing,
// pairing surrogates).

#include <QTest>
#include <string>

#include "core/file_texts/name_bytes.h"
#include "platform/services/name_text.h"

class TestNameText : public QObject {
    Q_OBJECT
  private slots:
    void ShownText_data();
    void ShownText();
    void EveryCharacterBackToItsByte();
    void SanitisedName_data();
    void SanitisedName();
};

void TestNameText::ShownText_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("0x80 euro") << QByteArray("\x80") << QString(QChar(0x20AC));
    QTest::newRow("0x9F Y diaeresis") << QByteArray("\x9f") << QString(QChar(0x0178));
    QTest::newRow("quote and dash") << QByteArray("O\x92N \x96") << QString::fromUtf16(u"O’N –");
    QTest::newRow("five bytes without a character")
        << QByteArray("\x81\x8d\x8f\x90\x9d") << QStringLiteral("?????");
    QTest::newRow("Latin-1 range kept")
        << QByteArray("\x7f\xa0\xe9\xff") << QString::fromUtf16(u"\u007f\u00a0é\u00ff");
}

void TestNameText::ShownText() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QCOMPARE(NameText(std::string_view(bytes.constData(), bytes.size())), shown);
}

// A name read back from the list or the field must be stored with the bytes it had.
void TestNameText::EveryCharacterBackToItsByte() {
    for (int byte = 0; byte < 256; ++byte) {
        const char held = static_cast<char>(byte);
        const QString shown = NameText(std::string_view(&held, 1));
        QCOMPARE(shown.size(), qsizetype{1});
        const char expected = shown == QStringLiteral("?") ? '?' : held;
        QCOMPARE(NameByte(shown.at(0).unicode()), expected);
    }
    QCOMPARE(NameByte(U'Ω'), '?');
    QCOMPARE(NameByte(U'\u0081'), '?');  // a Latin-1 control, not byte 0x81
}

// The bytes of each code point are the core's (core/file_texts/name_bytes.h, tested there); these
// are the cases that depend on the typed text being UTF-16.
void TestNameText::SanitisedName_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("stored");
    QTest::newRow("one ? for a character beyond the basic plane")
        << QString::fromUtf16(u"Depot \U0001F69A") << QByteArray("Depot ?");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QByteArray("?");
    QTest::newRow("combining accent composed")
        << QString::fromUtf16(u"Cafe\u0301") << QByteArray("Caf\xe9");
}

void TestNameText::SanitisedName() {
    QFETCH(QString, typed);
    QFETCH(QByteArray, stored);
    QCOMPARE(QByteArray::fromStdString(SanitiseNodeName(typed)), stored);
}

QTEST_GUILESS_MAIN(TestNameText)
#include "tst_name_text.moc"
