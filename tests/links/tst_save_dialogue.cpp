// The save dialogue behind "&Quit and Save Network": the questions, the two files, the flags,
// and where the planner ends up, driven through the real windows with scripted boxes and
// dialogs.

#include <signal.h>
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

#include "app/program.h"
#include "core/network/network_store.h"
#include "links/link_window.h"
#include "nodes/node_window.h"
#include "platform/services/network_file_writer.h"
#include "platform/widgets/command_button.h"
#include "platform/widgets/entry_field.h"
#include "platform/widgets/line_list.h"
#include "shell/main_menu.h"
#include "shell/window_references.h"
#include "support/program_test.h"
#include "support/scripted_platform.h"
#include "support/show_active.h"
#include "support/test_files.h"
#include "support/unflushable_folder.h"

namespace {
const QString NotConnected = QStringLiteral(
    "NETWORK IS NOT CONNECTED\rVERY SERIOUS CONDITION\r\rDo you really want to save the "
    "network?");
const QString NotSaved = QStringLiteral(
    "Data were not saved correctly ... WARNING\rIf you continue you will lose all data\r\rDo you "
    "want to continue to QUIT?");
const QString DemandFailed = QStringLiteral("FATAL ERROR SAVING DEMAND DATA FILE");
const QString DistanceFailed = QStringLiteral("FATAL ERROR SAVING DISTANCE FILE");

QString ReplaceQuestion(const QString& name) {
    return QStringLiteral("File [") + name +
           QStringLiteral("] exists.... Do you want to replace it?");
}

// A file's layout as written down with "·" for each blank and "¶" for CR LF.
QByteArray Layout(const char* text) {
    QString bytes = QString::fromUtf8(text);
    bytes.replace(QChar(0x00B7), QLatin1Char(' '));
    bytes.replace(QChar(0x00B6), QLatin1String("\r\n"));
    return bytes.toLatin1();
}

// The two-node network with its two-way link of 5, as saved.
const QByteArray ExampleDemandFile = Layout(
    "···1····0.0····0.0·············12.500············0.000··········300.000···<·Depot·>¶"
    "···2····0.0····0.0··············2.063········10000.000············0.000···<·North·Yard·>¶");
const QByteArray ExampleDistanceFile = Layout("0¶5¶5¶0¶");

// While it lives, no file of the process may grow beyond limit bytes: a write past it fails
// as on a full disk (SIGXFSZ is ignored, so the write returns an error instead).
class TFileSizeLimit {
  public:
    explicit TFileSizeLimit(rlim_t limit) {
        getrlimit(RLIMIT_FSIZE, &Before);
        rlimit reduced = Before;
        reduced.rlim_cur = limit;
        IgnoredBefore = signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &reduced);
    }
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &Before);
        signal(SIGXFSZ, IgnoredBefore);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

  private:
    rlimit Before{};
    sighandler_t IgnoredBefore = SIG_DFL;
};

// The file whose final move fails (see FailingRename).
QByteArray FailingMoveTarget;

int FailingRename(const char* from, const char* to) {
    if (QByteArray(to).endsWith(FailingMoveTarget)) {
        errno = EIO;
        return -1;
    }
    return rename(from, to);
}

}  // namespace

class TestSaveDialogue : public TProgramTest {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();

    void WholeRoadFromFirstNodeToBothFiles();
    void CancellingBothDialogsAsksBeforeLeaving_data();
    void CancellingBothDialogsAsksBeforeLeaving();
    void CancellingOnlyTheDemandDialogStillWritesDistances();
    void ExistingFileRefusedOpensTheSameDialogAgain();
    void DeclinedUnconnectedNetworkTouchesNothing();
    void FailedWritesAreReportedAndLeaveEarlierFilesIntact();
    void DiskFaultsKeepTheEarlierFile_data();
    void DiskFaultsKeepTheEarlierFile();
    void DistanceFileMayNotReplaceTheDemandFileJustSaved_data();
    void DistanceFileMayNotReplaceTheDemandFileJustSaved();
    void DialogsKeepTheirSettingsAndLastName();

