#include "platform/dialogs/file_dialog.h"

#include "platform/dialogs/platform_services.h"

bool TFileDialog::Execute() {
    return PlatformServices().ExecuteSaveDialog(*this);
}
