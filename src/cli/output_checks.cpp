#include "cli/output_checks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "files/file_identity.h"
#include "files/file_writer.h"

namespace {

// The standard streams that were closed at start, each with the pipe now in its place.
struct TClosedStream {
    bool Closed = false;
    TFileIdentity Plug;
};
std::array<TClosedStream, 3> ClosedStreams;

constexpr const char* StreamNames[3] = {"standard input", "standard output", "standard error"};

// The closed standard stream the file is, or -1.
int ClosedStreamOf(const std::string& path, bool output) {
    if (path == "-") {
        const int stream = output ? STDOUT_FILENO : STDIN_FILENO;
        return ClosedStreams[static_cast<std::size_t>(stream)].Closed ? stream : -1;
    }
    const TFileIdentity identity = IdentityOfName(path);
    for (int stream = 0; stream < 3; ++stream) {
        const TClosedStream& closed = ClosedStreams[static_cast<std::size_t>(stream)];
        if (closed.Closed && IsOneFile(identity, closed.Plug)) {
            return stream;
        }
    }
    return -1;
}

TFileIdentity IdentityOf(const std::string& path, bool output) {
    return path == "-" ? IdentityOfDescriptor(output ? STDOUT_FILENO : STDIN_FILENO)
                       : IdentityOfName(path);
}

bool IsNullDevice(const TFileIdentity& identity) {
    struct stat null {};
    struct stat status {};
    return identity.Exists && S_ISCHR(identity.Mode) && ::stat("/dev/null", &null) == 0 &&
           ::stat(identity.Path.c_str(), &status) == 0 && status.st_rdev == null.st_rdev;
}

std::string Named(const TFileOperand& file) {
    return file.Role + " " + file.Path;
}

std::string WouldReplace(const TFileOperand& output, const TFileOperand& input) {
    return Named(output) + " would replace " + Named(input) + ", which is read";
}

}  // namespace

void HoldClosedStandardStreams() {
    for (int stream = 0; stream < 3; ++stream) {
        if (::fcntl(stream, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) {
            continue;
        }
        // Both ends away from the standard numbers first, then the one the stream reads or
        // writes put in its place; a write end keeps its reader, so that a write there is
        // lost rather than the end of the command, and never waits.
        const int read = ::fcntl(ends[0], F_DUPFD_CLOEXEC, 3);
        const int write = ::fcntl(ends[1], F_DUPFD_CLOEXEC, 3);
        ::close(ends[0]);
        ::close(ends[1]);
        if (read < 0 || write < 0 || ::dup2(stream == 0 ? read : write, stream) != stream) {
            continue;
        }
        if (stream == 0) {
            ::close(write);  // a reader of standard input sees its end at once
            ::close(read);
        } else {
            ::close(write);  // the reader stays open, on its own number, until the end
            ::fcntl(stream, F_SETFL, O_NONBLOCK);
        }
        ClosedStreams[static_cast<std::size_t>(stream)] = {true, IdentityOfDescriptor(stream)};
    }
}

std::string OutputProblem(const std::vector<TFileOperand>& inputs,
                          const std::vector<TFileOperand>& outputs) {
    for (const auto* files : {&inputs, &outputs}) {
        for (const TFileOperand& file : *files) {
            const int stream = ClosedStreamOf(file.Path, files == &outputs);
            if (stream >= 0) {
                return Named(file) + ": " + StreamNames[stream] + " is closed";
            }
        }
    }
    std::vector<TFileIdentity> read;
    for (const TFileOperand& input : inputs) {
        read.push_back(IdentityOf(input.Path, false));
    }
    std::vector<TFileIdentity> written;
    for (const TFileOperand& output : outputs) {
        const TFileIdentity identity = IdentityOf(output.Path, true);
        for (std::size_t earlier = 0; earlier < written.size(); ++earlier) {
            if (IsOneFile(written[earlier], identity) && !IsNullDevice(identity)) {
                return Named(outputs[earlier]) + " and " + Named(output) + " are one file";
            }
        }
        for (std::size_t input = 0; input < inputs.size(); ++input) {
            if (identity.Exists && IsOneFile(read[input], identity) && !S_ISCHR(identity.Mode)) {
                return WouldReplace(output, inputs[input]);
            }
        }
        written.push_back(identity);
    }
    return {};
}

std::string OpenInputProblem(const std::vector<TOpenInput>& inputs,
                             const std::vector<TFileOperand>& outputs) {
    for (const TFileOperand& output : outputs) {
        const TFileIdentity identity = IdentityOf(output.Path, true);
        for (const TOpenInput& input : inputs) {
            if (identity.Exists && !S_ISCHR(identity.Mode) &&
                IsOneFile(identity, IdentityOfDescriptor(input.Descriptor))) {
                return WouldReplace(output, *input.File);
            }
        }
    }
    return {};
}

std::string OutputFolderProblem(const std::vector<TFileOperand>& outputs) {
    for (const TFileOperand& output : outputs) {
        if (output.Path == "-") {
            continue;
        }
        const TFileIdentity identity = IdentityOfName(output.Path);
        if (const int error = WritableError(identity); error != 0) {
            const std::string where = identity.Exists || identity.FolderPath.empty()
                                          ? std::string()
                                          : " (in the folder " + identity.FolderPath + ")";
            return Named(output) + " cannot be written" + where + ": " + ErrorReason(error) +
                   "; nothing written";
        }
    }
    return {};
}

std::string WrittenAlreadyProblem(const TFileOperand& output,
                                  const std::vector<const TFileOperand*>& written) {
    if (output.Path == "-") {
        return {};
    }
    const TFileIdentity identity = IdentityOfName(output.Path);
    for (const TFileOperand* earlier : written) {
        if (earlier->Path != "-" && IsOneFile(identity, IdentityOfName(earlier->Path)) &&
            !IsNullDevice(identity)) {
            return Named(output) + " now leads to " + Named(*earlier) +
                   ", just written; not written";
        }
    }
    return {};
}
