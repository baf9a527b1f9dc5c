#include "platform/dialogs/qt_platform_services.h"

#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include "platform/dialogs/file_dialog.h"
#include "platform/dialogs/import_box.h"

namespace {
QMessageBox::Icon IconOf(TMessageKind type) {
    switch (type) {
        case TMessageKind::Warning:
            return QMessageBox::Warning;
        case TMessageKind::Information:
            return QMessageBox::Information;
        case TMessageKind::Confirmation:
            return QMessageBox::Question;
        case TMessageKind::Error:
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

TAnswer TQtPlatformServices::ShowMessageBox(TMessageKind type, const QString& caption,
                                            const QString& text, TBoxButtons buttons,
                                            const QString& details) {
    QString lines = text;
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    TCentredMessageBox box;
    box.setIcon(IconOf(type));
    box.setWindowTitle(caption);
    box.setTextFormat(Qt::PlainText);
    box.setText(lines);
    // Qt adds its own "Show Details..." button, which opens a read-only text the screen
    // reader reads like any other.
    if (!details.isEmpty()) {
        box.setDetailedText(details);
    }
    box.setWindowModality(Qt::ApplicationModal);

    if (buttons == TBoxButtons::Ok) {
        QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
        box.exec();
        return TAnswer::Ok;
    }
    QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    box.setDefaultButton(buttons == TBoxButtons::YesNoDefaultNo ? no : yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? TAnswer::Yes : TAnswer::No;
}

void TQtPlatformServices::MessageBeep(unsigned) {
    QApplication::beep();
}

QStringList NameFiltersOf(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList nameFilters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        // "*.*" means every file, also one without an extension.
        pattern.replace(QLatin1String("*.*"), QLatin1String("*"));
        nameFilters << parts[i] + QLatin1String(" (") + pattern + QLatin1Char(')');
    }
    return nameFilters;
}

namespace {

// Runs a file dialog of the kind fileDialog was set up as, with the filters and the name of
// dialog; true with the chosen name and filter in dialog when one was chosen.
bool RunFileDialog(QFileDialog& fileDialog, TFileDialog& dialog) {
    const QStringList nameFilters = NameFiltersOf(dialog.Filter);
    fileDialog.setNameFilters(nameFilters);
    if (dialog.FilterIndex >= 1 && dialog.FilterIndex <= nameFilters.size()) {
        fileDialog.selectNameFilter(nameFilters[dialog.FilterIndex - 1]);
    }
    if (!dialog.FileName.isEmpty()) {
        fileDialog.selectFile(dialog.FileName);
    } else if (!dialog.InitialDir.isEmpty()) {
        fileDialog.setDirectory(dialog.InitialDir);
    }
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty()) {
        return false;
    }
    dialog.FileName = fileDialog.selectedFiles().constFirst();
    const auto chosen = nameFilters.indexOf(fileDialog.selectedNameFilter());
    dialog.FilterIndex = chosen < 0 ? 1 : static_cast<int>(chosen) + 1;
    return true;
}

}  // namespace

bool TQtPlatformServices::ExecuteSaveDialog(TFileDialog& dialog) {
    QFileDialog fileDialog(QApplication::activeWindow(), dialog.Title);
    fileDialog.setAcceptMode(QFileDialog::AcceptSave);
    fileDialog.setFileMode(QFileDialog::AnyFile);
    // The save dialogue asks about existing files itself, and the same dialog must look and
    // behave the same on every desktop.
    fileDialog.setOptions(QFileDialog::DontConfirmOverwrite | QFileDialog::DontUseNativeDialog);
    fileDialog.setDefaultSuffix(dialog.DefaultExt);
    return RunFileDialog(fileDialog, dialog);
}

bool TQtPlatformServices::ExecuteOpenDialog(TFileDialog& dialog) {
    QFileDialog fileDialog(QApplication::activeWindow(), dialog.Title);
    fileDialog.setAcceptMode(QFileDialog::AcceptOpen);
    fileDialog.setFileMode(QFileDialog::ExistingFile);
    fileDialog.setOptions(QFileDialog::DontUseNativeDialog);
    return RunFileDialog(fileDialog, dialog);
}

bool TQtPlatformServices::ExecuteImportBox(TImportBox& box) {
    return RunImportBox(box);
}
