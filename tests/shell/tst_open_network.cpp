// A saved network opened from the main menu, changed in the node window and saved back to its
// own files; and the files refused, each with its box, the menu and the store as they were.

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include "core/network/network_store.h"
#include "links/link_window.h"
#include "nodes/node_window.h"
#include "platform/widgets/command_button.h"
#include "platform/widgets/entry_field.h"
#include "platform/widgets/line_list.h"
#include "shell/main_menu.h"
#include "shell/window_references.h"
#include "support/program_test.h"
#include "support/show_active.h"

namespace {
const QByteArray Depot =
    "   1    0.0    0.0             12.500            0.000          300.000   < Depot >\r\n";
const QByteArray Yard =
    "   2    0.0    0.0              2.063        10000.000            0.000   < North Yard >\r\n";
const QByteArray Pier =
    "   3    0.0    0.0              1.000            2.000            3.000   < Pier >\r\n";
// Two-way links 1-2 of 5 and 2-3 of 4.
const QByteArray Distances = "0\r\n5\r\n9\r\n5\r\n0\r\n4\r\n9\r\n4\r\n0\r\n";
const QString Unsaved = QStringLiteral(
    "The nodes and links entered have not been saved.\r"
    "Do you want to open a saved network in their place?");

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}
void PutFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

void SelectLine(TLineList* list, int line) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(line, 0)).center());
}
}  // namespace

class TestOpenNetwork : public TProgramTest {
    Q_OBJECT
    QTemporaryDir Folder;
    QString Path(const QString& name) const { return QDir(Folder.path()).filePath(name); }

