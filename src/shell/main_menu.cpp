#include "shell/main_menu.h"
#include "platform/application/meshloom_application.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>
#include <QStringList>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>

#include "core/file_texts/data_files.h"
#include "core/network/link_rebuild.h"
#include "core/network/network_store.h"
#include "files/network_file_reader.h"
#include "platform/application/hint_switch.h"
#include "platform/dialogs/platform_services.h"
#include "platform/widgets/command_button.h"
#include "platform/widgets/look.h"
#include "shell/about_box.h"
#include "shell/import_question.h"
#include "shell/window_references.h"

namespace {
const QString HintsShownText = QStringLiteral("Hints will be shown... Click to Hide");
const QString HintsHiddenText = QStringLiteral("Hints will be hidden... Click to Show");

// The text of a file that could not be read or was refused, in a warning box.
void ShowOpenRefusal(const QString& path, const std::string& why) {
    ShowBox(QStringLiteral("File [") + path + QStringLiteral("] cannot be opened.\r") +
                QString::fromStdString(why),
            TMessageKind::Warning, TBoxButtons::Ok);
}

// The whole file at path, at most limit bytes; nothing, after saying why, when it cannot be.
std::optional<std::string> ReadFileOrSay(const QString& path, std::size_t limit) {
    TReadResult read = ReadNetworkFile(QFile::encodeName(path).toStdString(), limit);
    if (!read) {
        ShowOpenRefusal(path, ReadFailureText(read, limit));
        return std::nullopt;
    }
    return std::move(read.Text);
}

TCommandButton* MakeButton(QWidget* parent, const QString& caption, const QString& hint,
                           TFontStyle style) {
    return HintedButton(caption, hint, 121, style, parent);
}

QLabel* MakeRowLabel(QWidget* parent, const QString& text) {
    return BoldLabel(text, parent, Palette::Lime);
}

// A framed group of rows, each a button with its explanatory label to its right.
QFrame* MakeBevel(QWidget* parent, int verticalMargin, int rowSpacing,
                  std::initializer_list<std::pair<QWidget*, QLabel*>> rows) {
    auto* bevel = new QFrame(parent);
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    auto* grid = new QGridLayout(bevel);
    grid->setContentsMargins(24, verticalMargin, 24, verticalMargin);
    grid->setHorizontalSpacing(7);
    grid->setVerticalSpacing(rowSpacing);
    int row = 0;
    for (const auto& [button, label] : rows) {
        grid->addWidget(button, row, 0);
        grid->addWidget(label, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    return bevel;
}
}  // namespace

TMeshLoomMain::TMeshLoomMain(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("MESHLOOM Main Menu"));
    SetBackground(*this, Palette::Purple);
    UseFormFont(*this);
    CreateControls();
    SetStep(TStep::NodesFirst);
    move(200, 108);
    resize(sizeHint().expandedTo(QSize(403, 370)));
    FormCreate();
}

TMeshLoomMain::~TMeshLoomMain() {
    delete Splash;
}

void TMeshLoomMain::CreateControls() {
    AboutButton =
        MakeButton(this, QStringLiteral("&About MESHLOOM"),
                   QStringLiteral("Show the ABOUT box for MESHLOOM"), TFontStyle::BoldItalic);
    NodeButton = MakeButton(this, QStringLiteral("&Node Specifications"),
                            QStringLiteral("First you have to specify the nodes in the problem"),
                            TFontStyle::Bold);
    LinkButton = MakeButton(this, QStringLiteral("&Link Specifications"),
                            QStringLiteral("Next you have to specify the links in the problem"),
                            TFontStyle::Bold);
    QuitButton = MakeButton(this, QStringLiteral("&Exit MESHLOOM"),
                            QStringLiteral("You can always exit from MESHLOOM"), TFontStyle::Bold);

    Panel1 = new QLabel(QStringLiteral("MESHLOOM Main Menu"), this);
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    SetBackground(*Panel1, Palette::White);
    SetTextColour(*Panel1, Palette::Navy);
    UseScriptFont(*Panel1, 24);
    Panel1->setMinimumSize(281, 41);

    Label1 = MakeRowLabel(this, QStringLiteral("Show ABOUT Box for MESHLOOM"));
    Label2 = MakeRowLabel(this, QStringLiteral("Specify Node Information"));
    Label3 = MakeRowLabel(this, QStringLiteral("Then Specify Link Information"));
    Label4 = MakeRowLabel(this, QStringLiteral("Exit MESHLOOM"));
    OpenButton =
        MakeButton(this, QStringLiteral("&Open Network..."),
                   QStringLiteral("Open a saved network to change it (Ctrl+O)"), TFontStyle::Bold);
    OpenLabel = MakeRowLabel(this, QStringLiteral("Or Open a Saved Network"));
    ImportButton = MakeButton(
        this, QStringLiteral("&Import Network..."),
        QStringLiteral("Import a distance table, a routing table, sites with coordinates or a "
                       "test problem (Ctrl+I)"),
        TFontStyle::Bold);
    ImportLabel = MakeRowLabel(this, QStringLiteral("Or Import a Table or Test Problem"));

    Label5 = new QLabel(
        QStringLiteral("Nodes first, then links:\nthe network is saved for KORVANTE."), this);
    Label5->setAlignment(Qt::AlignCenter);
    SetTextColour(*Label5, Palette::Yellow);
    WrapWithin(*Label5, 214);

    HintShow =
        MakeButton(this, QStringLiteral("Hide &Hints"),
                   QStringLiteral("Click to hide or show all hints"), TFontStyle::BoldItalic);
    HintShowLabel = MakeRowLabel(this, HintsShownText);
    // Wide enough for either text, so the window keeps its size when the hints are switched.
    const QFontMetrics metrics(HintShowLabel->font());
    HintShowLabel->setMinimumWidth(std::max(metrics.horizontalAdvance(HintsShownText),
                                            metrics.horizontalAdvance(HintsHiddenText)));
    NetworkLine = new QLabel(this);
    SetTextColour(*NetworkLine, Palette::Yellow);
    NetworkLine->setWordWrap(true);
    NetworkLine->setTextFormat(Qt::PlainText);
    // Its gap above goes with it while it is hidden, so the menu keeps its size until then.
    NetworkLine->setContentsMargins(0, 7, 0, 0);
    NetworkLine->setVisible(false);

    Bevel1 = MakeBevel(this, 13, 10, {{AboutButton, Label1}, {HintShow, HintShowLabel}});
    Bevel2 = MakeBevel(this, 16, 19,
                       {{NodeButton, Label2},
                        {LinkButton, Label3},
                        {OpenButton, OpenLabel},
                        {ImportButton, ImportLabel},
                        {QuitButton, Label4}});

    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(8, 8, 8, 25);
    form->setSpacing(0);
    form->addWidget(Panel1, 0, Qt::AlignHCenter);
    form->addSpacing(15);
    form->addWidget(Label5, 0, Qt::AlignHCenter);
    form->addSpacing(22);
    form->addWidget(Bevel1);
    form->addSpacing(7);
    form->addWidget(Bevel2);
    form->addWidget(NetworkLine);
    form->addStretch(1);

    setTabOrder(AboutButton, NodeButton);
    setTabOrder(NodeButton, LinkButton);
    setTabOrder(LinkButton, QuitButton);
    setTabOrder(QuitButton, HintShow);
    // Open Network comes last, so that every other Tab, and the focus handed on when a step
    // button is disabled, lands where it always has.
    setTabOrder(HintShow, OpenButton);
    setTabOrder(OpenButton, ImportButton);
    AboutButton->setFocus();

    AboutButton->OnClick = [this] { AboutButtonClick(); };
    NodeButton->OnClick = [this] { NodeButtonClick(); };
    LinkButton->OnClick = [this] { LinkButtonClick(); };
    QuitButton->OnClick = [this] { QuitButtonClick(); };
    HintShow->OnClick = [this] { HintShowClick(); };
    OpenButton->OnClick = [this] { OpenButtonClick(); };
    auto* openKey = new QShortcut(QKeySequence::Open, this);
    connect(openKey, &QShortcut::activated, this, [this] { OpenButton->click(); });
    ImportButton->OnClick = [this] { ImportButtonClick(); };
    auto* importKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_I), this);
    connect(importKey, &QShortcut::activated, this, [this] { ImportButton->click(); });

    OpenNodes.Title = QStringLiteral("Specify Name of Network Demand Data File to Open");
    OpenNodes.Filter = QStringLiteral("Network Demand Data|*.NET|All Files|*.*");
    OpenNodes.DefaultExt = QStringLiteral("NET");
    OpenDistances.Title = QStringLiteral("Specify Name of Distance File to Open");
    OpenDistances.Filter = QStringLiteral("Network Distance File|*.NED|All Files|*.*");
    OpenDistances.DefaultExt = QStringLiteral("NED");
    ImportFile.Title = QStringLiteral("Specify Name of File to Import");
    ImportFile.Filter = QStringLiteral(
        "Tables and Test Problems|*.csv *.tsv *.txt *.json *.tsp *.atsp *.vrp|"
        "Distance Tables, Long Lists and Sites|*.csv *.tsv *.txt|"
        "Routing Tables|*.json|"
        "TSPLIB Files|*.tsp *.atsp *.vrp|"
        "OR-Library p-Median Files|*.txt|"
        "All Files|*.*");
}

