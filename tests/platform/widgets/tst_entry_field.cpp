// The numeric field and the button on a real window: the key rule as characters are typed,
// the exit event with its validation as the focus moves, and the click that follows it.

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

#include "core/numbers/real48.h"
#include "core/numbers/separators.h"
#include "platform/dialogs/platform_services.h"
#include "platform/dialogs/qt_platform_services.h"
#include "platform/widgets/command_button.h"
#include "platform/widgets/entry_field.h"
#include "support/scripted_platform.h"

namespace {

const QString BoundsMessage =
    QStringLiteral("Invalid Parameter Value.  Must have 0.00 <= X <= 10000.00");

// A window like the node window: a numeric field whose exit validates into a pending value
// and re-enables the quit button, a second field, and two buttons.
class TFieldWindow : public QWidget {
  public:
    TFieldWindow() {
        auto* layout = new QVBoxLayout(this);
        for (QWidget* control :
             {static_cast<QWidget*>(Field), static_cast<QWidget*>(Other),
              static_cast<QWidget*>(AddButton), static_cast<QWidget*>(QuitButton)}) {
            layout->addWidget(control);
        }
        Field->OnKeyPress = [this](QChar& key) {
            KeysSeen.append(key);
            NumericFieldKeyPress(key, *QuitButton);
        };
        Field->OnExit = [this] {
            Log << QStringLiteral("exit");
            Pending = Real48();
            CheckRealEntry(*Field, Pending, Real48::Narrow(0), Real48::Narrow(10000));
            QuitButton->setEnabled(true);
        };
        Other->OnExit = [this] { Log << QStringLiteral("other exit"); };
        connect(AddButton, &QPushButton::clicked, this, [this] { Log << QStringLiteral("add"); });
    }

    TEntryField* Field = new TEntryField(this);
    TEntryField* Other = new TEntryField(this);
    TCommandButton* AddButton = new TCommandButton(QStringLiteral("&Add Node"), this);
    TCommandButton* QuitButton = new TCommandButton(QStringLiteral("&Quit"), this);
    QStringList Log;
    QString KeysSeen;
    Real48 Pending;
};

// Records the reasons of the focus-out events a control receives.
class TFocusOutReasons : public QObject {
  public:
    QList<Qt::FocusReason> Seen;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            Seen.append(static_cast<QFocusEvent*>(event)->reason());
        }
        return false;
    }
};

// Closes every message box that Qt shows, as a user answering OK would.
class TBoxCloser {
  public:
    TBoxCloser() {
        QObject::connect(&Timer, &QTimer::timeout, [this] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                box->close();
                ++Closed;
            }
        });
        Timer.start(20);
    }
    int Closed = 0;

  private:
    QTimer Timer;
};

}  // namespace

class TestEntryField : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void KeyRuleOnTyping();
    void BackspaceWithoutTextIsCharacterEight();
    void KeysAsX11DeliversThem_data();
    void KeysAsX11DeliversThem();
    void ReturnAndEnterPressTheFocusedButton_data();
    void ReturnAndEnterPressTheFocusedButton();
    void ComposedTextPassesTheRuleToo();
    void RegionalDecimalSeparatorCanBeTyped();
    void TabLeavesAndValidates();
    void DeactivationDoesNotLeave();
    void PopupDoesNotLeave();
    void ClickAfterRefusedValueIsDropped();
    void ClickAfterAcceptedOrEmptyFieldGoesOn();
    void ClickDroppedWhenExitDisablesTheButton();
    void AccessKeyLeavesTheFieldFirst();
    void AccessKeyAfterRefusedValueIsDropped();
    void RealMessageBoxLeavesNoCascadeAndNoPressedButton();

  private:
    void TypeIntoField(const QString& text);
    std::unique_ptr<TFieldWindow> Window;
    std::unique_ptr<TScriptedPlatform> Platform;
};

