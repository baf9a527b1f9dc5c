#include "files/file_writer.h"

#include "files/file_identity.h"

#include <fcntl.h>
#include <locale.h>
#include <signal.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
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

// The error of a save whose target changed between the look at it and the write (another
// program put a link, a pipe or another file under its name): "Resource temporarily
// unavailable", since saving again looks afresh.
constexpr int ChangedMeanwhile = EAGAIN;

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// True for the errors with which a file system refuses to give a file an owner, an attribute
// or bits, as opposed to failing while it does (a full disk, a failing disk).
bool IsRefusal(int error) {
    return error == EPERM || error == EACCES || error == ENOTSUP || error == EOPNOTSUPP;
}

// Where a save goes, found once: the folder, held open so that no later step walks its path
// again, the name in it (never a link), and the file that was there, if any.
struct TTarget {
    TTarget() = default;
    ~TTarget() {
        if (Folder >= 0) {
            ::close(Folder);
        }
    }
    TTarget(const TTarget&) = delete;
    TTarget& operator=(const TTarget&) = delete;

    int Folder = -1;         // opened as a path only
    std::string FolderPath;  // for the installed rename alone
    std::string Name;
    bool Exists = false;
    struct stat State {};
    // A pipe, a device or a socket that the name leads to, written through the name as the
    // kernel walks it: links such as /dev/stdout end in a text that names no file.
    std::string ThroughName;
};

// Finds where a save of path goes. The kernel walks the name first, exactly as for any other
// open of this process, so that a link it refuses to follow (another user's link in a folder
// where everyone may create files) or a loop of links fails here, with its reason. The links
// it followed are then read to learn the last name, the one a missing file is made under
// (the links stay); a link that cannot be read fails the save. What is found under that name
// must be the file the kernel opened.
bool Resolve(const std::string& path, TTarget& target) {
    const int opened = ::open(path.c_str(), O_PATH | O_CLOEXEC);
    const bool exists = opened >= 0;
    struct stat found {};
    if (!exists ? errno != ENOENT : !CloseAfter(opened, ::fstat(opened, &found) == 0)) {
        return false;
    }
    if (exists && !S_ISREG(found.st_mode) && !S_ISDIR(found.st_mode)) {
        target.ThroughName = path;
        target.Exists = true;
        target.State = found;
        return true;
    }
    // The links are never replaced by a file of their own name: a link that cannot be read
    // fails the save.
    std::string name;
    if (const int error = NameAtEndOfLinks(path, name); error != 0) {
        errno = error;
        return false;
    }
    target.FolderPath = FolderOf(name);
    target.Name = BaseNameOf(name).empty() ? "." : BaseNameOf(name);
    target.Folder = ::open(target.FolderPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (target.Folder < 0) {
        return false;
    }
    target.Exists =
        ::fstatat(target.Folder, target.Name.c_str(), &target.State, AT_SYMLINK_NOFOLLOW) == 0;
    if (!target.Exists && errno != ENOENT) {
        return false;
    }
    if (target.Exists != exists || (exists && !SameFile(found, target.State))) {
        errno = ChangedMeanwhile;
        return false;
    }
    return true;
}

// True when the target's name still holds what was found there (or still nothing).
bool StillAsFound(const TTarget& target) {
    struct stat now {};
    const bool exists =
        ::fstatat(target.Folder, target.Name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists && errno != ENOENT) {
        return false;
    }
    if (exists != target.Exists || (exists && !SameFile(now, target.State))) {
        errno = ChangedMeanwhile;
        return false;
    }
    return true;
}

// Flushes the target's folder, so that a rename in it is on the disk. A folder that may not be
// opened (written and searched but not read) cannot be flushed by us; the file is in place all
// the same, so only a failed flush counts. File systems that cannot flush a folder say so with
// EINVAL.
bool SyncFolder(const TTarget& target) {
    const int fd = ::openat(target.Folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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

// Writes bytes into the existing target itself, the very file that was found: a link or
// another file put under its name meanwhile fails the save. A regular file first has the room
// for the new content reserved (where the file system can reserve), so that a full disk fails
// before a byte of the earlier content changed; then it is overwritten, cut to the new length
// and flushed. A pipe is opened without waiting, so a pipe that nobody reads fails instead of
// hanging the program; the writes then wait for the reader as usual.
bool WriteInPlace(const TTarget& target, std::string_view bytes) {
    const bool regular = S_ISREG(target.State.st_mode);
    if (regular && !FitsFileSizeLimit(bytes.size())) {
        return false;
    }
    const int fd =
        target.ThroughName.empty()
            ? ::openat(target.Folder, target.Name.c_str(),
                       O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK)
            : ::open(target.ThroughName.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        errno = errno == ELOOP ? ChangedMeanwhile : errno;
        return false;
    }
    struct stat opened {};
    bool written = ::fstat(fd, &opened) == 0;
    if (written && !SameFile(opened, target.State)) {
        errno = ChangedMeanwhile;
        written = false;
    }
    written = written && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0;
    if (written && regular && !bytes.empty() &&
        ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes.size())) != 0) {
        written = errno == EOPNOTSUPP || errno == ENOSYS;
    }
    written = written && WriteAll(fd, bytes);
    written = written && (!regular || ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0);
    written = written && Flush(fd);
    return CloseAfter(fd, written);
}

// Gives a new file a private name beside the target: "." + the target's name, shortened where
// needed so the whole name stays within the folder's name limit, + "." + a random suffix.
// make(name) makes the name and answers as open or linkat do (EEXIST: taken, another is
// tried). temporary is the name made, empty when none was.
template <typename TMake>
int MakePrivateName(const TTarget& target, std::string& temporary, TMake make) {
    static thread_local std::minstd_rand suffixes(std::random_device{}());
    std::string base = target.Name;
    const long nameLimit = ::fpathconf(target.Folder, _PC_NAME_MAX);
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
        temporary = "." + base + "." + std::to_string(suffixes() % 1000000000);
        const int made = make(temporary.c_str());
        if (made >= 0 || errno != EEXIST) {
            if (made < 0) {
                temporary.clear();
            }
            return made;
        }
    }
    temporary.clear();
    return -1;
}

