// What a save leaves on disk when the disk, the folder or the target stands in the way: the
// faults are made by the operating system itself (a file-size limit, a full file system,
// folder permissions, a pipe, hard links, extended attributes, a failing disk), not by a
// stand-in for the writer.

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <linux/loop.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <optional>
#include <thread>

#include "core/file_texts/data_files.h"
#include "core/network/network_store.h"
#include "core/network/shortest_paths.h"
#include "platform/services/network_file_writer.h"
#include "support/test_files.h"
#include "support/unflushable_folder.h"

namespace {

constexpr uid_t Nobody = 65534;
const QByteArray Earlier = "an earlier save\r\n";

// nodes nodes with different values, joined in a one-way ring, with the paths completed.
void MakeNetwork(int nodes) {
    ResetNetworkStore();
    Network.LinkRows.AllocateRows(nodes);
    for (int node = 1; node <= nodes; ++node) {
        Network.NumNodes = node;
        Network.NodeNames[node] = "Node " + std::to_string(node);
        Network.FirstDemands[node] = Real48::Narrow(node * 1.25L);
        Network.SecondDemands[node] = Real48::Narrow(node);
        Network.FixedCosts[node] = Real48::Narrow(10000 - node);
        for (int other = 1; other <= nodes; ++other) {
            Network.LinkRows[node][other] = NoLink;
        }
        Network.LinkRows[node][node % nodes + 1] = 7;
    }
    CompleteShortestPaths(Network);
}

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                  QDir::NoDotAndDotDot);
}

// Runs body in a child process, first dropping to the unprivileged user when asked and we
// are root (a member of group too, when one is given), and applying a file-size limit when
// one is given (writes beyond it then fail with EFBIG instead of killing the process). The
// child's answer, or -1 if it did not end normally (a signal ended it).
int RunInChild(const std::function<bool()>& body, rlim_t sizeLimit = RLIM_INFINITY,
               bool unprivileged = false, gid_t group = Nobody) {
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        signal(SIGPIPE, SIG_DFL);
        if (unprivileged && geteuid() == 0 &&
            (setgroups(1, &group) != 0 || setgid(Nobody) != 0 || setuid(Nobody) != 0)) {
            _exit(3);
        }
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = sizeLimit;
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            _exit(4);
        }
        _exit(body() ? 1 : 0);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

// True when result is a failure for reason.
bool FailedFor(const TWriteResult& result, const char* reason) {
    return ErrorReason(result.Error) == reason;
}

TWriteResult WriteFile(bool distances, const QString& name) {
    return distances ? WriteDistanceFile(name) : WriteDemandDataFile(name);
}

QByteArray FileText(bool distances) {
    return QByteArray::fromStdString(distances ? DistanceFileText(Network)
                                               : DemandDataFileText(Network));
}

// Every extended attribute of the file at path (its access control list among them).
QByteArray Attributes(const QString& path) {
    const QByteArray file = QFile::encodeName(path);
    QByteArray names(4096, '\0'), attributes;
    names.resize(qMax<ssize_t>(listxattr(file, names.data(), names.size()), 0));
    for (const QByteArray& name : names.split('\0')) {
        QByteArray value(4096, '\0');
        value.resize(qMax<ssize_t>(getxattr(file, name, value.data(), value.size()), 0));
        attributes += name + '=' + value + '\n';
    }
    return attributes;
}

// The permission bits, owner, group and number of names of the file at path.
QList<uint> Stat(const QString& path) {
    struct stat state {};
    stat(QFile::encodeName(path), &state);
    return {state.st_mode & 07777, state.st_uid, state.st_gid, uint(state.st_nlink)};
}

// An access control list, version 2: user::rw-, user 1234 rw-, group::r--, mask::rw-, other::---.
const quint32 AccessList[] = {2, 0x60001, ~0u, 0x60002, 1234, 0x40004, ~0u, 0x60010, ~0u, 32, ~0u};

