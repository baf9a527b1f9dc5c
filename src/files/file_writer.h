#pragma once

// Puts the whole text of a data file on disk, so that a save reported as done has been done,
// where the name leads and nowhere else.
//
// The name is walked by the kernel as any other open of the program walks it: a symbolic link
// that the kernel refuses to follow (another user's link in a folder where everyone may create
// files, with the system's protection of such links on) fails the save with "Permission
// denied" and nothing is written; so does a loop of links, with ELOOP, and a link that cannot
// be read. A link the kernel follows is followed: the file it names is replaced, or made when
// it is missing, and the link stays. From then on the writer acts on what it found and follows
// no link again; a target that another program changed meanwhile (a link, a pipe or another
// file put under its name) fails the save with "Resource temporarily unavailable", the earlier
// file as it was.
//
// A regular file is replaced only when the new file can be the same file as the earlier one
// in everything but its content. The new file is written in the target's folder out of reach
// of others: without a name where the file system can make such a file, made as any new file
// (0666, less the umask or as the folder's default access list says), else under a private
// name. It is flushed to the disk, given the target's owner and group, extended attributes
// (its access control list among them, and no other) and permission bits, in that order, and
// renamed over the target; the folder is then flushed too, so that the new name survives a
// power cut as the new content does. A new file keeps what it was made with. A free name is
// taken without replacing, so that a file that appeared there meanwhile is kept: by a rename
// that does not replace or a second name, or where the file system has neither (exFAT and many
// network shares through FUSE), by an empty file made under the name with O_CREAT|O_EXCL
// first, which the new file then replaces. Every write is
// checked for its count and every step for its result. On any failure the new file is removed
// and the target is byte for byte what it was (absent if it was absent), except when only the
// last step, the flush of the folder, failed: the new file is then in place.
//
// Targets that a new file would not be the same as are written in place instead:
// - a file with more than one name (hard links), so that every name sees the new content;
// - a file whose owner, group, extended attributes or bits the file system refuses to give the
//   new file (EPERM, EACCES, ENOTSUP); any other error there fails the save;
// - an existing file that may be written in a folder that refuses new files;
// - a target that is not a regular file (a pipe, a device): it stays what it is. A pipe that
//   nobody reads fails at once instead of waiting; one whose reader leaves fails too.
// A regular file written in place first has the room for the new content reserved (where the
// file system can reserve) and must fit the file-size limit, so a full disk fails with the
// earlier file unchanged; then it is overwritten, cut to its new length and flushed. A device
// that can be flushed is flushed, and a failed flush is a failure.
//
// An existing file that may not be written is left alone and the save fails. The broken-pipe
// signal never ends the caller; it is held back while the file is written.
//
// Standard C++ and POSIX alone, no Qt, so that a command without a display can write the same
// files; network_file_writer.h is the windows' door onto it.

#include <string>
#include <string_view>

// How a write ended: done, or failed with the error number (errno) of the first step that
// failed, which is then never 0. It tests true exactly when the file was written as asked,
// its content and its name on the disk, so a caller may take it as a plain success flag.
struct TWriteResult {
    int Error = 0;  // 0: written
    // Failed only in flushing the folder after the rename (Error says why): the new file holds
    // the name and the earlier file is gone, but the name may not survive a power cut.
    bool NameNotFlushed = false;

    operator bool() const { return Error == 0; }
};

// What a failure with NameNotFlushed means, said before the system's reason.
constexpr std::string_view NameNotFlushedText =
    "The new file is in place, but its name may not survive a power cut.";

// The operating system's reason for an error number in plain words, as in "No space left on
// device", "Permission denied" or "File too large": always the English words, like every
// other text of the program, whatever the desktop's language.
std::string ErrorReason(int error);

// Writes bytes as the whole content of the file at path (in the file system's encoding).
// Several threads may write different files at once.
// Written when every step from creating the file to putting it in place succeeded. An empty
// path fails with ENOENT, a loop of symbolic links with ELOOP, a link the kernel refuses to
// follow with EACCES, a file too large for the file-size limit with EFBIG.
TWriteResult WriteWholeFile(const std::string& path, std::string_view bytes);

// The rename that puts a finished temporary file in place. A test installs one that fails,
// the one fault the file system cannot be made to produce on demand; nullptr restores the
// system's rename.
using TRenameFunction = int (*)(const char* from, const char* to);
void SetRenameFunction(TRenameFunction rename);