// Gives the finished unnamed file fd a name in the target's folder that must be free, through
// the process's own record of its files, or where that is missing, the kernel's way for
// privileged programs.
int LinkUnnamedFile(int fd, const TTarget& target, const char* name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), target.Folder, name, AT_SYMLINK_FOLLOW) == 0) {
        return 0;
    }
    return errno == ENOENT ? ::linkat(fd, "", target.Folder, name, AT_EMPTY_PATH) : -1;
}

// Names the finished unnamed file fd privately beside the target.
int NameUnnamedFile(int fd, const TTarget& target, std::string& temporary) {
    return MakePrivateName(target, temporary,
                           [&](const char* name) { return LinkUnnamedFile(fd, target, name); });
}

// Takes the target's free name for a finished file with a private name by reserving it: an
// empty file made under it with O_CREAT|O_EXCL, so that a file already there is never taken,
// then the finished file renamed over that reservation once it still holds the name. This is
// the way on file systems that can neither rename without replacing nor make a second name
// (exFAT and many network shares reached through FUSE).
int TakeReservedName(const TTarget& target, const std::string& temporary) {
    const int reserved = ::openat(target.Folder, target.Name.c_str(),
                                  O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (reserved < 0) {
        return -1;
    }
    struct stat reservation {};
    bool taken = ::fstat(reserved, &reservation) == 0;
    taken = CloseAfter(reserved, taken);
    struct stat now {};
    if (taken && (::fstatat(target.Folder, target.Name.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0 ||
                  !SameFile(now, reservation))) {
        errno = ChangedMeanwhile;  // the reservation was taken away: whatever is there stays
        return -1;
    }
    if (taken &&
        ::renameat(target.Folder, temporary.c_str(), target.Folder, target.Name.c_str()) == 0) {
        return 0;
    }
    const int error = errno;
    if (::fstatat(target.Folder, target.Name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
        SameFile(now, reservation)) {
        ::unlinkat(target.Folder, target.Name.c_str(), 0);
    }
    errno = error;
    return -1;
}

// True for the errors with which a file system says it has no such way of naming a file, as
// opposed to failing while it does.
bool IsUnsupported(int error) {
    return error == EINVAL || error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP ||
           error == EPERM;
}

// Moves the finished file of the private name temporary to the target's free name, never over
// a file; where the file system cannot rename so, the file is linked to the name and its
// private name removed, and where it cannot link either, the name is reserved first.
int TakeFreeName(const TTarget& target, const std::string& temporary) {
    if (::renameat2(target.Folder, temporary.c_str(), target.Folder, target.Name.c_str(),
                    RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (!IsUnsupported(errno) || errno == EPERM) {
        return -1;
    }
    if (::linkat(target.Folder, temporary.c_str(), target.Folder, target.Name.c_str(), 0) == 0) {
        ::unlinkat(target.Folder, temporary.c_str(), 0);
        return 0;
    }
    return IsUnsupported(errno) ? TakeReservedName(target, temporary) : -1;
}

// The names of a file's extended attributes, listed by list as listxattr lists them; none on
// a file system without them. False when they cannot be listed.
template <typename TList>
bool AttributeNames(TList list, std::vector<std::string>& names) {
    const ssize_t size = list(nullptr, 0);
    if (size <= 0) {
        return size == 0 || errno == ENOTSUP;
    }
    std::vector<char> listed(static_cast<std::size_t>(size));
    const ssize_t length = list(listed.data(), listed.size());
    for (ssize_t at = 0; at < length; at += static_cast<ssize_t>(names.back().size()) + 1) {
        names.emplace_back(listed.data() + at);
    }
    return length >= 0;
}

// Gives the new file fd every extended attribute of the target (its access control list
// among them) and no other: one it was born with that the target lacks (an access list from
// the folder's default one) is taken off. False when one of them cannot be read or set.
bool CopyExtendedAttributes(const std::string& target, int fd) {
    std::vector<std::string> wanted, present;
    if (!AttributeNames(
            [&](char* list, std::size_t size) { return ::llistxattr(target.c_str(), list, size); },
            wanted) ||
        !AttributeNames([&](char* list, std::size_t size) { return ::flistxattr(fd, list, size); },
                        present)) {
        return false;
    }
    for (const std::string& name : present) {
        if (std::find(wanted.begin(), wanted.end(), name) == wanted.end() &&
            ::fremovexattr(fd, name.c_str()) != 0) {
            return false;
        }
    }
    for (const std::string& name : wanted) {
        const ssize_t size = ::lgetxattr(target.c_str(), name.c_str(), nullptr, 0);
        std::vector<char> value(static_cast<std::size_t>(size > 0 ? size : 0));
        if (size < 0 ||
            ::lgetxattr(target.c_str(), name.c_str(), value.data(), value.size()) != size ||
            ::fsetxattr(fd, name.c_str(), value.data(), value.size(), 0) != 0) {
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

// Gives the finished new file what makes it the same file as the target in everything but
// its content: owner and group first (changing them clears set-ID bits), then the extended
// attributes, then the permission bits. False when one of them cannot be given. A file system
// that keeps no permission bits gives every file the same ones already.
bool MakeLikeTarget(const TTarget& target, int fd) {
    struct stat made {};
    if (::fstat(fd, &made) != 0) {
        return false;
    }
    const struct stat& existing = target.State;
    if ((made.st_uid != existing.st_uid || made.st_gid != existing.st_gid) &&
        ::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
        return false;
    }
    if (!CopyExtendedAttributes(target.FolderPath + "/" + target.Name, fd)) {
        return false;
    }
    const mode_t bits = existing.st_mode & 07777;
    return (made.st_mode & 07777) == bits || ::fchmod(fd, bits) == 0;
}

// Done; Failed; or Refused: nothing was changed because the folder refuses new files or the
// new file may not be given the target's owner, attributes or bits.
enum class TReplaced { Done, Failed, Refused };

// Writes bytes into a new file in the target's folder and renames it over the target. The new
// file is out of reach of others until it is complete: it has no name where the file system
// can make such a file (it is made with 0666, so that the umask or the folder's default access
// list give it exactly what any new file gets there), else a private name with bits 0600, to
// be given 0666 less the umask. On failure the new file is gone; named is set when it took
// the target's name and only the flush of the folder failed.
TReplaced Replace(const TTarget& target, std::string_view bytes, bool& named) {
    std::string temporary;
    int fd = ::openat(target.Folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    const bool unnamed = fd >= 0;
    if (!unnamed && (errno == EOPNOTSUPP || errno == EISDIR)) {
        fd = MakePrivateName(target, temporary, [&](const char* name) {
            return ::openat(target.Folder, name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        });
    }
    if (fd < 0) {
        return errno == EACCES || errno == EPERM ? TReplaced::Refused : TReplaced::Failed;
    }
    // One flush, once the content and what makes it the target's are both there.
    bool written = WriteAll(fd, bytes);
    bool refused = false;
    if (written && target.Exists) {
        written = MakeLikeTarget(target, fd);
        refused = !written && IsRefusal(errno);
    } else if (written && !unnamed) {
        // A file system that keeps no permission bits refuses the change; nothing is lost.
        [[maybe_unused]] const int moded = ::fchmod(fd, NewFileMode());
    }
    written = written && ::fsync(fd) == 0;
    if (!target.Exists) {
        // A free name is taken without replacing: a file that appeared under it meanwhile
        // (another save, or this command's other file through a link) is kept, and the save
        // fails with EEXIST.
        written = written && (unnamed ? LinkUnnamedFile(fd, target, target.Name.c_str())
                                      : TakeFreeName(target, temporary)) == 0;
        written = CloseAfter(fd, written);
        if (!written) {
            const int error = errno;
            if (!temporary.empty()) {
                ::unlinkat(target.Folder, temporary.c_str(), 0);
            }
            errno = error;
            return TReplaced::Failed;
        }
        named = !SyncFolder(target);
        return named ? TReplaced::Failed : TReplaced::Done;
    }
    written = written && (!unnamed || NameUnnamedFile(fd, target, temporary) == 0);
    written = CloseAfter(fd, written) && StillAsFound(target);
    if (written && InstalledRename != nullptr) {
        written = InstalledRename((target.FolderPath + "/" + temporary).c_str(),
                                  (target.FolderPath + "/" + target.Name).c_str()) == 0;
    } else if (written) {
        written =
            ::renameat(target.Folder, temporary.c_str(), target.Folder, target.Name.c_str()) == 0;
    }
    if (!written) {
        const int error = errno;
        if (!temporary.empty()) {
            ::unlinkat(target.Folder, temporary.c_str(), 0);
        }
        errno = error;
        return refused ? TReplaced::Refused : TReplaced::Failed;
    }
    named = !SyncFolder(target);
    return named ? TReplaced::Failed : TReplaced::Done;
}

// The whole write; false with errno set by the step that failed, and named set when the new
// file took the name all the same.
bool WriteWhole(const std::string& path, std::string_view bytes, bool& named) {
    if (path.empty()) {
        errno = ENOENT;
        return false;
    }
    const TBrokenPipeGuard brokenPipe;
    TTarget target;
    if (!Resolve(path, target)) {
        return false;
    }
    if (!target.Exists) {
        return Replace(target, bytes, named) == TReplaced::Done;
    }
    if (!S_ISREG(target.State.st_mode)) {
        return WriteInPlace(target, bytes);
    }
    if (::faccessat(target.Folder, target.Name.c_str(), W_OK, AT_EACCESS | AT_SYMLINK_NOFOLLOW) !=
        0) {
        return false;
    }
    // A file with other names keeps them all only when it is written in place; so does one
    // that a new file may not be made like, or whose folder refuses new files.
    if (target.State.st_nlink > 1) {
        return WriteInPlace(target, bytes);
    }
    const TReplaced replaced = Replace(target, bytes, named);
    return replaced == TReplaced::Done ||
           (replaced == TReplaced::Refused && WriteInPlace(target, bytes));
}

}  // namespace

std::string ErrorReason(int error) {
    static const locale_t english = ::newlocale(LC_ALL_MASK, "C", locale_t{});
    return english != locale_t{} ? ::strerror_l(error, english) : ::strerror(error);
}

TWriteResult WriteWholeFile(const std::string& path, std::string_view bytes) {
    errno = 0;
    bool named = false;
    if (WriteWhole(path, bytes, named)) {
        return {};
    }
    // Every failing step leaves its error; should one ever leave none, EIO stands in, so that
    // a failure never reads as success.
    return {errno != 0 ? errno : EIO, named};
}

void SetRenameFunction(TRenameFunction rename) {
    InstalledRename = rename;
}
