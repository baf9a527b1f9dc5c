#include "platform/dialogs/save_dialog.h"

#include "platform/dialogs/platform_services.h"

bool TSaveDialog::Execute() {
    return PlatformServices().ExecuteSaveDialog(*this);
}
