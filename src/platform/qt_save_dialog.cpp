#include <QApplication>
#include <QFileDialog>

#include "platform/qt_platform_services.h"
#include "platform/save_dialog.h"

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

bool TQtPlatformServices::ExecuteSaveDialog(TSaveDialog& dialog) {
    QFileDialog fileDialog(QApplication::activeWindow(), dialog.Title);
    fileDialog.setAcceptMode(QFileDialog::AcceptSave);
    fileDialog.setFileMode(QFileDialog::AnyFile);
    // The save dialogue asks about existing files itself, and the same dialog must look and
    // behave the same on every desktop.
    fileDialog.setOptions(QFileDialog::DontConfirmOverwrite | QFileDialog::DontUseNativeDialog);
    const QStringList nameFilters = NameFiltersOf(dialog.Filter);
    fileDialog.setNameFilters(nameFilters);
    if (dialog.FilterIndex >= 1 && dialog.FilterIndex <= nameFilters.size()) {
        fileDialog.selectNameFilter(nameFilters[dialog.FilterIndex - 1]);
    }
    fileDialog.setDefaultSuffix(dialog.DefaultExt);
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
