// The node window, driven as the planner drives it: keys, Tab, access keys and clicks.

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "app/program.h"
#include "core/network/network_store.h"
#include "core/numbers/separators.h"
#include "nodes/node_window.h"
#include "platform/widgets/command_button.h"
#include "platform/widgets/entry_field.h"
#include "platform/widgets/line_list.h"
#include "shell/main_menu.h"
#include "shell/window_references.h"
#include "support/program_test.h"
#include "support/scripted_platform.h"
#include "support/show_active.h"

namespace {
const QString InformationBoxText =
    QStringLiteral("You must specify at least 2 nodes to enable link additions.");
const QString QuitQuestion = QStringLiteral(
    "If you QUIT now you will lose any information you have supplied.\rDo you want to QUIT?");

TNodeSpecifications& Window() {
    return *NodeSpecifications;
}

// What the main menu's node button does; then waits until the window has the keyboard.
bool ShowNodeWindow() {
    MeshLoomMain->hide();
    return ShowActive(&Window());
}

void PressAccessKey(Qt::Key key) {
    QTest::keyClick(&Window(), key, Qt::AltModifier);
}

// Keyboard alone: Alt+N to the name, Tab from field to field, Tab onto Add Node, Space.
void EnterNode(const QString& name, const QString& first = QString(),
               const QString& second = QString(), const QString& cost = QString()) {
    PressAccessKey(Qt::Key_N);
    for (const QString& text : {name, first, second, cost}) {
        QWidget* field = QApplication::focusWidget();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Tab);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
}

void ClickLine(int index) {
    TLineList* list = Window().NodeList;
    const QRect line = list->visualRect(list->model()->index(index, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
}

QStringList ListedNames() {
    QStringList names;
    for (int i = 0; i < Window().NodeList->Count(); ++i) {
        names << Window().NodeList->Line(i).mid(6, 15).trimmed();
    }
    return names;
}

QList<QWidget*> EntryControls() {
    TNodeSpecifications& w = Window();
    return {w.NodeName,     w.NodeNameLabel,     w.FirstDemand, w.FirstDemandLabel,
            w.SecondDemand, w.SecondDemandLabel, w.FixedCost,   w.FixedCostLabel};
}

bool EntryOpen() {
    for (QWidget* control : EntryControls()) {
        if (!control->isVisible()) {
            return false;
        }
    }
    return Window().AddNode->isEnabled();
}

bool EntryClosed() {
    for (QWidget* control : EntryControls()) {
        if (control->isVisible()) {
            return false;
        }
    }
    return !Window().AddNode->isEnabled();
}

QByteArray Bytes(const std::string& text) {
    return QByteArray::fromStdString(text);
}
}  // namespace

class TestNodeSpecifications : public TProgramTest {
    Q_OBJECT
  private slots:
    void ShownFresh();
    void NothingClipped();
    void TabOrderSkipsNodeNumber();
    void LabelAccessKeysMoveFocus_data();
    void LabelAccessKeysMoveFocus();
    void CloseRequestIsRefused();
    void AddedNodeIsListedAndSelected();
    void DeleteSelectsFollowingNode_data();
    void DeleteSelectsFollowingNode();
    void DeleteWithoutSelectionWarns();
    void DeletingOnlyNodeDisablesDeleteAndQuit();
    void QuitWithFewerThanTwoNodes_data();
    void QuitWithFewerThanTwoNodes();
    void QuitWithTwoNodesMovesMenuToLinks();
    void CancelThenShowingAgainStartsEmpty();
    void RestoringWindowKeepsNodes();
    void KeyInNumericFieldDisablesQuitUntilLeft();
    void LongNameListedAsFirstFifteen();
    void FullTableAndBack();
    void PendingNameResetWithOtherValues_data();
    void PendingNameResetWithOtherValues();
    void AccessKeyLeavesFieldBeforeAdding();
    void NameHeldAsWindows1252();
    void LongerNameCutWithWarning();
    void PasteKeepsNodeBeingTyped_data();
    void PasteKeepsNodeBeingTyped();
    void KeyboardAloneFromMainMenu();
    void EditBelongsToOneNode_data();
    void EditBelongsToOneNode();
    void UndoOfAddThatFilledTable();
};

void TestNodeSpecifications::ShownFresh() {
    QVERIFY(ShowNodeWindow());
    TNodeSpecifications& w = Window();
    QCOMPARE(w.windowTitle(), QStringLiteral("Node Specification Menu"));
    const Qt::WindowFlags flags = w.windowFlags();
    QVERIFY(!(flags & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                       Qt::WindowMaximizeButtonHint | Qt::WindowSystemMenuHint)));
    QCOMPARE(w.Information->text(), QStringLiteral("0 Nodes in the network"));
    QCOMPARE(w.NodeNumber->text(), QStringLiteral("1"));
    QCOMPARE(w.NodeList->Count(), 0);
    QVERIFY(w.AddNode->isEnabled());
    QVERIFY(!w.DeleteButton->isEnabled());
    QVERIFY(!w.QuitButton->isEnabled());
    QVERIFY(w.CancelButton->isEnabled());
    QVERIFY(EntryOpen());
    QCOMPARE(QApplication::focusWidget(), w.NodeName);
    // Every character of the list has the same advance, so the columns line up.
    const QFontMetrics metrics(w.NodeList->font());
    const int width = metrics.horizontalAdvance(QLatin1Char('W'));
    for (const char sample : {'i', ' ', '.', ',', '0', '1'}) {
        QCOMPARE(metrics.horizontalAdvance(QLatin1Char(sample)), width);
    }
}

void TestNodeSpecifications::NothingClipped() {
    QVERIFY(ShowNodeWindow());
    TNodeSpecifications& w = Window();
    // The widest texts the window ever shows.
    EnterNode(QStringLiteral("North Riverside Depot"), QStringLiteral("10000"),
              QStringLiteral("9999.99"), QStringLiteral("10000"));
    w.Information->setText(
        QStringLiteral("150 Nodes in the network.  NO MORE NODES MAY BE ADDED."));
    QApplication::processEvents();
    const QList<QWidget*> captioned = {w.NodeNumberLabel,   w.NodeNameLabel,  w.FirstDemandLabel,
                                       w.SecondDemandLabel, w.FixedCostLabel, w.AddNode,
                                       w.DeleteButton,      w.QuitButton,     w.CancelButton,
                                       w.Information};
    for (QWidget* control : captioned) {
        QVERIFY2(control->width() >= control->sizeHint().width() &&
                     control->height() >= control->sizeHint().height(),
                 qPrintable(control->objectName() + QLatin1Char(' ') +
                            control->property("text").toString()));
    }
    QCOMPARE(w.NodeList->Line(0).size(), 63);
    QCOMPARE(w.NodeList->horizontalScrollBar()->maximum(), 0);
}

void TestNodeSpecifications::TabOrderSkipsNodeNumber() {
    QVERIFY(ShowNodeWindow());
    TNodeSpecifications& w = Window();
    EnterNode(QStringLiteral("A"));  // enables Delete Node; leaving the fields enables Quit
    PressAccessKey(Qt::Key_N);
    const QList<QWidget*> order = {w.NodeName,     w.FirstDemand, w.SecondDemand, w.FixedCost,
                                   w.AddNode,      w.QuitButton,  w.DeleteButton, w.NodeList,
                                   w.CancelButton, w.EditButton,  w.NodeName};
    for (int i = 0; i < order.size(); ++i) {
        QCOMPARE(QApplication::focusWidget(), order[i]);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // The node number can still be clicked into, to copy it.
    QTest::mouseClick(w.NodeNumber, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), w.NodeNumber);
    QTest::keyClicks(w.NodeNumber, QStringLiteral("9"));
    QCOMPARE(w.NodeNumber->text(), QStringLiteral("2"));
}

void TestNodeSpecifications::LabelAccessKeysMoveFocus_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("field");
    QTest::newRow("Alt+N") << int(Qt::Key_N) << QStringLiteral("NodeName");
    QTest::newRow("Alt+F") << int(Qt::Key_F) << QStringLiteral("FirstDemand");
    QTest::newRow("Alt+S") << int(Qt::Key_S) << QStringLiteral("SecondDemand");
    QTest::newRow("Alt+X") << int(Qt::Key_X) << QStringLiteral("FixedCost");
}

