// The keyboard and the screen reader: in each of the four windows, Tab from the first control
// visits the controls in the windows' tab order, and each control on the way carries the name
// a screen reader reads out: the caption of a button, the text of its label for an edit field
// or a list, both without the access-key "&".

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/program.h"
#include "core/network/network_store.h"
#include "core/numbers/separators.h"
#include "links/link_window.h"
#include "nodes/node_window.h"
#include "platform/widgets/command_button.h"
#include "platform/widgets/entry_field.h"
#include "platform/widgets/line_list.h"
#include "shell/about_box.h"
#include "shell/main_menu.h"
#include "shell/window_references.h"
#include "support/program_test.h"
#include "support/scripted_platform.h"
#include "support/show_active.h"

namespace {
QString AccessibleName(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

QString Described(QWidget* widget) {
    return widget == nullptr ? QStringLiteral("nothing")
                             : QStringLiteral("%1 \"%2\"")
                                   .arg(widget->metaObject()->className(), AccessibleName(widget));
}

struct TStop {
    QWidget* Control;
    QString Name;
};

// Puts the focus on the first stop, then presses Tab once per stop: the focus must visit every
// stop in order and come back to the first, and each stop must carry its name.
void WalkTabOrder(const QList<TStop>& stops) {
    stops.first().Control->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), stops.first().Control);
    for (qsizetype k = 0; k <= stops.size(); ++k) {
        const TStop& stop = stops[k % stops.size()];
        QWidget* focused = QApplication::focusWidget();
        QVERIFY2(focused == stop.Control,
                 qPrintable(QStringLiteral("stop %1: the focus is on %2, not on %3")
                                .arg(k)
                                .arg(Described(focused), Described(stop.Control))));
        QCOMPARE(AccessibleName(focused), stop.Name);
        QTest::keyClick(focused, Qt::Key_Tab);
    }
}

// Every edit field, list and button of window, shown or not, has a name: a button its caption,
// a control with a label the label's text, all without "&".
void CheckEveryControlNamed(QWidget* window) {
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->buddy() != nullptr) {
            QCOMPARE(AccessibleName(label->buddy()), QString(label->text()).remove(u'&'));
        }
    }
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        QCOMPARE(AccessibleName(button), QString(button->text()).remove(u'&'));
    }
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (qobject_cast<QLineEdit*>(control) != nullptr ||
            qobject_cast<QAbstractItemView*>(control) != nullptr) {
            QVERIFY2(!AccessibleName(control).isEmpty(),
                     qPrintable(QStringLiteral("a %1 without a name, hint \"%2\"")
                                    .arg(control->metaObject()->className(), control->toolTip())));
        }
    }
}
// A window is announced as a window (a frame on the desktop's accessibility bus, not a
// filler), under its caption, and with the description it carries.
void CheckAnnouncedAsWindow(QWidget* window) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(window);
    QVERIFY(accessible != nullptr);
    QCOMPARE(accessible->role(), QAccessible::Window);
    QCOMPARE(accessible->text(QAccessible::Name), window->windowTitle());
    QCOMPARE(accessible->text(QAccessible::Description), window->accessibleDescription());
}
}  // namespace

class TestAccessibility : public TProgramTest {
    Q_OBJECT

  private slots:

    void MainMenu() {
        TMeshLoomMain& menu = *MeshLoomMain;
        QVERIFY(ShowActive(&menu));
        menu.ShowSavedNetwork(QStringLiteral("/plans/a.NET"), QString());
        CheckAnnouncedAsWindow(&menu);
        QCOMPARE(menu.accessibleDescription(),
                 QStringLiteral("Saved /plans/a.NET; the distance file was not saved."));
        CheckEveryControlNamed(&menu);
        if (QTest::currentTestFailed()) {
            return;
        }
        // Nodes first: the link button is disabled and Tab passes it by.
        WalkTabOrder({{menu.AboutButton, "About MESHLOOM"},
                      {menu.NodeButton, "Node Specifications"},
                      {menu.QuitButton, "Exit MESHLOOM"},
                      {menu.HintShow, "Hide Hints"},
                      {menu.OpenButton, "Open Network..."},
                      {menu.ImportButton, "Import Network..."}});
        // Links next.
        menu.SetStep(TStep::LinksNext);
        WalkTabOrder({{menu.AboutButton, "About MESHLOOM"},
                      {menu.LinkButton, "Link Specifications"},
                      {menu.QuitButton, "Exit MESHLOOM"},
                      {menu.HintShow, "Hide Hints"},
                      {menu.OpenButton, "Open Network..."},
                      {menu.ImportButton, "Import Network..."}});
        // The switch's caption changes, and its name with it.
        menu.HintShowClick();
        QCOMPARE(AccessibleName(menu.HintShow), QStringLiteral("Show Hints"));
        menu.HintShowClick();
    }

    void AboutBox() {
        TAboutBoxModDist& about = *AboutBoxModDist;
        about.AboutTimer->stop();
        QVERIFY(ShowActive(&about));
        CheckAnnouncedAsWindow(&about);
        CheckEveryControlNamed(&about);
        if (QTest::currentTestFailed()) {
            return;
        }
        WalkTabOrder({{about.OKButton, "OK"}});
    }

