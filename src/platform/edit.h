#pragma once

// A one-line edit field with the two events the windows handle: a key event that may
// swallow the typed character, and an exit event that runs when the focus moves from the
// field to another control of the same window (Tab, Shift+Tab, a mouse click, an access
// key), but not when the window merely loses activation or a popup opens.

#include <QLineEdit>
#include <cstdint>
#include <functional>

#include "network/real48.h"

class TEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit TEdit(QWidget* parent = nullptr);

    // Runs for every typed character (backspace included); setting key to QChar() swallows it.
    std::function<void(QChar& key)> OnKeyPress;
    // Runs when the field is left for another control of its window.
    std::function<void()> OnExit;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// Validate field's text into target (network/entry_rules.h). A refused text shows its
// warning box and, once the box is dismissed, the field is rewritten from target.
void CheckRealEntry(TEdit& field, Real48& target, Real48 low, Real48 high);
void CheckIntegerEntry(TEdit& field, std::int32_t& target, std::int32_t low, std::int32_t high);
