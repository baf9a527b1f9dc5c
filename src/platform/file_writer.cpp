#include "platform/file_writer.h"

#include <fcntl.h>
#include <locale.h>
#include <signal.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <random>
#include <vector>

namespace {

TRenameFunction InstalledRename = nullptr;

// Holds the broken-pipe signal back from this thread while it lives: a reader that leaves a
// pipe makes the write fail with EPIPE instead of ending the program. A signal raised
// meanwhile is taken off the thread again, unless one was already waiting before.
class TBrokenPipeGuard {
  public:
    TBrokenPipeGuard() {
        sigemptyset(&BrokenPipe);
        sigaddset(&BrokenPipe, SIGPIPE);
        sigset_t waiting;
        sigpending(&waiting);
        WasWaiting = sigismember(&waiting, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &BrokenPipe, &Before);
    }
    ~TBrokenPipeGuard() {
        const int error = errno;
        sigset_t waiting;
        sigpending(&waiting);
        if (!WasWaiting && sigismember(&waiting, SIGPIPE) == 1) {
            const timespec now{};
            while (sigtimedwait(&BrokenPipe, nullptr, &now) < 0 && errno == EINTR) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &Before, nullptr);
        errno = error;
    }
    TBrokenPipeGuard(const TBrokenPipeGuard&) = delete;
    TBrokenPipeGuard& operator=(const TBrokenPipeGuard&) = delete;

  private:
    sigset_t BrokenPipe{};
    sigset_t Before{};
    bool WasWaiting = false;
};

// Writes every byte from the file's current offset, resuming after interrupted and short
// writes; false at the first error (a full disk, a file-size limit, a reader that left). A
// write that takes no byte without saying why fails with EIO.
bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written == 0) {
            errno = EIO;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Closes fd after the steps before it, done when they succeeded; true when they and the close
// did (some file systems report a failed delayed write only at the close). When an earlier
// step failed, errno stays its error.
bool CloseAfter(int fd, bool done) {
    const int error = errno;
    const bool closed = ::close(fd) == 0 || errno == EINTR;
    if (!done) {
        errno = error;
    }
    return closed && done;
}

// Flushes fd. A pipe or a terminal has nothing to flush and says so with EINVAL; a device
// that can be flushed (a disk) reports its failure like a file does.
bool Flush(int fd) {
    return ::fsync(fd) == 0 || errno == EINVAL;
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

// Follows symbolic links from path to the name that is no link: an existing file, or the
// name a dangling link points at, which the save then creates (the link stays). Empty for a
// loop of links.
std::string FollowLinks(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat state {};
        if (::lstat(path.c_str(), &state) != 0 || !S_ISLNK(state.st_mode)) {
            return path;
        }
        std::string target(static_cast<std::size_t>(state.st_size) + 256, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<std::size_t>(length) == target.size()) {
            return path;  // the link changed under us; the stat that follows decides
        }
        target.resize(static_cast<std::size_t>(length));
        path = target.front() == '/' ? target : FolderOf(path) + "/" + target;
    }
    errno = ELOOP;
    return {};
}

// Flushes the folder's entries, so that a rename in it is on the disk. A folder that may not
// be opened (written and searched but not read) cannot be flushed by us; the file is in place
// all the same, so only a failed flush counts. File systems that cannot flush a folder say so
// with EINVAL.
bool SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return true;
    }
    return CloseAfter(fd, Flush(fd));
}

// True when bytes more may be written to a regular file under the process's file-size
// limit, which would otherwise stop the write half way.
bool FitsFileSizeLimit(std::size_t size) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
        size <= limit.rlim_cur) {
        return true;
    }
    errno = EFBIG;
    return false;
}

