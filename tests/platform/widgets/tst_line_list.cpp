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
// own times, make one text; a longer pause starts a new one. The line FindLine gives is
// selected, -1 leaves the selection. FindLine here reads the text as a line's number, 1 to 20.
void TestLineList::FindByTyping_data() {
    QTest::addColumn<QList<int>>("times");  // when "1", "2", ... were pressed, in ms
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<int>("selected");
    QTest::newRow("quick succession") << QList<int>{0, 400} << QStringList{"1", "12"} << 11;
    QTest::newRow("a pause starts anew") << QList<int>{0, 401} << QStringList{"1", "2"} << 1;
    QTest::newRow("found nothing: the line stays")
        << QList<int>{0, 30, 60} << QStringList{"1", "12", "123"} << 11;
}

void TestLineList::FindByTyping() {
    QFETCH(QList<int>, times);
    QFETCH(QStringList, asked);
    QFETCH(int, selected);
    QApplication::setKeyboardInputInterval(400);
    TLineList list;
    list.SetLines(QStringList(20, QStringLiteral("line")));
    QStringList texts;
    list.FindLine = [&texts](const QString& typed) {
        texts << typed;
        return typed.toInt() <= 20 ? typed.toInt() - 1 : -1;
    };
    for (int k = 0; k < static_cast<int>(times.size()); ++k) {
        const QString digit = QString::number(k + 1);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + k + 1, Qt::NoModifier, digit);
        press.setTimestamp(100000 + static_cast<quint64>(times[k]));
        QApplication::sendEvent(&list, &press);
    }
    QCOMPARE(texts, asked);
    QCOMPARE(list.ItemIndex(), selected);
}

QTEST_MAIN(TestLineList)
#include "tst_line_list.moc"
