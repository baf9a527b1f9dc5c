// The link window, driven as the planner drives it: selections, the distance field, the
// add and remove buttons, the list and count they leave behind, and Cancel.

#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QTest>
#include <memory>

#include "app/program.h"
#include "core/network/network_store.h"
#include "core/numbers/separators.h"
#include "links/link_window.h"
#include "platform/widgets/command_button.h"
#include "platform/widgets/entry_field.h"
#include "platform/widgets/line_list.h"
#include "shell/main_menu.h"
#include "shell/window_references.h"
#include "support/program_test.h"
#include "support/scripted_platform.h"
#include "support/show_active.h"

namespace {
const QString NodesMustDiffer =
    QStringLiteral("Origin and Destination Nodes must Differ.\rNO LINK WILL BE ADDED");
const QString SelectBoth =
    QStringLiteral("You must select both an Origin and a Destination node.\rNO LINK WILL BE ADDED");
const QString SelectALink = QStringLiteral("You must select a link to delete\rNO ACTION TAKEN");
const QString OutOfBounds =
    QStringLiteral("Invalid Parameter Value.  Must have 0.00 <= X <= 10000.00");

QStringList Lines(const TLineList* list) {
    QStringList lines;
    for (int k = 0; k < list->Count(); ++k) {
        lines.append(list->Line(k));
    }
    return lines;
}

// "2->3" for a link line: the origin and destination columns, which names cannot move.
QString EndsOf(const QString& line) {
    return line.left(4).trimmed() + QStringLiteral("->") + line.mid(30, 4).trimmed();
}

QStringList EndsOf(const TLineList* list) {
    QStringList ends;
    for (const QString& line : Lines(list)) {
        ends.append(EndsOf(line));
    }
    return ends;
}

QString Count(int links) {
    return QString::number(links) + QStringLiteral(" links have been specified.");
}

bool NoLinksStored() {
    for (int i = 1; i <= Network.NumNodes; ++i) {
        for (int j = 1; j <= Network.NumNodes; ++j) {
            if (Network.LinkRows[i][j] != NoLink) {
                return false;
            }
        }
    }
    return true;
}
}  // namespace

class TestLinkSpecification : public TProgramTest {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void ShowingStartsAfresh();
    void KeyboardAlone();
    void AccessKeysMoveTheFocus_data();
    void AccessKeysMoveTheFocus();
    void TabOrder();
    void ListedByPairWhateverTheOrderOfAdding();
    void TwoWayAddsBothDirections();
    void AddingAgainReplacesTheDistance();
    void DistanceZeroIsALink();
    void LongNamesCutInAllThreeLists();
    void RemovingOneDirectionKeepsTheOther();
    void NothingSelectedAfterAddOrRemove();
    void UndoAndRedoPutBackWhatWas();
    void MissingSelectionWarns_data();
    void MissingSelectionWarns();
    void RemoveTakesTheLinkOfItsLine_data();
    void RemoveTakesTheLinkOfItsLine();
    void DistanceOutOfBounds();
    void AccessKeyAddsTheDistanceBeingTyped();
    void ButtonStates();
    void KeyRuleInTheDistanceField();
    void CancelReleasesAndShowingAgainStartsEmpty();
    void WindowManagerCannotCloseIt();
    void HeadingColumnsLineUpOnScreen();

  private:
    void ShowWithNodes(std::initializer_list<std::string> names);
    // Opens the window from the main menu and waits until it has the keyboard.
    void ShowWindow();
    // Types text into the emptied distance field and leaves it with Tab.
    void LeaveDistance(const QString& text);
    void Select(int origin, int destination);
    void Add(int origin, int destination, TCommandButton* button);
    void Click(QWidget* widget);

    TLinkSpecification* Window = nullptr;
};

void TestLinkSpecification::init() {
    TProgramTest::init();
    Window = LinkSpecification;
    ShowWithNodes({"Leeds", "York", "Hull"});
}

void TestLinkSpecification::cleanup() {
    Window = nullptr;
    TProgramTest::cleanup();
}

void TestLinkSpecification::ShowWithNodes(std::initializer_list<std::string> names) {
    Network.NumNodes = 0;
    for (const std::string& name : names) {
        ++Network.NumNodes;
        Network.NodeNames[Network.NumNodes] = name;
    }
    ShowWindow();
}

