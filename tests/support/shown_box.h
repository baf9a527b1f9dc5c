#pragma once

// A message box as the tests' stand-ins for the desktop record it: what the program showed
// and how the box was answered.

#include <QString>

#include "platform/dialogs/platform_services.h"

struct TShownBox {
    TMessageKind Type;
    QString Caption;
    QString Text;
    TBoxButtons Buttons;
    TAnswer Answer;
    QString Details;  // what waits behind "Show Details...", empty when nothing does
};