  private:
    // The two-node network of the example, entered straight into the store, with the link
    // window open and a two-way link of 5 added through it.
    void OpenLinkWindowWithExample(bool twoWay = true);
    QString Path(const QString& name) const { return QDir(Folder->path()).filePath(name); }
    TLinkSpecification& Links() { return *LinkSpecification; }

    std::unique_ptr<QTemporaryDir> Folder;
};

void TestSaveDialogue::init() {
    TProgramTest::init();
    Folder = std::make_unique<QTemporaryDir>();
}

void TestSaveDialogue::cleanup() {
    TProgramTest::cleanup();
    Folder.reset();
}

void TestSaveDialogue::OpenLinkWindowWithExample(bool twoWay) {
    Network.NumNodes = 2;
    Network.NodeNames[1] = "Depot";
    Network.FirstDemands[1] = Real48::Narrow(12.5L);
    Network.SecondDemands[1] = Real48::Narrow(0);
    Network.FixedCosts[1] = Real48::Narrow(300);
    Network.NodeNames[2] = "North Yard";
    Network.FirstDemands[2] = Real48::Narrow(2.0625L);
    Network.SecondDemands[2] = Real48::Narrow(10000);
    Network.FixedCosts[2] = Real48::Narrow(0);
    MeshLoomMain->SetStep(TStep::LinksNext);
    MeshLoomMain->show();
    QTest::mouseClick(MeshLoomMain->LinkButton, Qt::LeftButton);
    QVERIFY(Links().isVisible());
    QVERIFY(ShowActive(&Links()));

    Links().OriginList->SetItemIndex(0);
    Links().DestinationList->SetItemIndex(1);
    Links().LinkDist->setFocus();
    QTest::keyClicks(Links().LinkDist, QStringLiteral("5"));
    QTest::keyClick(Links().LinkDist, Qt::Key_Tab);  // the add buttons wait for a valid distance
    QTest::mouseClick(twoWay ? Links().TwoWayButton : Links().OneWayButton, Qt::LeftButton);
    QCOMPARE(Network.LinkRows[1][2], 5);
    QCOMPARE(Network.LinkRows[2][1], twoWay ? 5 : NoLink);
}