void TestNodeSpecifications::LabelAccessKeysMoveFocus() {
    QFETCH(int, key);
    QFETCH(QString, field);
    QVERIFY(ShowNodeWindow());
    TNodeSpecifications& w = Window();
    const QHash<QString, QWidget*> fields = {{QStringLiteral("NodeName"), w.NodeName},
                                             {QStringLiteral("FirstDemand"), w.FirstDemand},
                                             {QStringLiteral("SecondDemand"), w.SecondDemand},
                                             {QStringLiteral("FixedCost"), w.FixedCost}};
    w.NodeList->setFocus();
    PressAccessKey(static_cast<Qt::Key>(key));
    QCOMPARE(QApplication::focusWidget(), fields.value(field));
}

void TestNodeSpecifications::CloseRequestIsRefused() {
    QVERIFY(ShowNodeWindow());
    EnterNode(QStringLiteral("A"));
    QVERIFY(!Window().close());
    QVERIFY(Window().isVisible());
    QCOMPARE(Network.NumNodes, 1);
}

void TestNodeSpecifications::AddedNodeIsListedAndSelected() {
    QVERIFY(ShowNodeWindow());
    TNodeSpecifications& w = Window();
    EnterNode(QStringLiteral("North Riverside Depot"), QStringLiteral("1234.5"),
              QStringLiteral("0"), QStringLiteral("10000"));
    EnterNode(QStringLiteral("Hub"), QStringLiteral("5"), QString(), QStringLiteral("12.5"));

    QCOMPARE(Network.NumNodes, 2);
    QCOMPARE(Bytes(Network.NodeNames[1]), QByteArray("North Riverside Depot"));
    QCOMPARE(Network.FirstDemands[1], Real48::Narrow(1234.5));
    QCOMPARE(Network.FixedCosts[1], Real48::Narrow(10000));
    QCOMPARE(Network.SecondDemands[2], Real48::Narrow(0));
    QCOMPARE(w.NodeList->Count(), 2);
    QCOMPARE(w.NodeList->Line(0),
             QStringLiteral("   1  North Riverside       1,234.5           0.0      10,000.0"));
    QCOMPARE(w.NodeList->Line(1),
             QStringLiteral("   2              Hub           5.0           0.0          12.5"));
    QCOMPARE(w.NodeList->ItemIndex(), 1);
    QCOMPARE(w.NodeNumber->text(), QStringLiteral("3"));
    QCOMPARE(w.Information->text(), QStringLiteral("2 Nodes in the network"));
    for (TEntryField* field : {w.NodeName, w.FirstDemand, w.SecondDemand, w.FixedCost}) {
        QVERIFY(field->text().isEmpty());
    }
    QVERIFY(w.DeleteButton->isEnabled());
    QCOMPARE(Network.PendingFirstDemand, Real48::Narrow(0));
    QCOMPARE(Network.PendingFixedCost, Real48::Narrow(0));
}

