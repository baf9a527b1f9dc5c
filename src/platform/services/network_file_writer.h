#pragma once

// The windows' door to the file writer (file_writer.h): the two files of the network in the
// store, their texts made by core/file_texts/data_files.h, under a name as the save dialogs give
// it.

#include <QString>

#include "files/file_writer.h"

// Writes the file called name and closes it; written when nothing failed from creating the
// file to putting it in place. Failures are not raised; they are returned with their reason.
TWriteResult WriteDemandDataFile(const QString& name);
TWriteResult WriteDistanceFile(const QString& name);
