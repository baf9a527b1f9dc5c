// The about box and the splash. This test program carries the program's version record, so
// the about box shows what the program shows.

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <memory>

#include "app/program.h"
#include "core/network/network_store.h"
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
TAboutBoxModDist* FindSplash() {
    TAboutBoxModDist* splash = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<TAboutBoxModDist*>(widget);
        if (box != nullptr && box != AboutBoxModDist) {
            if (splash != nullptr) {
                return nullptr;  // more than one
            }
            splash = box;
        }
    }
    return splash;
}

bool OpenAboutBox() {
    if (!ShowActive(MeshLoomMain)) {
        return false;
    }
    QTest::mouseClick(MeshLoomMain->AboutButton, Qt::LeftButton);
    return QTest::qWaitForWindowExposed(AboutBoxModDist);
}
}  // namespace

class TestAboutBox : public TProgramTest {
    Q_OBJECT

  private slots:
    void look() {
        TAboutBoxModDist& box = *AboutBoxModDist;
        QCOMPARE(box.windowTitle(), QStringLiteral("MESHLOOM About Box"));
        QCOMPARE(box.palette().color(QPalette::Window), Palette::Navy);
        QCOMPARE(box.ProductName->text(), QStringLiteral("M E S H L O O M"));
        QCOMPARE(TextColour(*box.ProductName), Palette::White);
        QVERIFY(box.ProductName->font().bold());
        QCOMPARE(box.ProductName->font().pixelSize(), 24);
        QCOMPARE(TextColour(*box.Version), Palette::Fuchsia);
        QVERIFY(box.Version->alignment() & Qt::AlignRight);
        QCOMPARE(TextColour(*box.PropertyLabel), Palette::Silver);
        QVERIFY(box.PropertyLabel->alignment() & Qt::AlignRight);
        QCOMPARE(TextColour(*box.Copyright), Palette::Yellow);
        QCOMPARE(box.Comments->text(),
                 QStringLiteral("This program allows the user to create SMALL network data sets "
                                "to be used by KORVANTE"));
        QCOMPARE(TextColour(*box.Comments), Palette::Aqua);
        QCOMPARE(box.OKButton->text(), QStringLiteral("&OK"));
        QVERIFY(box.OKButton->isDefault());
        QVERIFY(!box.ProgramIcon->pixmap().isNull());
        QCOMPARE(box.ProgramIcon->pixmap().size(), QSize(100, 100));
        QVERIFY(box.ProgramIcon->hasScaledContents());
        QCOMPARE(box.AboutTimer->interval(), 1500);
        // No buttons and no system menu on the title bar.
        const Qt::WindowFlags flags = box.windowFlags();
        QVERIFY(flags & Qt::CustomizeWindowHint);
        QVERIFY(flags & Qt::WindowTitleHint);
        QVERIFY(!(flags & (Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    }

    void openedFromTheMenu() {
        QVERIFY(OpenAboutBox());
        TAboutBoxModDist& box = *AboutBoxModDist;
        QCOMPARE(box.Version->text(), QStringLiteral("Version 1.0.2.0"));
        QCOMPARE(box.PropertyLabel->text(), QString());
        QVERIFY(box.OKButton->isVisible());
        QVERIFY(!MeshLoomMain->isVisible());
        QCOMPARE(ClippedControls(box), QStringList());

        // It stays until OK: its timer was stopped, so no tick closes it.
        QVERIFY(!box.AboutTimer->isActive());
        QVERIFY(box.isVisible());

        QTest::mouseClick(box.OKButton, Qt::LeftButton);
        QVERIFY(!box.isVisible());
        QVERIFY(MeshLoomMain->isVisible());
    }

    void shownAgainTheTextsAreFilledAfresh() {
        QVERIFY(OpenAboutBox());
        QTest::keyClick(AboutBoxModDist, Qt::Key_Return);
        QVERIFY(!AboutBoxModDist->isVisible());
        QVERIFY(MeshLoomMain->isVisible());

        AboutBoxModDist->Version->setText(QStringLiteral("stale"));
        AboutBoxModDist->PropertyLabel->setText(QStringLiteral("stale"));
        QVERIFY(OpenAboutBox());
        QCOMPARE(AboutBoxModDist->Version->text(), QStringLiteral("Version 1.0.2.0"));
        QCOMPARE(AboutBoxModDist->PropertyLabel->text(), QString());

        QTest::keyClick(AboutBoxModDist, Qt::Key_O, Qt::AltModifier);
        QVERIFY(!AboutBoxModDist->isVisible());
        QVERIFY(MeshLoomMain->isVisible());
    }

    // Closed from the desktop, the about box goes back to the main menu as OK does.
    void closedFromTheDesktop() {
        QVERIFY(OpenAboutBox());
        AboutBoxModDist->windowHandle()->close();
        QVERIFY(!AboutBoxModDist->isVisible());
        QVERIFY(MeshLoomMain->isVisible());
    }

    void theSplashIsUpAtOnce() {
        TAboutBoxModDist* splash = FindSplash();
        QVERIFY(splash != nullptr);
        // On screen and painted before the other windows were created; no event handled since.
        QVERIFY(splash->isVisible());
        QVERIFY(splash->windowHandle()->isExposed());
        QVERIFY(!splash->OKButton->isVisibleTo(splash));
        QVERIFY(splash->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(splash->Version->text(), QStringLiteral("Version 1.0.2.0"));
        QCOMPARE(splash->PropertyLabel->text(), QString());
        QVERIFY(splash->AboutTimer->isActive());
        QCOMPARE(splash->AboutTimer->interval(), 1500);
        QVERIFY(!AboutBoxModDist->isVisible());
        QVERIFY(!MeshLoomMain->isVisible());
        QCOMPARE(ClippedControls(*splash), QStringList());
    }

    void theSplashLeavesAtItsFirstTickForGood() {
        TAboutBoxModDist* splash = FindSplash();
        QVERIFY(splash != nullptr);
        QVERIFY(ShowActive(MeshLoomMain));
        QVERIFY(splash->isVisible());

        QTRY_VERIFY_WITH_TIMEOUT(!splash->isVisible(), 10000);
        QVERIFY(splash->OKButton->isVisibleTo(splash));
        QVERIFY(MeshLoomMain->isVisible());

        // Later ticks on the hidden splash change nothing (they come faster here).
        QVERIFY(splash->AboutTimer->isActive());
        QSignalSpy ticks(splash->AboutTimer, &QTimer::timeout);
        splash->AboutTimer->setInterval(1);
        QTRY_VERIFY(ticks.count() >= 2);
        splash->AboutTimerTimer();
        QVERIFY(!splash->isVisible());
        QVERIFY(MeshLoomMain->isVisible());
        QCOMPARE(FindSplash(), splash);
    }

    // The about box chosen while the splash is still up comes with its OK button, and the
    // splash still goes by itself.
    void aboutWhileTheSplashIsUp() {
        TAboutBoxModDist* splash = FindSplash();
        QVERIFY(ShowActive(MeshLoomMain));
        QTest::keyClick(MeshLoomMain, Qt::Key_A, Qt::AltModifier);
        QVERIFY(AboutBoxModDist->isVisible());
        QVERIFY(AboutBoxModDist->OKButton->isVisible());
        QVERIFY(splash->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!splash->isVisible(), 10000);
        QVERIFY(AboutBoxModDist->isVisible());
    }

    // The about box's own timer runs from its creation; a tick while it is hidden shows
    // nothing.
    void aTickOnTheHiddenAboutBox() {
        QVERIFY(AboutBoxModDist->AboutTimer->isActive());
        AboutBoxModDist->AboutTimerTimer();
        QVERIFY(!AboutBoxModDist->isVisible());
        QVERIFY(!MeshLoomMain->isVisible());
    }
};

QTEST_MAIN(TestAboutBox)
#include "tst_about_box.moc"
