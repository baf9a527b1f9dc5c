// The desktop's own message boxes, driven with keys while they are open.

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/dialogs/platform_services.h"
#include "platform/dialogs/qt_platform_services.h"

namespace {
// What a box looked like while it was open.
struct TSeenBox {
    bool Seen = false;
    QString Caption;
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QStringList Buttons;
    QString DefaultButton;
    bool Modal = false;
    QPoint Centre;
};

// Waits for the box to open, notes how it looks and answers it with action.
void AnswerNextBox(TSeenBox& seen, std::function<void(QMessageBox&)> action) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, &seen, action] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        // Shown is not yet active: a key sent before the box has the keyboard goes to the
        // window behind it, and the box waits for an answer for ever.
        if (box == nullptr || !box->isVisible() || !box->isActiveWindow()) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        seen.Seen = true;
        seen.Caption = box->windowTitle();
        seen.Text = box->text();
        seen.Icon = box->icon();
        for (QAbstractButton* button : box->buttons()) {
            seen.Buttons << button->text();
        }
        seen.DefaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        seen.Modal = box->isModal();
        seen.Centre = box->frameGeometry().center();
        action(*box);
    });
    poll->start();
}

void Press(QMessageBox& box, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &box;
    QTest::keyClick(target, key, modifiers);
}
}  // namespace

class TestMessageBoxes : public QObject {
    Q_OBJECT

    TQtPlatformServices Services;

  private slots:
    // ShowBox reaches these boxes as the program's does: through the services installed.
    void initTestCase() { SetPlatformServices(&Services); }
    void cleanupTestCase() { SetPlatformServices(nullptr); }

    void captionsIconsAndButtons_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QStringList>("buttonTexts");
        QTest::addColumn<QString>("defaultButton");
        const QStringList ok{QStringLiteral("OK")};
        const QStringList yesNo{QStringLiteral("&Yes"), QStringLiteral("&No")};
        QTest::newRow("warning") << int(TMessageKind::Warning) << int(TBoxButtons::Ok) << "Warning"
                                 << int(QMessageBox::Warning) << ok << "OK";
        QTest::newRow("information")
            << int(TMessageKind::Information) << int(TBoxButtons::Ok) << "Information"
            << int(QMessageBox::Information) << ok << "OK";
        QTest::newRow("confirmation") << int(TMessageKind::Confirmation) << int(TBoxButtons::YesNo)
                                      << "Confirm" << int(QMessageBox::Question) << yesNo << "&Yes";
        QTest::newRow("warning, No the default")
            << int(TMessageKind::Warning) << int(TBoxButtons::YesNoDefaultNo) << "Warning"
            << int(QMessageBox::Warning) << yesNo << "&No";
        QTest::newRow("error") << int(TMessageKind::Error) << int(TBoxButtons::Ok)
                               << "MESHLOOM Program" << int(QMessageBox::Critical) << ok << "OK";
    }
    void captionsIconsAndButtons() {
        QFETCH(int, type);
        QFETCH(int, buttons);
        QFETCH(QString, caption);
        QFETCH(int, icon);
        QFETCH(QStringList, buttonTexts);
        QFETCH(QString, defaultButton);
        TSeenBox seen;
        AnswerNextBox(seen, [](QMessageBox& box) { Press(box, Qt::Key_Return); });
        const TAnswer answer = ShowBox(QStringLiteral("Thanks for using MESHLOOM.\rAre "
                                                      "you sure you want to exit now?"),
                                       TMessageKind(type), TBoxButtons(buttons));
        QVERIFY(seen.Seen);
        QCOMPARE(seen.Caption, caption);
        QCOMPARE(int(seen.Icon), icon);
        QCOMPARE(seen.Buttons, buttonTexts);
        QCOMPARE(seen.DefaultButton, defaultButton);
        QVERIFY(seen.Modal);
        // The carriage return shows as a line break.
        QCOMPARE(seen.Text, QStringLiteral("Thanks for using MESHLOOM.\nAre you sure you want to "
                                           "exit now?"));
        const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY2(
            (seen.Centre - screenCentre).manhattanLength() <= 2,
            qPrintable(
                QStringLiteral("box centred at %1,%2").arg(seen.Centre.x()).arg(seen.Centre.y())));
        // Enter presses the default button (Ok, Yes and No in the order of TAnswer).
        QCOMPARE(int(answer), buttonTexts.indexOf(defaultButton) + int(buttonTexts.size() > 1));
    }

    void answersToTheQuestion_data() {
        QTest::addColumn<int>("how");
        QTest::addColumn<int>("answer");
        QTest::newRow("Enter: the default") << 0 << int(TAnswer::Yes);
        QTest::newRow("Escape") << 1 << int(TAnswer::No);
        QTest::newRow("closing the box") << 2 << int(TAnswer::No);
        QTest::newRow("Alt+N") << 3 << int(TAnswer::No);
        QTest::newRow("Tab to No, Space") << 4 << int(TAnswer::No);
        QTest::newRow("clicking Yes") << 5 << int(TAnswer::Yes);
    }
    void answersToTheQuestion() {
        QFETCH(int, how);
        QFETCH(int, answer);
        TSeenBox seen;
        AnswerNextBox(seen, [how](QMessageBox& box) {
            switch (how) {
                case 0:
                    Press(box, Qt::Key_Return);
                    break;
                case 1:
                    Press(box, Qt::Key_Escape);
                    break;
                case 2:
                    box.close();
                    break;
                case 3:
                    Press(box, Qt::Key_N, Qt::AltModifier);
                    break;
                case 4:
                    Press(box, Qt::Key_Tab);
                    Press(box, Qt::Key_Space);
                    break;
                default:
                    QTest::mouseClick(box.buttons().at(0), Qt::LeftButton);
            }
        });
        const TAnswer result =
            Services.ShowMessageBox(TMessageKind::Confirmation, QStringLiteral("Confirm"),
                                    QStringLiteral("Sure?"), TBoxButtons::YesNo, QString());
        QVERIFY(seen.Seen);
        QCOMPARE(int(result), answer);
    }

    // Text is shown as it is, never read as markup.
    void plainText() {
        TSeenBox seen;
        QString shown;
        AnswerNextBox(seen, [&shown](QMessageBox& box) {
            for (QLabel* label : box.findChildren<QLabel*>()) {
                if (label->text().contains(QStringLiteral("Node"))) {
                    shown = label->text();
                    QCOMPARE(label->textFormat(), Qt::PlainText);
                }
            }
            Press(box, Qt::Key_Escape);
        });
        ShowBox(QStringLiteral("Node <b>A</b> & B"), TMessageKind::Warning, TBoxButtons::Ok);
        QCOMPARE(shown, QStringLiteral("Node <b>A</b> & B"));
    }
};

QTEST_MAIN(TestMessageBoxes)
#include "tst_message_boxes.moc"