void TestLinkSpecification::ShowWindow() {
    Window->hide();
    QVERIFY(ShowActive(MeshLoomMain));
    MeshLoomMain->SetStep(TStep::LinksNext);
    Click(MeshLoomMain->LinkButton);
    QVERIFY(!MeshLoomMain->isVisible());
    QVERIFY(Window->isVisible());
    QVERIFY(ShowActive(Window));
}

void TestLinkSpecification::LeaveDistance(const QString& text) {
    Window->LinkDist->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), Window->LinkDist);
    Window->LinkDist->clear();
    QTest::keyClicks(Window->LinkDist, text);
    QTest::keyClick(Window->LinkDist, Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget() != Window->LinkDist);
}

void TestLinkSpecification::Select(int origin, int destination) {
    Window->OriginList->SetItemIndex(origin - 1);
    Window->DestinationList->SetItemIndex(destination - 1);
}

void TestLinkSpecification::Add(int origin, int destination, TCommandButton* button) {
    Select(origin, destination);
    QVERIFY(button->isEnabled());
    Click(button);
}

void TestLinkSpecification::Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

void TestLinkSpecification::ShowingStartsAfresh() {
    Network.PendingDistance = 77;
    Window->LinkDist->setText(QStringLiteral("77"));
    ShowWindow();

    const QStringList nodes{QStringLiteral("   1                 Leeds"),
                            QStringLiteral("   2                  York"),
                            QStringLiteral("   3                  Hull")};
    QCOMPARE(Lines(Window->OriginList), nodes);
    QCOMPARE(Lines(Window->DestinationList), nodes);
    QCOMPARE(Window->LinkList->Count(), 0);
    QCOMPARE(Window->LinkCount->text(), Count(0));
    QCOMPARE(Window->LinkDist->text(), QString());
    QCOMPARE(Network.PendingDistance, -1);
    for (TCommandButton* button :
         {Window->OneWayButton, Window->TwoWayButton, Window->RemoveButton, Window->QuitandSave}) {
        QVERIFY2(!button->isEnabled(), qPrintable(button->text()));
    }
    QVERIFY(Window->CancelButton->isEnabled());
    // Every entry, the diagonal included.
    QVERIFY(NoLinksStored());
    QVERIFY(!Network.LinkRows.IsAllocated(4));
    QCOMPARE(QApplication::focusWidget(), Window->OriginList);
}

// Selecting, typing, adding one way and both ways and removing, without the mouse.
void TestLinkSpecification::KeyboardAlone() {
    QCOMPARE(QApplication::focusWidget(), Window->OriginList);
    QTest::keyClick(Window->OriginList, Qt::Key_Down);
    QTest::keyClick(Window->OriginList, Qt::Key_Up);
    QCOMPARE(Window->OriginList->ItemIndex(), 0);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Window->DestinationList);
    QTest::keyClick(Window->DestinationList, Qt::Key_End);
    QTest::keyClick(Window->DestinationList, Qt::Key_Up);
    QCOMPARE(Window->DestinationList->ItemIndex(), 1);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Window->LinkDist);
    QTest::keyClicks(Window->LinkDist, QStringLiteral("1250"));
    QTest::keyClick(Window->LinkDist, Qt::Key_Tab);
    QVERIFY(Window->OneWayButton->isEnabled());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_U, Qt::AltModifier);
    QCOMPARE(Lines(Window->LinkList),
             QStringList{QStringLiteral("   1                 Leeds ->    2                  York"
                                        "      DIST =      1,250.0")});
    QCOMPARE(Window->LinkCount->text(), Count(1));

    // Both ways between York and Hull.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), Window->OriginList);
    QTest::keyClick(Window->OriginList, Qt::Key_End);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::AltModifier);
    QTest::keyClick(Window->DestinationList, Qt::Key_Home);
    QTest::keyClick(Window->DestinationList, Qt::Key_Down);
    QCOMPARE(Window->OriginList->ItemIndex(), 2);
    QCOMPARE(Window->DestinationList->ItemIndex(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::AltModifier);
    QCOMPARE(EndsOf(Window->LinkList), QStringList({"1->2", "2->3", "3->2"}));
    QCOMPARE(Window->LinkCount->text(), Count(3));

    // Remove the second line, 2->3.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), Window->LinkList);
    QTest::keyClick(Window->LinkList, Qt::Key_Home);
    QTest::keyClick(Window->LinkList, Qt::Key_Down);
    QCOMPARE(Window->LinkList->ItemIndex(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::AltModifier);
    QCOMPARE(EndsOf(Window->LinkList), QStringList({"1->2", "3->2"}));
    QCOMPARE(Window->LinkCount->text(), Count(2));
    QCOMPARE(Network.LinkRows[2][3], NoLink);
    QCOMPARE(Network.LinkRows[3][2], 1250);
}

void TestLinkSpecification::AccessKeysMoveTheFocus_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("control");
    QTest::newRow("Select an &Origin") << int(Qt::Key_O) << "OriginList";
    QTest::newRow("Select a &Destination") << int(Qt::Key_D) << "DestinationList";
    QTest::newRow("&Input Distance") << int(Qt::Key_I) << "LinkDist";
    QTest::newRow("&List of Links") << int(Qt::Key_L) << "LinkList";
}