void TestNodeSpecifications::DeleteSelectsFollowingNode_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<int>("selected");
    QTest::newRow("first") << 0 << QStringList{"B", "C"} << 0;
    QTest::newRow("middle") << 1 << QStringList{"A", "C"} << 1;
    QTest::newRow("last") << 2 << QStringList{"A", "B"} << 1;
}

void TestNodeSpecifications::DeleteSelectsFollowingNode() {
    QFETCH(int, line);
    QFETCH(QStringList, left);
    QFETCH(int, selected);
    QVERIFY(ShowNodeWindow());
    TNodeSpecifications& w = Window();
    // Node k (A = 1) holds k, 10 k and 100 k, so every column of a moved node is seen.
    EnterNode(QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("10"),
              QStringLiteral("100"));
    EnterNode(QStringLiteral("B"), QStringLiteral("2"), QStringLiteral("20"),
              QStringLiteral("200"));
    EnterNode(QStringLiteral("C"), QStringLiteral("3"), QStringLiteral("30"),
              QStringLiteral("300"));
    // Half-typed values are dropped by a delete.
    QTest::mouseClick(w.FirstDemand, Qt::LeftButton);
    QTest::keyClicks(w.FirstDemand, QStringLiteral("77"));

    ClickLine(line);
    QTest::mouseClick(w.DeleteButton, Qt::LeftButton);

    QCOMPARE(Network.NumNodes, 2);
    QCOMPARE(ListedNames(), left);
    for (int i = 0; i < left.size(); ++i) {
        QCOMPARE(QString::fromStdString(Network.NodeNames[i + 1]), left[i]);
        const int k = left[i].at(0).unicode() - u'A' + 1;
        QCOMPARE(Network.FirstDemands[i + 1].Widen(), k);
        QCOMPARE(Network.SecondDemands[i + 1].Widen(), 10 * k);
        QCOMPARE(Network.FixedCosts[i + 1].Widen(), 100 * k);
        QCOMPARE(w.NodeList->Line(i).left(4), QStringLiteral("   %1").arg(i + 1));
    }
    QCOMPARE(w.NodeList->ItemIndex(), selected);
    QCOMPARE(w.NodeNumber->text(), QStringLiteral("3"));
    QCOMPARE(w.Information->text(), QStringLiteral("2 Nodes in the network"));
    QVERIFY(w.FirstDemand->text().isEmpty());
    QCOMPARE(Network.PendingFirstDemand, Real48::Narrow(0));
    QVERIFY(w.DeleteButton->isEnabled());
    QVERIFY(w.QuitButton->isEnabled());
}

void TestNodeSpecifications::DeleteWithoutSelectionWarns() {
    const QString warning = QStringLiteral("You must select a node from the list to delete");
    QVERIFY(ShowNodeWindow());
    TNodeSpecifications& w = Window();
    EnterNode(QStringLiteral("A"));
    EnterNode(QStringLiteral("B"));
    // Ctrl+click takes the selection off the selected line.
    QTest::mouseClick(w.NodeList->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      w.NodeList->visualRect(w.NodeList->model()->index(1, 0)).center());
    QCOMPARE(w.NodeList->ItemIndex(), -1);
    Platform->ExpectBox(TMessageKind::Warning, warning);
    QTest::mouseClick(w.DeleteButton, Qt::LeftButton);
    QCOMPARE(Network.NumNodes, 2);
    QCOMPARE(ListedNames(), (QStringList{"A", "B"}));
    QCOMPARE(w.NodeNumber->text(), QStringLiteral("3"));

    // A new showing leaves Delete Node enabled over an empty list.
    QTest::mouseClick(w.CancelButton, Qt::LeftButton);
    QVERIFY(ShowNodeWindow());
    QVERIFY(w.DeleteButton->isEnabled());
    Platform->ExpectBox(TMessageKind::Warning, warning);
    QTest::mouseClick(w.DeleteButton, Qt::LeftButton);
    QCOMPARE(Network.NumNodes, 0);
    QCOMPARE(Platform->ShownBoxes().size(), std::size_t{2});
    QCOMPARE(Platform->ShownBoxes().back().Caption, QStringLiteral("Warning"));
}

