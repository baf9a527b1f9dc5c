#pragma once

// What "the same file" means, for every check that two names, or a name and an open file, must
// not be one file: the command's outputs among themselves and against its inputs, and the
// distance file that must not replace the demand data file.
//
// Where a file is there, two names are one file when they lead to one device and inode, as the
// kernel walks them: hard links, symbolic links, /proc/self/fd/N, /dev/fd/N, /dev/stdout alike.
// Where a name is free, it is the name it would be made under (its links followed to their
// end) in a folder known by its device and inode, so that ".." spellings, bind mounts and
// other roads to one folder are one folder. Two free names in one folder are one file when
// that folder takes them for one name; the folder itself is asked, by making a private file
// under the one name and looking it up under the other, since folders that fold case (and some
// that compose characters) say so nowhere else.
//
// Standard C++ and POSIX alone, no Qt.

#include <sys/types.h>

#include <string>

struct TFileIdentity {
    std::string Path;  // as given
    // A file is there: its device and inode, and its kind (st_mode).
    bool Exists = false;
    dev_t Device = 0;
    ino_t Inode = 0;
    mode_t Mode = 0;
    // A free name: the folder it would be made in and the name in that folder.
    std::string FolderPath;
    dev_t FolderDevice = 0;
    ino_t FolderInode = 0;
    std::string Name;
    // Neither: why the name leads nowhere (ENOENT or ENOTDIR for a missing folder, ELOOP, ...).
    int Error = 0;
};

// What path leads to now.
TFileIdentity IdentityOfName(const std::string& path);

// The file an open descriptor holds (Exists false when fd is not open).
TFileIdentity IdentityOfDescriptor(int fd);

// True when a and b are, or would be made as, one file. Two free names in one folder that
// differ in their bytes are one file only when the folder says so (see above); where it cannot
// be asked (it may not be written), names that differ only in the case of ASCII letters count
// as one file, so that nothing is lost on a folder that folds case.
bool IsOneFile(const TFileIdentity& a, const TFileIdentity& b);

// The same for two names.
bool IsOneFile(const std::string& a, const std::string& b);

// Whether a file can be made or replaced under the name: 0 when it can, else the error
// number: the folder is missing (ENOENT, ENOTDIR) or may not be written (EACCES, EROFS). An
// existing file that may be written counts as writable even in a folder that may not be (the
// writer then writes it in place); so do pipes and devices.
int WritableError(const TFileIdentity& identity);

// The folder of a path as given ("." for a bare name, "/" for one in the root) and its last
// name.   "/a/b.NET" -> "/a", "b.NET";  "b.NET" -> ".", "b.NET"
std::string FolderOf(const std::string& path);
std::string BaseNameOf(const std::string& path);

// The name a path's symbolic links end at, each read and followed by hand (a relative link
// from its own folder), at most 40: 0 with name set, else the error number (ELOOP,
// ENAMETOOLONG, or readlink's).
int NameAtEndOfLinks(const std::string& path, std::string& name);