void TestLinkSpecification::AccessKeysMoveTheFocus() {
    QFETCH(int, key);
    QFETCH(QString, control);
    const QMap<QString, QWidget*> controls{{"OriginList", Window->OriginList},
                                           {"DestinationList", Window->DestinationList},
                                           {"LinkDist", Window->LinkDist},
                                           {"LinkList", Window->LinkList}};
    Window->CancelButton->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), Window->CancelButton);
    QTest::keyClick(Window->CancelButton, static_cast<Qt::Key>(key), Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), controls.value(control));
    QVERIFY(Window->isVisible());
}

void TestLinkSpecification::TabOrder() {
    LeaveDistance(QStringLiteral("5"));
    Add(1, 2, Window->OneWayButton);
    const QList<QWidget*> order{Window->OriginList,   Window->DestinationList, Window->LinkDist,
                                Window->OneWayButton, Window->TwoWayButton,    Window->RemoveButton,
                                Window->LinkList,     Window->CancelButton,    Window->QuitandSave,
                                Window->OriginList};
    Window->OriginList->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), Window->OriginList);
    for (qsizetype k = 1; k < order.size(); ++k) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), order[k]);
    }
}

void TestLinkSpecification::ListedByPairWhateverTheOrderOfAdding() {
    LeaveDistance(QStringLiteral("40"));
    Add(2, 3, Window->OneWayButton);
    Add(3, 1, Window->OneWayButton);
    Add(1, 2, Window->OneWayButton);
    Add(1, 3, Window->OneWayButton);
    Add(2, 1, Window->OneWayButton);
    QCOMPARE(EndsOf(Window->LinkList), QStringList({"1->2", "2->1", "1->3", "3->1", "2->3"}));
    QCOMPARE(Window->LinkCount->text(), Count(5));
}

void TestLinkSpecification::TwoWayAddsBothDirections() {
    LeaveDistance(QStringLiteral("300"));
    Add(1, 2, Window->OneWayButton);
    Add(2, 3, Window->OneWayButton);
    QCOMPARE(Window->LinkCount->text(), Count(2));
    Add(3, 1, Window->TwoWayButton);
    QCOMPARE(EndsOf(Window->LinkList), QStringList({"1->2", "1->3", "3->1", "2->3"}));
    QCOMPARE(Window->LinkCount->text(), Count(4));
    QCOMPARE(Network.LinkRows[1][3], 300);
    QCOMPARE(Network.LinkRows[3][1], 300);
}

void TestLinkSpecification::AddingAgainReplacesTheDistance() {
    LeaveDistance(QStringLiteral("5"));
    Add(1, 2, Window->TwoWayButton);
    const auto undoText = [this] { return Window->History.Actions().at(0)->text(); };
    QCOMPARE(undoText(), QStringLiteral("Undo Addition of Links 1 <-> 2"));
    LeaveDistance(QStringLiteral("7"));
    Add(1, 2, Window->OneWayButton);
    QCOMPARE(undoText(), QStringLiteral("Undo Change of Link 1 -> 2"));
    QCOMPARE(Window->LinkList->Count(), 2);
    QCOMPARE(Window->LinkCount->text(), Count(2));
    QVERIFY(Window->LinkList->Line(0).endsWith(QStringLiteral("DIST =          7.0")));
    QVERIFY(Window->LinkList->Line(1).endsWith(QStringLiteral("DIST =          5.0")));
    QCOMPARE(Network.LinkRows[1][2], 7);
}