void TMeshLoomMain::FormCreate() {
    // The splash is a second about box of its own, not AboutBoxModDist. Its timer has been
    // running since it was created; enabling a running timer does not restart the count, so
    // the splash still goes 1500 ms after its creation.
    Splash = new TAboutBoxModDist;
    Splash->MakeSplash();
    if (!Splash->AboutTimer->isActive()) {
        Splash->AboutTimer->start();
    }
}

void TMeshLoomMain::AboutButtonClick() {
    AboutBoxModDist->AboutTimer->stop();
    hide();
    ShowWindow(*AboutBoxModDist);
}

void TMeshLoomMain::NodeButtonClick() {
    hide();
    ShowWindow(*NodeWindow);
}

void TMeshLoomMain::LinkButtonClick() {
    ShowWindow(*LinkWindow);
    hide();
}

void TMeshLoomMain::SetStepWindows(QWidget& nodeWindow, QWidget& linkWindow) {
    NodeWindow = &nodeWindow;
    LinkWindow = &linkWindow;
}

void TMeshLoomMain::SetStep(TStep step) {
    CurrentStep = step;
    // The link button first: disabling the node button that holds the focus hands the focus
    // on to the next enabled button, which must be "&Link Specifications", not the exit.
    LinkButton->setEnabled(step == TStep::LinksNext);
    NodeButton->setEnabled(step == TStep::NodesFirst);
}

