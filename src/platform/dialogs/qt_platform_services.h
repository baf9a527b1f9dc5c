#pragma once

// The desktop's own message boxes, save dialog and beep, through Qt.

#include <QStringList>

#include "platform/dialogs/platform_services.h"

class TQtPlatformServices : public IPlatformServices {
  public:
    // A modal box centred on the screen, with the icon of its type: exclamation for a
    // warning, information, a question mark for a confirmation, the error icon for an error.
    // "OK" alone, or "&Yes" (the default button) and "&No", which Escape and the title bar's
    // close button also answer.
    TAnswer ShowMessageBox(TMessageKind type, const QString& caption, const QString& text,
                           TBoxButtons buttons, const QString& details) override;
    bool ExecuteSaveDialog(TFileDialog& dialog) override;
    bool ExecuteOpenDialog(TFileDialog& dialog) override;
    bool ExecuteImportBox(TImportBox& box) override;
    // Both alert types sound the desktop's one beep.
    void MessageBeep(unsigned type) override;
};

// A save dialog's name filters in the desktop's form: "Network Demand Data|*.NET|All
// Files|*.*" gives "Network Demand Data (*.NET)" and "All Files (*)".
QStringList NameFiltersOf(const QString& filter);
