#include "links/link_window.h"
#include "links/save_dialogue.h"
#include "platform/application/meshloom_application.h"

#include <QAction>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "core/lists/node_lines.h"
#include "core/network/network_store.h"
#include "core/network/store_history.h"
#include "core/rows/link_rows.h"
#include "core/rows/spreadsheet_forms.h"
#include "layout/network_layout.h"
#include "picture/picture_canvas.h"
#include "picture/picture_window.h"
#include "platform/dialogs/platform_services.h"
#include "platform/services/clipboard_menu.h"
#include "platform/services/name_text.h"
#include "platform/widgets/command_button.h"
#include "platform/widgets/entry_field.h"
#include "platform/widgets/line_list.h"
#include "platform/widgets/look.h"
#include "shell/main_menu.h"
#include "shell/window_references.h"

TLinkSpecification* LinkSpecification = nullptr;

namespace {
TCommandButton* Button(const QString& caption, const QString& hint, int width, QWidget* parent) {
    return HintedButton(caption, hint, width, TFontStyle::Regular, parent);
}

// Centres the widgets in a row of their own, side by side.
QHBoxLayout* CentredRow(std::initializer_list<QWidget*> widgets) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QWidget* widget : widgets) {
        row->addWidget(widget);
    }
    row->addStretch();
    return row;
}
}  // namespace

