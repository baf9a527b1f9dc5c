#pragma once

// The desktop's own message boxes, save dialog and beep, through Qt.

#include "platform/platform_services.h"

class TQtPlatformServices : public IPlatformServices {
  public:
    TModalResult ShowMessageBox(TMsgDlgType type, const QString& caption, const QString& text,
                                TMsgDlgButtons buttons) override;
    bool ExecuteSaveDialog(TSaveDialog& dialog) override;
    void MessageBeep(unsigned type) override;
};
