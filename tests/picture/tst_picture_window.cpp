// The picture window opened from the link window: it follows every change of the links and
// the selected ends, hands a node picked on it back as origin or destination, drops stale
// layouts and saves what it shows.

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "core/network/network_store.h"
#include "links/link_window.h"
#include "picture/picture_canvas.h"
#include "picture/picture_window.h"
#include "platform/widgets/command_button.h"
#include "platform/widgets/line_list.h"
#include "shell/main_menu.h"
#include "shell/window_references.h"
#include "support/program_test.h"
#include "support/show_active.h"

class TestPictureWindow : public TProgramTest {
    Q_OBJECT
  private slots:
    void init();
    void FollowsEveryChange();
    void NewestLayoutWins();
    void PickingOnThePicture_data();
    void PickingOnThePicture();
    void SavesWhatItShows();
    void OpensFittedOnTheScreenAndFollowsTheKeys();

  private:
    // The nodes' layout done and shown, the network the store's.
    void WaitForLayout();
    TLinkSpecification* Window = nullptr;
    TPictureWindow* Picture = nullptr;
};

void TestPictureWindow::init() {
    TProgramTest::init();
    Window = LinkSpecification;
    Network.NumNodes = 4;
    for (int node = 1; node <= 4; ++node) {
        Network.NodeNames[node] = std::string("N") + char('0' + node);
    }
    QVERIFY(ShowActive(MeshLoomMain));
    MeshLoomMain->SetStep(TStep::LinksNext);
    QTest::mouseClick(MeshLoomMain->LinkButton, Qt::LeftButton);
    QVERIFY(ShowActive(Window));
    QTest::keyClick(Window, Qt::Key_G, Qt::ControlModifier);
    Picture = Window->Picture;
    QVERIFY(Picture && Picture->isVisible());
    WaitForLayout();
}

void TestPictureWindow::WaitForLayout() {
    QTRY_VERIFY(!Picture->LayoutPending());
    QCOMPARE(Picture->Canvas->Picture().Network, LayoutNetworkOf(Network));
    QCOMPARE(Picture->Canvas->Picture().Positions.size(), std::size_t(Network.NumNodes));
}

void TestPictureWindow::FollowsEveryChange() {
    QCOMPARE(Picture->Canvas->Picture().Unreached, std::vector<int>({1, 2, 3, 4}));
    Network.PendingDistance = 40;
    Window->OriginList->SetItemIndex(0);
    Window->DestinationList->SetItemIndex(1);
    QCOMPARE(Picture->Canvas->Marks().Origin, 1);
    QCOMPARE(Picture->Canvas->Marks().Destination, 2);
    Window->TwoWayButtonClick();
    // Drawn at once, before its layout is back.
    QCOMPARE(Picture->Canvas->Picture().Network.Link(2, 1), 40);
    WaitForLayout();
    QCOMPARE(Picture->Canvas->Picture().Unreached, std::vector<int>({3, 4}));
    Window->History.Actions().first()->trigger();  // Undo
    QCOMPARE(Picture->Canvas->Picture().Network.Link(2, 1), NoLink);
    WaitForLayout();
    Window->CancelButtonClick();
    QVERIFY(!Picture->isVisible());
}

void TestPictureWindow::NewestLayoutWins() {
    QSignalSpy shown(Picture, &TPictureWindow::PictureLaidOut);
    for (int distance = 1; distance <= 30; ++distance) {
        SetLinkDistance(Network, 1 + distance % 4, 1 + (distance + 1) % 4, distance);
        Window->UpdateAllLists();
    }
    WaitForLayout();
    // Layouts asked for meanwhile were dropped, not shown one after the other.
    QVERIFY(shown.count() < 30);
}

void TestPictureWindow::PickingOnThePicture_data() {
    QTest::addColumn<int>("how");  // 0 click, 1 Shift+click, 2 right button, 3 Enter, 4 Shift+Enter
    QTest::addColumn<bool>("destination");
    QTest::newRow("click") << 0 << false;
    QTest::newRow("Shift+click") << 1 << true;
    QTest::newRow("other button") << 2 << true;
    QTest::newRow("Enter") << 3 << false;
    QTest::newRow("Shift+Enter") << 4 << true;
}