void TestNodeSpecifications::DeletingOnlyNodeDisablesDeleteAndQuit() {
    QVERIFY(ShowNodeWindow());
    TNodeSpecifications& w = Window();
    EnterNode(QStringLiteral("Only"), QStringLiteral("4"));
    QVERIFY(w.QuitButton->isEnabled());
    PressAccessKey(Qt::Key_D);
    QTRY_COMPARE(Network.NumNodes, 0);
    QCOMPARE(w.NodeList->Count(), 0);
    QCOMPARE(w.NodeList->ItemIndex(), -1);
    QVERIFY(!w.DeleteButton->isEnabled());
    QVERIFY(!w.QuitButton->isEnabled());
    QCOMPARE(w.NodeNumber->text(), QStringLiteral("1"));
    QCOMPARE(w.Information->text(), QStringLiteral("0 Nodes in the network"));
}

void TestNodeSpecifications::QuitWithFewerThanTwoNodes_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes returns to the main menu") << true;
    QTest::newRow("No stays") << false;
}

void TestNodeSpecifications::QuitWithFewerThanTwoNodes() {
    QFETCH(bool, yes);
    QVERIFY(ShowNodeWindow());
    TNodeSpecifications& w = Window();
    EnterNode(QStringLiteral("Lonely"), QStringLiteral("3"));
    Platform->ExpectBox(TMessageKind::Information, InformationBoxText);
    Platform->ExpectBox(TMessageKind::Confirmation, QuitQuestion, yes ? TAnswer::Yes : TAnswer::No);
    QTest::mouseClick(w.QuitButton, Qt::LeftButton);

    QVERIFY(Platform->AllAnswered());
    const auto& shown = Platform->ShownBoxes();
    QCOMPARE(shown.size(), std::size_t{2});
    QCOMPARE(shown[0].Buttons, TBoxButtons::Ok);
    QCOMPARE(shown[1].Buttons, TBoxButtons::YesNo);
    QCOMPARE(w.isVisible(), !yes);
    QCOMPARE(MeshLoomMain->isVisible(), yes);
    QVERIFY(MeshLoomMain->NodeButton->isEnabled());
    QVERIFY(!MeshLoomMain->LinkButton->isEnabled());
    QCOMPARE(Network.NumNodes, 1);
    QCOMPARE(w.NodeList->Count(), 1);
}

void TestNodeSpecifications::QuitWithTwoNodesMovesMenuToLinks() {
    QVERIFY(ShowNodeWindow());
    TNodeSpecifications& w = Window();
    EnterNode(QStringLiteral("A"), QStringLiteral("1"));
    EnterNode(QStringLiteral("B"), QStringLiteral("2"));
    QTest::mouseClick(w.QuitButton, Qt::LeftButton);
    QVERIFY(Platform->ShownBoxes().empty());
    QVERIFY(!w.isVisible());
    QVERIFY(MeshLoomMain->isVisible());
    QVERIFY(MeshLoomMain->LinkButton->isEnabled());
    QVERIFY(!MeshLoomMain->NodeButton->isEnabled());
    QCOMPARE(Network.NumNodes, 2);
}

