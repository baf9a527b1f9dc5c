#pragma once

// A push button that acts on its access key as on a mouse click: it first takes the focus,
// so the edit field being left runs its exit event (and validation) before the click. When
// leaving that field showed a warning, the click is dropped: the user sees the field
// rewritten and decides again.

#include <QPushButton>

class TButton : public QPushButton {
    Q_OBJECT
  public:
    explicit TButton(const QString& caption, QWidget* parent = nullptr);

  protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
