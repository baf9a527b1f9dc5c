#pragma once

// Checks on the look of a window that hold whatever the faces and the display are.

#include <QAbstractButton>
#include <QLabel>
#include <QStringList>
#include <QWidget>

// The controls of window whose text does not fit them, or that stick out of their parent.
inline QStringList ClippedControls(const QWidget& window) {
    QStringList clipped;
    for (const QWidget* child : window.findChildren<QWidget*>()) {
        if (!child->isVisibleTo(&window)) {
            continue;
        }
        const QString name = child->metaObject()->className() + QStringLiteral(" \"%1\"");
        if (!child->parentWidget()->rect().contains(child->geometry())) {
            clipped << name.arg(QStringLiteral("sticks out"));
        }
        if (const auto* label = qobject_cast<const QLabel*>(child)) {
            if (label->text().isEmpty()) {
                continue;
            }
            const bool fits = label->wordWrap()
                                  ? label->height() >= label->heightForWidth(label->width())
                                  : label->width() >= label->sizeHint().width() &&
                                        label->height() >= label->sizeHint().height();
            if (!fits) {
                clipped << name.arg(label->text());
            }
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(child)) {
            if (button->width() < button->sizeHint().width() ||
                button->height() < button->sizeHint().height()) {
                clipped << name.arg(button->text());
            }
        }
    }
    return clipped;
}