void TestEntryField::init() {
    Platform = std::make_unique<TScriptedPlatform>();
    Window = std::make_unique<TFieldWindow>();
    Window->show();
    Window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Window.get()));
    Window->Field->setFocus(Qt::OtherFocusReason);
    QVERIFY(Window->Field->hasFocus());
}

void TestEntryField::cleanup() {
    if (Platform) {
        QVERIFY2(Platform->AllAnswered(), "an expected message box was not shown");
    }
    Window.reset();
    Platform.reset();
    SetFormatSeparators({});
}

void TestEntryField::TypeIntoField(const QString& text) {
    QTest::keyClicks(Window->Field, text);
    QCOMPARE(Window->Field->text(), text);
    Window->Log.clear();
}

void TestEntryField::KeyRuleOnTyping() {
    QTest::keyClicks(Window->Field, QStringLiteral("1a2.,-x5"));
    QCOMPARE(Window->Field->text(), QStringLiteral("12.-5"));
    QCOMPARE(Platform->Beeps(), (std::vector<unsigned>{0, 0, 0}));
    QVERIFY(!Window->QuitButton->isEnabled());

    // A refused key disables the quit button too, before the character is looked at.
    Window->QuitButton->setEnabled(true);
    QTest::keyClick(Window->Field, Qt::Key_Z);
    QVERIFY(!Window->QuitButton->isEnabled());

    Window->QuitButton->setEnabled(true);
    QTest::keyClick(Window->Field, Qt::Key_Backspace);
    QCOMPARE(Window->Field->text(), QStringLiteral("12.-"));
    QCOMPARE(Window->KeysSeen.back(), QChar(8));
    QVERIFY(!Window->QuitButton->isEnabled());
    QCOMPARE(Platform->Beeps().size(), std::size_t{4});

    // Return and Escape type control characters: refused like letters.
    QTest::keyClick(Window->Field, Qt::Key_Return);
    QTest::keyClick(Window->Field, Qt::Key_Escape);
    QCOMPARE(Window->Field->text(), QStringLiteral("12.-"));
    QCOMPARE(Platform->Beeps().size(), std::size_t{6});
    // Keys that type nothing are not seen by the rule.
    const qsizetype seen = Window->KeysSeen.size();
    QTest::keyClick(Window->Field, Qt::Key_Left);
    QTest::keyClick(Window->Field, Qt::Key_Delete);
    QCOMPARE(Window->KeysSeen.size(), seen);
    QCOMPARE(Window->Field->text(), QStringLiteral("12."));
}

void TestEntryField::BackspaceWithoutTextIsCharacterEight() {
    TypeIntoField(QStringLiteral("42"));
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QString());
    QApplication::sendEvent(Window->Field, &press);
    QCOMPARE(Window->KeysSeen.back(), QChar(8));
    QCOMPARE(Window->Field->text(), QStringLiteral("4"));
}

// Keys with the text X11 gives them (Qt Test sends Delete and Ctrl+A without text): the key
// decides whether the rule sees it, not its text (a paste passes it). "123", the cursor at 0.
void TestEntryField::KeysAsX11DeliversThem_data() {
    for (const char* column : {"text", "clipboard", "after"}) {
        QTest::addColumn<QString>(column);
    }
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("refused");
    const auto row = [](const char* name, Qt::Key key, const char* text, int modifiers,
                        const char* clipboard, const char* after, bool refused) {
        QTest::newRow(name) << text << clipboard << after << int(key) << modifiers << refused;
    };
    const int ctrl = Qt::ControlModifier;
    row("Delete edits", Qt::Key_Delete, "\x7f", Qt::NoModifier, "", "23", false);
    row("keypad Delete edits", Qt::Key_Delete, "\x7f", Qt::KeypadModifier, "", "23", false);
    row("Ctrl+Z undoes", Qt::Key_Z, "\x1a", ctrl, "", "", false);
    row("Ctrl+V pastes", Qt::Key_V, "\x16", ctrl, "-4.5", "-4.5123", false);
    row("Ctrl+V refused", Qt::Key_V, "\x16", ctrl, "4\n", "123", true);
    row("keypad Enter refused", Qt::Key_Enter, "\r", Qt::KeypadModifier, "", "123", true);
    // Alt with a letter no control answers (a disabled button's access key) is no typing.
    row("Alt+R types nothing", Qt::Key_R, "r", Qt::AltModifier, "", "123", false);
    row("Alt+1 types nothing", Qt::Key_1, "1", Qt::AltModifier, "", "123", false);
}