TLinkSpecification::TLinkSpecification(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Link Specification"));
    // A caption but no close, minimise or maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setGeometry(74, 72, 660, 475);
    SetBackground(*this, Palette::Aqua);
    UseFormFont(*this);

    // Created in tab order, so the focus chain starts with the origin list.
    OriginLabel = BoldLabel(QStringLiteral("Select an &Origin"), this);
    Label1 = BoldLabel(QStringLiteral("Select a &Destination"), this);
    OriginList = new TLineList(this);
    OriginList->setToolTip(QStringLiteral("Click on a node as the origin of the link to add"));
    DestinationList = new TLineList(this);
    DestinationList->setToolTip(
        QStringLiteral("Click on a DIFFERENT node as the destination of the link to add"));
    // The node and link lines pad their columns with blanks, which line up only in a
    // fixed-pitch face.
    const QFont fixed = FixedPitchFont();
    for (TLineList* list : {OriginList, DestinationList}) {
        list->setMinimumSize(225, 137);
        list->setFont(fixed);
        // A node's number or the start of its name, typed into the list, selects it.
        list->FindLine = [](const QString& typed) {
            return NodeFoundByTyping(Network, SanitiseNodeName(typed)) - 1;
        };
    }
    OriginLabel->setBuddy(OriginList);
    Label1->setBuddy(DestinationList);
    // What a screen reader reads out for each list and field: its label without the "&"
    // (Qt takes a name from the label of an edit field, but not of a list).
    OriginList->setAccessibleName(QStringLiteral("Select an Origin"));
    DestinationList->setAccessibleName(QStringLiteral("Select a Destination"));

    LinkDistLabel = BoldLabel(QStringLiteral("&Input Distance"), this);
    LinkDist = new TEntryField(this);
    LinkDist->setToolTip(QStringLiteral("Input the distance associated with the new link"));
    LinkDist->setFixedWidth(121);
    LinkDistLabel->setBuddy(LinkDist);
    LinkDist->setAccessibleName(QStringLiteral("Input Distance"));
    LinkDist->OnKeyPress = [this](QChar& key) { LinkDistKeyPress(key); };
    LinkDist->OnExit = [this] { LinkDistExit(); };

    OneWayButton =
        Button(QStringLiteral("Add &Unidirectional Link"),
               QStringLiteral("Add the link only from the origin to the destination"), 129, this);
    TwoWayButton = Button(QStringLiteral("Add &Bidirectional Link"),
                          QStringLiteral("Add the link in both directions between the origin "
                                         "and destination (and vice versa)"),
                          129, this);
    RemoveButton =
        Button(QStringLiteral("&Remove Link"),
               QStringLiteral("Remove the link that is highlighted in the list above"), 75, this);

    LinkLabels = BoldLabel(QStringLiteral("&List of Links"), this);
    QFont larger = LinkLabels->font();
    larger.setPointSize(10);
    LinkLabels->setFont(larger);
    LinkList = new TLineList(this);
    LinkList->setToolTip(QStringLiteral("Click on a link to remove"));
    LinkList->setMinimumSize(625, 105);
    LinkLabels->setBuddy(LinkList);
    LinkList->setAccessibleName(QStringLiteral("List of Links"));

    // The heading's columns stand over the link lines only in the same face, and only when
    // the heading starts where the list's text starts.
    LinkList->setFont(fixed);
    Heading = new QLabel(QString::fromLatin1(LinkListHeading), this);
    Heading->setTextFormat(Qt::PlainText);
    Heading->setFont(fixed);
    const int textMargin =
        LinkList->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, LinkList) + 1;
    Heading->setContentsMargins(LinkList->frameWidth() + textMargin, 0, 0, 0);

    LinkCount = BoldLabel(QString(), this);
    LinkCount->setTextFormat(Qt::PlainText);
    LinkCount->setAlignment(Qt::AlignCenter);
    LinkCount->setMinimumWidth(401);
    SetTextColour(*LinkCount, Palette::Red);

    CancelButton = Button(
        QStringLiteral("&Cancel (lose all link information)"),
        QStringLiteral("Cancel all link specifications and return to the Main Menu"), 191, this);
    QuitandSave = Button(QStringLiteral("&Quit and Save Network"),
                         QStringLiteral("Quit ... Save the node and distance files ... Return to "
                                        "Main Menu"),
                         191, this);
    UseFormFont(*CancelButton, TFontStyle::Bold);
    UseFormFont(*QuitandSave, TFontStyle::Bold);

    setTabOrder(OriginList, DestinationList);
    setTabOrder(DestinationList, LinkDist);
    setTabOrder(LinkDist, OneWayButton);
    setTabOrder(OneWayButton, TwoWayButton);
    setTabOrder(TwoWayButton, RemoveButton);
    setTabOrder(RemoveButton, LinkList);
    setTabOrder(LinkList, CancelButton);
    setTabOrder(CancelButton, QuitandSave);

    OneWayButton->OnClick = [this] { OneWayButtonClick(); };
    TwoWayButton->OnClick = [this] { TwoWayButtonClick(); };
    RemoveButton->OnClick = [this] { RemoveButtonClick(); };
    CancelButton->OnClick = [this] { CancelButtonClick(); };
    QuitandSave->OnClick = [this] { QuitandSaveClick(); };
    // Not Ctrl+P, which prints everywhere else.
    ShowPictureAction = new QAction(QStringLiteral("Show Network &Picture"), this);
    ShowPictureAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    ShowPictureAction->setShortcutContext(Qt::WindowShortcut);
    connect(ShowPictureAction, &QAction::triggered, this,
            [this] { RunHandler([this] { ShowPictureClick(); }); });
    addAction(ShowPictureAction);
    for (TLineList* list : {OriginList, DestinationList}) {
        connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this] { PictureEnds(); });
    }
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    AddCopyPasteMenu(
        *this, *LinkList, QStringLiteral("Copy All Links"), [this] { CopyLinksClick(); },
        QStringLiteral("Paste Links"), [this] { PasteLinksClick(); },
        History.Actions() + QList<QAction*>{separator, ShowPictureAction});
    History.ActOnKeysIn(*this);

    // Top to bottom: the node lists side by side, the distance, the link list with its
    // heading and count, the link buttons (bidirectional, remove, unidirectional), and
    // cancel and save below them.
    auto* nodeLists = new QGridLayout;
    nodeLists->setHorizontalSpacing(39);
    nodeLists->addWidget(OriginLabel, 0, 0);
    nodeLists->addWidget(Label1, 0, 1);
    nodeLists->addWidget(OriginList, 1, 0);
    nodeLists->addWidget(DestinationList, 1, 1);
    auto* nodeRow = new QHBoxLayout;
    nodeRow->addStretch();
    nodeRow->addLayout(nodeLists);
    nodeRow->addStretch();

    auto* linkList = new QVBoxLayout;
    linkList->setSpacing(1);
    linkList->addWidget(Heading);
    linkList->addWidget(LinkList, 1);

    auto* linkButtons = CentredRow({TwoWayButton, RemoveButton, OneWayButton});
    linkButtons->setSpacing(35);
    auto* leaveButtons = CentredRow({CancelButton, QuitandSave});
    leaveButtons->setSpacing(21);

    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(14, 8, 14, 8);
    window->addLayout(nodeRow, 1);
    window->addLayout(CentredRow({LinkDistLabel, LinkDist}));
    window->addLayout(CentredRow({LinkLabels}));
    window->addLayout(linkList, 1);
    window->addLayout(CentredRow({LinkCount}));
    window->addLayout(linkButtons);
    window->addLayout(leaveButtons);

    // The two save dialogs keep their names and filters from one save to the next.
    SaveNodes.Title = QStringLiteral("Specify Name of Network Demand Data File");
    SaveNodes.Filter = QStringLiteral("Network Demand Data|*.NET|All Files|*.*");
    SaveNodes.DefaultExt = QStringLiteral("NET");
    SaveDistances.Title = QStringLiteral("Specify Name of Distance File");
    SaveDistances.Filter = QStringLiteral("Network Distance File|*.NED|All Files|*.*");
    SaveDistances.DefaultExt = QStringLiteral("NED");
}