void TMeshLoomMain::HintShowClick() {
    SetHintsShown(!HintsShown());
    if (HintsShown()) {
        HintShowLabel->setText(HintsShownText);
        SetTextColour(*HintShowLabel, Palette::Lime);
        HintShow->setText(QStringLiteral("Hide &Hints"));
    } else {
        HintShowLabel->setText(HintsHiddenText);
        SetTextColour(*HintShowLabel, Palette::Yellow);
        HintShow->setText(QStringLiteral("Show &Hints"));
    }
}

void TMeshLoomMain::QuitButtonClick() {
    AboutBoxModDist->AboutTimer->stop();
    close();
}

bool TMeshLoomMain::MayReplaceNetwork() {
    // Nodes that went on to the link step and have not been saved would be lost.
    return CurrentStep != TStep::LinksNext ||
           ShowBox(QStringLiteral("The nodes and links entered have not been saved.\r"
                                  "Do you want to open a saved network in their place?"),
                   TMessageKind::Confirmation, TBoxButtons::YesNo) == TAnswer::Yes;
}

void TMeshLoomMain::OpenButtonClick() {
    if (MayReplaceNetwork() && PlatformServices().ExecuteOpenDialog(OpenNodes)) {
        OpenNetwork(OpenNodes.FileName);
    }
}

void TMeshLoomMain::ImportButtonClick() {
    if (MayReplaceNetwork() && PlatformServices().ExecuteOpenDialog(ImportFile)) {
        ImportNetwork(ImportFile.FileName);
    }
}

bool TMeshLoomMain::ImportNetwork(const QString& path) {
    const std::optional<std::string> text = ReadFileOrSay(path, LargestImportText());
    if (!text) {
        return false;
    }
    const std::optional<TImportAnswer> answer = AskImport(path, *text);
    if (!answer) {
        return false;
    }
    PutOpenedNetwork(Network, answer->Network);
    SetStep(TStep::NodesFirst);
    ImportFile.FileName = path;
    // The imported file is no saved pair: the saves start at its name with the two extensions,
    // in its folder, and no opened file is replaced in place.
    const QFileInfo file(path);
    const QString stem = file.absoluteDir().filePath(file.completeBaseName());
    OpenedDemand.clear();
    OpenedDistance.clear();
    ShowNetworkLine(QStringLiteral("Imported %1 (%2): %3 nodes and %4 %5 at scale %6.")
                        .arg(QDir::toNativeSeparators(file.absoluteFilePath()), answer->KindText)
                        .arg(answer->Network.Nodes.size())
                        .arg(answer->Links)
                        .arg(answer->Links == 1 ? QStringLiteral("link") : QStringLiteral("links"))
                        .arg(answer->Scale));
    emit NetworkImported(stem + QStringLiteral(".NET"), stem + QStringLiteral(".NED"));
    return true;
}

