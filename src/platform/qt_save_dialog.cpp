// Interim: replaced by the real Qt save dialog.
#include "platform/qt_platform_services.h"
#include "platform/save_dialog.h"

bool TQtPlatformServices::ExecuteSaveDialog(TSaveDialog&) {
    return false;
}