void TLinkSpecification::StartSavesAt(const QString& demandPath, const QString& distancePath) {
    SaveNodes.FileName = demandPath;
    SaveDistances.FileName = distancePath;
}

void TLinkSpecification::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        RunHandler([this] { FormShow(); });
    }
}

void TLinkSpecification::closeEvent(QCloseEvent* event) {
    event->ignore();
}

void TLinkSpecification::FormShow() {
    History.Clear();
    // The links of an opened network are taken over, as if they had been pasted.
    const bool opened = OpenedLinksWaiting(Network);
    TakeOpenedLinks(Network);
    LinkList->Clear();
    LinkListEnds.clear();
    OneWayButton->setEnabled(false);
    TwoWayButton->setEnabled(false);
    QuitandSave->setEnabled(opened);
    RemoveButton->setEnabled(opened);
    UpdateAllLists();
    LinkDist->clear();
}

void TLinkSpecification::UpdateAllLists() {
    // Refilling a list drops its selection, so after every add or remove the user selects
    // again.
    const QStringList nodeLines = NameTexts(LinkWindowNodeLines(Network));
    OriginList->SetLines(nodeLines);
    DestinationList->SetLines(nodeLines);
    TLinkListing links = LinkWindowLinkLines(Network);
    LinkList->SetLines(NameTexts(links.Lines));
    LinkListEnds = std::move(links.Ends);
    LinkCount->setText(QString::fromLatin1(LinkCountText(static_cast<int>(LinkListEnds.size()))));
    PictureFollows();
}

void TLinkSpecification::ShowPictureClick() {
    if (!Picture) {
        Picture = new TPictureWindow(this);
        Picture->Canvas->OnOrigin = [this](int node) { OriginList->SetItemIndex(node - 1); };
        Picture->Canvas->OnDestination = [this](int node) {
            DestinationList->SetItemIndex(node - 1);
        };
        Picture->NetworkFile = [this] { return SaveNodes.FileName; };
    }
    const bool opening = !Picture->isVisible();
    if (opening) {
        Picture->PlaceBeside(*this);
    }
    Picture->show();
    Picture->raise();
    Picture->activateWindow();
    if (opening) {
        PictureFollows();
    }
}

void TLinkSpecification::PictureFollows() {
    if (Picture && Picture->isVisible()) {
        Picture->ShowNetwork(LayoutNetworkOf(Network));
        PictureEnds();
    }
}

void TLinkSpecification::PictureEnds() {
    if (Picture && Picture->isVisible()) {
        Picture->SetEnds(OriginList->ItemIndex() + 1, DestinationList->ItemIndex() + 1);
    }
}

void TLinkSpecification::HidePicture() {
    if (Picture) {
        Picture->hide();
    }
}

bool TLinkSpecification::SelectedEnds(int& origin, int& destination) {
    origin = OriginList->ItemIndex() + 1;
    destination = DestinationList->ItemIndex() + 1;
    if (origin == destination) {
        ShowBox(QStringLiteral("Origin and Destination Nodes must Differ.\rNO LINK WILL BE ADDED"),
                TMessageKind::Warning, TBoxButtons::Ok);
        return false;
    }
    if (origin == 0 || destination == 0) {
        ShowBox(QStringLiteral("You must select both an Origin and a Destination node.\r"
                               "NO LINK WILL BE ADDED"),
                TMessageKind::Warning, TBoxButtons::Ok);
        return false;
    }
    return true;
}

void TLinkSpecification::OneWayButtonClick() {
    int origin = 0;
    int destination = 0;
    if (!SelectedEnds(origin, destination)) {
        return;
    }
    AddLink(LinkChangeText(LinkSettingVerb(Network, origin, destination, false), origin,
                           destination, false),
            [=](TNetworkStore& n) { SetOneWayLink(n, origin, destination); });
}

void TLinkSpecification::TwoWayButtonClick() {
    int origin = 0;
    int destination = 0;
    if (!SelectedEnds(origin, destination)) {
        return;
    }
    AddLink(LinkChangeText(LinkSettingVerb(Network, origin, destination, true), origin, destination,
                           true),
            [=](TNetworkStore& n) { SetTwoWayLink(n, origin, destination); });
}

