// Interim: replaced by the real Qt boxes and dialog.
#include "platform/qt_platform_services.h"

#include <QApplication>
#include <QMessageBox>

TModalResult TQtPlatformServices::ShowMessageBox(TMsgDlgType, const QString& caption,
                                                 const QString& text, TMsgDlgButtons buttons) {
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (buttons == TMsgDlgButtons::Ok) {
        QMessageBox::warning(nullptr, caption, shown);
        return TModalResult::Ok;
    }
    return QMessageBox::question(nullptr, caption, shown) == QMessageBox::Yes ? TModalResult::Yes
                                                                              : TModalResult::No;
}

void TQtPlatformServices::MessageBeep(unsigned) {
    QApplication::beep();
}
