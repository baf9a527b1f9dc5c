#include "platform/widgets/entry_field.h"

#include <QClipboard>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QValidator>

#include "core/numbers/entry_rules.h"
#include "platform/application/meshloom_application.h"
#include "platform/dialogs/platform_services.h"

namespace {

void ShowEntryResult(TEntryField& field, const TEntryResult& result) {
    if (result.Message.empty()) {
        return;
    }
    ShowBox(QString::fromLatin1(result.Message), TMessageKind::Warning, TBoxButtons::Ok);
    field.setText(QString::fromLatin1(result.WriteBack));
}

// The field's text as the rules read it: Latin-1, a character outside it becoming "?"
// (which no number contains).
std::string FieldText(const TEntryField& field) {
    return field.text().toLatin1().toStdString();
}

// A key pressed with Alt alone is an access key or a window's command, even where no control
// answers it (Alt+R while Replace Node is disabled): X11 delivers it with its letter, which is
// not typed. AltGr comes without Alt, or with Ctrl as well.
bool IsAltCommand(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    return (modifiers & Qt::AltModifier) != 0 && (modifiers & Qt::ControlModifier) == 0;
}

// Delete edits the field like an arrow key moves in it: it types nothing, although X11
// delivers it with the text "\x7f" (DEL), which the key rule would refuse as a control
// character. So do the field's commands on Ctrl (Undo, Redo, Select All, Cut, Copy, Paste),
// which X11 delivers with a control character ("\x1a" for Ctrl+Z). So the key decides, not its
// text; a Ctrl+Alt key that types a printable character (AltGr) is typed text.
bool TypesNoCharacter(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Delete) {
        return true;
    }
    const bool command = (event.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) != 0;
    const QString text = event.text();
    return IsAltCommand(event) || (command && (text.isEmpty() || !text.front().isPrint()));
}

// Text put into a field with a key rule all at once, from the clipboard by its menu, from the
// selection by the middle button or dropped, is taken only when every character would pass
// the rule of the number fields (KeyRuleAccepts), and otherwise refused whole. Typed
// characters have passed the rule already; a text the program sets is not checked.
class TKeyRuleGuard : public QValidator {
  public:
    explicit TKeyRuleGuard(TEntryField& field) : QValidator(&field), Field(field) {}

    State validate(QString& text, int& /*position*/) const override {
        if (!Field.OnKeyPress) {
            return Acceptable;
        }
        for (QChar key : text) {
            if (!KeyRuleAccepts(key.unicode())) {
                return Invalid;
            }
        }
        return Acceptable;
    }

  private:
    TEntryField& Field;
};

}  // namespace

TEntryField::TEntryField(QWidget* parent) : QLineEdit(parent) {
    setValidator(new TKeyRuleGuard(*this));
}

// A paste by its key goes through the key rule character by character, as typing it would:
// the quit button is disabled, and at the first character refused the beep sounds and nothing
// of the text is put in.
bool TEntryField::PasteRefusedByKeyRule() {
    const QString pasted = QGuiApplication::clipboard()->text();
    for (QChar key : pasted) {
        RunHandler([&] { OnKeyPress(key); });
        if (key.isNull()) {
            return true;
        }
    }
    return false;
}

QString TEntryField::KeyRuleFiltered(const QString& text) {
    QString passed;
    for (QChar key : text) {
        RunHandler([&] { OnKeyPress(key); });
        if (!key.isNull()) {
            passed += key;
        }
    }
    return passed;
}

void TEntryField::keyPressEvent(QKeyEvent* event) {
    // Its letter is not typed into a number field, and the window may still answer the key.
    if (OnKeyPress && IsAltCommand(*event) && !event->text().isEmpty() &&
        event->text().front().isPrint()) {
        event->ignore();
        return;
    }
    if (OnKeyPress && event->matches(QKeySequence::Paste) && PasteRefusedByKeyRule()) {
        event->accept();
        return;
    }
    if (OnKeyPress && !TypesNoCharacter(*event)) {
        // Backspace may come without text; the rule sees it as character 8 all the same.
        const QString typed =
            event->key() == Qt::Key_Backspace ? QString(QChar(Backspace)) : event->text();
        if (!typed.isEmpty()) {
            const QString passed = KeyRuleFiltered(typed);
            if (passed.isEmpty()) {
                event->accept();
                return;
            }
            if (passed != typed) {  // some characters of a multi-character text refused
                insert(passed);
                event->accept();
                return;
            }
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TEntryField::inputMethodEvent(QInputMethodEvent* event) {
    // Text composed by an input method is typed text too, and passes the same rule.
    if (OnKeyPress && !event->commitString().isEmpty()) {
        const QString passed = KeyRuleFiltered(event->commitString());
        if (passed != event->commitString()) {
            QInputMethodEvent filtered(event->preeditString(), event->attributes());
            filtered.setCommitString(passed, event->replacementStart(), event->replacementLength());
            QLineEdit::inputMethodEvent(&filtered);
            return;
        }
    }
    QLineEdit::inputMethodEvent(event);
}

void TEntryField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // Another window coming to the front (a message box included) or a popup opening does
    // not leave the field: its exit event runs only when the focus moves to another control.
    const Qt::FocusReason reason = event->reason();
    if (OnExit && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
        RunHandler(OnExit);
    }
}

void NumericFieldKeyPress(QChar& key, QWidget& quitButton) {
    quitButton.setEnabled(false);
    if (!KeyRuleAccepts(key.unicode())) {
        MessageBeep(0);
        key = QChar();
    }
}

void CheckRealEntry(TEntryField& field, Real48& target, Real48 low, Real48 high) {
    ShowEntryResult(field, JudgeRealEntry(FieldText(field), target, low, high));
}

void CheckIntegerEntry(TEntryField& field, std::int32_t& target, std::int32_t low,
                       std::int32_t high) {
    ShowEntryResult(field, JudgeIntegerEntry(FieldText(field), target, low, high));
}
