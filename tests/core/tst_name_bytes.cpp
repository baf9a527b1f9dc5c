// The Windows-1252 bytes of node names: the corners of the 0x80-0x9F block in both
// directions, and every byte back to itself through its character.

#include <QTest>
#include <string>

#include "core/name_bytes.h"
#include "platform/name_text.h"

class TestNameBytes : public QObject {
    Q_OBJECT
  private slots:
    void ShownText_data();
    void ShownText();
    void EveryCharacterBackToItsByte();
};

void TestNameBytes::ShownText_data() {
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

void TestNameBytes::ShownText() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QCOMPARE(NameText(std::string_view(bytes.constData(), bytes.size())), shown);
}

// A name read back from the list or the field must be stored with the bytes it had.
void TestNameBytes::EveryCharacterBackToItsByte() {
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

QTEST_GUILESS_MAIN(TestNameBytes)
#include "tst_name_bytes.moc"