void TestLinkSpecification::DistanceZeroIsALink() {
    LeaveDistance(QStringLiteral("0"));
    QVERIFY(Window->OneWayButton->isEnabled());
    Add(3, 2, Window->OneWayButton);
    QCOMPARE(Lines(Window->LinkList),
             QStringList{QStringLiteral("   3                  Hull ->    2                  York"
                                        "      DIST =          0.0")});
    QCOMPARE(Network.LinkRows[3][2], 0);
}

void TestLinkSpecification::LongNamesCutInAllThreeLists() {
    ShowWithNodes({"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "York"});
    const QStringList nodes{QStringLiteral("   1  ABCDEFGHIJKLMNOPQRST"),
                            QStringLiteral("   2                  York")};
    QCOMPARE(Lines(Window->OriginList), nodes);
    QCOMPARE(Lines(Window->DestinationList), nodes);
    LeaveDistance(QStringLiteral("10000"));
    Add(2, 1, Window->TwoWayButton);
    QCOMPARE(Lines(Window->LinkList),
             QStringList({QStringLiteral("   1  ABCDEFGHIJKLMNOPQRST ->    2                  York"
                                         "      DIST =     10,000.0"),
                          QStringLiteral("   2                  York ->    1  ABCDEFGHIJKLMNOPQRST"
                                         "      DIST =     10,000.0")}));
}

void TestLinkSpecification::RemovingOneDirectionKeepsTheOther() {
    LeaveDistance(QStringLiteral("12"));
    Add(1, 3, Window->TwoWayButton);
    Window->LinkList->SetItemIndex(1);  // 3->1
    Click(Window->RemoveButton);
    QCOMPARE(EndsOf(Window->LinkList), QStringList({"1->3"}));
    QCOMPARE(Window->LinkCount->text(), Count(1));
    QCOMPARE(Network.LinkRows[3][1], NoLink);
    QCOMPARE(Network.LinkRows[1][3], 12);
}

// The keys on a button and on the list; in the distance field they are the field's own.
void TestLinkSpecification::UndoAndRedoPutBackWhatWas() {
    LeaveDistance(QStringLiteral("12"));
    Add(1, 3, Window->TwoWayButton);
    Window->LinkList->SetItemIndex(1);  // 3->1
    Click(Window->RemoveButton);
    const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    };
    QCOMPARE(QApplication::focusWidget(), Window->RemoveButton);
    press(Qt::Key_Z);
    QCOMPARE(EndsOf(Window->LinkList), QStringList({"1->3", "3->1"}));
    QCOMPARE(Window->LinkList->ItemIndex(), 1);
    Window->LinkList->setFocus();
    press(Qt::Key_Z);
    QCOMPARE(Window->LinkList->Count(), 0);
    QCOMPARE(Window->OriginList->ItemIndex(), 0);
    QCOMPARE(Window->DestinationList->ItemIndex(), 2);
    QVERIFY(!Window->RemoveButton->isEnabled());
    QVERIFY(Window->QuitandSave->isEnabled());
    press(Qt::Key_Y);
    press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(EndsOf(Window->LinkList), QStringList({"1->3"}));
    QVERIFY(Window->RemoveButton->isEnabled());
    Window->LinkDist->setFocus();
    press(Qt::Key_Z);
    QCOMPARE(EndsOf(Window->LinkList), QStringList({"1->3"}));
    QCOMPARE(Network.LinkRows[1][3], 12);
}

void TestLinkSpecification::NothingSelectedAfterAddOrRemove() {
    LeaveDistance(QStringLiteral("9"));
    Add(1, 2, Window->TwoWayButton);
    QCOMPARE(Window->OriginList->ItemIndex(), -1);
    QCOMPARE(Window->DestinationList->ItemIndex(), -1);
    QCOMPARE(Window->LinkList->ItemIndex(), -1);

    Window->LinkList->SetItemIndex(0);
    Click(Window->RemoveButton);
    QCOMPARE(Window->LinkList->ItemIndex(), -1);
    QCOMPARE(Window->OriginList->ItemIndex(), -1);

    Platform->ExpectBox(TMessageKind::Warning, SelectALink);
    Click(Window->RemoveButton);
    QCOMPARE(EndsOf(Window->LinkList), QStringList({"2->1"}));
    QVERIFY(Window->RemoveButton->isEnabled());

    // Adding, too, leaves no line selected for Remove.
    Window->LinkList->SetItemIndex(0);
    Add(2, 3, Window->OneWayButton);
    Platform->ExpectBox(TMessageKind::Warning, SelectALink);
    Click(Window->RemoveButton);
    QCOMPARE(Window->LinkList->Count(), 2);
}

// A missing selection stores nothing and keeps what the user did select; so does one node
// chosen as both ends.
void TestLinkSpecification::MissingSelectionWarns_data() {
    QTest::addColumn<int>("origin");  // 0: nothing selected
    QTest::addColumn<int>("destination");
    QTest::addColumn<bool>("twoWay");
    QTest::addColumn<QString>("warning");
    for (const bool twoWay : {false, true}) {
        const char* button = twoWay ? "two-way" : "one-way";
        QTest::addRow("%s, origin only", button) << 2 << 0 << twoWay << SelectBoth;
        QTest::addRow("%s, destination only", button) << 0 << 3 << twoWay << SelectBoth;
        QTest::addRow("%s, same node", button) << 2 << 2 << twoWay << NodesMustDiffer;
        QTest::addRow("%s, neither", button) << 0 << 0 << twoWay << NodesMustDiffer;
    }
}

void TestLinkSpecification::MissingSelectionWarns() {
    QFETCH(int, origin);
    QFETCH(int, destination);
    QFETCH(bool, twoWay);
    QFETCH(QString, warning);
    LeaveDistance(QStringLiteral("25"));
    Select(origin, destination);
    Platform->ExpectBox(TMessageKind::Warning, warning);
    Click(twoWay ? Window->TwoWayButton : Window->OneWayButton);
    QCOMPARE(Platform->ShownBoxes().size(), std::size_t{1});
    QVERIFY(NoLinksStored());
    QCOMPARE(Window->LinkList->Count(), 0);
    QCOMPARE(Window->LinkCount->text(), Count(0));
    QVERIFY(!Window->RemoveButton->isEnabled());
    QCOMPARE(Window->OriginList->ItemIndex(), origin - 1);
    QCOMPARE(Window->DestinationList->ItemIndex(), destination - 1);
}

// The selected line's own link goes, whatever the names hold: read back from the text, the
// first line below would name 2->3.
void TestLinkSpecification::RemoveTakesTheLinkOfItsLine_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("'>' then a number") << "Hull> 3";
    QTest::newRow("arrow and number") << "9 -> 3";
    QTest::newRow("cut arrow") << "ABCDEFGHIJKLMNOPQR->";
}