// Ends the process that meets the file-size limit with 1 when the temporary file it writes
// is private, 2 when others may read it, 3 when it has no name.
const char* WatchedFolder = nullptr;
void ReportTemporaryBits(int) {
    DIR* folder = opendir(WatchedFolder);
    for (dirent* entry = readdir(folder); entry != nullptr; entry = readdir(folder)) {
        struct stat state {};
        if (entry->d_name[0] == '.' && fstatat(dirfd(folder), entry->d_name, &state, 0) == 0 &&
            S_ISREG(state.st_mode)) {
            _exit((state.st_mode & 077) == 0 ? 1 : 2);
        }
    }
    _exit(3);
}

}  // namespace

class TestFileWriter : public QObject {
    Q_OBJECT
  private slots:
    void cleanup();
    void WritesBothFilesAndNothingElse();
    void SuccessReplacesAnEarlierFile();
    void MissingFolderFails();
    void ReplacingKeepsPermissionsAndLeavesNothingElse();
    void FileSizeLimitKeepsTheEarlierFile_data();
    void FileSizeLimitKeepsTheEarlierFile();
    void FailedMoveKeepsTheEarlierFile();
    void FullFileSystemKeepsTheEarlierFile();
    void WritableFileInReadOnlyFolderIsWrittenInPlace();
    void ReadOnlyFileIsNotReplaced();
    void PipeStaysAPipe();
    void SharedFilesAndOddFolders_data();
    void SharedFilesAndOddFolders();
    void TemporaryFileIsPrivate();
};

void TestFileWriter::cleanup() {
    SetRenameFunction(nullptr);
    ResetNetworkStore();
}

// The files hold their texts (core/file_texts/data_files.h, tested byte for byte there) exactly.
void TestFileWriter::WritesBothFilesAndNothingElse() {
    MakeNetwork(2);
    QTemporaryDir folder;
    QVERIFY(WriteDemandDataFile(folder.filePath("EXAMPLE.NET")));
    const mode_t mask = umask(027);  // a new file gets 0666 less the umask, as any other
    QVERIFY(WriteDistanceFile(folder.filePath("EXAMPLE.NED")));
    umask(mask);
    QCOMPARE(Stat(folder.filePath("EXAMPLE.NED")).at(0), 0640u);
    QCOMPARE(FileBytes(folder.filePath("EXAMPLE.NET")), FileText(false));
    QCOMPARE(FileBytes(folder.filePath("EXAMPLE.NED")), FileText(true));
    QCOMPARE(Entries(folder.path()), (QStringList{"EXAMPLE.NED", "EXAMPLE.NET"}));
}

void TestFileWriter::SuccessReplacesAnEarlierFile() {
    MakeNetwork(2);
    QTemporaryDir folder;
    const QString name = folder.filePath("EXAMPLE.NET");
    PutFile(name, QByteArray(10000, 'x'));
    QVERIFY(WriteDemandDataFile(name));
    QCOMPARE(FileBytes(name), FileText(false));
}

void TestFileWriter::MissingFolderFails() {
    MakeNetwork(2);
    QTemporaryDir folder;
    QVERIFY(!WriteDemandDataFile(folder.filePath("missing/EXAMPLE.NET")));
    QVERIFY(!WriteDistanceFile(folder.filePath("missing/EXAMPLE.NED")));
    QVERIFY(!WriteDistanceFile(QString()));
    QVERIFY(FailedFor(WriteDemandDataFile(folder.filePath("a/b")), "No such file or directory"));
    QVERIFY(FailedFor(WriteDistanceFile(QString()), "No such file or directory"));
    QCOMPARE(Entries(folder.path()), QStringList());
}

