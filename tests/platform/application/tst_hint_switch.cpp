// The hint switch: while it is off no control shows its hint; each keeps its hint text.

#include <QApplication>
#include <QHelpEvent>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include "platform/application/hint_switch.h"

namespace {
// Counts the tool-tip requests that reach it.
class THintedButton : public QPushButton {
  public:
    using QPushButton::QPushButton;
    int HintRequests = 0;

  protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::ToolTip) {
            ++HintRequests;
        }
        return QPushButton::event(event);
    }
};

void AskForHint(QWidget& widget) {
    QHelpEvent request(QEvent::ToolTip, widget.rect().center(),
                       widget.mapToGlobal(widget.rect().center()));
    QApplication::sendEvent(&widget, &request);
}
}  // namespace

class TestHintSwitch : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { SetHintsShown(true); }

    void onAtStart() { QVERIFY(HintsShown()); }

    void offStopsEveryHintAndOnLetsThemAgain() {
        THintedButton button(QStringLiteral("&About"));
        button.setToolTip(QStringLiteral("Show the ABOUT box"));
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));

        AskForHint(button);
        QCOMPARE(button.HintRequests, 1);

        SetHintsShown(false);
        QVERIFY(!HintsShown());
        AskForHint(button);
        QCOMPARE(button.HintRequests, 1);
        QCOMPARE(button.toolTip(), QStringLiteral("Show the ABOUT box"));

        SetHintsShown(true);
        AskForHint(button);
        QCOMPARE(button.HintRequests, 2);
    }

    void turningOffTakesDownAHintOnScreen() {
        QPushButton button(QStringLiteral("Hint"));
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QToolTip::showText(button.mapToGlobal(QPoint(2, 2)), QStringLiteral("A hint"), &button);
        QTRY_VERIFY(QToolTip::isVisible());
        SetHintsShown(false);
        QTRY_VERIFY(!QToolTip::isVisible());
    }
};

QTEST_MAIN(TestHintSwitch)
#include "tst_hint_switch.moc"
