#pragma once

// A one-line edit field with the two events the windows handle: a key event that may
// swallow the typed character, and an exit event that runs when the focus moves from the
// field to another control of the same window (Tab, Shift+Tab, a mouse click, an access
// key), but not when the window merely loses activation or a popup opens.

#include <QLineEdit>
#include <cstdint>
#include <functional>

#include "core/numbers/real48.h"

class TEntryField : public QLineEdit {
    Q_OBJECT
  public:
    explicit TEntryField(QWidget* parent = nullptr);

    // Runs for every typed character (backspace included, as character 8); setting key to
    // QChar() swallows it. Keys that type no character (arrows, Delete, Tab) are not seen, nor
    // the field's commands (Ctrl+Z, Ctrl+A, Ctrl+C...), which work as in any field, nor keys
    // pressed with Alt (not AltGr), whose letters a number field does not take. A field
    // with a key rule is a number field: a paste runs through the rule as typing would and is
    // refused whole at the first character refused.
    std::function<void(QChar& key)> OnKeyPress;
    // Runs when the field is left for another control of its window.
    std::function<void()> OnExit;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    // The characters of text that OnKeyPress lets through.
    QString KeyRuleFiltered(const QString& text);
    // True when OnKeyPress refuses a character of the clipboard's text.
    bool PasteRefusedByKeyRule();
};

// The key rule of the numeric fields, for their OnKeyPress: disables the window's quit
// button for every character, then lets through what KeyRuleAccepts (core/numbers/entry_rules.h)
// accepts and swallows anything else with the default alert beep (MessageBeep(0)).
void NumericFieldKeyPress(QChar& key, QWidget& quitButton);

// Validate field's text into target by the entry rules (JudgeRealEntry, JudgeIntegerEntry
// in core/numbers/entry_rules.h). A refused text shows its warning box and, once the box is
// dismissed, the field is rewritten from target.
void CheckRealEntry(TEntryField& field, Real48& target, Real48 low, Real48 high);
void CheckIntegerEntry(TEntryField& field, std::int32_t& target, std::int32_t low,
                       std::int32_t high);