void TestPictureWindow::PickingOnThePicture() {
    QFETCH(int, how);
    QFETCH(bool, destination);
    for (int node = 1; node < 4; ++node) {
        SetLinkDistance(Network, node, node + 1, 100);
    }
    Window->UpdateAllLists();
    WaitForLayout();
    TPictureCanvas* canvas = Picture->Canvas;
    QVERIFY(ShowActive(Picture));
    int node = 3;
    if (how < 3) {
        QTest::mouseClick(canvas, how == 2 ? Qt::RightButton : Qt::LeftButton,
                          how == 1 ? Qt::ShiftModifier : Qt::NoModifier,
                          canvas->NodePoint(node).toPoint());
    } else {
        // The keys step from node 1 towards node 3 along the line of the four.
        canvas->setFocus();
        const QPointF along = canvas->NodePoint(3) - canvas->NodePoint(1);
        const Qt::Key key = std::abs(along.x()) > std::abs(along.y())
                                ? (along.x() > 0 ? Qt::Key_Right : Qt::Key_Left)
                                : (along.y() > 0 ? Qt::Key_Down : Qt::Key_Up);
        QTest::keyClick(canvas, key);
        for (int step = 0; step < 4 && canvas->CurrentNode() != 3; ++step) {
            QTest::keyClick(canvas, key);
        }
        node = canvas->CurrentNode();
        QVERIFY(node > 1);
        QTest::keyClick(canvas, Qt::Key_Return, how == 4 ? Qt::ShiftModifier : Qt::NoModifier);
    }
    TLineList* picked = destination ? Window->DestinationList : Window->OriginList;
    TLineList* other = destination ? Window->OriginList : Window->DestinationList;
    QCOMPARE(picked->ItemIndex(), node - 1);
    QCOMPARE(other->ItemIndex(), -1);
    QCOMPARE(destination ? canvas->Marks().Destination : canvas->Marks().Origin, node);
}

void TestPictureWindow::SavesWhatItShows() {
    SetLinkDistance(Network, 1, 2, 7);
    Window->UpdateAllLists();
    WaitForLayout();
    QTemporaryDir folder;
    const QString svg = folder.filePath(QStringLiteral("net.svg"));
    const QString png = folder.filePath(QStringLiteral("net.png"));
    Platform->ExpectSaveDialog(svg);
    Picture->SavePictureClick();
    QFile file(svg);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QCOMPARE(text.count("data-node="), 4);
    QCOMPARE(text.count("class=\"link one-way\" data-from=\"1\" data-to=\"2\""), 1);
    QCOMPARE(text.count("class=\"node unreached unreaching\""), 2);
    // The dialog suggests the network's name: "network" without a file, else the demand data
    // file's, in the folder of the last picture.
    QCOMPARE(Platform->ShownDialogs().back().FileName, QStringLiteral("network.svg"));
    Window->SaveNodes.FileName = QStringLiteral("/elsewhere/Harbour Roads.NET");
    Platform->ExpectSaveDialog(png);
    Picture->SavePictureClick();
    QCOMPARE(Platform->ShownDialogs().back().FileName,
             folder.filePath(QStringLiteral("Harbour Roads.svg")));
    QCOMPARE(QImage(png).size(), QSize(1600, 1200));
    // A file that cannot be written is said so.
    Platform->ExpectSaveDialog(folder.filePath(QStringLiteral("none/net.svg")));
    Platform->ExpectBox(TMessageKind::Warning, QStringLiteral("The picture could not be saved."));
    Picture->SavePictureClick();
}

void TestPictureWindow::OpensFittedOnTheScreenAndFollowsTheKeys() {
    const QRect screen = Picture->screen()->availableGeometry();
    QVERIFY2(screen.contains(Picture->frameGeometry()), "the picture runs off the screen");
    Picture->Canvas->ZoomIn();
    Window->CancelButtonClick();
    QVERIFY(ShowActive(MeshLoomMain));
    QTest::mouseClick(MeshLoomMain->LinkButton, Qt::LeftButton);
    QVERIFY(ShowActive(Window));
    QTest::keyClick(Window, Qt::Key_G, Qt::ControlModifier);
    WaitForLayout();
    QCOMPARE(Picture->Canvas->Zoom(), 1.0);
    QVERIFY(screen.contains(Picture->frameGeometry()));
    // The line under the picture names the node the arrow keys reach.
    QVERIFY(ShowActive(Picture));
    Picture->Canvas->setFocus();
    QTest::keyClick(Picture->Canvas, Qt::Key_Right);
    QVERIFY(Picture->Description->text().contains(QStringLiteral("At node 1 N1;")));
}

QTEST_MAIN(TestPictureWindow)
#include "tst_picture_window.moc"
