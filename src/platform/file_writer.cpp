#include "platform/file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <random>

#include <QFile>

#include "core/data_files.h"

namespace {

TRenameFunction InstalledRename = nullptr;

// Writes every byte, resuming after interrupted and short writes; false at the first error
// (a full disk, a file-size limit) or when nothing more can be written.
bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Closes fd; true when the close reported no error (some file systems report a failed
// delayed write only here).
bool Close(int fd) {
    return ::close(fd) == 0 || errno == EINTR;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Flushes the folder's entries, so that a rename in it is on the disk. File systems that
// cannot flush a folder say so with EINVAL; that is no failure of the save.
bool SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    return Close(fd) && synced;
}

// Empties the existing target and writes bytes into it.
bool WriteInPlace(const std::string& path, std::string_view bytes, bool regular) {
    // A pipe is opened without waiting, so a pipe that nobody reads fails instead of
    // hanging the program; the writes then wait for the reader as usual.
    const int flags = O_WRONLY | O_CLOEXEC | O_NOCTTY | (regular ? O_TRUNC : O_NONBLOCK);
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0) {
        return false;
    }
    bool written = regular || ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0;
    written = written && WriteAll(fd, bytes);
    // Only a regular file can be flushed; a pipe or a device has nothing to flush.
    written = written && (!regular || ::fsync(fd) == 0);
    return Close(fd) && written;
}

// Creates a new, empty file with a name of its own beside target: "." + the target's name +
// a random suffix. Its permission bits are those a new file gets (0666 less the umask).
int CreateTemporaryBeside(const std::string& target, std::string& temporary) {
    static std::minstd_rand suffixes(std::random_device{}());
    const std::string stem = FolderOf(target) + "/." + BaseNameOf(target) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = stem + std::to_string(suffixes());
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// Writes bytes into a new file beside target and renames it over target. existing is the
// target's state when it exists, else null.
bool WriteReplacing(const std::string& target, std::string_view bytes, const struct stat* existing,
                    int fd, const std::string& temporary) {
    bool written = true;
    if (existing != nullptr) {
        written = ::fchmod(fd, existing->st_mode & 07777) == 0;
        // Keeps the owner and group where we may (as the owner's administrator); a plain user
        // keeps their own anyway.
        [[maybe_unused]] const int owned = ::fchown(fd, existing->st_uid, existing->st_gid);
    }
    written = written && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    written = Close(fd) && written;
    const TRenameFunction rename = InstalledRename != nullptr ? InstalledRename : ::rename;
    written = written && rename(temporary.c_str(), target.c_str()) == 0;
    if (!written) {
        ::unlink(temporary.c_str());
        return false;
    }
    return SyncFolder(FolderOf(target));
}

}  // namespace

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
    if (path.empty()) {
        return false;
    }
    struct stat existing {};
    if (::stat(path.c_str(), &existing) != 0) {
        if (errno != ENOENT) {
            return false;  // a folder on the way that may not be searched, a loop of links
        }
        std::string temporary;
        const int fd = CreateTemporaryBeside(path, temporary);
        return fd >= 0 && WriteReplacing(path, bytes, nullptr, fd, temporary);
    }
    if (!S_ISREG(existing.st_mode)) {
        return WriteInPlace(path, bytes, false);
    }
    // The file a symbolic link names is replaced, not the link.
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) {
        return false;
    }
    const std::string target = resolved;
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        return false;
    }
    std::string temporary;
    const int fd = CreateTemporaryBeside(target, temporary);
    if (fd >= 0) {
        return WriteReplacing(target, bytes, &existing, fd, temporary);
    }
    // A folder that refuses new files may still hold a file we may write.
    if (errno == EACCES || errno == EPERM) {
        return WriteInPlace(target, bytes, true);
    }
    return false;
}

void SetRenameFunction(TRenameFunction rename) {
    InstalledRename = rename;
}

bool WriteDemandDataFile(const QString& name) {
    return WriteWholeFile(QFile::encodeName(name).toStdString(), DemandDataFileText(Network));
}

bool WriteDistanceFile(const QString& name) {
    return WriteWholeFile(QFile::encodeName(name).toStdString(), DistanceFileText(Network));
}
