#include "platform/dialogs/platform_services.h"

#include <QtGlobal>

namespace {
IPlatformServices* InstalledServices = nullptr;
int BoxesShown = 0;

QString CaptionOf(TMsgDlgType type) {
    switch (type) {
        case TMsgDlgType::Warning:
            return QStringLiteral("Warning");
        case TMsgDlgType::Information:
            return QStringLiteral("Information");
        case TMsgDlgType::Confirmation:
            return QStringLiteral("Confirm");
        case TMsgDlgType::Error:
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

TModalResult MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons,
                        const QString& details) {
    ++BoxesShown;
    const TModalResult answer =
        PlatformServices().ShowMessageBox(type, CaptionOf(type), text, buttons, details);
    if (buttons != TMsgDlgButtons::Ok && answer != TModalResult::Yes) {
        return TModalResult::No;
    }
    return answer;
}

int MessageBoxesShown() {
    return BoxesShown;
}

void MessageBeep(unsigned type) {
    PlatformServices().MessageBeep(type);
}