void TestEntryField::KeysAsX11DeliversThem() {
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(int, modifiers);
    QFETCH(QString, clipboard);
    QFETCH(QString, after);
    QFETCH(bool, refused);
    TypeIntoField(QStringLiteral("123"));
    Window->Field->setCursorPosition(0);
    Window->QuitButton->setEnabled(true);
    QApplication::clipboard()->setText(clipboard);
    Platform->ClearRecord();
    QTest::sendKeyEvent(QTest::Click, Window->Field, Qt::Key(key), text,
                        Qt::KeyboardModifiers(modifiers));
    QCOMPARE(Window->Field->text(), after);
    QCOMPARE(Platform->Beeps().size(), std::size_t{refused ? 1u : 0u});
    QCOMPARE(Window->QuitButton->isEnabled(), !refused && clipboard.isEmpty());
}

// Return and Enter press a focused button once, as Space does; a held key does not repeat
// the click, and with Shift or Ctrl they do nothing.
void TestEntryField::ReturnAndEnterPressTheFocusedButton_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("autoRepeat");
    QTest::addColumn<int>("clicks");
    QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier) << false << 1;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << false << 1;
    QTest::newRow("held Return") << int(Qt::Key_Return) << int(Qt::NoModifier) << true << 0;
    QTest::newRow("Ctrl+Return") << int(Qt::Key_Return) << int(Qt::ControlModifier) << false << 0;
}

void TestEntryField::ReturnAndEnterPressTheFocusedButton() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, autoRepeat);
    QFETCH(int, clicks);
    Window->AddButton->setFocus(Qt::TabFocusReason);
    Window->Log.clear();
    QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), QStringLiteral("\r"),
                    autoRepeat);
    QApplication::sendEvent(Window->AddButton, &press);
    QCOMPARE(Window->Log.count(QStringLiteral("add")), clicks);
}

// Text that arrives several characters at once, from an input method or a key that types
// more than one, passes the rule character by character.
void TestEntryField::ComposedTextPassesTheRuleToo() {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("1a2"));
    QApplication::sendEvent(Window->Field, &press);
    QCOMPARE(Window->Field->text(), QStringLiteral("12"));

    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("x3\u00e9."));
    QApplication::sendEvent(Window->Field, &composed);
    QCOMPARE(Window->Field->text(), QStringLiteral("123."));
    QCOMPARE(Platform->Beeps().size(), std::size_t{3});
    QVERIFY(!Window->QuitButton->isEnabled());
}

// Where "," is the decimal symbol it can be typed, and the value is read with it; a full
// stop still gets through the key rule but is refused when the field is left.
void TestEntryField::RegionalDecimalSeparatorCanBeTyped() {
    SetFormatSeparators({',', '.'});
    TypeIntoField(QStringLiteral("1,5"));
    QTest::keyClick(Window->Field, Qt::Key_Tab);
    QCOMPARE(Window->Pending.Widen(), 1.5L);
    QVERIFY(Platform->Beeps().empty());

    Window->Field->setFocus(Qt::OtherFocusReason);
    Window->Field->clear();
    TypeIntoField(QStringLiteral("1.5"));
    Platform->ExpectBox(TMessageKind::Warning, QStringLiteral("Conversion Error"));
    QTest::keyClick(Window->Field, Qt::Key_Tab);
    QCOMPARE(Window->Field->text(), QStringLiteral("0"));
    QCOMPARE(Window->Pending.Widen(), 0.0L);
}

