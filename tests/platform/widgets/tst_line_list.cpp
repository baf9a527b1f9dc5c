// The list box the windows share: selected index or -1, selecting past the end ignored, the
// selection lost on refill, the first arrow key selecting the first line, and find by typing.

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include "platform/widgets/line_list.h"

class TestLineList : public QObject {
    Q_OBJECT
  private slots:
    void SelectionRules();
    void FirstKeySelectsFromTheEnds_data();
    void FirstKeySelectsFromTheEnds();
    void FindByTyping_data();
    void FindByTyping();
};

void TestLineList::SelectionRules() {
    TLineList list;
    QCOMPARE(list.ItemIndex(), -1);
    list.SetLines({"a", "b", "c"});
    list.Append("d");
    QCOMPARE(list.Count(), 4);
    QCOMPARE(list.Line(3), QStringLiteral("d"));
    list.SetItemIndex(2);
    QCOMPARE(list.ItemIndex(), 2);
    list.SetItemIndex(4);  // past the end: ignored
    QCOMPARE(list.ItemIndex(), 2);
    list.SetItemIndex(-1);
    QCOMPARE(list.ItemIndex(), 2);
    list.SetLines({"x", "y"});
    QCOMPARE(list.ItemIndex(), -1);
    list.SetItemIndex(1);
    list.Clear();
    QCOMPARE(list.Count(), 0);
    QCOMPARE(list.ItemIndex(), -1);
}

void TestLineList::FirstKeySelectsFromTheEnds_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("selected");
    QTest::newRow("Down") << int(Qt::Key_Down) << 0;
    QTest::newRow("Up") << int(Qt::Key_Up) << 0;
    QTest::newRow("Home") << int(Qt::Key_Home) << 0;
    QTest::newRow("End") << int(Qt::Key_End) << 2;
}

void TestLineList::FirstKeySelectsFromTheEnds() {
    QFETCH(int, key);
    QFETCH(int, selected);
    QWidget window;
    auto* list = new TLineList(&window);
    list->SetLines({"   1  one", "   2  two", "   3  three"});
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    list->setFocus(Qt::TabFocusReason);
    QCOMPARE(list->ItemIndex(), -1);
    QTest::keyClick(list, static_cast<Qt::Key>(key));
    QCOMPARE(list->ItemIndex(), selected);
}

// Characters typed within the keyboard input interval of the one before, by the key events'
// own times, make one text; a longer pause or the focus coming back starts a new one. The line
// FindLine gives is selected, and -1 leaves the selection. FindLine here reads the text as a
// line's number, 1 to 20.
void TestLineList::FindByTyping_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QList<int>>("pauses");  // ms before each key, the first one's ignored
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<int>("selected");
    constexpr int interval = 400;
    QTest::newRow("quick succession") << "12" << QList<int>{0, 30} << QStringList{"1", "12"} << 11;
    QTest::newRow("the whole interval")
        << "12" << QList<int>{0, interval} << QStringList{"1", "12"} << 11;
    QTest::newRow("a pause starts anew")
        << "12" << QList<int>{0, interval + 1} << QStringList{"1", "2"} << 1;
    QTest::newRow("found nothing: the line stays")
        << "93" << QList<int>{0, 30} << QStringList{"9", "93"} << 8;
    QTest::newRow("a blank is typed too")
        << "1 " << QList<int>{0, 30} << QStringList{"1", "1 "} << 0;
    QTest::newRow("focus back: anew")
        << "1|2" << QList<int>{0, 30, 30} << QStringList{"1", "2"} << 1;
}

void TestLineList::FindByTyping() {
    QFETCH(QString, keys);
    QFETCH(QList<int>, pauses);
    QFETCH(QStringList, asked);
    QFETCH(int, selected);
    QApplication::setKeyboardInputInterval(400);
    QWidget window;
    auto* list = new TLineList(&window);
    auto* other = new TLineList(&window);
    QStringList lines;
    for (int k = 1; k <= 20; ++k) {
        lines << QStringLiteral("%1  Site %1").arg(k, 4);
    }
    list->SetLines(lines);
    QStringList texts;
    list->FindLine = [&texts](const QString& typed) {
        texts << typed;
        const int number = typed.toInt();
        return number >= 1 && number <= 20 ? number - 1 : -1;
    };
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    list->setFocus(Qt::TabFocusReason);
    quint64 time = 100000;
    for (qsizetype k = 0; k < keys.size(); ++k) {
        time += static_cast<quint64>(pauses[k]);
        if (keys[k] == u'|') {  // the focus goes away and comes back
            other->setFocus(Qt::TabFocusReason);
            list->setFocus(Qt::TabFocusReason);
            continue;
        }
        const int key = keys[k] == u' ' ? Qt::Key_Space : Qt::Key_0 + keys[k].digitValue();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(keys[k]));
        press.setTimestamp(time);
        QApplication::sendEvent(list, &press);
    }
    QCOMPARE(texts, asked);
    QCOMPARE(list->ItemIndex(), selected);
}

QTEST_MAIN(TestLineList)
#include "tst_line_list.moc"