void TLinkSpecification::LinkDistKeyPress(QChar& key) {
    ++DistanceEdits;
    NumericFieldKeyPress(key, *QuitandSave);
}

void TLinkSpecification::LinkDistExit() {
    ++DistanceEdits;
    Network.PendingDistance = -1;
    CheckIntegerEntry(*LinkDist, Network.PendingDistance, 0, MaxDistance);
    const bool distancePending = Network.PendingDistance != -1;
    OneWayButton->setEnabled(distancePending);
    TwoWayButton->setEnabled(distancePending);
    QuitandSave->setEnabled(distancePending);
}

void TLinkSpecification::RemoveButtonClick() {
    const int line = LinkList->ItemIndex() + 1;
    if (line < 1) {
        ShowBox(QStringLiteral("You must select a link to delete\rNO ACTION TAKEN"),
                TMessageKind::Warning, TBoxButtons::Ok);
        return;
    }
    const TLinkEnds link = LinkListEnds.at(static_cast<std::size_t>(line - 1));
    const TLinkView before = View();
    TStoreChange change = RecordChange(
        Network, [link](TNetworkStore& n) { RemoveLink(n, link.Origin, link.Destination); });
    change.Text = LinkChangeText("Removal", link.Origin, link.Destination, false);
    UpdateAllLists();
    Remember(std::move(change), before);
}

void TLinkSpecification::CopyLinksClick() {
    SetClipboardRows(LinkSheetRows(Network));
}

void TLinkSpecification::PasteLinksClick() {
    const TLinkRowsReading reading = ReadLinkRows(ClipboardText(), Network);
    if (ShowPasteRefusal(reading.Refusal, reading.Links.empty(), NoLinkRows)) {
        return;
    }
    const TLinkView before = View();
    TStoreChange change =
        RecordChange(Network, [&reading](TNetworkStore& n) { AddPastedLinks(n, reading.Links); });
    change.Text = PasteChangeText(reading.Links.size(), "Link");
    RemoveButton->setEnabled(true);
    // The network may be saved now, as once a distance has been entered.
    QuitandSave->setEnabled(true);
    UpdateAllLists();
    Remember(std::move(change), before, true);
}

void TLinkSpecification::CancelButtonClick() {
    History.Clear();
    HidePicture();
    ReleaseLinkRows(Network);
    MeshLoomMain->ShowLinksDropped(Network.NumNodes);
    hide();
    ShowWindow(*MeshLoomMain);
}

void TLinkSpecification::QuitandSaveClick() {
    SaveNetwork(*this);
}

void TLinkSpecification::ReturnToMainMenu() {
    History.Clear();
    HidePicture();
    ReleaseLinkRows(Network);
    hide();
    MeshLoomMain->SetStep(TStep::Finished);
    ShowWindow(*MeshLoomMain);
}

void TLinkSpecification::AddLink(const std::string& text,
                                 const std::function<void(TNetworkStore&)>& add) {
    const TLinkView before = View();
    TStoreChange change = RecordChange(Network, add);
    change.Text = text;
    RemoveButton->setEnabled(true);
    UpdateAllLists();
    Remember(std::move(change), before);
}

void TLinkSpecification::Remember(TStoreChange change, const TLinkView& before, bool pasted) {
    TLinkView after = View();
    if (pasted) {
        after.DistanceEdits = -1;
    }
    History.Record(
        std::move(change), [this, before] { ShowView(before); },
        [this, after] { ShowView(after); });
}

TLinkSpecification::TLinkView TLinkSpecification::View() const {
    const int line = LinkList->ItemIndex();
    return {OriginList->ItemIndex(),
            DestinationList->ItemIndex(),
            line < 0 ? TLinkEnds{} : LinkListEnds.at(static_cast<std::size_t>(line)),
            RemoveButton->isEnabled(),
            QuitandSave->isEnabled(),
            DistanceEdits};
}

void TLinkSpecification::ShowView(const TLinkView& view) {
    UpdateAllLists();
    OriginList->SetItemIndex(view.Origin);
    DestinationList->SetItemIndex(view.Destination);
    const auto line = std::find(LinkListEnds.begin(), LinkListEnds.end(), view.Link);
    if (line != LinkListEnds.end()) {
        LinkList->SetItemIndex(static_cast<int>(line - LinkListEnds.begin()));
    }
    RemoveButton->setEnabled(view.RemoveEnabled);
    if (view.DistanceEdits == DistanceEdits || view.DistanceEdits < 0) {
        QuitandSave->setEnabled(view.QuitEnabled);
    }
}