void TestEntryField::TabLeavesAndValidates() {
    TypeIntoField(QStringLiteral("10000.01"));
    Platform->ExpectBox(TMessageKind::Warning, BoundsMessage);
    QTest::keyClick(Window->Field, Qt::Key_Tab);
    QCOMPARE(Window->Log, QStringList{QStringLiteral("exit")});
    QCOMPARE(Window->Field->text(), QStringLiteral("0"));
    QCOMPARE(Window->Pending.Widen(), 0.0L);
    QVERIFY(Window->Other->hasFocus());
    QVERIFY(Window->QuitButton->isEnabled());

    // Back with Shift+Tab, a good value, and away again: stored, field kept as typed.
    QTest::keyClick(Window->Other, Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(Window->Field->hasFocus());
    Window->Field->clear();
    TypeIntoField(QStringLiteral("12.5"));
    QTest::keyClick(Window->Field, Qt::Key_Tab);
    QCOMPARE(Window->Log, QStringList{QStringLiteral("exit")});
    QCOMPARE(Window->Pending.Widen(), 12.5L);
    QCOMPARE(Window->Field->text(), QStringLiteral("12.5"));
}

// Another window coming to the front does not leave the field: no validation, no box. The
// field is left, and validated, only when the focus moves on within its own window.
void TestEntryField::DeactivationDoesNotLeave() {
    TypeIntoField(QStringLiteral("5-"));
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    QVERIFY(!Window->Field->hasFocus());
    QVERIFY(Window->Log.isEmpty());
    QCOMPARE(Window->Field->text(), QStringLiteral("5-"));

    Window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Window.get()));
    QVERIFY(Window->Field->hasFocus());
    QVERIFY(Window->Log.isEmpty());

    Platform->ExpectBox(TMessageKind::Warning, QStringLiteral("Conversion Error"));
    QTest::keyClick(Window->Field, Qt::Key_Tab);
    QCOMPARE(Window->Log, QStringList{QStringLiteral("exit")});
    QCOMPARE(Window->Field->text(), QStringLiteral("0"));
}

void TestEntryField::PopupDoesNotLeave() {
    TypeIntoField(QStringLiteral("5-"));
    TFocusOutReasons reasons;
    Window->Field->installEventFilter(&reasons);
    QMenu menu;
    menu.addAction(QStringLiteral("Something"));
    menu.popup(Window->mapToGlobal(QPoint(10, 10)));
    QTRY_VERIFY(menu.isVisible());
    QCOMPARE(reasons.Seen, QList<Qt::FocusReason>{Qt::PopupFocusReason});
    menu.close();
    QTRY_VERIFY(!menu.isVisible());
    QVERIFY(Window->Log.isEmpty());
    QCOMPARE(Window->Field->text(), QStringLiteral("5-"));
}

// The warning is shown; the click that moved the focus is not carried out and the button is
// not left pressed. The next click acts.
void TestEntryField::ClickAfterRefusedValueIsDropped() {
    TypeIntoField(QStringLiteral("5-"));
    Platform->ExpectBox(TMessageKind::Warning, QStringLiteral("Conversion Error"));
    QTest::mouseClick(Window->AddButton, Qt::LeftButton);
    QCOMPARE(Window->Log, QStringList{QStringLiteral("exit")});
    QVERIFY(!Window->AddButton->isDown());
    QCOMPARE(Window->Field->text(), QStringLiteral("0"));

    QTest::mouseClick(Window->AddButton, Qt::LeftButton);
    QCOMPARE(Window->Log, (QStringList{QStringLiteral("exit"), QStringLiteral("add")}));
}

