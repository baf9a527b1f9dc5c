// A network imported from the main menu: the box says what the file holds and asks for a scale
// where one is needed, the network goes through the windows as an opened one does and is saved
// under the file's own name; Cancel, a scale at which a distance does not fit and a refused
// file change nothing.

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include "core/network/network_store.h"
#include "links/link_window.h"
#include "nodes/node_window.h"
#include "platform/widgets/command_button.h"
#include "platform/widgets/line_list.h"
#include "shell/main_menu.h"
#include "shell/window_references.h"
#include "support/program_test.h"
#include "support/show_active.h"
#include "support/test_files.h"

namespace {
QByteArray NodeLine(int node, const char* name) {
    return QByteArray("   ") + QByteArray::number(node) +
           "    0.0    0.0              1.000            0.000            0.000   < " + name +
           " >\r\n";
}
}  // namespace

class TestImportNetwork : public TProgramTest {
    Q_OBJECT
    QTemporaryDir Folder;
    QString Path(const QString& name) const { return QDir(Folder.path()).filePath(name); }

    // Ctrl+I on the main menu with path chosen in the open dialog.
    void ImportByKey(const QString& path) {
        QVERIFY(ShowActive(MeshLoomMain));
        Platform->ExpectSaveDialog(path);
        QTest::keyClick(MeshLoomMain, Qt::Key_I, Qt::ControlModifier);
    }

  private slots:
    // A p-median problem whose first edge is listed again: the last cost counts. Saved through
    // the windows under the names the dialogs suggest.
    void ImportedAndSavedBesideTheFile() {
        PutFile(Path("pmed.txt"), "3 3 2\n1 2 5 \n2  3\t4\n2 1 7\n");
        Platform->ExpectImportBox(QString(), 0, true);
        ImportByKey(Path("pmed.txt"));
        QVERIFY(Platform->AllAnswered());
        QVERIFY2(Platform->ImportBoxTexts().at(0).contains("p = 2 is not part of the network"),
                 qPrintable(Platform->ImportBoxTexts().at(0)));
        QVERIFY(Platform->ImportBoxTexts().at(0).contains(
            "3 nodes and 4 links; the largest distance is 7, at scale 1."));
        QVERIFY(MeshLoomMain->NetworkLine->text().startsWith(
            "Imported " + QDir::toNativeSeparators(Path("pmed.txt"))));
        QCOMPARE(Network.NumNodes, 3);
        QTest::mouseClick(MeshLoomMain->NodeButton, Qt::LeftButton);
        QVERIFY(ShowActive(NodeSpecifications));
        QTest::keyClick(NodeSpecifications, Qt::Key_Q, Qt::AltModifier);
        QTest::mouseClick(MeshLoomMain->LinkButton, Qt::LeftButton);
        QCOMPARE(LinkSpecification->LinkList->Count(), 4);
        Platform->ExpectSaveDialog(Path("pmed.NET"));
        Platform->ExpectSaveDialog(Path("pmed.NED"));
        QTest::mouseClick(LinkSpecification->QuitandSave, Qt::LeftButton);
        const auto& dialogs = Platform->ShownDialogs();
        QCOMPARE(dialogs.at(dialogs.size() - 2).FileName, Path("pmed.NET"));
        QCOMPARE(dialogs.back().FileName, Path("pmed.NED"));
        QCOMPARE(FileBytes(Path("pmed.NET")),
                 NodeLine(1, "1") + NodeLine(2, "2") + NodeLine(3, "3"));
        QCOMPARE(FileBytes(Path("pmed.NED")),
                 QByteArray("0\r\n7\r\n11\r\n7\r\n0\r\n4\r\n11\r\n4\r\n0\r\n"));
    }

    // Distances above 10000: the box asks for the scale; one at which a distance does not fit
    // cannot be taken, Cancel changes nothing, a scale that fits is taken.
    void ScaleAskedWhereADistanceDoesNotFit() {
        PutFile(Path("roads.csv"), "from,to,metres\nAyr,Troon,15000\nTroon,Irvine,20001\n");
        MeshLoomMain->SetStep(TStep::LinksNext);
        QVERIFY(ShowActive(MeshLoomMain));
        const QString unsaved = QStringLiteral(
            "The nodes and links entered have not been saved.\r"
            "Do you want to open a saved network in their place?");
        Platform->ExpectBox(TMessageKind::Confirmation, unsaved, TAnswer::No);
        QTest::keyClick(MeshLoomMain, Qt::Key_I, Qt::AltModifier);
        QVERIFY(Platform->AllAnswered());
        for (const char* scale : {"1", "0.5", "x"}) {
            Platform->ExpectBox(TMessageKind::Confirmation, unsaved, TAnswer::Yes);
            Platform->ExpectImportBox(QString::fromLatin1(scale), 0, true);
            ImportByKey(Path("roads.csv"));
            QVERIFY(Platform->AllAnswered());
            QCOMPARE(Network.NumNodes, 0);
            QCOMPARE(MeshLoomMain->Step(), TStep::LinksNext);
        }
        const QStringList& texts = Platform->ImportBoxTexts();
        QVERIFY2(texts.at(0).contains("20001") && texts.at(1).contains("20001"),
                 qPrintable(texts.join("|")));
        QVERIFY(texts.at(2).contains("The scale must be a number above 0."));
        Platform->ExpectBox(TMessageKind::Confirmation, unsaved, TAnswer::Yes);
        Platform->ExpectImportBox(QStringLiteral("0.25"), 0, true);
        ImportByKey(Path("roads.csv"));
        QCOMPARE(Network.NumNodes, 3);
        QCOMPARE(MeshLoomMain->Step(), TStep::NodesFirst);
        QVERIFY(Platform->ImportBoxTexts().back().contains("the largest distance is 5000"));
        QCOMPARE(Network.LinkRows[1][2], 3750);
        QCOMPARE(Network.LinkRows[2][3], 5000);  // 5000.25
    }

    // A refused file: its line, cell and reason in a warning box; nothing changes.
    void RefusedFileChangesNothing() {
        PutFile(Path("bad.csv"), ",A,B\nA,0,-4\nB,1,0\n");
        Platform->ExpectBox(TMessageKind::Warning,
                            QDir::toNativeSeparators(Path("bad.csv")) +
                                ": Line 2, cell 3: \"-4\" is negative; a distance is 0 or more");
        ImportByKey(Path("bad.csv"));
        QVERIFY(Platform->AllAnswered());
        QCOMPARE(Network.NumNodes, 0);
        QVERIFY(!Network.LinksWaiting);
        QVERIFY(MeshLoomMain->NetworkLine->isHidden());
    }

    // A routing table with both arrays: the box offers them, the choice is taken.
    void RoutingArrayChosenInTheBox() {
        PutFile(Path("table.json"),
                R"({"durations":[[0,61.5],[null,0]],"distances":[[0,812.4],[790,0]]})");
        Platform->ExpectImportBox(QString(), 1, true);
        ImportByKey(Path("table.json"));
        QCOMPARE(Network.NumNodes, 2);
        QCOMPARE(Network.LinkRows[1][2], 812);
        QCOMPARE(Network.LinkRows[2][1], 790);
    }
};

QTEST_MAIN(TestImportNetwork)
#include "tst_import_network.moc"