  private slots:
    void OpenedChangedAndSavedBackInPlace() {
        PutFile(Path("plant.NET"), Depot + Yard + Pier);
        PutFile(Path("plant.ned"), Distances);
        QVERIFY(ShowActive(MeshLoomMain));
        Platform->ExpectSaveDialog(Path("plant.NET"));
        QTest::keyClick(MeshLoomMain, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(Network.NumNodes, 3);
        QTest::mouseClick(MeshLoomMain->NodeButton, Qt::LeftButton);
        TNodeSpecifications& nodes = *NodeSpecifications;
        QVERIFY(ShowActive(&nodes));
        QCOMPARE(nodes.NodeList->Count(), 3);
        QCOMPARE(nodes.NodeNumber->text(), QStringLiteral("4"));
        // Node 1 in place: its values into the fields, a new first demand, put back.
        SelectLine(nodes.NodeList, 0);
        QTest::keyClick(&nodes, Qt::Key_I, Qt::AltModifier);
        QCOMPARE(nodes.FirstDemand->text(), QStringLiteral("12.5"));
        nodes.FirstDemand->clear();
        QTest::mouseClick(nodes.FirstDemand, Qt::LeftButton);
        QTest::keyClicks(nodes.FirstDemand, QStringLiteral("7"));
        QTest::keyClick(&nodes, Qt::Key_R, Qt::AltModifier);
        // Node 3 with its two links, deleted, taken back and deleted again.
        for (int time = 0; time < 2; ++time) {
            SelectLine(nodes.NodeList, 2);
            Platform->ExpectBox(TMessageKind::Confirmation,
                                "Node 3 (Pier) has 2 links in the link list; deleting the node "
                                "deletes them too.\rDo you want to delete the node and its links?",
                                TAnswer::Yes);
            QTest::mouseClick(nodes.DeleteButton, Qt::LeftButton);
            QCOMPARE(Network.NumNodes, 2);
            if (time == 0) {
                QTest::keyClick(nodes.NodeList, Qt::Key_Z, Qt::ControlModifier);
                QCOMPARE(Network.NumNodes, 3);
                QVERIFY(Network.LinkRows[3][2] == 4 && Network.LinkRows[2][3] == 4 &&
                        Network.LinkRows[1][3] == NoLink);
            }
        }
        QTest::keyClick(&nodes, Qt::Key_Q, Qt::AltModifier);
        QTest::mouseClick(MeshLoomMain->LinkButton, Qt::LeftButton);
        TLinkSpecification& links = *LinkSpecification;
        QCOMPARE(links.LinkList->Count(), 2);
        for (const char* name : {"plant.NET", "plant.ned"}) {
            Platform->ExpectSaveDialog(Path(name));
            Platform->ExpectBox(TMessageKind::Confirmation,
                                "File [" + Path(name) + "] exists.... Do you want to replace it?",
                                TAnswer::Yes);
        }
        QTest::mouseClick(links.QuitandSave, Qt::LeftButton);
        const auto& dialogs = Platform->ShownDialogs();
        QCOMPARE(dialogs.at(dialogs.size() - 2).FileName, Path("plant.NET"));
        QCOMPARE(dialogs.back().FileName, Path("plant.ned"));
        QByteArray changed = Depot;
        changed.replace("12.500", " 7.000");
        QCOMPARE(FileBytes(Path("plant.NET")), changed + Yard);
        QCOMPARE(FileBytes(Path("plant.ned")), QByteArray("0\r\n5\r\n5\r\n0\r\n"));
    }

    // The link window's Cancel drops the opened network's links: the menu's line says so.
    void LinkCancelSaysLinksDropped() {
        PutFile(Path("plant.NET"), Depot + Yard + Pier);
        PutFile(Path("plant.ned"), Distances);
        QVERIFY(ShowActive(MeshLoomMain));
        QVERIFY(MeshLoomMain->OpenNetwork(Path("plant.NET")));
        QTest::mouseClick(MeshLoomMain->NodeButton, Qt::LeftButton);
        QVERIFY(ShowActive(NodeSpecifications));
        QTest::keyClick(NodeSpecifications, Qt::Key_Q, Qt::AltModifier);
        QVERIFY(ShowActive(MeshLoomMain));
        QTest::mouseClick(MeshLoomMain->LinkButton, Qt::LeftButton);
        QCOMPARE(LinkSpecification->LinkList->Count(), 4);
        QTest::mouseClick(LinkSpecification->CancelButton, Qt::LeftButton);
        QVERIFY(ShowActive(MeshLoomMain));
        const QString line = "Opened " + QDir::toNativeSeparators(Path("plant.NET")) +
                             ": its links were dropped by Cancel in the link window; its 3 "
                             "nodes are kept, without links.";
        QCOMPARE(MeshLoomMain->NetworkLine->text(), line);
        QCOMPARE(MeshLoomMain->accessibleDescription(), line);
    }

    void RefusedFilesChangeNothing_data() {
        QTest::addColumn<QByteArray>("demand");  // empty: a folder
        QTest::addColumn<QByteArray>("distances");
        QTest::addColumn<QString>("refused");
        QTest::addColumn<QString>("why");
        QTest::newRow("diagonal") << Depot + Yard + Pier << QByteArray(Distances).replace(0, 1, "3")
                                  << "a.NED"
                                  << "Line 1: the distance from node 1 to itself is 3, not 0";
        QTest::newRow("folder") << QByteArray() << Distances << "a.NET"
                                << "It is a folder, not a file.";
    }
    void RefusedFilesChangeNothing() {
        QFETCH(QByteArray, demand);
        QFETCH(QByteArray, distances);
        QFETCH(QString, refused);
        QFETCH(QString, why);
        if (demand.isEmpty()) {
            QFile::remove(Path("a.NET"));
            QVERIFY(QDir(Folder.path()).mkpath(QStringLiteral("a.NET")));
        } else {
            PutFile(Path("a.NET"), demand);
        }
        PutFile(Path("a.NED"), distances);
        MeshLoomMain->SetStep(TStep::LinksNext);
        QVERIFY(ShowActive(MeshLoomMain));
        // Unsaved nodes are kept on No; on Yes the files are read and refused.
        Platform->ExpectBox(TMessageKind::Confirmation, Unsaved, TAnswer::No);
        QTest::keyClick(MeshLoomMain, Qt::Key_O, Qt::AltModifier);
        QVERIFY(Platform->AllAnswered());
        Platform->ExpectBox(TMessageKind::Confirmation, Unsaved, TAnswer::Yes);
        Platform->ExpectSaveDialog(Path("a.NET"));
        Platform->ExpectBox(TMessageKind::Warning,
                            "File [" + Path(refused) + "] cannot be opened.\r" + why);
        QTest::keyClick(MeshLoomMain, Qt::Key_O, Qt::AltModifier);
        QCOMPARE(MeshLoomMain->Step(), TStep::LinksNext);
        QCOMPARE(Network.NumNodes, 0);
        QVERIFY(!Network.LinksWaiting && !Network.LinkRows.IsAllocated(1));
    }
};

QTEST_MAIN(TestOpenNetwork)
#include "tst_open_network.moc"