// Writes bytes into the existing target itself. A regular file first has the room for the
// new content reserved (where the file system can reserve), so that a full disk fails before
// a byte of the earlier content changed; then it is overwritten, cut to the new length and
// flushed. A pipe is opened without waiting, so a pipe that nobody reads fails instead of
// hanging the program; the writes then wait for the reader as usual.
bool WriteInPlace(const std::string& path, std::string_view bytes, bool regular) {
    if (regular && !FitsFileSizeLimit(bytes.size())) {
        return false;
    }
    const int flags = O_WRONLY | O_CLOEXEC | O_NOCTTY | (regular ? 0 : O_NONBLOCK);
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0) {
        return false;
    }
    bool written = regular || ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0;
    if (regular && !bytes.empty() &&
        ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes.size())) != 0) {
        written = errno == EOPNOTSUPP || errno == ENOSYS;
    }
    written = written && WriteAll(fd, bytes);
    written = written && (!regular || ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0);
    written = written && Flush(fd);
    return CloseAfter(fd, written);
}

// Creates a new, empty file beside target that only its maker may read: "." + the target's
// name, shortened where needed so the whole name stays within the folder's name limit, + "."
// + a random suffix.
int CreateTemporaryBeside(const std::string& target, std::string& temporary) {
    static thread_local std::minstd_rand suffixes(std::random_device{}());
    const std::string folder = FolderOf(target);
    std::string base = BaseNameOf(target);
    const long nameLimit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    const std::size_t room = (nameLimit > 0 ? static_cast<std::size_t>(nameLimit) : 255) - 13;
    if (base.size() > room) {
        base.resize(room);
        // Never end on half a UTF-8 character: some file systems refuse such a name.
        while (!base.empty() && (static_cast<unsigned char>(base.back()) & 0xC0) == 0x80) {
            base.pop_back();
        }
        if (!base.empty() && static_cast<unsigned char>(base.back()) >= 0xC0) {
            base.pop_back();
        }
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder + "/." + base + "." + std::to_string(suffixes() % 1000000000);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// Gives the temporary file every extended attribute of the target (its access control list
// among them); false when one of them cannot be read or set.
bool CopyExtendedAttributes(const std::string& target, int fd) {
    const ssize_t listSize = ::llistxattr(target.c_str(), nullptr, 0);
    if (listSize <= 0) {
        return listSize == 0 || errno == ENOTSUP;
    }
    std::vector<char> names(static_cast<std::size_t>(listSize));
    const ssize_t listed = ::llistxattr(target.c_str(), names.data(), names.size());
    if (listed < 0) {
        return false;
    }
    for (std::size_t at = 0; at < static_cast<std::size_t>(listed);) {
        const char* name = names.data() + at;
        at += std::char_traits<char>::length(name) + 1;
        const ssize_t size = ::lgetxattr(target.c_str(), name, nullptr, 0);
        std::vector<char> value(static_cast<std::size_t>(size > 0 ? size : 0));
        if (size < 0 || ::lgetxattr(target.c_str(), name, value.data(), value.size()) != size ||
            ::fsetxattr(fd, name, value.data(), value.size(), 0) != 0) {
            return false;
        }
    }
    return true;
}

// The permission bits a new file gets here: 0666 less the umask. The umask is read from the
// kernel's record of the process where it keeps one, since setting it to learn it would
// change it for a moment for every thread.
mode_t NewFileMode() {
    if (FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status) != nullptr) {
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        }
        std::fclose(status);
        if (found) {
            return 0666 & ~static_cast<mode_t>(mask);
        }
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

// Gives the finished temporary file what makes it the same file as the target in everything
// but its content: owner and group first (changing them clears set-ID bits), then the
// extended attributes, then the permission bits. False when one of them cannot be given.
// A file system that keeps no permission bits gives every file the same ones already.
bool MakeLikeTarget(const std::string& target, const struct stat& existing, int fd) {
    struct stat made {};
    if (::fstat(fd, &made) != 0) {
        return false;
    }
    if ((made.st_uid != existing.st_uid || made.st_gid != existing.st_gid) &&
        ::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
        return false;
    }
    if (!CopyExtendedAttributes(target, fd)) {
        return false;
    }
    const mode_t bits = existing.st_mode & 07777;
    return (made.st_mode & 07777) == bits || ::fchmod(fd, bits) == 0;
}

enum class TReplaced { Done, Failed, NotTheSame };

// Writes bytes into a new file beside target and renames it over target. existing is the
// target's state when it exists, else null. NotTheSame: the new file could not be made the
// same as the target (owner, attributes, bits); nothing was changed and the temporary file
// is gone.
TReplaced WriteReplacing(const std::string& target, std::string_view bytes,
                         const struct stat* existing, int fd, const std::string& temporary) {
    // One flush, once the content and what makes it the target's are both there.
    bool written = WriteAll(fd, bytes);
    bool same = true;
    if (written && existing != nullptr) {
        same = MakeLikeTarget(target, *existing, fd);
    } else if (written) {
        // A file system that keeps no permission bits refuses the change; nothing is lost.
        [[maybe_unused]] const int moded = ::fchmod(fd, NewFileMode());
    }
    written = written && same && ::fsync(fd) == 0;
    written = CloseAfter(fd, written);
    const TRenameFunction rename = InstalledRename != nullptr ? InstalledRename : ::rename;
    written = written && rename(temporary.c_str(), target.c_str()) == 0;
    if (!written) {
        const int error = errno;
        ::unlink(temporary.c_str());
        errno = error;
        return same ? TReplaced::Failed : TReplaced::NotTheSame;
    }
    return SyncFolder(FolderOf(target)) ? TReplaced::Done : TReplaced::Failed;
}

// The whole write; false with errno set by the step that failed.
bool WriteWhole(const std::string& path, std::string_view bytes) {
    if (path.empty()) {
        errno = ENOENT;
        return false;
    }
    const TBrokenPipeGuard brokenPipe;
    const std::string target = FollowLinks(path);
    struct stat existing {};
    if (target.empty()) {
        return false;
    }
    if (::stat(target.c_str(), &existing) != 0) {
        if (errno != ENOENT) {
            return false;  // a folder on the way that may not be searched
        }
        std::string temporary;
        const int fd = CreateTemporaryBeside(target, temporary);
        return fd >= 0 && WriteReplacing(target, bytes, nullptr, fd, temporary) == TReplaced::Done;
    }
    if (!S_ISREG(existing.st_mode)) {
        return WriteInPlace(target, bytes, false);
    }
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        return false;
    }
    // A file with other names keeps them all only when it is written in place.
    if (existing.st_nlink > 1) {
        return WriteInPlace(target, bytes, true);
    }
    std::string temporary;
    const int fd = CreateTemporaryBeside(target, temporary);
    if (fd >= 0) {
        const TReplaced replaced = WriteReplacing(target, bytes, &existing, fd, temporary);
        return replaced == TReplaced::Done ||
               (replaced == TReplaced::NotTheSame && WriteInPlace(target, bytes, true));
    }
    // A folder that refuses new files may still hold a file we may write.
    if (errno == EACCES || errno == EPERM) {
        return WriteInPlace(target, bytes, true);
    }
    return false;
}

}  // namespace

std::string ErrorReason(int error) {
    static const locale_t english = ::newlocale(LC_ALL_MASK, "C", locale_t{});
    return english != locale_t{} ? ::strerror_l(error, english) : ::strerror(error);
}

TWriteResult WriteWholeFile(const std::string& path, std::string_view bytes) {
    errno = 0;
    if (WriteWhole(path, bytes)) {
        return {};
    }
    // Every failing step leaves its error; should one ever leave none, EIO stands in, so that
    // a failure never reads as success.
    return {errno != 0 ? errno : EIO};
}

void SetRenameFunction(TRenameFunction rename) {
    InstalledRename = rename;
}
