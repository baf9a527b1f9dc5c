#include "files/network_file_reader.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <strings.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

// Closes the descriptor on every way out.
class TDescriptor {
  public:
    explicit TDescriptor(int fd) : Fd(fd) {}
    ~TDescriptor() {
        if (Fd >= 0) {
            ::close(Fd);
        }
    }
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    int Get() const { return Fd; }

  private:
    int Fd;
};

bool Exists(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0;
}

}  // namespace

TReadResult ReadNetworkFile(const std::string& path, std::size_t limit) {
    // No wait on a pipe without a writer and no terminal taken over by the open.
    const TDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.Get() < 0) {
        TReadResult result;
        result.Error = errno;
        return result;
    }
    return ReadNetworkDescriptor(fd.Get(), limit);
}

TReadResult ReadNetworkDescriptor(int fd, std::size_t limit) {
    TReadResult result;
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        result.Error = errno;
        return result;
    }
    if (!S_ISREG(status.st_mode)) {
        result.NotAFile = true;
        result.Error = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
        return result;
    }
    if (status.st_size < 0 || static_cast<std::size_t>(status.st_size) > limit) {
        result.TooLarge = true;
        result.Error = EFBIG;
        return result;
    }
    // One byte more than the file's size is asked for, to learn whether it grew, and the room
    // grows with it up to one byte past the bound (not the bound's room at once, which a large
    // bound would fill with zeros at every read).
    result.Text.resize(static_cast<std::size_t>(status.st_size) + 1);
    std::size_t have = 0;
    while (have < result.Text.size() || have <= limit) {
        if (have == result.Text.size()) {
            result.Text.resize(std::min(limit + 1, std::max<std::size_t>(2 * have, 4096)));
        }
        const ssize_t got = ::read(fd, result.Text.data() + have, result.Text.size() - have);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            result.Error = errno;
            result.Text.clear();
            return result;
        }
        if (got == 0) {
            break;
        }
        have += static_cast<std::size_t>(got);
    }
    if (have > limit) {
        result.TooLarge = true;
        result.Error = EFBIG;
        result.Text.clear();
        return result;
    }
    result.Text.resize(have);
    return result;
}

std::string ReadFailureText(const TReadResult& result, std::size_t limit) {
    if (result.TooLarge) {
        return "It is larger than " + std::to_string(limit) + " bytes, more than a network holds.";
    }
    if (result.NotAFile) {
        return result.Error == EISDIR ? "It is a folder, not a file."
                                      : "It is not a plain file (a pipe, a device or a socket).";
    }
    return std::string(std::strerror(result.Error)) + ".";
}

std::string DistanceFileFor(const std::string& demandPath) {
    const std::size_t slash = demandPath.rfind('/');
    const std::size_t dot = demandPath.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string stem = hasExtension ? demandPath.substr(0, dot) : demandPath;
    const std::string extension = hasExtension ? demandPath.substr(dot + 1) : std::string();
    const bool lower = !extension.empty() &&
                       extension.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == std::string::npos;
    const char* const order[] = {lower ? "ned" : "NED", lower ? "NED" : "ned"};
    for (const char* ned : order) {
        if (Exists(stem + "." + ned)) {
            return stem + "." + ned;
        }
    }
    // Any other case, looked up in the folder.
    const std::string folder = slash == std::string::npos ? "." : demandPath.substr(0, slash + 1);
    const std::string base = stem.substr(slash == std::string::npos ? 0 : slash + 1) + ".ned";
    std::string found = stem + "." + order[0];
    DIR* directory = ::opendir(folder.c_str());
    if (directory == nullptr) {
        return found;
    }
    while (const dirent* entry = ::readdir(directory)) {
        if (::strcasecmp(entry->d_name, base.c_str()) == 0 &&
            std::strncmp(entry->d_name, base.c_str(), base.size() - 3) == 0) {
            found = (slash == std::string::npos ? std::string() : folder) + entry->d_name;
            break;
        }
    }
    ::closedir(directory);
    return found;
}
