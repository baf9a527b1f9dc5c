// Interim field: replaced by the full key and exit rules.
#include "platform/edit.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include "network/entry_rules.h"
#include "platform/platform_services.h"

TEdit::TEdit(QWidget* parent) : QLineEdit(parent) {}

void TEdit::keyPressEvent(QKeyEvent* event) {
    if (OnKeyPress && !event->text().isEmpty()) {
        QChar key = event->text().at(0);
        OnKeyPress(key);
        if (key.isNull()) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (OnExit) {
        OnExit();
    }
}

void CheckRealEntry(TEdit& field, Real48& target, Real48 low, Real48 high) {
    const TEntryResult result =
        CheckRealEntry(field.text().toLatin1().toStdString(), target, low, high);
    if (!result.Message.empty()) {
        MessageDlg(QString::fromLatin1(result.Message), TMsgDlgType::Warning, TMsgDlgButtons::Ok);
        field.setText(QString::fromLatin1(result.WriteBack));
    }
}

void CheckIntegerEntry(TEdit& field, std::int32_t& target, std::int32_t low, std::int32_t high) {
    const TEntryResult result =
        CheckIntegerEntry(field.text().toLatin1().toStdString(), target, low, high);
    if (!result.Message.empty()) {
        MessageDlg(QString::fromLatin1(result.Message), TMsgDlgType::Warning, TMsgDlgButtons::Ok);
        field.setText(QString::fromLatin1(result.WriteBack));
    }
}