void TestNodeSpecifications::CancelThenShowingAgainStartsEmpty() {
    QVERIFY(ShowNodeWindow());
    TNodeSpecifications& w = Window();
    EnterNode(QStringLiteral("A"), QStringLiteral("1"));
    EnterNode(QStringLiteral("B"), QStringLiteral("2"));
    QTest::mouseClick(w.FixedCost, Qt::LeftButton);
    QTest::keyClicks(w.FixedCost, QStringLiteral("55"));
    QTest::mouseClick(w.CancelButton, Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QVERIFY(MeshLoomMain->isVisible());
    QVERIFY(MeshLoomMain->NodeButton->isEnabled());
    QVERIFY(!MeshLoomMain->LinkButton->isEnabled());

    QVERIFY(ShowNodeWindow());
    QCOMPARE(Network.NumNodes, 0);
    QCOMPARE(w.NodeList->Count(), 0);
    QCOMPARE(w.NodeNumber->text(), QStringLiteral("1"));
    QCOMPARE(w.Information->text(), QStringLiteral("0 Nodes in the network"));
    QVERIFY(w.FixedCost->text().isEmpty());
    QCOMPARE(Network.PendingFixedCost, Real48::Narrow(0));
    // The old slots still hold their nodes, but nothing shows them.
    QCOMPARE(Bytes(Network.NodeNames[2]), QByteArray("B"));
    EnterNode(QStringLiteral("C"));
    QCOMPARE(ListedNames(), QStringList{"C"});
    QCOMPARE(Network.FirstDemands[1], Real48::Narrow(0));
}

// The window system's own showing of a restored window is not a new start.
void TestNodeSpecifications::RestoringWindowKeepsNodes() {
    QVERIFY(ShowNodeWindow());
    EnterNode(QStringLiteral("Kept"));
    Window().showMinimized();
    QTRY_VERIFY(Window().isMinimized());
    Window().showNormal();
    QTRY_VERIFY(!Window().isMinimized());
    QCOMPARE(Network.NumNodes, 1);
    QCOMPARE(Window().NodeList->Count(), 1);
}

void TestNodeSpecifications::KeyInNumericFieldDisablesQuitUntilLeft() {
    QVERIFY(ShowNodeWindow());
    TNodeSpecifications& w = Window();
    QTest::keyClicks(w.NodeName, QStringLiteral("Hub"));
    QTest::keyClick(w.NodeName, Qt::Key_Tab);
    QVERIFY(w.QuitButton->isEnabled());

    QCOMPARE(QApplication::focusWidget(), w.FirstDemand);
    QTest::keyClicks(w.FirstDemand, QStringLiteral("5"));
    QVERIFY(!w.QuitButton->isEnabled());
    QTest::keyClick(w.QuitButton, Qt::Key_Space);  // a disabled button takes no key
    QTest::keyClicks(w.FirstDemand, QStringLiteral("x"));
    QCOMPARE(w.FirstDemand->text(), QStringLiteral("5"));
    QCOMPARE(Platform->Beeps(), std::vector<unsigned>{0});
    QTest::keyClick(w.FirstDemand, Qt::Key_Tab);
    QVERIFY(w.QuitButton->isEnabled());
    QCOMPARE(Network.PendingFirstDemand, Real48::Narrow(5));

    // A refused entry enables Quit all the same.
    PressAccessKey(Qt::Key_X);
    QTest::keyClicks(w.FixedCost, QStringLiteral("1..2"));
    QVERIFY(!w.QuitButton->isEnabled());
    Platform->ExpectBox(TMessageKind::Warning, QStringLiteral("Conversion Error"));
    QTest::keyClick(w.FixedCost, Qt::Key_Tab);
    QVERIFY(w.QuitButton->isEnabled());
    QCOMPARE(w.FixedCost->text(), QStringLiteral("0"));
    QCOMPARE(Network.PendingFixedCost, Real48::Narrow(0));

    // The name field has no key rule: any key goes in, Quit stays.
    PressAccessKey(Qt::Key_N);
    QTest::keyClick(w.NodeName, Qt::Key_End);
    QTest::keyClicks(w.NodeName, QStringLiteral(" x<>"));
    QVERIFY(w.QuitButton->isEnabled());
    QCOMPARE(w.NodeName->text(), QStringLiteral("Hub x<>"));
    QCOMPARE(Platform->Beeps().size(), std::size_t{1});
}

void TestNodeSpecifications::LongNameListedAsFirstFifteen() {
    QVERIFY(ShowNodeWindow());
    EnterNode(QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    EnterNode(QStringLiteral("Short"));
    QCOMPARE(Bytes(Network.NodeNames[1]), QByteArray("ABCDEFGHIJKLMNOPQRST"));
    QCOMPARE(Window().NodeList->Line(0).mid(4, 19), QStringLiteral("  ABCDEFGHIJKLMNO  "));
    QCOMPARE(Window().NodeList->Line(1).mid(4, 19), QStringLiteral("            Short  "));
}

// The full table hides the entry; any delete or new showing brings it back.
void TestNodeSpecifications::FullTableAndBack() {
    const QString fullText =
        QStringLiteral("150 Nodes in the network.  NO MORE NODES MAY BE ADDED.");
    QVERIFY(ShowNodeWindow());
    TNodeSpecifications& w = Window();
    for (int node = 1; node <= MaxNodes; ++node) {
        EnterNode(QStringLiteral("N%1").arg(node), QString::number(node));
    }
    QCOMPARE(Network.NumNodes, MaxNodes);
    QCOMPARE(w.NodeList->Count(), MaxNodes);
    QCOMPARE(w.NodeList->ItemIndex(), MaxNodes - 1);
    QCOMPARE(w.NodeList->Line(149).left(4), QStringLiteral(" 150"));
    QCOMPARE(w.NodeList->horizontalScrollBar()->maximum(), 0);
    QVERIFY(EntryClosed());
    QCOMPARE(w.Information->text(), fullText);
    QCOMPARE(w.NodeNumber->text(), QStringLiteral("150"));
    w.AddNodeClick();
    QCOMPARE(Network.NumNodes, MaxNodes);

    ClickLine(0);
    QTest::mouseClick(w.DeleteButton, Qt::LeftButton);
    QCOMPARE(Network.NumNodes, MaxNodes - 1);
    QCOMPARE(Bytes(Network.NodeNames[1]), QByteArray("N2"));
    QCOMPARE(Bytes(Network.NodeNames[149]), QByteArray("N150"));
    QCOMPARE(Network.FirstDemands[149], Real48::Narrow(150));
    QCOMPARE(w.NodeList->ItemIndex(), 0);
    QVERIFY(EntryOpen());
    QCOMPARE(w.Information->text(), QStringLiteral("149 Nodes in the network"));
    QCOMPARE(w.NodeNumber->text(), QStringLiteral("150"));

    EnterNode(QStringLiteral("Again"), QStringLiteral("7"));
    QCOMPARE(Network.NumNodes, MaxNodes);
    QCOMPARE(Bytes(Network.NodeNames[150]), QByteArray("Again"));
    QVERIFY(EntryClosed());
    QCOMPARE(w.Information->text(), fullText);

    QTest::mouseClick(w.CancelButton, Qt::LeftButton);
    QVERIFY(ShowNodeWindow());
    QVERIFY(EntryOpen());
    QCOMPARE(w.Information->text(), QStringLiteral("0 Nodes in the network"));
    EnterNode(QStringLiteral("Fresh"), QStringLiteral("1"));
    QCOMPARE(ListedNames(), QStringList{"Fresh"});
}

// A name left in the field is given only to the next node added; every reset of the pending
// values forgets it, as the emptied field shows.
void TestNodeSpecifications::PendingNameResetWithOtherValues_data() {
    QTest::addColumn<QString>("reset");
    QTest::newRow("after Add Node") << QStringLiteral("add");
    QTest::newRow("after Delete Node") << QStringLiteral("delete");
    QTest::newRow("on a new showing") << QStringLiteral("show");
}

void TestNodeSpecifications::PendingNameResetWithOtherValues() {
    QFETCH(QString, reset);
    QVERIFY(ShowNodeWindow());
    TNodeSpecifications& w = Window();
    EnterNode(QStringLiteral("First"), QStringLiteral("1"));
    EnterNode(QStringLiteral("Second"), QStringLiteral("2"));
    PressAccessKey(Qt::Key_N);
    QTest::keyClicks(w.NodeName, QStringLiteral("Stale"));
    if (reset == QLatin1String("add")) {
        QTest::keyClick(w.NodeName, Qt::Key_Tab);
        QTest::mouseClick(w.AddNode, Qt::LeftButton);
        QCOMPARE(Bytes(Network.NodeNames[3]), QByteArray("Stale"));
    } else if (reset == QLatin1String("delete")) {
        ClickLine(0);  // leaves the name field
        QTest::mouseClick(w.DeleteButton, Qt::LeftButton);
    } else {
        QTest::mouseClick(w.CancelButton, Qt::LeftButton);
        QVERIFY(ShowNodeWindow());
    }
    QCOMPARE(Bytes(Network.PendingName), QByteArray());
    QVERIFY(w.NodeName->text().isEmpty());

    // Only the numbers are entered for the next node.
    PressAccessKey(Qt::Key_F);
    QTest::keyClicks(w.FirstDemand, QStringLiteral("9"));
    QTest::keyClick(w.FirstDemand, Qt::Key_Tab);
    QTest::mouseClick(w.AddNode, Qt::LeftButton);
    const int added = Network.NumNodes;
    QCOMPARE(Bytes(Network.NodeNames[added]), QByteArray());
    QCOMPARE(Network.FirstDemands[added], Real48::Narrow(9));
    QCOMPARE(w.NodeList->Line(added - 1).mid(6, 15), QString(15, QLatin1Char(' ')));
}

// Alt+A while a value is being typed: the field is left, and its value checked, before the
// node is added, as with a mouse click on the button.
void TestNodeSpecifications::AccessKeyLeavesFieldBeforeAdding() {
    QVERIFY(ShowNodeWindow());
    TNodeSpecifications& w = Window();
    QTest::keyClicks(w.NodeName, QStringLiteral("Quay"));
    QTest::keyClick(w.NodeName, Qt::Key_Tab);
    QTest::keyClicks(w.FirstDemand, QStringLiteral("12.5"));
    QTest::keyClick(&w, Qt::Key_A, Qt::AltModifier);
    QTRY_COMPARE(Network.NumNodes, 1);
    QCOMPARE(Bytes(Network.NodeNames[1]), QByteArray("Quay"));
    QCOMPARE(Network.FirstDemands[1], Real48::Narrow(12.5));
    QCOMPARE(w.NodeList->Line(0).mid(23, 12), QStringLiteral("        12.5"));
    QVERIFY(w.FirstDemand->text().isEmpty());
    QVERIFY(w.QuitButton->isEnabled());

    // The same for the name field.
    PressAccessKey(Qt::Key_N);
    QTest::keyClicks(w.NodeName, QStringLiteral("Pier"));
    QTest::keyClick(&w, Qt::Key_A, Qt::AltModifier);
    QTRY_COMPARE(Network.NumNodes, 2);
    QCOMPARE(Bytes(Network.NodeNames[2]), QByteArray("Pier"));
}

// A name longer than a saved file can give back is said and cut when its field is left, so
// that every node written can be opened again.
void TestNodeSpecifications::LongerNameCutWithWarning() {
    QVERIFY(ShowNodeWindow());
    TNodeSpecifications& w = Window();
    QApplication::clipboard()->setText(QString(5000, QLatin1Char('x')));
    QTest::keyClick(w.NodeName, Qt::Key_V, Qt::ControlModifier);
    Platform->ExpectBox(TMessageKind::Warning,
                        QStringLiteral("The name holds 5000 characters; a name holds at most "
                                       "4096, so only its first 4096 are kept."));
    QTest::keyClick(w.NodeName, Qt::Key_Tab);
    QVERIFY(Platform->AllAnswered());
    QCOMPARE(Network.PendingName, std::string(LongestNodeName, 'x'));
    QCOMPARE(w.NodeName->text(), QString(4096, QLatin1Char('x')));
}

// A pasted name is held as the Windows-1252 text it will be written as, and shown so: a tab
// or line break parts the words, a character without a byte becomes "?", with a warning that
// names it and what is kept.
void TestNodeSpecifications::NameHeldAsWindows1252() {
    QVERIFY(ShowNodeWindow());
    TNodeSpecifications& w = Window();
    QApplication::clipboard()->setText(
        QString::fromUtf16(u"North\tRiverside\r\nDepot \u03a9 <Caf\u00e9>"));
    QTest::keyClick(w.NodeName, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(!w.NodeName->text().isEmpty());
    Platform->ExpectBox(TMessageKind::Warning,
                        QString::fromUtf16(u"The name holds \"\u03a9\" (U+03A9), which a demand "
                                           u"data file cannot hold, so it is kept as \"North "
                                           u"Riverside  Depot ? <Caf\u00e9>\"."));
    QTest::keyClick(w.NodeName, Qt::Key_Tab);
    QVERIFY(Platform->AllAnswered());
    const QByteArray stored("North Riverside  Depot ? <Caf\xe9>");
    QCOMPARE(Bytes(Network.PendingName), stored);
    QCOMPARE(w.NodeName->text(), QString::fromLatin1(stored));
    QTest::mouseClick(w.AddNode, Qt::LeftButton);
    QCOMPARE(Bytes(Network.NodeNames[1]), stored);
    QCOMPARE(w.NodeList->Line(0).mid(6, 15), QString::fromLatin1(stored.left(15)));

    // Typographic characters are listed as typed and held in their single bytes.
    const QString typed = QString::fromUtf16(u"O’Neill – Süd €");
    PressAccessKey(Qt::Key_N);
    for (const QChar c : typed) {  // Qt Test types ASCII only
        QTest::sendKeyEvent(QTest::Click, w.NodeName, Qt::Key_unknown, c, Qt::NoModifier);
    }
    QTest::keyClick(w.NodeName, Qt::Key_Tab);
    QCOMPARE(w.NodeName->text(), typed);
    QTest::mouseClick(w.AddNode, Qt::LeftButton);
    QCOMPARE(Bytes(Network.NodeNames[2]), QByteArray("O\x92Neill \x96 S\xfc"
                                                     "d \x80"));
    QCOMPARE(w.NodeList->Line(1).mid(6, 15), typed);

    // Blanks at either end stay as pasted, and so does a name of the longest length.
    const QString kept = QStringLiteral("  ") + QString(int(LongestNodeName) - 3, QChar(0x00e6)) +
                         QStringLiteral(" ");
    QApplication::clipboard()->setText(kept);
    PressAccessKey(Qt::Key_N);
    QTest::keyClick(w.NodeName, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(w.NodeName, Qt::Key_Tab);
    QCOMPARE(w.NodeName->text(), kept);
    QCOMPARE(Bytes(Network.PendingName), kept.toLatin1());
}

// A paste adds its nodes before the node being typed, whose fields and values stay for the
// next Add Node, and through an undo of the paste, whatever room it leaves.
void TestNodeSpecifications::PasteKeepsNodeBeingTyped_data() {
    QTest::addColumn<int>("before");
    QTest::newRow("room left") << 1;
    QTest::newRow("the paste fills the table") << MaxNodes - 1;
}

void TestNodeSpecifications::PasteKeepsNodeBeingTyped() {
    QFETCH(int, before);
    QVERIFY(ShowNodeWindow());
    TNodeSpecifications& w = Window();
    QApplication::clipboard()->setText(QStringLiteral("N\t1\t2\t3\n").repeated(before));
    w.PasteNodesClick();
    PressAccessKey(Qt::Key_N);
    QTest::keyClicks(w.NodeName, QStringLiteral("Typed"));
    PressAccessKey(Qt::Key_F);
    QTest::keyClicks(w.FirstDemand, QStringLiteral("7"));
    ClickLine(0);
    QApplication::clipboard()->setText(QStringLiteral("Depot\t1\t2\t3\n"));
    w.PasteNodesClick();
    QCOMPARE(Network.NumNodes, before + 1);
    QCOMPARE(w.NodeNumber->text(), QString::number(qMin(before + 2, MaxNodes)));
    QTest::keyClick(w.NodeList, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(EntryOpen());
    QCOMPARE(w.NodeName->text(), QStringLiteral("Typed"));
    QCOMPARE(w.FirstDemand->text(), QStringLiteral("7"));
    QTest::mouseClick(w.AddNode, Qt::LeftButton);
    QCOMPARE(Bytes(Network.NodeNames[before + 1]), QByteArray("Typed"));
    QCOMPARE(Network.FirstDemands[before + 1], Real48::Narrow(7));
}

// The planner's road, keyboard alone, from the main menu and back to it.
void TestNodeSpecifications::KeyboardAloneFromMainMenu() {
    MeshLoomMain->show();
    MeshLoomMain->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(MeshLoomMain));
    QTest::keyClick(MeshLoomMain, Qt::Key_N, Qt::AltModifier);
    QTRY_VERIFY(Window().isVisible());
    QVERIFY(QTest::qWaitForWindowActive(&Window()));
    QVERIFY(!MeshLoomMain->isVisible());
    TNodeSpecifications& w = Window();

    const QStringList names = {"West", "Centre", "East"};
    for (int i = 0; i < names.size(); ++i) {
        PressAccessKey(Qt::Key_N);
        QTest::keyClicks(QApplication::focusWidget(), names[i]);
        PressAccessKey(Qt::Key_F);
        QTest::keyClicks(QApplication::focusWidget(), QString::number(i + 1));
        PressAccessKey(Qt::Key_S);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("0.5"));
        PressAccessKey(Qt::Key_X);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("100"));
        PressAccessKey(Qt::Key_A);
        QTRY_COMPARE(Network.NumNodes, i + 1);
    }
    QCOMPARE(w.NodeList->Line(2),
             QStringLiteral("   3             East           3.0           0.5         100.0"));

    // Back from the name field to the list, up to the middle node, delete it.
    PressAccessKey(Qt::Key_N);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), w.NodeList);
    QTest::keyClick(w.NodeList, Qt::Key_Up);
    QCOMPARE(w.NodeList->ItemIndex(), 1);
    PressAccessKey(Qt::Key_D);
    QTRY_COMPARE(Network.NumNodes, 2);
    QCOMPARE(ListedNames(), (QStringList{"West", "East"}));

    PressAccessKey(Qt::Key_Q);
    QTRY_VERIFY(!w.isVisible());
    QVERIFY(MeshLoomMain->isVisible());
    QVERIFY(MeshLoomMain->LinkButton->isEnabled());
    QVERIFY(!MeshLoomMain->NodeButton->isEnabled());
}

