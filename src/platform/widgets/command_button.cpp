#include "platform/widgets/command_button.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcutEvent>

#include "platform/application/meshloom_application.h"
#include "platform/dialogs/platform_services.h"

TCommandButton::TCommandButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
    setFocusPolicy(Qt::TabFocus);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (OnClick) {
            RunHandler(OnClick);
        }
    });
}

bool TCommandButton::TakeFocusForClick(Qt::FocusReason reason) {
    if (!hasFocus()) {
        const int boxesBefore = MessageBoxesShown();
        setFocus(reason);
        if (MessageBoxesShown() != boxesBefore) {
            return false;
        }
    }
    return isEnabled() && isVisible();
}

bool TCommandButton::event(QEvent* event) {
    // The access key. An ambiguous one (two controls share the letter) only moves the focus,
    // as Qt does.
    if (event->type() == QEvent::Shortcut && !static_cast<QShortcutEvent*>(event)->isAmbiguous()) {
        if (TakeFocusForClick(Qt::ShortcutFocusReason)) {
            click();
        }
        return true;
    }
    return QPushButton::event(event);
}

void TCommandButton::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (enter && modifiers == Qt::NoModifier) {
        // A held key clicks once, not once per repeat: a held Enter on "Add Node" must not
        // add a row of nodes.
        if (!event->isAutoRepeat()) {
            click();
        }
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void TCommandButton::mousePressEvent(QMouseEvent* event) {
    if (!TakeFocusForClick(Qt::MouseFocusReason)) {
        // The press is taken here, so the button never goes down and its release clicks
        // nothing.
        event->accept();
        return;
    }
    QPushButton::mousePressEvent(event);
}
