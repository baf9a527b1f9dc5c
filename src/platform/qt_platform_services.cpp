#include "platform/qt_platform_services.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace {
QMessageBox::Icon IconOf(TMsgDlgType type) {
    switch (type) {
        case TMsgDlgType::Warning:
            return QMessageBox::Warning;
        case TMsgDlgType::Information:
            return QMessageBox::Information;
        case TMsgDlgType::Confirmation:
            return QMessageBox::Question;
        case TMsgDlgType::Error:
            break;
    }
    return QMessageBox::Critical;
}

// Centres the box on the primary screen once it has its final size.
class TCentredMessageBox : public QMessageBox {
  public:
    using QMessageBox::QMessageBox;

  protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
};
}  // namespace

TModalResult TQtPlatformServices::ShowMessageBox(TMsgDlgType type, const QString& caption,
                                                 const QString& text, TMsgDlgButtons buttons) {
    QString lines = text;
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    TCentredMessageBox box;
    box.setIcon(IconOf(type));
    box.setWindowTitle(caption);
    box.setTextFormat(Qt::PlainText);
    box.setText(lines);
    box.setWindowModality(Qt::ApplicationModal);

    if (buttons == TMsgDlgButtons::Ok) {
        QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
        box.exec();
        return TModalResult::Ok;
    }
    QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? TModalResult::Yes : TModalResult::No;
}

void TQtPlatformServices::MessageBeep(unsigned) {
    QApplication::beep();
}
