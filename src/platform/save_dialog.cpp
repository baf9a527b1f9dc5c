#include "platform/save_dialog.h"

#include "platform/platform_services.h"

bool TSaveDialog::Execute() {
    return PlatformServices().ExecuteSaveDialog(*this);
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