    void NodeWindow() {
        TNodeSpecifications& window = *NodeSpecifications;
        QVERIFY(ShowActive(&window));
        CheckAnnouncedAsWindow(&window);
        CheckEveryControlNamed(&window);
        if (QTest::currentTestFailed()) {
            return;
        }
        // One node, so that Delete Node is enabled; leaving Node Name on the walk enables
        // Quit before the walk reaches it.
        QTest::keyClicks(window.NodeName, QStringLiteral("Depot"));
        window.AddNode->click();
        QVERIFY(window.DeleteButton->isEnabled());
        // The node number is a display: not reached by Tab, but named for a screen reader
        // that looks at the window.
        QCOMPARE(AccessibleName(window.NodeNumber), QStringLiteral("NODE NUMBER"));
        WalkTabOrder({{window.NodeName, "Node Name"},
                      {window.FirstDemand, "First Demand"},
                      {window.SecondDemand, "Second Demand"},
                      {window.FixedCost, "FiXed Cost"},
                      {window.AddNode, "Add Node"},
                      {window.QuitButton, "Quit (no more nodes to add or delete)"},
                      {window.DeleteButton, "Delete Node"},
                      {window.NodeList, "List of Nodes"},
                      {window.CancelButton, "Cancel (Lose all node information)"},
                      {window.EditButton, "Edit Node"}});
    }

    void LinkWindow() {
        Network.NumNodes = 2;
        Network.NodeNames[1] = "Depot";
        Network.NodeNames[2] = "North Yard";
        TLinkSpecification& window = *LinkSpecification;
        QVERIFY(ShowActive(&window));
        CheckAnnouncedAsWindow(&window);
        CheckEveryControlNamed(&window);
        if (QTest::currentTestFailed()) {
            return;
        }
        // A distance left with a valid value enables the add buttons and Quit and Save; one
        // link added enables Remove.
        window.LinkDist->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), window.LinkDist);
        QTest::keyClicks(window.LinkDist, QStringLiteral("5"));
        QTest::keyClick(window.LinkDist, Qt::Key_Tab);
        window.OriginList->SetItemIndex(0);
        window.DestinationList->SetItemIndex(1);
        window.OneWayButton->click();
        QCOMPARE(window.LinkList->Count(), 1);
        WalkTabOrder({{window.OriginList, "Select an Origin"},
                      {window.DestinationList, "Select a Destination"},
                      {window.LinkDist, "Input Distance"},
                      {window.OneWayButton, "Add Unidirectional Link"},
                      {window.TwoWayButton, "Add Bidirectional Link"},
                      {window.RemoveButton, "Remove Link"},
                      {window.LinkList, "List of Links"},
                      {window.CancelButton, "Cancel (lose all link information)"},
                      {window.QuitandSave, "Quit and Save Network"}});
    }

    // The lists' menus open from the keyboard with Shift+F10 (the Menu key is pressed on a real
    // display in the clipboard's end-to-end test), and the screen reader reads their entries,
    // the undo entry naming the change it takes back.
    void ListMenus() {
        Network.NumNodes = 2;
        for (const auto& [list, entries] :
             {std::pair<QWidget*, QStringList>{
                  NodeSpecifications->NodeList,
                  {"Copy All Nodes", "Paste Nodes", "", "Undo Addition of R&D", "Redo"}},
              {LinkSpecification->LinkList,
               {"Copy All Links", "Paste Links", "", "Undo", "Redo", "",
                "Show Network Picture"}}}) {
            QVERIFY(ShowActive(list->window()));
            if (list == NodeSpecifications->NodeList) {
                Network.PendingName = "R&D";
                NodeSpecifications->AddNodeClick();
            }
            list->setFocus(Qt::TabFocusReason);
            QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
            QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
            QAccessibleInterface* menu =
                QAccessible::queryAccessibleInterface(QApplication::activePopupWidget());
            QStringList names;
            for (int child = 0; child < menu->childCount(); ++child) {
                names << menu->child(child)->text(QAccessible::Name);
            }
            QCOMPARE(names, entries);
            // Opened from the keyboard, the menu starts on its first entry.
            const auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(popup && popup->activeAction());
            QCOMPARE(popup->activeAction()->text(), entries[0]);
            QApplication::activePopupWidget()->close();
            // The Menu key, a context menu asked with the keyboard, alike.
            QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, {}, {});
            QApplication::sendEvent(list, &menuKey);
            QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
            const QAction* active =
                qobject_cast<QMenu*>(QApplication::activePopupWidget())->activeAction();
            QVERIFY(active);
            QCOMPARE(active->text(), entries[0]);
            QApplication::activePopupWidget()->close();
            list->window()->hide();
        }
        // A text field's own menu, from the Menu key, starts on its first entry that can be
        // chosen.
        QVERIFY(ShowActive(LinkSpecification));
        LinkSpecification->LinkDist->setText(QStringLiteral("12"));
        LinkSpecification->LinkDist->setFocus();
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, {}, {});
        QApplication::sendEvent(LinkSpecification->LinkDist, &menuKey);
        QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
        const QAction* first =
            qobject_cast<QMenu*>(QApplication::activePopupWidget())->activeAction();
        QVERIFY(first && first->isEnabled());
        QApplication::activePopupWidget()->close();
        LinkSpecification->hide();
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
