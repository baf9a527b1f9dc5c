#pragma once

// Reads one of the network's two files from disk whole, bounded: a file larger than the
// largest text its reader can take is refused before a byte of it is read, and so is anything
// that is not a regular file (a folder, a named pipe, a device such as /dev/zero, also through
// a symbolic link), so that no open hangs or fills the memory. A file that grows while it is
// read is refused when it passes the bound, after at most one byte more.
//
// Standard C++ and POSIX alone, no Qt, so that the command can read what the windows read.

#include <cstddef>
#include <string>

struct TReadResult {
    int Error = 0;          // 0: read; otherwise the error number (errno) of the step that failed
    bool TooLarge = false;  // a regular file larger than the bound (Error is EFBIG)
    bool NotAFile = false;  // a folder, pipe, device or socket (Error is EINVAL, EISDIR)
    std::string Text;

    explicit operator bool() const { return Error == 0; }
};

// The whole text of the file at path, at most limit bytes.
TReadResult ReadNetworkFile(const std::string& path, std::size_t limit);
// The same of a file already open for reading, from where it stands (the descriptor stays
// open): for a caller that holds the file open while it checks it.
TReadResult ReadNetworkDescriptor(int fd, std::size_t limit);

// The reason of a failed read, for a message: "It is larger than 157500 bytes, more than a
// network holds.", "It is a folder, not a file.", or the system's text of the error ("No such
// file or directory.").
std::string ReadFailureText(const TReadResult& result, std::size_t limit);

// The distance file that goes with a demand data file, the one rule of Open and of the save
// dialogs: the same name with the extension NED in place of its own, or after it where it has
// none ("/a/net.NET" -> "/a/net.NED", "/a/plan" -> "/a/plan.NED"). Where such a file is there
// in some case of NED, it is that one (the first in this order: as the extension's case
// suggests, upper, lower, then any other case found in the folder); otherwise the name in the
// case the extension suggests (ned after a lower-case extension, else NED).
std::string DistanceFileFor(const std::string& demandPath);
