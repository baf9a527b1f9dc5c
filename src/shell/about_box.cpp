#include "shell/about_box.h"
#include "platform/application/meshloom_application.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include "platform/widgets/command_button.h"
#include "platform/widgets/look.h"
#include "shell/main_menu.h"
#include "shell/version_record.h"
#include "shell/window_references.h"

namespace {
QLabel* MakeLabel(QWidget* parent, const QString& text, const QColor& colour,
                  Qt::Alignment alignment) {
    auto* label = new QLabel(text, parent);
    UseFormFont(*label);
    SetTextColour(*label, colour);
    label->setAlignment(alignment);
    return label;
}

bool IsOrdinaryWindow(const QWidget& widget) {
    const Qt::WindowType type = widget.windowType();
    return type == Qt::Window || type == Qt::Dialog;
}
}  // namespace

TAboutBoxModDist::TAboutBoxModDist(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("MESHLOOM About Box"));
    SetBackground(*this, Palette::Navy);
    UseFormFont(*this);
    CreateControls();
    move(207, 133);
    setFixedSize(sizeHint().expandedTo(QSize(358, 332)));

    AboutTimer = new QTimer(this);
    AboutTimer->setInterval(1500);
    connect(AboutTimer, &QTimer::timeout, this,
            [this] { RunHandler([this] { AboutTimerTimer(); }); });
    AboutTimer->start();
}

void TAboutBoxModDist::CreateControls() {
    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Panel1->setLineWidth(1);
    Panel1->setMidLineWidth(2);
    SetBackground(*Panel1, Palette::Navy);
    Panel1->setMinimumSize(281, 281);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setPixmap(QPixmap(QStringLiteral(":/meshloom.png")));
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setFixedSize(65, 57);

    ProductName = new QLabel(QStringLiteral("M E S H L O O M"), Panel1);
    UseBoldPixelFont(*ProductName, 24);
    SetTextColour(*ProductName, Palette::White);
    ProductName->setMinimumSize(181, 29);

    Version = MakeLabel(Panel1, QStringLiteral("Version 1.00"), Palette::Fuchsia,
                        Qt::AlignRight | Qt::AlignVCenter);
    WrapWithin(*Version, 170);

    Copyright = MakeLabel(Panel1,
                          QStringLiteral("Copyright \u00A9 the MESHLOOM developers.\n"
                                         "All rights reserved."),
                          Palette::Yellow, Qt::AlignCenter);
    WrapWithin(*Copyright, 214);

    Comments = MakeLabel(Panel1,
                         QStringLiteral("This program allows the user to create SMALL network "
                                        "data sets to be used by KORVANTE"),
                         Palette::Aqua, Qt::AlignLeft | Qt::AlignTop);
    WrapWithin(*Comments, 223);

    PropertyLabel = MakeLabel(Panel1, QStringLiteral("PropertyLabel"), Palette::Silver,
                              Qt::AlignRight | Qt::AlignVCenter);
    PropertyLabel->setMinimumWidth(170);

    OKButton = new TCommandButton(QStringLiteral("&OK"), this);
    OKButton->setMinimumSize(75, 25);
    OKButton->setDefault(true);
    OKButton->OnClick = [this] { OKButtonClick(); };

    // The icon at the top left; name, version and flags beside it; the two notices below.
    auto* panel = new QGridLayout(Panel1);
    panel->setContentsMargins(8, 8, 8, 8);
    panel->setHorizontalSpacing(7);
    panel->setVerticalSpacing(3);
    panel->addWidget(ProgramIcon, 0, 0, 3, 1, Qt::AlignLeft | Qt::AlignTop);
    panel->addWidget(ProductName, 0, 1);
    panel->addWidget(Version, 1, 1, Qt::AlignRight);
    panel->addWidget(PropertyLabel, 2, 1, Qt::AlignRight);
    panel->addWidget(Copyright, 3, 0, 1, 2, Qt::AlignHCenter);
    panel->addWidget(Comments, 4, 0, 1, 2, Qt::AlignHCenter);
    panel->setRowMinimumHeight(2, 16);
    panel->setRowStretch(5, 1);
    panel->setColumnStretch(1, 1);

    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(38, 8, 38, 8);
    form->setSpacing(11);
    form->addWidget(Panel1);
    form->addWidget(OKButton, 0, Qt::AlignHCenter);
    form->addStretch(1);
}

void TAboutBoxModDist::OKButtonClick() {
    ShowWindow(*MeshLoomMain);
    CloseItself();
}

void TAboutBoxModDist::MakeSplash() {
    OKButton->hide();
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    IsSplash = true;
    QCoreApplication::instance()->installEventFilter(this);
    show();
    // Paint at once, so the splash is on screen while the other windows are created: wait
    // (briefly, whatever the desktop does) until the window is mapped, then paint it.
    const QDeadlineTimer deadline(500);
    while (windowHandle() != nullptr && !windowHandle()->isExposed() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(1);
    }
    repaint();
}

void TAboutBoxModDist::AboutTimerTimer() {
    OKButton->show();
    CloseItself();
}

void TAboutBoxModDist::FormShow() {
    const std::optional<TVersionRecord> record =
        ReadVersionRecord(QCoreApplication::applicationFilePath());
    if (!record) {
        return;
    }
    Version->setText(VersionText(*record));
    PropertyLabel->setText(FlagWords(*record));
}

void TAboutBoxModDist::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        RunHandler([this] { FormShow(); });
    }
}

void TAboutBoxModDist::closeEvent(QCloseEvent* event) {
    // Closed from the desktop (a window-manager key, say) rather than by OK or the timer: the
    // about box goes back to the main menu as OK does, so the user is never left without a
    // window.
    if (!ClosingItself && !IsSplash && MeshLoomMain != nullptr) {
        ShowWindow(*MeshLoomMain);
    }
    event->accept();
}

void TAboutBoxModDist::CloseItself() {
    ClosingItself = true;
    close();
    ClosingItself = false;
}

void TAboutBoxModDist::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (IsSplash && !event->spontaneous()) {
        QCoreApplication::instance()->removeEventFilter(this);
    }
}

void TAboutBoxModDist::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && OKButton->isVisible() && OKButton->isEnabled()) {
        OKButton->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

// While the splash is up it stays above every other window of the program, also where no
// window manager keeps a stay-on-top window above the others: a window shown meanwhile is
// mapped on top, so the splash raises itself again once that has happened.
bool TAboutBoxModDist::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched != this && watched->isWidgetType() &&
        isVisible()) {
        const auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow() && IsOrdinaryWindow(*widget)) {
            QTimer::singleShot(0, this, [this] {
                if (isVisible()) {
                    raise();
                }
            });
        }
    }
    return QWidget::eventFilter(watched, event);
}
