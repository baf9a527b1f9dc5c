#include "platform/dialogs/platform_services.h"

#include <QtGlobal>

namespace {
IPlatformServices* InstalledServices = nullptr;
int BoxesShown = 0;

QString CaptionOf(TMessageKind type) {
    switch (type) {
        case TMessageKind::Warning:
            return QStringLiteral("Warning");
        case TMessageKind::Information:
            return QStringLiteral("Information");
        case TMessageKind::Confirmation:
            return QStringLiteral("Confirm");
        case TMessageKind::Error:
            break;
    }
    return ApplicationTitle;
}
}  // namespace

IPlatformServices& PlatformServices() {
    if (!InstalledServices) {
        qFatal(
            "No desktop services are installed: program start installs them before any "
            "window is created");
    }
    return *InstalledServices;
}

void SetPlatformServices(IPlatformServices* services) {
    InstalledServices = services;
}

TAnswer ShowBox(const QString& text, TMessageKind type, TBoxButtons buttons,
                const QString& details) {
    ++BoxesShown;
    const TAnswer answer =
        PlatformServices().ShowMessageBox(type, CaptionOf(type), text, buttons, details);
    if (buttons != TBoxButtons::Ok && answer != TAnswer::Yes) {
        return TAnswer::No;
    }
    return answer;
}

int MessageBoxesShown() {
    return BoxesShown;
}

void MessageBeep(unsigned type) {
    PlatformServices().MessageBeep(type);
}