void TestLinkSpecification::RemoveTakesTheLinkOfItsLine() {
    QFETCH(QString, name);
    ShowWithNodes({"Leeds", name.toStdString(), "York"});
    LeaveDistance(QStringLiteral("5"));
    Add(2, 1, Window->OneWayButton);
    LeaveDistance(QStringLiteral("6"));
    Add(2, 3, Window->OneWayButton);
    QCOMPARE(EndsOf(Window->LinkList), QStringList({"2->1", "2->3"}));

    Window->LinkList->SetItemIndex(0);
    Click(Window->RemoveButton);
    QCOMPARE(Network.LinkRows[2][1], NoLink);
    QCOMPARE(Network.LinkRows[2][3], 6);
    QCOMPARE(EndsOf(Window->LinkList), QStringList({"2->3"}));

    Window->LinkList->SetItemIndex(0);
    Click(Window->RemoveButton);
    QVERIFY(NoLinksStored());
    QCOMPARE(Window->LinkCount->text(), Count(0));
}

void TestLinkSpecification::DistanceOutOfBounds() {
    LeaveDistance(QStringLiteral("100"));
    QVERIFY(Window->OneWayButton->isEnabled());
    Platform->ExpectBox(TMessageKind::Warning, OutOfBounds);
    LeaveDistance(QStringLiteral("20000"));
    QCOMPARE(Window->LinkDist->text(), QStringLiteral("-1"));
    QCOMPARE(Network.PendingDistance, -1);
    QVERIFY(!Window->OneWayButton->isEnabled());
    QVERIFY(!Window->TwoWayButton->isEnabled());
    QVERIFY(!Window->QuitandSave->isEnabled());

    // Left again unedited, the -1 it now reads is refused in its turn.
    Platform->ExpectBox(TMessageKind::Warning, OutOfBounds);
    Window->LinkDist->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), Window->LinkDist);
    QTest::keyClick(Window->LinkDist, Qt::Key_Tab);
    QCOMPARE(Network.PendingDistance, -1);
}