void TestSaveDialogue::WholeRoadFromFirstNodeToBothFiles() {
    MeshLoomMain->show();
    QVERIFY(ShowActive(MeshLoomMain));
    QTest::keyClick(MeshLoomMain, Qt::Key_N, Qt::AltModifier);
    TNodeSpecifications& nodes = *NodeSpecifications;
    QVERIFY(nodes.isVisible());
    QVERIFY(ShowActive(&nodes));
    const QStringList depot{"Depot", "12.5", "0", "300"};
    const QStringList yard{"North Yard", "2.0625", "10000", "0"};
    for (const QStringList& node : {depot, yard}) {
        QTest::keyClick(&nodes, Qt::Key_N, Qt::AltModifier);
        for (const QString& text : node) {
            QWidget* field = QApplication::focusWidget();
            QTest::keyClicks(field, text);
            QTest::keyClick(field, Qt::Key_Tab);
        }
        QTest::keyClick(&nodes, Qt::Key_A, Qt::AltModifier);
    }
    QCOMPARE(Network.NumNodes, 2);
    QTest::keyClick(&nodes, Qt::Key_Q, Qt::AltModifier);
    QVERIFY(MeshLoomMain->isVisible());
    QVERIFY(ShowActive(MeshLoomMain));

    QTest::keyClick(MeshLoomMain, Qt::Key_L, Qt::AltModifier);
    TLinkSpecification& links = Links();
    QVERIFY(links.isVisible());
    QVERIFY(ShowActive(&links));
    QTest::keyClick(&links, Qt::Key_O, Qt::AltModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(&links, Qt::Key_D, Qt::AltModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(&links, Qt::Key_I, Qt::AltModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("5"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(&links, Qt::Key_B, Qt::AltModifier);
    QCOMPARE(links.LinkList->Count(), 2);

    Platform->ExpectSaveDialog(Path("plant"));
    Platform->ExpectSaveDialog(Path("plant"));
    QTest::keyClick(&links, Qt::Key_Q, Qt::AltModifier);

    QCOMPARE(FileBytes(Path("plant.NET")), ExampleDemandFile);
    QCOMPARE(FileBytes(Path("plant.NED")), ExampleDistanceFile);
    QVERIFY(Network.DemandFileSaved && Network.DistanceFileSaved && Network.NetworkSaved);
    QVERIFY(!links.isVisible());
    QVERIFY(MeshLoomMain->isVisible());
    QVERIFY(!MeshLoomMain->NodeButton->isEnabled());
    QVERIFY(!MeshLoomMain->LinkButton->isEnabled());
    QVERIFY(!Network.LinkRows.IsAllocated(1));
    QVERIFY(!Network.PathRows.IsAllocated(1));
    QCOMPARE(Network.NumNodes, 2);
}

void TestSaveDialogue::CancellingBothDialogsAsksBeforeLeaving_data() {
    QTest::addColumn<bool>("leave");
    QTest::newRow("No stays with every link") << false;
    QTest::newRow("Yes returns with the link step off") << true;
}

void TestSaveDialogue::CancellingBothDialogsAsksBeforeLeaving() {
    QFETCH(bool, leave);
    OpenLinkWindowWithExample();
    Platform->ExpectSaveDialog({});
    Platform->ExpectSaveDialog({});
    Platform->ExpectBox(TMessageKind::Warning, NotSaved, leave ? TAnswer::Yes : TAnswer::No);
    QTest::mouseClick(Links().QuitandSave, Qt::LeftButton);

    QVERIFY(!Network.DemandFileSaved && !Network.DistanceFileSaved && !Network.NetworkSaved);
    QVERIFY(!Network.PathRows.IsAllocated(1));
    QCOMPARE(QDir(Folder->path()).entryList(QDir::Files), QStringList());
    QCOMPARE(Links().isVisible(), !leave);
    QCOMPARE(MeshLoomMain->LinkButton->isEnabled(), !leave);
    if (leave) {
        QVERIFY(MeshLoomMain->isVisible());
        QVERIFY(!Network.LinkRows.IsAllocated(1));
    } else {
        QCOMPARE(Network.LinkRows[1][2], 5);
        QCOMPARE(Network.LinkRows[2][1], 5);
        QCOMPARE(Links().LinkList->Count(), 2);
        QCOMPARE(Links().OriginList->Count(), 2);
    }
}

void TestSaveDialogue::CancellingOnlyTheDemandDialogStillWritesDistances() {
    OpenLinkWindowWithExample();
    Platform->ExpectSaveDialog({});
    Platform->ExpectSaveDialog(Path("only"));
    Platform->ExpectBox(TMessageKind::Warning, NotSaved, TAnswer::No);
    QTest::mouseClick(Links().QuitandSave, Qt::LeftButton);

    QVERIFY(!Network.DemandFileSaved);
    QVERIFY(Network.DistanceFileSaved);
    QVERIFY(!Network.NetworkSaved);
    QCOMPARE(FileBytes(Path("only.NED")), ExampleDistanceFile);
    QVERIFY(!QFile::exists(Path("only.NET")));
    QVERIFY(Links().isVisible());
}

void TestSaveDialogue::ExistingFileRefusedOpensTheSameDialogAgain() {
    OpenLinkWindowWithExample();
    const QString existing = Path("old.NET");
    PutFile(existing, "earlier\r\n");
    Platform->ExpectSaveDialog(existing);
    Platform->ExpectBox(TMessageKind::Confirmation, ReplaceQuestion(existing), TAnswer::No);
    Platform->ExpectSaveDialog({});  // the same dialog again; cancelled: no file
    Platform->ExpectSaveDialog(Path("new"));
    Platform->ExpectBox(TMessageKind::Warning, NotSaved, TAnswer::No);
    QTest::mouseClick(Links().QuitandSave, Qt::LeftButton);

    const auto& dialogs = Platform->ShownDialogs();
    QCOMPARE(dialogs.size(), std::size_t{3});
    QCOMPARE(dialogs[1].Title, QStringLiteral("Specify Name of Network Demand Data File"));
    QCOMPARE(dialogs[1].FileName, existing);
    QCOMPARE(FileBytes(existing), QByteArray("earlier\r\n"));
    QVERIFY(!Network.DemandFileSaved);
    QVERIFY(Network.DistanceFileSaved);

    // Replacing it when the user says Yes.
    Platform->ExpectSaveDialog(existing);
    Platform->ExpectBox(TMessageKind::Confirmation, ReplaceQuestion(existing), TAnswer::Yes);
    Platform->ExpectSaveDialog(Path("new.NED"));
    Platform->ExpectBox(TMessageKind::Confirmation, ReplaceQuestion(Path("new.NED")), TAnswer::Yes);
    QTest::mouseClick(Links().QuitandSave, Qt::LeftButton);
    QCOMPARE(FileBytes(existing), ExampleDemandFile);
    QVERIFY(Network.NetworkSaved);
    QVERIFY(!Links().isVisible());
}

void TestSaveDialogue::DeclinedUnconnectedNetworkTouchesNothing() {
    OpenLinkWindowWithExample(/*twoWay=*/false);
    Network.DemandFileSaved = true;  // flags from an earlier attempt stay as they were
    Network.DistanceFileSaved = false;
    Network.NetworkSaved = false;
    Platform->ExpectBox(TMessageKind::Warning, NotConnected, TAnswer::No);
    QTest::mouseClick(Links().QuitandSave, Qt::LeftButton);

    QVERIFY(Platform->ShownDialogs().empty());
    QVERIFY(!Network.NetworkConnected);
    QVERIFY(Network.DemandFileSaved && !Network.DistanceFileSaved && !Network.NetworkSaved);
    QVERIFY(!Network.PathRows.IsAllocated(1));
    // Behind the four lines: the one pair without a path.
    QCOMPARE(Platform->ShownBoxes().back().Details,
             QStringLiteral("Nodes that no other node reaches:\n  1 Depot\nNodes that reach no "
                            "other node:\n  2 North Yard\n1 pair cannot be joined within "
                            "10000:\nFrom 2 North Yard\n  to 1 Depot: no path"));
    QCOMPARE(Network.LinkRows[1][2], 5);
    QCOMPARE(Network.LinkRows[2][1], NoLink);
    QVERIFY(Links().isVisible());
    QCOMPARE(Links().LinkList->Count(), 1);

    // Saved after all: the distance file holds the capped 10000 for the missing direction.
    Platform->ExpectBox(TMessageKind::Warning, NotConnected, TAnswer::Yes);
    Platform->ExpectSaveDialog(Path("oneway"));
    Platform->ExpectSaveDialog(Path("oneway"));
    QTest::mouseClick(Links().QuitandSave, Qt::LeftButton);
    QCOMPARE(FileBytes(Path("oneway.NED")), Layout("0¶5¶10000¶0¶"));
    QVERIFY(Network.NetworkSaved);
}

void TestSaveDialogue::FailedWritesAreReportedAndLeaveEarlierFilesIntact() {
    OpenLinkWindowWithExample();
    const QString earlierDistances = Path("kept.NED");
    PutFile(earlierDistances, "earlier\r\n");
    // The demand data file goes to a folder that does not exist; the distance file meets a
    // full disk after 3 bytes.
    const QString missingFolder = Path("missing/plant.NET");
    Platform->ExpectSaveDialog(missingFolder);
    Platform->ExpectBox(TMessageKind::Warning, DemandFailed);
    Platform->ExpectSaveDialog(earlierDistances);
    Platform->ExpectBox(TMessageKind::Confirmation, ReplaceQuestion(earlierDistances),
                        TAnswer::Yes);
    Platform->ExpectBox(TMessageKind::Warning, DistanceFailed);
    Platform->ExpectBox(TMessageKind::Warning, NotSaved, TAnswer::No);
    {
        TFileSizeLimit fullDisk(3);
        QTest::mouseClick(Links().QuitandSave, Qt::LeftButton);
    }

    QVERIFY(!Network.DemandFileSaved && !Network.DistanceFileSaved && !Network.NetworkSaved);
    // Behind each box, the full name and the system's reason.
    const QString noFolder = missingFolder + QStringLiteral(": No such file or directory");
    const QString full = earlierDistances + QStringLiteral(": File too large");
    const auto& boxes = Platform->ShownBoxes();
    QCOMPARE(boxes.at(0).Details, "File: " + QString(noFolder).replace(": N", "\nReason: N"));
    QCOMPARE(boxes.at(2).Details, "File: " + QString(full).replace(": F", "\nReason: F"));
    QCOMPARE(boxes.at(3).Details,
             "Demand data file: not saved: " + noFolder + "\nDistance file: not saved: " + full);
    QVERIFY(!QFile::exists(missingFolder));
    QCOMPARE(FileBytes(earlierDistances), QByteArray("earlier\r\n"));
    QCOMPARE(QDir(Folder->path()).entryList(QDir::Files), QStringList{"kept.NED"});
    QVERIFY(Links().isVisible());
    QCOMPARE(Network.LinkRows[1][2], 5);
}

// A fault while saving one file over an earlier one: the warning for that file, the other
// file saved all the same, no partial or temporary file, the earlier file as it was. The disk
// fills up for real (a file-size limit); the demand data file is the larger of the two, so
// only it can meet a full disk while the distance file still fits.
void TestSaveDialogue::DiskFaultsKeepTheEarlierFile_data() {
    QTest::addColumn<bool>("demandFile");  // which file meets the fault
    QTest::addColumn<qint64>("diskRoom");  // bytes a file may take; -1: no limit
    QTest::addColumn<bool>("failMove");    // the final move fails
    QTest::addColumn<bool>("saved");
    const qint64 size = ExampleDemandFile.size();
    QTest::newRow("demand data: full halfway") << true << size / 2 << false << false;
    QTest::newRow("demand data: one byte short") << true << size - 1 << false << false;
    QTest::newRow("demand data: exactly room") << true << size << false << true;
    QTest::newRow("demand data: move fails") << true << qint64(-1) << true << false;
    QTest::newRow("distance: move fails") << false << qint64(-1) << true << false;
}

void TestSaveDialogue::DiskFaultsKeepTheEarlierFile() {
    QFETCH(bool, demandFile);
    QFETCH(qint64, diskRoom);
    QFETCH(bool, failMove);
    QFETCH(bool, saved);
    OpenLinkWindowWithExample();
    const QString demand = Path("site.NET");
    const QString distances = Path("site.NED");
    const QString faulty = demandFile ? demand : distances;
    PutFile(faulty, "earlier\r\n");
    if (failMove) {
        FailingMoveTarget = QFile::encodeName(QFileInfo(faulty).fileName());
        SetRenameFunction(FailingRename);
    }
    Platform->ExpectSaveDialog(demand);
    if (demandFile) {
        Platform->ExpectBox(TMessageKind::Confirmation, ReplaceQuestion(demand), TAnswer::Yes);
        if (!saved) {
            Platform->ExpectBox(TMessageKind::Warning, DemandFailed);
        }
    }
    Platform->ExpectSaveDialog(distances);
    if (!demandFile) {
        Platform->ExpectBox(TMessageKind::Confirmation, ReplaceQuestion(distances), TAnswer::Yes);
        if (!saved) {
            Platform->ExpectBox(TMessageKind::Warning, DistanceFailed);
        }
    }
    if (!saved) {
        Platform->ExpectBox(TMessageKind::Warning, NotSaved, TAnswer::No);
    }
    {
        const TFileSizeLimit disk(diskRoom < 0 ? RLIM_INFINITY : rlim_t(diskRoom));
        QTest::mouseClick(Links().QuitandSave, Qt::LeftButton);
    }

    QCOMPARE(Network.DemandFileSaved, saved || !demandFile);
    QCOMPARE(Network.DistanceFileSaved, saved || demandFile);
    QCOMPARE(Network.NetworkSaved, saved);
    QCOMPARE(FileBytes(faulty),
             saved ? (demandFile ? ExampleDemandFile : ExampleDistanceFile) : "earlier\r\n");
    QCOMPARE(FileBytes(demandFile ? distances : demand),
             demandFile ? ExampleDistanceFile : ExampleDemandFile);
    QCOMPARE(QDir(Folder->path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList{"site.NED", "site.NET"}));
    QCOMPARE(Links().isVisible(), !saved);
}

// Also when the demand data file is in place but its folder could not be flushed, as told.
void TestSaveDialogue::DistanceFileMayNotReplaceTheDemandFileJustSaved_data() {
    QTest::addColumn<bool>("unflushed");
    QTest::newRow("saved") << false;
    QTest::newRow("in place, folder not flushed") << true;
}

void TestSaveDialogue::DistanceFileMayNotReplaceTheDemandFileJustSaved() {
    QFETCH(bool, unflushed);
    std::optional<TUnflushableFolder> disk;
    if (unflushed && (disk.emplace().Folder.isEmpty() || !disk->Break())) {
        QSKIP("No small disk can be made here (it needs root, a loop device and mkfs.ext2).");
    }
    OpenLinkWindowWithExample();
    const QString demand = (unflushed ? disk->Folder : Folder->path()) + "/both.NET";
    Platform->ExpectSaveDialog(demand);
    if (unflushed) {
        Platform->ExpectBox(TMessageKind::Warning, DemandFailed);
    }
    Platform->ExpectSaveDialog(demand);  // the very file just written
    Platform->ExpectBox(TMessageKind::Warning,
                        QStringLiteral("The Distance File must not replace the Network Demand "
                                       "Data File just saved."));
    Platform->ExpectSaveDialog(Path("both.NED"));
    if (unflushed) {
        Platform->ExpectBox(TMessageKind::Warning, NotSaved, TAnswer::No);
    }
    QTest::mouseClick(Links().QuitandSave, Qt::LeftButton);

    QCOMPARE(FileBytes(demand), ExampleDemandFile);
    QCOMPARE(FileBytes(Path("both.NED")), ExampleDistanceFile);
    QCOMPARE(Network.NetworkSaved, !unflushed);
    QCOMPARE(Platform->ShownBoxes().at(0).Details,
             unflushed ? "File: " + demand +
                             "\nThe new file is in place, but its name may not "
                             "survive a power cut.\nReason: Input/output error"
                       : QString());
}

void TestSaveDialogue::DialogsKeepTheirSettingsAndLastName() {
    OpenLinkWindowWithExample();
    Platform->ExpectSaveDialog(Path("first"));
    Platform->ExpectSaveDialog({});
    Platform->ExpectBox(TMessageKind::Warning, NotSaved, TAnswer::No);
    QTest::mouseClick(Links().QuitandSave, Qt::LeftButton);
    Platform->ExpectSaveDialog({});
    Platform->ExpectSaveDialog({});
    Platform->ExpectBox(TMessageKind::Warning, NotSaved, TAnswer::No);
    QTest::mouseClick(Links().QuitandSave, Qt::LeftButton);

    const auto& dialogs = Platform->ShownDialogs();
    QCOMPARE(dialogs.size(), std::size_t{4});
    QCOMPARE(dialogs[0].Title, QStringLiteral("Specify Name of Network Demand Data File"));
    QCOMPARE(dialogs[0].Filter, QStringLiteral("Network Demand Data|*.NET|All Files|*.*"));
    QCOMPARE(dialogs[0].DefaultExt, QStringLiteral("NET"));
    QCOMPARE(dialogs[0].FileName, QString());
    QCOMPARE(dialogs[1].Title, QStringLiteral("Specify Name of Distance File"));
    QCOMPARE(dialogs[1].Filter, QStringLiteral("Network Distance File|*.NED|All Files|*.*"));
    QCOMPARE(dialogs[1].DefaultExt, QStringLiteral("NED"));
    QCOMPARE(dialogs[2].FileName, Path("first.NET"));  // the name last confirmed
}

QTEST_MAIN(TestSaveDialogue)
#include "tst_save_dialogue.moc"