// Nodes A to D; actions (eK, dK: Edit, Delete Node on line K; u, r: Undo, Redo; a: Add Node; p:
// Paste Nodes); Z typed and Replace Node: the node changed is the one edited (after >) or none.
void TestNodeSpecifications::EditBelongsToOneNode_data() {
    QTest::addColumn<QString>("row");
    QTest::newRow("edit") << "e4 > D";
    QTest::newRow("delete, edit, undo") << "d2 e3 u > ";
    QTest::newRow("delete, undo, edit, redo") << "d4 u e4 r > ";
    QTest::newRow("edit, add") << "e1 a > ";
    QTest::newRow("edit, delete another") << "e3 d1 > ";
    QTest::newRow("edit, paste") << "e2 p > ";
    QTest::newRow("edit, edit another") << "e2 e3 > C";
}

void TestNodeSpecifications::EditBelongsToOneNode() {
    QFETCH(QString, row);
    const QString actions = row.section(QStringLiteral(" > "), 0, 0);
    const QString changed = row.section(QStringLiteral(" > "), 1);
    QVERIFY(ShowNodeWindow() && !Window().EditButton->isEnabled());  // none to edit
    TNodeSpecifications& w = Window();
    for (const QString name : {"A", "B", "C", "D"}) {
        EnterNode(name, QStringLiteral("200"), QStringLiteral("150"), QStringLiteral("10000"));
    }
    QApplication::clipboard()->setText(QStringLiteral("P\t1\t2\t3"));
    for (const QString& action : actions.split(QLatin1Char(' '))) {
        const char what = action[0].toLatin1();
        ClickLine(action.mid(1).toInt() - 1);  // Undo and Redo act in the list
        if (what == 'p') {
            w.PasteNodesClick();
        } else if (what == 'u' || what == 'r') {
            QTest::keyClick(w.NodeList, what == 'u' ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
        } else {
            PressAccessKey(Qt::Key(what == 'e' ? 'I' : what == 'd' ? 'D' : 'A'));
        }
    }
    QVERIFY(changed.isEmpty() ||
            w.FirstDemand->text() + w.SecondDemand->text() + w.FixedCost->text() ==
                QStringLiteral("20015010000"));
    QStringList after = ListedNames();
    // NODE NUMBER names the node being edited, and the next node once no edit lives.
    QCOMPARE(w.NodeNumber->text(), QString::number(changed.isEmpty() ? Network.NumNodes + 1
                                                                     : after.indexOf(changed) + 1));
    const bool live = w.ReplaceButton->isEnabled();
    PressAccessKey(Qt::Key_N);
    QTest::keyClicks(w.NodeName, QStringLiteral("Z"));
    PressAccessKey(Qt::Key_R);
    if (!changed.isEmpty()) {
        after[after.indexOf(changed)] = QStringLiteral("Z");
        QCOMPARE(QApplication::focusWidget(), w.NodeList);
    }
    QCOMPARE(ListedNames(), after);
    QCOMPARE(live, !changed.isEmpty());
    QCOMPARE(w.NodeNumber->text(), QString::number(Network.NumNodes + 1));
}

// The Add Node that filled the table, undone with Ctrl+Z in the list: the fields come back
// empty, and the next Add Node adds what they show, an empty node.
void TestNodeSpecifications::UndoOfAddThatFilledTable() {
    QVERIFY(ShowNodeWindow());
    TNodeSpecifications& w = Window();
    QApplication::clipboard()->setText(QStringLiteral("N\t1\t2\t3\n").repeated(MaxNodes - 1));
    w.PasteNodesClick();
    EnterNode(QStringLiteral("LAST"), QStringLiteral("7"));
    ClickLine(0);
    QTest::keyClick(w.NodeList, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(EntryOpen());
    QCOMPARE(w.NodeName->text() + w.FirstDemand->text(), QString());
    PressAccessKey(Qt::Key_A);
    QCOMPARE(Bytes(Network.NodeNames[MaxNodes]), QByteArray());
    QCOMPARE(Network.FirstDemands[MaxNodes], Real48::Narrow(0));
}

QTEST_MAIN(TestNodeSpecifications)
#include "tst_node_window.moc"
