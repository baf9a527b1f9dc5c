#include "files/file_identity.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <random>

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

int NameAtEndOfLinks(const std::string& path, std::string& name) {
    name = path;
    for (int hop = 0;; ++hop) {
        struct stat state {};
        if (::lstat(name.c_str(), &state) != 0 || !S_ISLNK(state.st_mode)) {
            return 0;
        }
        if (hop == 40) {
            return ELOOP;
        }
        std::string text(PATH_MAX, '\0');
        const ssize_t length = ::readlink(name.c_str(), text.data(), text.size());
        if (length < 0) {
            return errno;
        }
        if (static_cast<std::size_t>(length) == text.size()) {
            return ENAMETOOLONG;
        }
        text.resize(static_cast<std::size_t>(length));
        name = text.front() == '/' ? text : FolderOf(name) + "/" + text;
    }
}

namespace {

void TakeFile(TFileIdentity& identity, const struct stat& found) {
    identity.Exists = true;
    identity.Device = found.st_dev;
    identity.Inode = found.st_ino;
    identity.Mode = found.st_mode;
}

// Closes a descriptor on every way out.
struct TOpened {
    int Fd;
    ~TOpened() {
        if (Fd >= 0) {
            ::close(Fd);
        }
    }
};

// Asks the folder whether it takes a and b for one name: a private file is made under a
// private prefix and a, then one under the same prefix and b, which the folder refuses as
// there already when it takes the names as one; both are removed. (Inode numbers cannot tell:
// some file systems through FUSE number each spelling of a name afresh.) Where a name with the
// prefix is too long, a itself (free) is made for the moment. Nothing when the folder cannot be
// asked (it may not be written, or refuses one of the names).
std::optional<bool> FolderTakesAsOne(const std::string& folderPath, const std::string& a,
                                     const std::string& b) {
    const TOpened folder{::open(folderPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)};
    if (folder.Fd < 0) {
        return std::nullopt;
    }
    static thread_local std::minstd_rand suffixes(std::random_device{}());
    constexpr int Flags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW;
    bool prefixed = true;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string prefix =
            prefixed ? ".meshloom-probe-" + std::to_string(suffixes() % 1000000000) + "-" : "";
        const std::string first = prefix + a;
        const TOpened made{::openat(folder.Fd, first.c_str(), Flags, 0600)};
        if (made.Fd < 0) {
            if (errno == ENAMETOOLONG && prefixed) {
                prefixed = false;
                continue;
            }
            if (errno == EEXIST && prefixed) {
                continue;
            }
            return std::nullopt;
        }
        const std::string second = prefix + b;
        const TOpened other{::openat(folder.Fd, second.c_str(), Flags, 0600)};
        const int error = errno;
        if (other.Fd >= 0) {
            ::unlinkat(folder.Fd, second.c_str(), 0);
        }
        ::unlinkat(folder.Fd, first.c_str(), 0);
        if (other.Fd < 0 && error != EEXIST) {
            return std::nullopt;
        }
        return other.Fd < 0;
    }
    return std::nullopt;
}

bool SameIgnoringAsciiCase(const std::string& a, const std::string& b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

// Two names of plain ASCII are one name in a folder that folds them only when they differ in
// the case of letters alone; names with other characters may be one in many more ways
// (composed and decomposed forms among them), which only the folder knows.
bool MayBeOneName(const std::string& a, const std::string& b) {
    const auto ascii = [](const std::string& name) {
        return std::all_of(name.begin(), name.end(),
                           [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    };
    return !(ascii(a) && ascii(b)) || SameIgnoringAsciiCase(a, b);
}

// Two names in one folder (a.FolderPath) are one file: the same bytes, or names the folder
// takes as one; where it cannot be asked, names that differ only in ASCII case count as one.
bool OneNameInFolder(const TFileIdentity& a, const TFileIdentity& b) {
    if (a.FolderDevice != b.FolderDevice || a.FolderInode != b.FolderInode ||
        a.FolderPath.empty() || b.FolderPath.empty()) {
        return false;
    }
    if (a.Name == b.Name) {
        return true;
    }
    if (!MayBeOneName(a.Name, b.Name)) {
        return false;
    }
    const std::optional<bool> one = FolderTakesAsOne(a.FolderPath, a.Name, b.Name);
    return one ? *one : SameIgnoringAsciiCase(a.Name, b.Name);
}

}  // namespace

TFileIdentity IdentityOfName(const std::string& path) {
    TFileIdentity identity;
    identity.Path = path;
    struct stat found {};
    if (path.empty()) {
        identity.Error = ENOENT;
        return identity;
    }
    if (::stat(path.c_str(), &found) == 0) {
        TakeFile(identity, found);
    } else if (errno != ENOENT) {
        identity.Error = errno;
        return identity;
    }
    // A free name, or a link to one: the name at the end of the links is the one made.
    std::string name;
    if (const int error = NameAtEndOfLinks(path, name); error != 0) {
        if (!identity.Exists) {
            identity.Error = error;
        }
        return identity;
    }
    identity.FolderPath = FolderOf(name);
    identity.Name = BaseNameOf(name).empty() ? "." : BaseNameOf(name);
    struct stat folder {};
    const bool isThere = ::stat(identity.FolderPath.c_str(), &folder) == 0;
    const int error = errno;
    if (isThere && S_ISDIR(folder.st_mode)) {
        identity.FolderDevice = folder.st_dev;
        identity.FolderInode = folder.st_ino;
    } else if (!identity.Exists) {
        identity.Error = isThere ? ENOTDIR : error;
    } else {
        identity.FolderPath.clear();  // there, but not reached through a folder by its name
    }
    return identity;
}

TFileIdentity IdentityOfDescriptor(int fd) {
    TFileIdentity identity;
    identity.Path = "/proc/self/fd/" + std::to_string(fd);
    struct stat found {};
    if (::fstat(fd, &found) == 0) {
        TakeFile(identity, found);
    } else {
        identity.Error = errno;
    }
    return identity;
}

bool IsOneFile(const TFileIdentity& a, const TFileIdentity& b) {
    if (a.Error != 0 || b.Error != 0 || a.Exists != b.Exists) {
        return false;
    }
    if (a.Exists && a.Device == b.Device && a.Inode == b.Inode) {
        return true;
    }
    // Two files there that are regular files in one folder may still be one name there.
    if (a.Exists && !(S_ISREG(a.Mode) && S_ISREG(b.Mode) && a.Device == b.Device)) {
        return false;
    }
    return OneNameInFolder(a, b);
}

bool IsOneFile(const std::string& a, const std::string& b) {
    return IsOneFile(IdentityOfName(a), IdentityOfName(b));
}

int WritableError(const TFileIdentity& identity) {
    if (identity.Error != 0) {
        return identity.Error;
    }
    if (identity.Exists) {
        if (!S_ISREG(identity.Mode)) {
            return S_ISDIR(identity.Mode) ? EISDIR : 0;
        }
        return ::faccessat(AT_FDCWD, identity.Path.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : errno;
    }
    return ::faccessat(AT_FDCWD, identity.FolderPath.c_str(), W_OK | X_OK, AT_EACCESS) == 0 ? 0
                                                                                            : errno;
}
