#pragma once

// Puts the whole text of a data file on disk, so that a save reported as done has been done.
//
// A regular file is written beside its target under a temporary name, flushed to the disk,
// given the target's permission bits and renamed over the target; the folder is then flushed
// too, so that the new name survives a power cut as the new content does. Every write is
// checked for its count and every step for its result. On any failure the temporary file is
// removed and the target is byte for byte what it was (absent if it was absent).
//
// Two kinds of target cannot be replaced that way and are written in place instead, like
// any file that is emptied and written again:
// - an existing file that may be written in a folder that refuses new files;
// - an existing target that is not a regular file (a pipe, a device): it stays what it is.
//   A pipe that nobody reads fails at once instead of waiting.
// A failure there leaves the target as far as it was written.
//
// A symbolic link is followed: the file it names is replaced, the link stays. An existing
// file that may not be written is left alone and the save fails.

#include <QString>
#include <string>
#include <string_view>

// Writes bytes as the whole content of the file at path (in the file system's encoding).
// True when every step from creating the file to putting it in place succeeded.
bool WriteWholeFile(const std::string& path, std::string_view bytes);

// The two files of a network, their texts made from the store (core/data_files.h): write the
// file called name and close it; true when nothing failed from creating the file to putting
// it in place. Failures are not raised; only success or failure is returned.
bool WriteDemandDataFile(const QString& name);
bool WriteDistanceFile(const QString& name);

// The rename that puts a finished temporary file in place. A test installs one that fails,
// the one fault the file system cannot be made to produce on demand; nullptr restores the
// system's rename.
using TRenameFunction = int (*)(const char* from, const char* to);
void SetRenameFunction(TRenameFunction rename);
