#pragma once

// Puts the whole text of a data file on disk, so that a save reported as done has been done.
//
// A regular file is replaced only when the new file can be the same file as the earlier one
// in everything but its content. It is written beside its target under a temporary name that
// only its maker may read, flushed to the disk, given the target's owner and group, extended
// attributes (its access control list among them) and permission bits, in that order, and
// renamed over the target; the folder is then flushed too, so that the new name survives a
// power cut as the new content does. Every write is checked for its count and every step for
// its result. On any failure the temporary file is removed and the target is byte for byte
// what it was (absent if it was absent).
//
// Targets that a new file would not be the same as are written in place instead:
// - a file with more than one name (hard links), so that every name sees the new content;
// - a file whose owner, group, extended attributes or bits the new file cannot be given;
// - an existing file that may be written in a folder that refuses new files;
// - a target that is not a regular file (a pipe, a device): it stays what it is. A pipe that
//   nobody reads fails at once instead of waiting; one whose reader leaves fails too.
// A regular file written in place first has the room for the new content reserved (where the
// file system can reserve) and must fit the file-size limit, so a full disk fails with the
// earlier file unchanged; then it is overwritten, cut to its new length and flushed. A device
// that can be flushed is flushed, and a failed flush is a failure.
//
// A symbolic link is followed: the file it names is replaced, or made when it is missing, and
// the link stays. An existing file that may not be written is left alone and the save fails.
// The broken-pipe signal never ends the caller; it is held back while the file is written.
//
// Standard C++ and POSIX alone, no Qt, so that a command without a display can write the same
// files; network_file_writer.h is the windows' door onto it.

#include <string>
#include <string_view>

// How a write ended: done, or failed with the error number (errno) of the first step that
// failed, which is then never 0. It tests true exactly when the file was written, so a caller
// may take it as a plain success flag.
struct TWriteResult {
    int Error = 0;  // 0: written

    operator bool() const { return Error == 0; }
};

// The operating system's reason for an error number in plain words, as in "No space left on
// device", "Permission denied" or "File too large": always the English words, like every
// other text of the program, whatever the desktop's language.
std::string ErrorReason(int error);

// Writes bytes as the whole content of the file at path (in the file system's encoding).
// Several threads may write different files at once.
// Written when every step from creating the file to putting it in place succeeded. An empty
// path fails with ENOENT, a loop of symbolic links with ELOOP, a file too large for the
// file-size limit with EFBIG.
TWriteResult WriteWholeFile(const std::string& path, std::string_view bytes);

// The rename that puts a finished temporary file in place. A test installs one that fails,
// the one fault the file system cannot be made to produce on demand; nullptr restores the
// system's rename.
using TRenameFunction = int (*)(const char* from, const char* to);
void SetRenameFunction(TRenameFunction rename);
