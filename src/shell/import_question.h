#pragma once

// The question the main menu asks before an imported network replaces the one in the windows:
// what the file holds, at which scale, and (for a routing table with both arrays) which array.
// The file has been read already; nothing changes before the planner presses Import.

#include <QString>
#include <optional>

#include "core/network/network_store.h"
#include "import/network_import.h"

struct TImportAnswer {
    TOpenedNetwork Network;
    QString KindText;  // the kind in words, as the box said it
    int Links = 0;
    QString Scale;  // as the box showed it
};

// Asks about the file at path (its whole text in text): a refusal is said in a warning box and
// gives nothing, so does Cancel; Import gives the network at the scale chosen.
std::optional<TImportAnswer> AskImport(const QString& path, std::string_view text);