// An access key leaves the field before it clicks: the distance just typed is validated and
// stored, and a refused one stores nothing, though the button was enabled by the last one.
void TestLinkSpecification::AccessKeyAddsTheDistanceBeingTyped() {
    LeaveDistance(QStringLiteral("5"));
    Select(1, 2);
    Window->LinkDist->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), Window->LinkDist);
    Window->LinkDist->clear();
    QTest::keyClicks(Window->LinkDist, QStringLiteral("7"));
    QTest::keyClick(Window->LinkDist, Qt::Key_U, Qt::AltModifier);
    QCOMPARE(Network.LinkRows[1][2], 7);

    Select(2, 3);
    Window->LinkDist->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), Window->LinkDist);
    Window->LinkDist->clear();
    QTest::keyClicks(Window->LinkDist, QStringLiteral("20000"));
    Platform->ExpectBox(TMessageKind::Warning, OutOfBounds);
    QTest::keyClick(Window->LinkDist, Qt::Key_B, Qt::AltModifier);
    QCOMPARE(Network.LinkRows[2][3], NoLink);
    QCOMPARE(Network.LinkRows[3][2], NoLink);
    QCOMPARE(EndsOf(Window->LinkList), QStringList({"1->2"}));
}

// The four action buttons through a session: add buttons follow the pending distance, Quit
// and Save follows it too and drops at every typed character, Remove comes with the first
// add and stays until the window is shown again.
void TestLinkSpecification::ButtonStates() {
    const auto states = [this] {
        QString flags;
        for (TCommandButton* button : {Window->OneWayButton, Window->TwoWayButton,
                                       Window->QuitandSave, Window->RemoveButton}) {
            flags += button->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        }
        return flags;
    };
    QCOMPARE(states(), QStringLiteral("0000"));
    LeaveDistance(QStringLiteral("5"));
    QCOMPARE(states(), QStringLiteral("1110"));

    Window->LinkDist->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), Window->LinkDist);
    QTest::keyClick(Window->LinkDist, Qt::Key_1);
    QCOMPARE(states(), QStringLiteral("1100"));
    QTest::keyClick(Window->LinkDist, Qt::Key_Tab);
    QCOMPARE(states(), QStringLiteral("1110"));
    QCOMPARE(Network.PendingDistance, 51);

    Add(1, 2, Window->OneWayButton);
    QCOMPARE(states(), QStringLiteral("1111"));
    LeaveDistance(QString());
    QCOMPARE(states(), QStringLiteral("0001"));
    QCOMPARE(Network.PendingDistance, -1);

    Window->LinkList->SetItemIndex(0);
    Click(Window->RemoveButton);
    QCOMPARE(Window->LinkList->Count(), 0);
    QCOMPARE(states(), QStringLiteral("0001"));

    ShowWindow();
    QCOMPARE(states(), QStringLiteral("0000"));
}

void TestLinkSpecification::KeyRuleInTheDistanceField() {
    LeaveDistance(QStringLiteral("5"));
    QVERIFY(Window->QuitandSave->isEnabled());
    Window->LinkDist->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), Window->LinkDist);
    Window->LinkDist->clear();
    QTest::keyClicks(Window->LinkDist, QStringLiteral("1a2 .-"));
    QTest::keyClick(Window->LinkDist, Qt::Key_Backspace);
    QCOMPARE(Window->LinkDist->text(), QStringLiteral("12."));
    QCOMPARE(Platform->Beeps(), std::vector<unsigned>({0, 0}));
    QVERIFY(!Window->QuitandSave->isEnabled());
    QTest::keyClick(Window->LinkDist, Qt::Key_Tab);
    QCOMPARE(Network.PendingDistance, 12);
    QVERIFY(Window->QuitandSave->isEnabled());
}

void TestLinkSpecification::CancelReleasesAndShowingAgainStartsEmpty() {
    LeaveDistance(QStringLiteral("8"));
    Add(1, 2, Window->TwoWayButton);
    Window->LinkDist->setText(QStringLiteral("44"));
    Click(Window->CancelButton);
    QVERIFY(!Window->isVisible());
    QVERIFY(MeshLoomMain->isVisible());
    for (int i = 1; i <= 3; ++i) {
        QVERIFY(!Network.LinkRows.IsAllocated(i));
    }

    ShowWindow();
    for (int i = 1; i <= 3; ++i) {
        QVERIFY(Network.LinkRows.IsAllocated(i));
    }
    QVERIFY(NoLinksStored());
    QCOMPARE(Window->LinkList->Count(), 0);
    QCOMPARE(Window->LinkCount->text(), Count(0));
    QCOMPARE(Window->LinkDist->text(), QString());
    QVERIFY(!Window->RemoveButton->isEnabled());
    QVERIFY(!Window->OneWayButton->isEnabled());
}