void TestEntryField::ClickAfterAcceptedOrEmptyFieldGoesOn() {
    TypeIntoField(QStringLiteral("12.5"));
    QTest::mouseClick(Window->AddButton, Qt::LeftButton);
    QCOMPARE(Window->Log, (QStringList{QStringLiteral("exit"), QStringLiteral("add")}));
    QCOMPARE(Window->Pending.Widen(), 12.5L);
    QVERIFY(Window->AddButton->hasFocus());

    Window->Field->clear();
    Window->Field->setFocus(Qt::OtherFocusReason);
    Window->Log.clear();
    QTest::mouseClick(Window->AddButton, Qt::LeftButton);
    QCOMPARE(Window->Log, (QStringList{QStringLiteral("exit"), QStringLiteral("add")}));
}

// An exit event that disables the button (as the link window's does without a distance)
// takes the click with it, and the button does not stay down.
void TestEntryField::ClickDroppedWhenExitDisablesTheButton() {
    Window->Field->OnExit = [this] {
        Window->Log << QStringLiteral("exit");
        Window->AddButton->setEnabled(false);
    };
    QTest::mouseClick(Window->AddButton, Qt::LeftButton);
    QCOMPARE(Window->Log, QStringList{QStringLiteral("exit")});
    QVERIFY(!Window->AddButton->isDown());
}

// Alt+A takes the focus first, so the field is left and validated before the click.
void TestEntryField::AccessKeyLeavesTheFieldFirst() {
    TypeIntoField(QStringLiteral("7"));
    QTest::keyClick(Window->Field, Qt::Key_A, Qt::AltModifier);
    QCOMPARE(Window->Log, (QStringList{QStringLiteral("exit"), QStringLiteral("add")}));
    QCOMPARE(Window->Pending.Widen(), 7.0L);
    QCOMPARE(Window->Field->text(), QStringLiteral("7"));
    QVERIFY(Window->AddButton->hasFocus());

    // From the button itself the access key just clicks.
    QTest::keyClick(Window->AddButton, Qt::Key_A, Qt::AltModifier);
    QCOMPARE(Window->Log.count(QStringLiteral("add")), 2);
    QCOMPARE(Window->Log.count(QStringLiteral("exit")), 1);
}

void TestEntryField::AccessKeyAfterRefusedValueIsDropped() {
    TypeIntoField(QStringLiteral("1..2"));
    Platform->ExpectBox(TMessageKind::Warning, QStringLiteral("Conversion Error"));
    QTest::keyClick(Window->Field, Qt::Key_A, Qt::AltModifier);
    QCOMPARE(Window->Log, QStringList{QStringLiteral("exit")});
    QCOMPARE(Window->Field->text(), QStringLiteral("0"));
    QVERIFY(!Window->AddButton->isDown());
}

// With Qt's own modal box: while it is open the window is deactivated, which must not run
// the exit event of the control the focus was moving to; and the click that moved the focus
// leaves no button down.
void TestEntryField::RealMessageBoxLeavesNoCascadeAndNoPressedButton() {
    Platform.reset();
    // Qt's boxes from here on, installed as program start installs them.
    struct TDesktop : TQtPlatformServices {
        TDesktop() { SetPlatformServices(this); }
        ~TDesktop() override { SetPlatformServices(nullptr); }
    } desktop;
    TBoxCloser closer;

    TypeIntoField(QStringLiteral("5-"));
    QTest::keyClick(Window->Field, Qt::Key_Tab);
    QCOMPARE(closer.Closed, 1);
    QCOMPARE(Window->Log, QStringList{QStringLiteral("exit")});
    QCOMPARE(Window->Field->text(), QStringLiteral("0"));

    Window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Window.get()));
    Window->Field->setFocus(Qt::OtherFocusReason);
    QVERIFY(Window->Field->hasFocus());
    Window->Field->clear();
    TypeIntoField(QStringLiteral("99999"));
    QTest::mouseClick(Window->AddButton, Qt::LeftButton);
    QCOMPARE(closer.Closed, 2);
    QCOMPARE(Window->Log, QStringList{QStringLiteral("exit")});
    QVERIFY(!Window->AddButton->isDown());
}

QTEST_MAIN(TestEntryField)
#include "tst_entry_field.moc"