void TestFileWriter::ReplacingKeepsPermissionsAndLeavesNothingElse() {
    MakeNetwork(2);
    QTemporaryDir folder;
    const QString name = folder.filePath("plan.NET");
    PutFile(name, QByteArray(20000, 'x'));
    QVERIFY(chmod(QFile::encodeName(name), 0604) == 0);
    QVERIFY(WriteDemandDataFile(name));
    QCOMPARE(FileBytes(name), FileText(false));
    QCOMPARE(QFileInfo(name).permissions(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                                QFile::WriteUser | QFile::ReadOther);
    QCOMPARE(Entries(folder.path()), QStringList{"plan.NET"});
}

// The file system stops the write after limit bytes, as a full disk does: at once, in the
// middle, one byte short, or with exactly enough room. Small and large files of each kind,
// the large ones beyond any buffer of the writer.
void TestFileWriter::FileSizeLimitKeepsTheEarlierFile_data() {
    QTest::addColumn<bool>("distances");
    QTest::addColumn<int>("nodes");
    QTest::addColumn<QString>("limit");
    for (const bool distances : {false, true}) {
        for (const int nodes : {2, 150}) {
            for (const char* limit : {"0", "half", "size-1", "size"}) {
                QTest::addRow("%s file, %d nodes, limit %s", distances ? "distance" : "demand",
                              nodes, limit)
                    << distances << nodes << QString::fromLatin1(limit);
            }
        }
    }
}

void TestFileWriter::FileSizeLimitKeepsTheEarlierFile() {
    QFETCH(bool, distances);
    QFETCH(int, nodes);
    QFETCH(QString, limit);
    MakeNetwork(nodes);
    const QByteArray text = FileText(distances);
    const qint64 size = text.size();
    const qint64 room = limit == "half"     ? size / 2
                        : limit == "size-1" ? size - 1
                        : limit == "size"   ? size
                                            : 0;
    QTemporaryDir folder;
    const QString name = folder.filePath("plan.DAT");
    PutFile(name, Earlier);

    const int written = RunInChild([&] { return WriteFile(distances, name); }, room);

    const bool fits = room == size;
    QCOMPARE(written, fits ? 1 : 0);
    QCOMPARE(FileBytes(name), fits ? text : Earlier);
    QCOMPARE(Entries(folder.path()), QStringList{"plan.DAT"});
}

void TestFileWriter::FailedMoveKeepsTheEarlierFile() {
    MakeNetwork(3);
    QTemporaryDir folder;
    const QString name = folder.filePath("plan.NED");
    PutFile(name, Earlier);
    SetRenameFunction([](const char*, const char*) {
        errno = EIO;
        return -1;
    });
    QVERIFY(!WriteDistanceFile(name));
    QCOMPARE(FileBytes(name), Earlier);
    QCOMPARE(Entries(folder.path()), QStringList{"plan.NED"});
}

// A small file system with 8 KiB left, and filled to the brim: files of 2 to 150 nodes
// fail, and the earlier file stays as it was, replaced or (in a folder the saver may not
// write) written in place; so does a disk whose storage lies there.
void TestFileWriter::FullFileSystemKeepsTheEarlierFile() {
    QTemporaryDir folder;
    const QByteArray mountPoint = QFile::encodeName(folder.path());
    if (mount("tmpfs", mountPoint.constData(), "tmpfs", MS_NOSUID | MS_NODEV, "size=256k") != 0) {
        QSKIP(
            "A small file system can be mounted only with the right to mount (as root); the "
            "file-size limit covers the same failures.");
    }
    const auto unmount = qScopeGuard([&] { umount2(mountPoint.constData(), MNT_DETACH); });
    const QString name = folder.filePath("plan.DAT");
    PutFile(name, Earlier);
    // The storage of a disk, which takes no room until the disk is written.
    const int storage = open(mountPoint + "/disk", O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    QVERIFY(storage >= 0 && ftruncate(storage, 4 << 20) == 0);
    for (const qint64 spare : {8192, 0}) {
        // Fill the file system, then give back spare bytes.
        QFile filler(folder.filePath("filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Truncate));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        filler.close();
        QVERIFY(filler.resize(qMax<qint64>(filler.size() - spare, 0)));
        QVERIFY(chmod(QFile::encodeName(name), 0666) == 0);
        for (const bool inPlace : {false, true}) {
            QVERIFY(chmod(mountPoint.constData(), inPlace ? 0555 : 01777) == 0);
            for (const auto& [distances, nodes] : {std::pair{false, 2},
                                                   {false, 60},
                                                   {false, 150},
                                                   {true, 10},
                                                   {true, 45},
                                                   {true, 150}}) {
                MakeNetwork(nodes);
                // In place, a file that fits the room the earlier one holds is no test.
                if (FileText(distances).size() <= spare + (inPlace ? 4096 : 0)) {
                    continue;
                }
                QVERIFY2(RunInChild(
                             [&] {
                                 return FailedFor(WriteFile(distances, name),
                                                  "No space left on device");
                             },
                             RLIM_INFINITY, inPlace) == 1,
                         qPrintable(QStringLiteral("%1 nodes saved on a full disk").arg(nodes)));
                QCOMPARE(FileBytes(name), Earlier);
                QCOMPARE(Entries(folder.path()), (QStringList{"disk", "filler", "plan.DAT"}));
            }
        }
        QVERIFY(chmod(mountPoint.constData(), 01777) == 0);
    }
    // A disk whose storage fails under the data (a loop device over that file): the writes
    // land in the device's cache, and the failed flush is reported.
    const int control = open("/dev/loop-control", O_RDWR | O_CLOEXEC);
    const int number = control < 0 ? -1 : ioctl(control, LOOP_CTL_GET_FREE);
    const QByteArray device = "/dev/loop" + QByteArray::number(number);
    const int loop = number < 0 ? -1 : open(device.constData(), O_RDWR | O_CLOEXEC);
    if (loop < 0 || ioctl(loop, LOOP_SET_FD, storage) != 0) {
        QSKIP("No loop device can be made here (it needs /dev/loop-control).");
    }
    MakeNetwork(150);  // about 150 KB
    QVERIFY(!WriteDistanceFile(QFile::decodeName(device)));
    ioctl(loop, LOOP_CLR_FD, 0);
    for (const int fd : {loop, control, storage}) {
        close(fd);
    }
}

// A folder the planner may not write holding a file they may: the file is written in place.
// As root, the writer runs as an unprivileged user, for whom the folder's bits count.
void TestFileWriter::WritableFileInReadOnlyFolderIsWrittenInPlace() {
    MakeNetwork(60);
    QTemporaryDir top;
    QVERIFY(QFile::setPermissions(top.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                  QFile::ExeOwner | QFile::ReadOther |
                                                  QFile::ExeOther));
    const QString folder = top.filePath("shared");
    QVERIFY(QDir().mkdir(folder));
    const QString name = folder + "/plan.NET";
    const QString fresh = folder + "/new.NET";
    PutFile(name, Earlier);
    QVERIFY(chmod(QFile::encodeName(name), 0666) == 0);
    QVERIFY(chmod(QFile::encodeName(folder), 0555) == 0);

    QCOMPARE(RunInChild([&] { return WriteDemandDataFile(name); }, RLIM_INFINITY, true), 1);
    QCOMPARE(FileBytes(name), FileText(false));
    // No new file in that folder, and a full disk in place is reported before a byte changed.
    QCOMPARE(RunInChild([&] { return WriteDemandDataFile(fresh); }, RLIM_INFINITY, true), 0);
    PutFile(name, Earlier);
    QCOMPARE(RunInChild([&] { return FailedFor(WriteDemandDataFile(name), "File too large"); }, 100,
                        true),
             1);
    QCOMPARE(FileBytes(name), Earlier);
    QCOMPARE(Entries(folder), QStringList{"plan.NET"});
    QCOMPARE(QFileInfo(name).permissions() & QFile::WriteOther, QFile::WriteOther);
    chmod(QFile::encodeName(folder), 0755);
}

// A file the planner may not write, in a folder they may: it is not swapped for a new one.
void TestFileWriter::ReadOnlyFileIsNotReplaced() {
    MakeNetwork(2);
    QTemporaryDir folder;
    QVERIFY(chmod(QFile::encodeName(folder.path()), 0777) == 0);
    const QString name = folder.filePath("plan.NET");
    PutFile(name, Earlier);
    QVERIFY(chmod(QFile::encodeName(name), 0444) == 0);
    QCOMPARE(RunInChild([&] { return FailedFor(WriteDemandDataFile(name), "Permission denied"); },
                        RLIM_INFINITY, true),
             1);
    QCOMPARE(FileBytes(name), Earlier);
    QCOMPARE(Entries(folder.path()), QStringList{"plan.NET"});
}

// A pipe chosen as the target receives the bytes and stays a pipe; one that nobody reads
// fails at once instead of hanging the program, and so does one whose reader leaves.
void TestFileWriter::PipeStaysAPipe() {
    MakeNetwork(2);
    QTemporaryDir folder;
    const QString name = folder.filePath("pipe.NET");
    const QByteArray path = QFile::encodeName(name);
    QVERIFY(mkfifo(path.constData(), 0600) == 0);
    QVERIFY(!WriteDemandDataFile(name));

    const int reader = open(path.constData(), O_RDONLY | O_NONBLOCK);
    QVERIFY(reader >= 0);
    const bool written = WriteDemandDataFile(name);  // small enough for the pipe's buffer
    QByteArray received(4096, '\0');
    const ssize_t count = read(reader, received.data(), received.size());
    close(reader);
    QVERIFY(written);
    QCOMPARE(received.left(qMax<ssize_t>(count, 0)), FileText(false));
    struct stat state {};
    QVERIFY(stat(path.constData(), &state) == 0 && S_ISFIFO(state.st_mode));
    QCOMPARE(Entries(folder.path()), QStringList{"pipe.NET"});

    // A reader that leaves half way through a file far larger than the pipe holds: the save
    // fails, and the broken-pipe signal (its default action kept) does not end the saver. A
    // second writer keeps the reader waiting for the saved bytes instead of reading the end.
    MakeNetwork(150);
    const int leaving = open(path.constData(), O_RDONLY | O_NONBLOCK);
    const int keeper = open(path.constData(), O_WRONLY | O_NONBLOCK);
    QVERIFY(leaving >= 0 && keeper >= 0 && fcntl(leaving, F_SETFL, 0) == 0);
    std::thread leaver([leaving] {
        char first = 0;
        [[maybe_unused]] const ssize_t got = read(leaving, &first, 1);
        close(leaving);
    });
    const int saved = RunInChild([&] {
        close(leaving);
        close(keeper);
        return WriteDistanceFile(name);
    });
    leaver.join();
    close(keeper);
    QCOMPARE(saved, 0);
}

// Saved by a member of the file's group (as root: by nobody, in the file's group 4321), into
// a folder that may be written and searched but not listed, under names at the name limit,
// with a second name, through a link to a file not yet made or made, and over a file with a
// colleague's access (an access control list), a user attribute and set-ID bits. Owner,
// group, bits, attributes and the other name stay, and the other name sees the new content.
// A new file gets what a file made as any program makes one gets from the folder's default
// access list. Where everyone may create files, another user's link is refused and the file it
// names stays as it was; a full tmpfs that refuses an attribute fails the save (not written in
// place), and so does a folder that cannot be flushed, though the new file is then in place.
void TestFileWriter::SharedFilesAndOddFolders_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<bool>("existing");  // of a link: the file it names
    QTest::addColumn<QString>("kind");
    const QString plan = "plan.NET";
    QTest::addRow("a colleague's file") << plan << 0777 << true << "shared";
    QTest::addRow("attributes, set-ID bits") << plan << 0700 << true << "attributes";
    QTest::addRow("folder not listable, new") << plan << 0300 << false << "";
    QTest::addRow("folder not listable, existing") << plan << 0300 << true << "";
    QTest::addRow("244-byte name") << QString(240, 'n') + ".NET" << 0700 << false << "";
    QTest::addRow("250-byte name") << QString(246, 'n') + ".NET" << 0700 << true << "";
    QTest::addRow("255-byte name") << QString(251, 'n') + ".NET" << 0700 << true << "";
    QTest::addRow("second name") << plan << 0700 << true << "hard";
    QTest::addRow("dangling link") << plan << 0700 << false << "symbolic";
    QTest::addRow("own link, sticky folder") << plan << 01777 << true << "symbolic";
    QTest::addRow("another's link, sticky folder") << plan << 01777 << true << "foreign";
    QTest::addRow("another's dangling link, sticky folder") << plan << 01777 << false << "foreign";
    QTest::addRow("default access list") << plan << 0700 << false << "default acl";
    QTest::addRow("no room for an attribute") << plan << 0700 << true << "no room";
    QTest::addRow("folder not flushed") << plan << 0700 << true << "unflushed";
}

void TestFileWriter::SharedFilesAndOddFolders() {
    QFETCH(QString, file);
    QFETCH(int, folderMode);
    QFETCH(bool, existing);
    QFETCH(QString, kind);
    const bool root = geteuid() == 0;
    if (!root && QStringList{"shared", "foreign", "no room", "unflushed"}.contains(kind)) {
        QSKIP("Only root can give a file or a link to another user and mount a file system.");
    }
    const QByteArray protection = FileBytes("/proc/sys/fs/protected_symlinks");
    const auto protect = [](const QByteArray& on) {
        QFile setting("/proc/sys/fs/protected_symlinks");
        return setting.open(QIODevice::WriteOnly) && setting.write(on) == on.size();
    };
    const auto restore = qScopeGuard([&] { protect(protection); });
    if (kind == "foreign" && !protect("1")) {
        QSKIP("The protection of links in shared folders (fs.protected_symlinks) cannot be set.");
    }
    std::optional<TUnflushableFolder> disk;
    if (kind == "unflushed" && disk.emplace().Folder.isEmpty()) {
        QSKIP("No small disk can be made here (it needs a loop device and e2fsprogs).");
    }
    MakeNetwork(45);
    QTemporaryDir top;
    const QString folder = disk ? disk->Folder : top.filePath("shared");
    const QString name = folder + "/" + file;
    const QByteArray path = QFile::encodeName(name);
    QVERIFY((disk || QDir().mkdir(folder)) && chmod(QFile::encodeName(top.path()), 0711) == 0);
    // Room for three files of 1 KiB each and 2 KiB of attributes (tmpfs from kernel 6.6 on).
    QVERIFY(kind != "no room" ||
            mount("tmpfs", QFile::encodeName(folder), "tmpfs", 0, "nr_inodes=4") == 0);
    const auto unmount = qScopeGuard([&] { umount2(QFile::encodeName(folder), MNT_DETACH); });
    QVERIFY(!root || chown(QFile::encodeName(folder), Nobody, Nobody) == 0);
    const bool linked = kind == "symbolic" || kind == "foreign";
    const QString other = kind == "hard" ? "copy.NET" : linked ? "made.NET" : "";
    const QByteArray otherPath = QFile::encodeName(folder + "/" + other);
    const QString written = QFile::decodeName(linked ? otherPath : path);  // takes the content
    if (existing) {
        PutFile(written, Earlier);
        QVERIFY(!root || chown(QFile::encodeName(written), Nobody, Nobody) == 0);
    }
    QVERIFY(!linked || symlink(QFile::encodeName(other), path) == 0);
    QVERIFY(!linked || !root || lchown(path, kind == "foreign" ? 1234 : Nobody, Nobody) == 0);
    QVERIFY(kind != "hard" || link(path, otherPath) == 0);
    QVERIFY(kind != "shared" || (chown(path, 1234, 4321) == 0 && chmod(path, 0664) == 0));
    QVERIFY(kind != "attributes" ||
            (setxattr(path, "system.posix_acl_access", AccessList, sizeof AccessList, 0) == 0 &&
             setxattr(path, "user.checked-by", "Ana", 3, 0) == 0 && chmod(path, 06660) == 0));
    QVERIFY(kind != "default acl" || setxattr(QFile::encodeName(folder), "system.posix_acl_default",
                                              AccessList, sizeof AccessList, 0) == 0);
    QVERIFY(kind != "no room" ||
            setxattr(path, "user.notes", std::string(680, 'n').data(), 680, 0) == 0);
    QVERIFY(kind != "unflushed" || disk->Break());
    const auto before = Stat(written);
    const QByteArray attributes = Attributes(written);
    QVERIFY(chmod(QFile::encodeName(folder), mode_t(folderMode)) == 0);
    // Beside the save into a default access list, a file made as any program makes one.
    const QByteArray touched = QFile::encodeName(folder + "/touched");
    const std::string reason = kind == "foreign"     ? "Permission denied"
                               : kind == "no room"   ? "No space left on device"
                               : kind == "unflushed" ? "Input/output error"
                                                     : "";
    const auto save = [&] {
        const TWriteResult result = WriteDistanceFile(name);
        return (kind != "default acl" || close(open(touched, O_WRONLY | O_CREAT, 0666)) == 0) &&
               (result ? "" : ErrorReason(result.Error)) == reason &&
               result.NameNotFlushed == (kind == "unflushed");
    };
    QCOMPARE(RunInChild(save, RLIM_INFINITY, true, 4321), 1);
    QVERIFY(chmod(QFile::encodeName(folder), 0700) == 0);
    const bool saved = reason.empty() || disk;
    QCOMPARE(FileBytes(written), saved ? FileText(true) : existing ? Earlier : "<unreadable>");
    QVERIFY(!existing || Stat(written) == before);
    QCOMPARE(Attributes(written), kind == "default acl" ? Attributes(touched) : attributes);
    QVERIFY(kind != "default acl" || Stat(written) == Stat(touched));
    QCOMPARE(QFileInfo(name).isSymLink(), linked);
    QVERIFY(kind != "hard" || FileBytes(QFile::decodeName(otherPath)) == FileText(true));
    QStringList names{file, existing || saved ? other : "", kind == "default acl" ? "touched" : ""};
    names.removeAll(QString());
    names.sort();
    QCOMPARE(Entries(folder), names);
}

// The new file gives its content to nobody while it is written, though the target is readable
// by all and the folder's default access list lets a colleague write: met half way (the
// file-size limit stops the write), it has no name yet, or one that its maker alone may read.
void TestFileWriter::TemporaryFileIsPrivate() {
    MakeNetwork(150);
    QTemporaryDir folder;
    const QString name = folder.filePath("plan.NED");
    PutFile(name, Earlier);
    QVERIFY(chmod(QFile::encodeName(name), 0644) == 0);
    const QByteArray path = QFile::encodeName(folder.path());
    QVERIFY(setxattr(path, "system.posix_acl_default", AccessList, sizeof AccessList, 0) == 0);
    WatchedFolder = path.constData();
    const auto writeWatched = [&] {
        signal(SIGXFSZ, ReportTemporaryBits);
        return WriteDistanceFile(name);
    };
    const int found = RunInChild(writeWatched, rlim_t(FileText(true).size() / 2));
    QVERIFY2(found == 1 || found == 3, "others could read the new file half way");
}

QTEST_GUILESS_MAIN(TestFileWriter)
#include "tst_file_writer.moc"