void TestLinkSpecification::WindowManagerCannotCloseIt() {
    const Qt::WindowFlags flags = Window->windowFlags();
    QVERIFY(flags & Qt::CustomizeWindowHint);
    QVERIFY(!(flags & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                       Qt::WindowMaximizeButtonHint | Qt::WindowSystemMenuHint)));
    LeaveDistance(QStringLiteral("3"));
    Add(1, 3, Window->OneWayButton);
    QVERIFY(!Window->close());
    QVERIFY(Window->isVisible());
    QCOMPARE(Network.LinkRows[1][3], 3);
    QCOMPARE(Window->LinkList->Count(), 1);
}

// The "->" of the heading and of a link line are drawn in the same pixel columns.
void TestLinkSpecification::HeadingColumnsLineUpOnScreen() {
    const QFontMetrics metrics(Window->LinkList->font());
    for (const char sample : {'i', ' ', '.', ',', '>', '1', 'W'}) {
        QCOMPARE(metrics.horizontalAdvance(QLatin1Char(sample)),
                 metrics.horizontalAdvance(QLatin1Char('M')));
    }
    QCOMPARE(Window->Heading->font(), Window->LinkList->font());
    LeaveDistance(QStringLiteral("10000"));
    Add(1, 2, Window->OneWayButton);
    const QImage image = Window->grab().toImage();

    // The columns with ink in a band of the window, left to right, gathered into runs.
    const auto inkRuns = [&image](const QRect& band) {
        QList<QPair<int, int>> runs;
        for (int x = band.left(); x <= band.right(); ++x) {
            bool ink = false;
            for (int y = band.top(); y <= band.bottom() && !ink; ++y) {
                ink = qGray(image.pixel(x, y)) < 128;
            }
            if (ink && !runs.isEmpty() && runs.last().second == x - 1) {
                runs.last().second = x;
            } else if (ink) {
                runs.append({x, x});
            }
        }
        return runs;
    };
    const QRect headingBand = Window->Heading->geometry();
    QRect lineBand = Window->LinkList->visualRect(Window->LinkList->model()->index(0, 0));
    lineBand.moveTopLeft(Window->LinkList->viewport()->mapTo(Window, lineBand.topLeft()));
    lineBand.setLeft(headingBand.left());
    lineBand.setRight(headingBand.right());
    const QList<QPair<int, int>> headingRuns = inkRuns(headingBand);
    const QList<QPair<int, int>> lineRuns = inkRuns(lineBand);
    QVERIFY(!headingRuns.isEmpty());
    QVERIFY(!lineRuns.isEmpty());

    // Both read "... -> ..." with a blank on either side of the arrow, in columns 27 and 28;
    // take the ink run nearest to where it should be.
    const qreal advance =
        QFontMetricsF(Window->Heading->font()).horizontalAdvance(QLatin1Char(' '));
    const int headingText = headingRuns.first().first;
    const int arrowGuess = headingText + qRound(28 * advance);
    const auto nearest = [arrowGuess](const QList<QPair<int, int>>& runs) {
        QPair<int, int> best = runs.first();
        for (const auto& run : runs) {
            if (std::abs((run.first + run.second) / 2 - arrowGuess) <
                std::abs((best.first + best.second) / 2 - arrowGuess)) {
                best = run;
            }
        }
        return best;
    };
    const QPair<int, int> headingArrow = nearest(headingRuns);
    const QPair<int, int> lineArrow = nearest(lineRuns);
    QVERIFY2(headingArrow.second - headingArrow.first < 2 * advance,
             "the heading's arrow does not stand alone");
    // Within a pixel: the two are drawn by different painters, which may round a glyph's
    // edge differently.
    QVERIFY2(std::abs(lineArrow.first - headingArrow.first) <= 1 &&
                 std::abs(lineArrow.second - headingArrow.second) <= 1,
             qPrintable(QStringLiteral("heading arrow at %1..%2, line arrow at %3..%4")
                            .arg(headingArrow.first)
                            .arg(headingArrow.second)
                            .arg(lineArrow.first)
                            .arg(lineArrow.second)));
}

QTEST_MAIN(TestLinkSpecification)
#include "tst_link_window.moc"
