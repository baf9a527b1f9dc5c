#include "platform/save_dialog.h"

#include "platform/platform_services.h"

bool TSaveDialog::Execute() {
    return PlatformServices().ExecuteSaveDialog(*this);
}