bool TMeshLoomMain::OpenNetwork(const QString& demandPath) {
    const std::optional<std::string> demandText =
        ReadFileOrSay(demandPath, LargestDemandDataText());
    if (!demandText) {
        return false;
    }
    // A demand data file that is refused is said so before a distance file is asked for.
    const TDemandDataReading nodes = ReadDemandDataText(*demandText);
    if (nodes.Refusal) {
        ShowOpenRefusal(demandPath, FileRefusalText(*nodes.Refusal));
        return false;
    }
    QString distancePath =
        QFile::decodeName(DistanceFileFor(QFile::encodeName(demandPath).toStdString()).c_str());
    if (!QFileInfo::exists(distancePath)) {
        // Said before the dialog asks, so that the planner knows why it does.
        OpenDistances.Title = QStringLiteral(
                                  "No Distance File beside %1: Specify Name of "
                                  "Distance File to Open")
                                  .arg(QFileInfo(demandPath).fileName());
        OpenDistances.InitialDir = QFileInfo(demandPath).absolutePath();
        if (!PlatformServices().ExecuteOpenDialog(OpenDistances)) {
            return false;
        }
        distancePath = OpenDistances.FileName;
    }
    const std::optional<std::string> distanceText =
        ReadFileOrSay(distancePath, LargestDistanceText());
    if (!distanceText) {
        return false;
    }
    const TOpenedReading reading = ReadOpenedNetwork(*demandText, *distanceText);
    if (!reading.Network) {
        ShowOpenRefusal(reading.InDistanceFile ? distancePath : demandPath,
                        FileRefusalText(reading.Refusal));
        return false;
    }
    PutOpenedNetwork(Network, *reading.Network);
    SetStep(TStep::NodesFirst);
    OpenNodes.FileName = demandPath;
    OpenedDemand = QFileInfo(demandPath).absoluteFilePath();
    OpenedDistance = QFileInfo(distancePath).absoluteFilePath();
    const int links = RebuiltLinkCount(*reading.Network);
    ShowNetworkLine(QStringLiteral("Opened %1: %2 nodes and %3 %4 rebuilt from its distances "
                                   "(a link no shorter than a way through other nodes is not "
                                   "kept, as that way gives the same distance).")
                        .arg(QDir::toNativeSeparators(OpenedDemand))
                        .arg(reading.Network->Nodes.size())
                        .arg(links)
                        .arg(links == 1 ? QStringLiteral("link") : QStringLiteral("links")));
    emit NetworkOpened(OpenedDemand, OpenedDistance);
    return true;
}

void TMeshLoomMain::ForgetOpenedNetwork() {
    OpenedDemand.clear();
    OpenedDistance.clear();
    ShowNetworkLine(QString());
}

void TMeshLoomMain::ShowLinksDropped(int nodes) {
    if (OpenedDemand.isEmpty()) {
        return;
    }
    ShowNetworkLine(QStringLiteral("Opened %1: its links were dropped by Cancel in the link "
                                   "window; its %2 nodes are kept, without links.")
                        .arg(QDir::toNativeSeparators(OpenedDemand))
                        .arg(nodes));
}

void TMeshLoomMain::ShowSavedNetwork(const QString& demandPath, const QString& distancePath) {
    QStringList saved;
    for (const QString& path : {demandPath, distancePath}) {
        if (!path.isEmpty()) {
            saved << QDir::toNativeSeparators(path);
        }
    }
    if (saved.size() == 2) {
        ShowNetworkLine(QStringLiteral("Saved %1 and %2.").arg(saved[0], saved[1]));
    } else if (!demandPath.isEmpty()) {
        ShowNetworkLine(QStringLiteral("Saved %1; the distance file was not saved.").arg(saved[0]));
    } else if (!distancePath.isEmpty()) {
        ShowNetworkLine(
            QStringLiteral("Saved %1; the demand data file was not saved.").arg(saved[0]));
    } else {
        ShowNetworkLine(QStringLiteral("The network was not saved."));
    }
}

void TMeshLoomMain::ShowNetworkLine(const QString& text) {
    NetworkLine->setText(text);
    NetworkLine->setAccessibleName(text);
    NetworkLine->setVisible(!text.isEmpty());
    setAccessibleDescription(text);
}

bool TMeshLoomMain::FormClose() {
    if (AboutBoxModDist != nullptr) {
        AboutBoxModDist->AboutTimer->stop();
    }
    MessageBeep(16);
    if (ShowBox(QStringLiteral("Thanks for using MESHLOOM.\rAre you sure you want to exit now?"),
                TMessageKind::Confirmation, TBoxButtons::YesNo) != TAnswer::Yes) {
        return false;
    }
    ShowBox(QStringLiteral("Exiting MESHLOOM."), TMessageKind::Information, TBoxButtons::Ok);
    return true;
}

void TMeshLoomMain::closeEvent(QCloseEvent* event) {
    bool mayClose = false;
    RunHandler([&] { mayClose = FormClose(); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    event->accept();
    emit Closed();
}
