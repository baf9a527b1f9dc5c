#pragma once

// A push button that acts on its access key as on a mouse click: it first takes the focus,
// so the edit field being left runs its exit event (and validation) before the click. When
// leaving that field showed a warning, the click is dropped: the user sees the field
// rewritten and decides again, and no button is left looking pressed.
//
// The button moves the focus to itself on a press instead of letting Qt do it first, so that
// it can tell whether the move showed a message box. Its focus policy is therefore
// Qt::TabFocus: it is reached by Tab and takes the focus when pressed all the same. Leave the
// policy as it is.
//
// With the focus, Return and Enter press it, as Space does.

#include <QPushButton>
#include <functional>

class TCommandButton : public QPushButton {
    Q_OBJECT
  public:
    explicit TCommandButton(const QString& caption, QWidget* parent = nullptr);

    // The click handler, run through RunHandler (platform/application/meshloom_application.h).
    std::function<void()> OnClick;

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    // Moves the focus here. False when the click must be dropped: leaving the focused
    // control showed a message box, or its exit event disabled or hid this button.
    bool TakeFocusForClick(Qt::FocusReason reason);
};
