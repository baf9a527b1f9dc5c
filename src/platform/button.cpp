// Interim button: replaced by the full access-key and dropped-click rules.
#include "platform/button.h"

TButton::TButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

bool TButton::event(QEvent* event) {
    return QPushButton::event(event);
}

void TButton::mousePressEvent(QMouseEvent* event) {
    QPushButton::mousePressEvent(event);
}
