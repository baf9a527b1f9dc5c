// What a save leaves on disk when the disk, the folder or the target stands in the way: the
// faults are made by the operating system itself (a file-size limit, a full file system,
// folder permissions, a pipe), not by a stand-in for the writer.

#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "core/data_files.h"
#include "core/network_store.h"
#include "core/shortest_paths.h"
#include "platform/file_writer.h"
#include "support/test_files.h"

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
// are root, and applying a file-size limit when one is given (writes beyond it then fail
// with EFBIG instead of killing the process). The child's answer, or -1 if it did not end
// normally.
int RunInChild(const std::function<bool()>& body, rlim_t sizeLimit = RLIM_INFINITY,
               bool unprivileged = false) {
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        if (unprivileged && geteuid() == 0 && (setgid(Nobody) != 0 || setuid(Nobody) != 0)) {
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

bool WriteFile(bool distances, const QString& name) {
    return distances ? WriteDistanceFile(name) : WriteDemandDataFile(name);
}

QByteArray FileText(bool distances) {
    return QByteArray::fromStdString(distances ? DistanceFileText(Network)
                                               : DemandDataFileText(Network));
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
};

void TestFileWriter::cleanup() {
    SetRenameFunction(nullptr);
    ResetNetworkStore();
}

// The files hold their texts (core/data_files.h, tested byte for byte there) exactly.
void TestFileWriter::WritesBothFilesAndNothingElse() {
    MakeNetwork(2);
    QTemporaryDir folder;
    QVERIFY(WriteDemandDataFile(folder.filePath("EXAMPLE.NET")));
    QVERIFY(WriteDistanceFile(folder.filePath("EXAMPLE.NED")));
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

// A small file system filled to the brim, and one with 8 KiB left: files of 2 to 150 nodes
// fail, and the earlier file stays as it was.
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
    for (const qint64 spare : {0, 8192}) {
        // Fill the file system, then give back spare bytes.
        QFile filler(folder.filePath("filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Truncate));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        filler.close();
        QVERIFY(filler.resize(qMax<qint64>(filler.size() - spare, 0)));
        for (const auto& [distances, nodes] : {std::pair{false, 2},
                                               {false, 60},
                                               {false, 150},
                                               {true, 10},
                                               {true, 45},
                                               {true, 150}}) {
            MakeNetwork(nodes);
            if (FileText(distances).size() <= spare) {
                continue;
            }
            QVERIFY2(!WriteFile(distances, name),
                     qPrintable(QStringLiteral("%1 nodes saved on a full disk").arg(nodes)));
            QCOMPARE(FileBytes(name), Earlier);
            QCOMPARE(Entries(folder.path()), (QStringList{"filler", "plan.DAT"}));
        }
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
    // No new file in that folder, and a full disk in place is reported.
    QCOMPARE(RunInChild([&] { return WriteDemandDataFile(fresh); }, RLIM_INFINITY, true), 0);
    QCOMPARE(RunInChild([&] { return WriteDemandDataFile(name); }, 100, true), 0);
    QCOMPARE(FileBytes(name), FileText(false).left(100));
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
    QCOMPARE(RunInChild([&] { return WriteDemandDataFile(name); }, RLIM_INFINITY, true), 0);
    QCOMPARE(FileBytes(name), Earlier);
    QCOMPARE(Entries(folder.path()), QStringList{"plan.NET"});
}

// A pipe chosen as the target receives the bytes and stays a pipe; one that nobody reads
// fails at once instead of hanging the program.
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
}

QTEST_GUILESS_MAIN(TestFileWriter)
#include "tst_file_writer.moc"
