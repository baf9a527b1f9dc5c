// The main menu: its controls, the step state, the hint switch and the exit question. The
// test program carries no version record, so the about box keeps its design texts here.

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <map>
#include <memory>

#include "app/program.h"
#include "core/network/network_store.h"
#include "links/link_window.h"
#include "nodes/node_window.h"
#include "platform/application/hint_switch.h"
#include "platform/widgets/command_button.h"
#include "platform/widgets/look.h"
#include "shell/about_box.h"
#include "shell/main_menu.h"
#include "shell/window_references.h"
#include "support/program_test.h"
#include "support/scripted_platform.h"
#include "support/show_active.h"
#include "window_checks.h"

namespace {
const QString ExitQuestion =
    QStringLiteral("Thanks for using MESHLOOM.\rAre you sure you want to exit now?");

TMeshLoomMain& Menu() {
    return *MeshLoomMain;
}

bool ShowMenu() {
    return ShowActive(&Menu());
}

struct TMenuState {
    bool NodeEnabled, LinkEnabled, Visible, Hints;
    QString HintLabel;
    bool operator==(const TMenuState&) const = default;
};

TMenuState State() {
    return {Menu().NodeButton->isEnabled(), Menu().LinkButton->isEnabled(), Menu().isVisible(),
            HintsShown(), Menu().HintShowLabel->text()};
}

enum class TExitBy { Button, AccessKey, CloseButton };

void AskToExit(TExitBy how) {
    switch (how) {
        case TExitBy::Button:
            QTest::mouseClick(Menu().QuitButton, Qt::LeftButton);
            break;
        case TExitBy::AccessKey:
            QTest::keyClick(&Menu(), Qt::Key_E, Qt::AltModifier);
            break;
        case TExitBy::CloseButton:
            // As the title bar's close button does: a close request from the desktop.
            Menu().windowHandle()->close();
            break;
    }
}
}  // namespace

class TestMainMenu : public TProgramTest {
    Q_OBJECT

