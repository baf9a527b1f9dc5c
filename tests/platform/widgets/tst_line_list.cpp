// The list box the windows share: selected index or -1, selecting past the end ignored, the
// selection lost on refill, and the first arrow key selecting the first line.

#include <QApplication>
#include <QTest>

#include "platform/widgets/line_list.h"

class TestLineList : public QObject {
    Q_OBJECT
  private slots:
    void SelectionRules();
    void FirstKeySelectsFromTheEnds_data();
    void FirstKeySelectsFromTheEnds();
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

QTEST_MAIN(TestLineList)
#include "tst_line_list.moc"
