#include "picture/picture_window.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QThreadPool>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "drawing/picture_svg.h"
#include "files/file_writer.h"
#include "picture/picture_canvas.h"
#include "platform/application/meshloom_application.h"
#include "platform/dialogs/platform_services.h"
#include "platform/widgets/command_button.h"
#include "platform/widgets/look.h"

TPictureWindow::TPictureWindow(QWidget* parent) : QWidget(parent) {
    setWindowFlag(Qt::Window);
    setWindowTitle(QStringLiteral("Network Picture"));
    resize(820, 680);
    UseFormFont(*this);

    Canvas = new TPictureCanvas(this);
    ZoomInButton = HintedButton(QStringLiteral("Zoom &In"),
                                QStringLiteral("Draw the picture larger (Ctrl+plus, the wheel)"),
                                75, TFontStyle::Regular, this);
    ZoomOutButton = HintedButton(QStringLiteral("Zoom &Out"),
                                 QStringLiteral("Draw the picture smaller (Ctrl+minus, the wheel)"),
                                 75, TFontStyle::Regular, this);
    FitButton = HintedButton(QStringLiteral("&Fit to Window"),
                             QStringLiteral("Show the whole network (Ctrl+0)"), 95,
                             TFontStyle::Regular, this);
    DistancesBox = new QCheckBox(QStringLiteral("Show &Distances"), this);
    SaveButton = HintedButton(QStringLiteral("&Save Picture..."),
                              QStringLiteral("Save the picture as SVG or PNG"), 105,
                              TFontStyle::Regular, this);
    Description = new QLabel(this);
    Description->setWordWrap(true);
    Description->setTextFormat(Qt::PlainText);

    connect(Canvas, &TPictureCanvas::Described, this,
            [this] { Description->setText(Canvas->accessibleDescription()); });
    ZoomInButton->OnClick = [this] { Canvas->ZoomIn(); };
    ZoomOutButton->OnClick = [this] { Canvas->ZoomOut(); };
    FitButton->OnClick = [this] { FitClick(); };
    SaveButton->OnClick = [this] { SavePictureClick(); };
    connect(DistancesBox, &QCheckBox::toggled, this, [this](bool on) {
        TPictureMarks marks = Canvas->Marks();
        marks.Distances = on;
        Canvas->SetMarks(marks);
    });
    const auto key = [this](QKeySequence sequence, const std::function<void()>& act) {
        auto* shortcut = new QShortcut(sequence, this);
        connect(shortcut, &QShortcut::activated, this, [act] { RunHandler(act); });
    };
    key(QKeySequence::ZoomIn, [this] { Canvas->ZoomIn(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { Canvas->ZoomIn(); });
    key(QKeySequence::ZoomOut, [this] { Canvas->ZoomOut(); });
    key(QKeySequence(Qt::CTRL | Qt::Key_0), [this] { FitClick(); });

    auto* buttons = new QHBoxLayout;
    for (QWidget* widget : std::initializer_list<QWidget*>{ZoomInButton, ZoomOutButton, FitButton,
                                                           DistancesBox, SaveButton}) {
        buttons->addWidget(widget);
    }
    buttons->addStretch();
    auto* column = new QVBoxLayout(this);
    column->addLayout(buttons);
    column->addWidget(Canvas, 1);
    column->addWidget(Description);
    setFocusProxy(Canvas);

    SavePicture.Title = QStringLiteral("Save Picture");
    SavePicture.Filter = QStringLiteral("SVG Picture|*.svg|PNG Picture|*.png");
    SavePicture.DefaultExt = QStringLiteral("svg");
}

void TPictureWindow::ShowNetwork(const TLayoutNetwork& network) {
    Wanted = network;
    ++Generation;
    // At once: the new network on the positions shown, each node that stays where it stands and
    // a new one beside its neighbours; the layout starts from there.
    TNetworkPicture picture = Canvas->Picture();
    std::vector<TPoint> start;
    if (LaidOut) {
        start = StartBeside(picture.Network, picture.Positions, network);
    }
    if (start.empty()) {
        picture = {};  // no positions yet: nothing drawn until the first layout is back
        LaidOut = false;
        Canvas->FitToWindow();
    } else {
        picture.Positions = std::move(start);
    }
    picture.Network = network;
    MarkCutOffNodes(picture);
    Canvas->SetPicture(picture);
    StartLayout();
}

void TPictureWindow::FitClick() {
    Canvas->FitToWindow();
    Afresh = true;
    ++Generation;
    StartLayout();
}

void TPictureWindow::SetEnds(int origin, int destination) {
    TPictureMarks marks = Canvas->Marks();
    marks.Origin = origin;
    marks.Destination = destination;
    Canvas->SetMarks(marks);
}

void TPictureWindow::StartLayout() {
    if (Running) {
        return;  // the newest network is laid out when the running layout ends
    }
    Running = true;
    TLayoutStart start;
    if (LaidOut && !Afresh) {
        start.Positions = Canvas->Picture().Positions;
    }
    Afresh = false;
    const int generation = Generation;
    // The result comes back through the application object, which outlives every window; a
    // window gone meanwhile takes nothing.
    QThreadPool::globalInstance()->start(
        [window = QPointer<TPictureWindow>(this), network = Wanted, start, generation] {
            auto picture = std::make_shared<const TNetworkPicture>(PictureOf(network, start));
            QMetaObject::invokeMethod(
                qApp,
                [window, picture, generation] {
                    if (window) {
                        window->LayoutDone(*picture, generation);
                    }
                },
                Qt::QueuedConnection);
        });
}

void TPictureWindow::LayoutDone(const TNetworkPicture& picture, int generation) {
    Running = false;
    if (generation != Generation) {
        StartLayout();  // stale: lay out the newest network instead
        return;
    }
    LaidOut = true;
    Canvas->SetPicture(picture);
    emit PictureLaidOut();
}

void TPictureWindow::showEvent(QShowEvent* event) {
    Canvas->FitToWindow();
    QWidget::showEvent(event);
    FollowFrame(0);
}

void TPictureWindow::PlaceBeside(const QWidget& work) {
    const QScreen* screen = work.screen();
    if (screen == nullptr) {
        return;
    }
    const QRect room = screen->availableGeometry();
    const QRect beside = work.frameGeometry();
    // The window's frame is the one its neighbour has, until it has one of its own.
    const QMargins frame = isVisible() ? QMargins(geometry().left() - frameGeometry().left(),
                                                  geometry().top() - frameGeometry().top(),
                                                  frameGeometry().right() - geometry().right(),
                                                  frameGeometry().bottom() - geometry().bottom())
                                       : QMargins(work.geometry().left() - beside.left(),
                                                  work.geometry().top() - beside.top(),
                                                  beside.right() - work.geometry().right(),
                                                  beside.bottom() - work.geometry().bottom());
    const QSize wanted = QSize(820, 680).grownBy(frame);
    const QSize least =
        minimumSizeHint().expandedTo(minimumSize()).expandedTo(QSize(480, 360)).grownBy(frame);
    // Right, left, below, above: the first side with room for a usable window, as near to work
    // as the screen allows, over the screen's whole height (or width) beside it.
    const QRect sides[4] = {
        QRect(QPoint(beside.right() + 1, room.top()), room.bottomRight()),
        QRect(room.topLeft(), QPoint(beside.left() - 1, room.bottom())),
        QRect(QPoint(room.left(), beside.bottom() + 1), room.bottomRight()),
        QRect(room.topLeft(), QPoint(room.right(), beside.top() - 1)),
    };
    QRect place;
    for (int k = 0; k < 4; ++k) {
        const QRect& side = sides[k];
        if (side.width() < least.width() || side.height() < least.height()) {
            continue;
        }
        place = QRect(QPoint(), wanted.boundedTo(side.size()));
        if (k < 2) {
            place.moveTop(std::clamp(beside.top(), side.top(), side.bottom() - place.height() + 1));
            place.moveLeft(k == 0 ? side.left() : side.right() - place.width() + 1);
        } else {
            place.moveLeft(
                std::clamp(beside.left(), side.left(), side.right() - place.width() + 1));
            place.moveTop(k == 2 ? side.top() : side.bottom() - place.height() + 1);
        }
        break;
    }
    if (place.isNull()) {
        // No side has room: over the top of work, whose buttons run along its bottom.
        place = QRect(beside.topLeft(), wanted.boundedTo(room.size()));
        place.setHeight(std::max(std::min(place.height(), beside.height() * 2 / 3),
                                 std::min(least.height(), room.height())));
    }
    // Wholly on the screen.
    place.setSize(place.size().boundedTo(room.size()));
    place.moveLeft(std::clamp(place.left(), room.left(), room.right() - place.width() + 1));
    place.moveTop(std::clamp(place.top(), room.top(), room.bottom() - place.height() + 1));
    // The window inside the frame, at the place asked for (the window manager puts a window
    // placed by its inside where it is asked); once shown, its real frame is read and the
    // place kept (FollowFrame).
    Placed = place;
    setGeometry(place.marginsRemoved(frame));
    if (isVisible()) {
        FollowFrame(0);
    }
}

void TPictureWindow::FollowFrame(int tries) {
    if (Placed.isNull() || !isVisible()) {
        return;
    }
    const QRect inside = geometry(), outside = frameGeometry();
    // The window manager frames a window a moment after it is shown: until then its frame is
    // none, and is waited for (at most about a second).
    if (outside == inside && tries < 20) {
        QTimer::singleShot(50, this, [this, tries] { FollowFrame(tries + 1); });
        return;
    }
    const QMargins frame(inside.left() - outside.left(), inside.top() - outside.top(),
                         outside.right() - inside.right(), outside.bottom() - inside.bottom());
    const QRect want = Placed.marginsRemoved(frame);
    if (tries >= 40 || inside == want) {
        Placed = {};  // the window manager keeps it where it stands
        return;
    }
    setGeometry(want);
    QTimer::singleShot(50, this, [this, tries] { FollowFrame(tries + 1); });
}

void TPictureWindow::SavePictureClick() {
    // The network's name with .svg (.png after a PNG), in the folder of the last picture saved.
    const QString networkFile = NetworkFile ? NetworkFile() : QString();
    const QString base = networkFile.isEmpty() ? QStringLiteral("network")
                                               : QFileInfo(networkFile).completeBaseName();
    const QString folder = !SavePicture.FileName.isEmpty()
                               ? QFileInfo(SavePicture.FileName).absolutePath()
                           : !networkFile.isEmpty() ? QFileInfo(networkFile).absolutePath()
                                                    : QString();
    const QString suggested =
        base + (SavePicture.FilterIndex == 2 ? QStringLiteral(".png") : QStringLiteral(".svg"));
    SavePicture.FileName = folder.isEmpty() ? suggested : folder + QLatin1Char('/') + suggested;
    if (!SavePicture.Execute()) {
        return;
    }
    const QString name = SavePicture.FileName;
    if (QFile::exists(name) &&
        ShowBox(QStringLiteral("File [") + name +
                    QStringLiteral("] exists.... Do you want to replace it?"),
                TMessageKind::Confirmation, TBoxButtons::YesNo) != TAnswer::Yes) {
        return;
    }
    // What is shown; before the first layout has come back, laid out here.
    TNetworkPicture picture = Canvas->Picture();
    if (!LaidOut) {
        picture = PictureOf(picture.Network);
    }
    std::string bytes;
    if (SavePicture.FilterIndex == 2 ||
        name.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) {
        QImage image(1600, 1200, QImage::Format_RGB32);
        TPictureCanvas drawing;
        drawing.SetPicture(picture);
        drawing.SetMarks(Canvas->Marks());
        {
            QPainter painter(&image);
            painter.scale(2, 2);
            drawing.Render(painter, QSizeF(800, 600));
        }
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        bytes = png.toStdString();
    } else {
        bytes = PictureSvg(picture, Canvas->Marks());
    }
    const TWriteResult result = WriteWholeFile(QFile::encodeName(name).toStdString(), bytes);
    if (!result) {
        ShowBox(
            QStringLiteral("The picture could not be saved."), TMessageKind::Warning,
            TBoxButtons::Ok,
            name + QStringLiteral(": ") +
                (result.NameNotFlushed ? QString::fromLatin1(NameNotFlushedText.data(),
                                                             qsizetype(NameNotFlushedText.size())) +
                                             QLatin1Char(' ')
                                       : QString()) +
                QString::fromStdString(ErrorReason(result.Error)));
    }
}