  private slots:
    void buttons_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<bool>("italic");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("About") << "AboutButton"
                               << "&About MESHLOOM"
                               << "Show the ABOUT box for MESHLOOM" << true << true;
        QTest::newRow("Node") << "NodeButton"
                              << "&Node Specifications"
                              << "First you have to specify the nodes in the problem" << false
                              << true;
        QTest::newRow("Link") << "LinkButton"
                              << "&Link Specifications"
                              << "Next you have to specify the links in the problem" << false
                              << false;
        QTest::newRow("Quit") << "QuitButton"
                              << "&Exit MESHLOOM"
                              << "You can always exit from MESHLOOM" << false << true;
        QTest::newRow("Hints") << "HintShow"
                               << "Hide &Hints"
                               << "Click to hide or show all hints" << true << true;
    }
    void buttons() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, hint);
        QFETCH(bool, italic);
        QFETCH(bool, enabled);
        const std::map<QString, TCommandButton*> buttons{{"AboutButton", Menu().AboutButton},
                                                         {"NodeButton", Menu().NodeButton},
                                                         {"LinkButton", Menu().LinkButton},
                                                         {"QuitButton", Menu().QuitButton},
                                                         {"HintShow", Menu().HintShow}};
        TCommandButton* button = buttons.at(name);
        QCOMPARE(button->text(), text);
        QCOMPARE(button->toolTip(), hint);
        QVERIFY(button->font().bold());
        QCOMPARE(button->font().italic(), italic);
        QCOMPARE(button->font().pointSize(), 8);
        QCOMPARE(button->isEnabled(), enabled);
    }

    void labels_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("bold");
        QTest::newRow("1") << "Label1"
                           << "Show ABOUT Box for MESHLOOM" << Palette::Lime << true;
        QTest::newRow("2") << "Label2"
                           << "Specify Node Information" << Palette::Lime << true;
        QTest::newRow("3") << "Label3"
                           << "Then Specify Link Information" << Palette::Lime << true;
        QTest::newRow("4") << "Label4"
                           << "Exit MESHLOOM" << Palette::Lime << true;
        QTest::newRow("hints") << "HintShowLabel"
                               << "Hints will be shown... Click to Hide" << Palette::Lime << true;
    }
    void labels() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QColor, colour);
        QFETCH(bool, bold);
        const std::map<QString, QLabel*> labels{{"Label1", Menu().Label1},
                                                {"Label2", Menu().Label2},
                                                {"Label3", Menu().Label3},
                                                {"Label4", Menu().Label4},
                                                {"HintShowLabel", Menu().HintShowLabel}};
        QLabel* label = labels.at(name);
        QCOMPARE(label->text(), text);
        QCOMPARE(TextColour(*label), colour);
        QCOMPARE(label->font().bold(), bold);
        QVERIFY(label->toolTip().isEmpty());
    }

    void window() {
        QCOMPARE(Menu().windowTitle(), QStringLiteral("MESHLOOM Main Menu"));
        QCOMPARE(Menu().palette().color(QPalette::Window), Palette::Purple);
        QCOMPARE(Menu().Panel1->text(), QStringLiteral("MESHLOOM Main Menu"));
        QCOMPARE(Menu().Panel1->palette().color(QPalette::Window), Palette::White);
        QCOMPARE(TextColour(*Menu().Panel1), Palette::Navy);
        QVERIFY(Menu().Panel1->font().bold());
        QCOMPARE(Menu().Panel1->font().pixelSize(), 24);
        QCOMPARE(TextColour(*Menu().Label5), Palette::Yellow);
        QVERIFY(Menu().Label5->alignment() & Qt::AlignHCenter);
        QVERIFY(!Menu().Label5->text().isEmpty());
        // An ordinary window with the usual title-bar buttons.
        QVERIFY(!(Menu().windowFlags() & Qt::CustomizeWindowHint));
        QVERIFY(!Menu().isVisible());
    }

    void nothingClipped() {
        QVERIFY(ShowMenu());
        QCOMPARE(ClippedControls(Menu()), QStringList());
        // Nor when the hint label says the longer thing.
        Menu().HintShowClick();
        QCOMPARE(ClippedControls(Menu()), QStringList());
    }

    // Tab goes About, Node, Link, Exit, Hints, Open; a disabled button is passed over.
    void tabOrder() {
        QVERIFY(ShowMenu());
        QCOMPARE(QApplication::focusWidget(), Menu().AboutButton);
        const auto tabFrom = [](QWidget* from) {
            from->setFocus();
            QTest::keyClick(from, Qt::Key_Tab);
            return QApplication::focusWidget();
        };
        QCOMPARE(tabFrom(Menu().AboutButton), Menu().NodeButton);
        QCOMPARE(tabFrom(Menu().NodeButton), Menu().QuitButton);
        QCOMPARE(tabFrom(Menu().QuitButton), Menu().HintShow);
        QCOMPARE(tabFrom(Menu().HintShow), Menu().OpenButton);
        QCOMPARE(tabFrom(Menu().OpenButton), Menu().ImportButton);
        QCOMPARE(tabFrom(Menu().ImportButton), Menu().AboutButton);
        Menu().LinkButton->setEnabled(true);
        QCOMPARE(tabFrom(Menu().NodeButton), Menu().LinkButton);
        QCOMPARE(tabFrom(Menu().LinkButton), Menu().QuitButton);
    }

    void stepStateAtStart() {
        QVERIFY(Menu().NodeButton->isEnabled());
        QVERIFY(!Menu().LinkButton->isEnabled());
        QVERIFY(Menu().AboutButton->isEnabled());
        QVERIFY(Menu().HintShow->isEnabled());
        QVERIFY(Menu().QuitButton->isEnabled());
    }

    void hintsToggleAndComeBack() {
        QVERIFY(ShowMenu());
        QVERIFY(HintsShown());

        QTest::mouseClick(Menu().HintShow, Qt::LeftButton);
        QVERIFY(!HintsShown());
        QCOMPARE(Menu().HintShowLabel->text(),
                 QStringLiteral("Hints will be hidden... Click to Show"));
        QCOMPARE(TextColour(*Menu().HintShowLabel), Palette::Yellow);
        QCOMPARE(Menu().HintShow->text(), QStringLiteral("Show &Hints"));
        // Each control keeps its own hint meanwhile.
        QCOMPARE(Menu().HintShow->toolTip(), QStringLiteral("Click to hide or show all hints"));

        QTest::keyClick(&Menu(), Qt::Key_H, Qt::AltModifier);
        QVERIFY(HintsShown());
        QCOMPARE(Menu().HintShowLabel->text(),
                 QStringLiteral("Hints will be shown... Click to Hide"));
        QCOMPARE(TextColour(*Menu().HintShowLabel), Palette::Lime);
        QCOMPARE(Menu().HintShow->text(), QStringLiteral("Hide &Hints"));
    }

    // A fresh start has hints on, whatever the last run left.
    void hintsStartOn() {
        Menu().HintShowClick();
        QVERIFY(!HintsShown());
        DestroyProgramWindows();
        CreateProgramWindows();
        QVERIFY(HintsShown());
        QCOMPARE(Menu().HintShowLabel->text(),
                 QStringLiteral("Hints will be shown... Click to Hide"));
    }

    void exitAnsweredNo_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("Exit button") << int(TExitBy::Button);
        QTest::newRow("access key") << int(TExitBy::AccessKey);
        QTest::newRow("title-bar close") << int(TExitBy::CloseButton);
    }
    void exitAnsweredNo() {
        QFETCH(int, how);
        QVERIFY(ShowMenu());
        // Some state the question must leave as it was.
        Menu().SetStep(TStep::LinksNext);
        Menu().HintShowClick();
        const TMenuState before = State();
        QSignalSpy closed(&Menu(), &TMeshLoomMain::Closed);

        Platform->ExpectBox(TMessageKind::Confirmation, ExitQuestion, TAnswer::No);
        AskToExit(TExitBy(how));
        QVERIFY(Platform->AllAnswered());
        QCOMPARE(Platform->Beeps(), std::vector<unsigned>{16});
        QCOMPARE(Platform->ShownBoxes().at(0).Buttons, TBoxButtons::YesNo);
        QVERIFY(State() == before);
        QCOMPARE(closed.count(), 0);
        QVERIFY(!AboutBoxModDist->AboutTimer->isActive());

        // Asked again, it asks again.
        Platform->ExpectBox(TMessageKind::Confirmation, ExitQuestion, TAnswer::No);
        AskToExit(TExitBy(how));
        QVERIFY(Platform->AllAnswered());
        QVERIFY(Menu().isVisible());
    }

    void exitAnsweredYes() {
        QVERIFY(ShowMenu());
        QSignalSpy closed(&Menu(), &TMeshLoomMain::Closed);
        Platform->ExpectBox(TMessageKind::Confirmation, ExitQuestion, TAnswer::Yes);
        Platform->ExpectBox(TMessageKind::Information, QStringLiteral("Exiting MESHLOOM."));
        QTest::mouseClick(Menu().QuitButton, Qt::LeftButton);
        QVERIFY(Platform->AllAnswered());
        QCOMPARE(Platform->ShownBoxes().at(1).Buttons, TBoxButtons::Ok);
        QCOMPARE(closed.count(), 1);
        QVERIFY(!Menu().isVisible());
    }

    void aboutButton() {
        QVERIFY(ShowMenu());
        QVERIFY(AboutBoxModDist->AboutTimer->isActive());
        QTest::mouseClick(Menu().AboutButton, Qt::LeftButton);
        QVERIFY(!Menu().isVisible());
        QVERIFY(AboutBoxModDist->isVisible());
        QVERIFY(AboutBoxModDist->OKButton->isVisible());
        QVERIFY(!AboutBoxModDist->AboutTimer->isActive());
        // No version record in this program: the design texts stay.
        QCOMPARE(AboutBoxModDist->Version->text(), QStringLiteral("Version 1.00"));
        QCOMPARE(AboutBoxModDist->PropertyLabel->text(), QStringLiteral("PropertyLabel"));
    }

    void nodeButton() {
        QVERIFY(ShowMenu());
        QTest::keyClick(&Menu(), Qt::Key_N, Qt::AltModifier);
        QVERIFY(!Menu().isVisible());
        QVERIFY(NodeSpecifications->isVisible());
    }

    void linkButton() {
        QVERIFY(ShowMenu());
        Menu().SetStep(TStep::LinksNext);
        QTest::mouseClick(Menu().LinkButton, Qt::LeftButton);
        QVERIFY(!Menu().isVisible());
        QVERIFY(LinkSpecification->isVisible());
    }

    // Tests start the program afresh for each case: the windows and the splash all go.
    void destroyingTheWindowsLeavesNothing() {
        QVERIFY(ShowMenu());
        DestroyProgramWindows();
        QVERIFY(MeshLoomMain == nullptr);
        QVERIFY(AboutBoxModDist == nullptr);
        QVERIFY(NodeSpecifications == nullptr);
        QVERIFY(LinkSpecification == nullptr);
        QStringList left;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            left << widget->metaObject()->className();
        }
        QCOMPARE(left, QStringList());
        CreateProgramWindows();
        QCOMPARE(QApplication::topLevelWidgets().size(), 5);
    }
};

QTEST_MAIN(TestMainMenu)
#include "tst_main_menu.moc"
