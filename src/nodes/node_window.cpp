#include "nodes/node_window.h"
#include "platform/application/meshloom_application.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QShowEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>
#include <limits>
#include <string>
#include <utility>

#include "core/file_texts/name_bytes.h"
#include "core/lists/node_lines.h"
#include "core/network/network_store.h"
#include "core/network/store_history.h"
#include "core/numbers/number_text.h"
#include "core/rows/node_rows.h"
#include "core/rows/spreadsheet_forms.h"
#include "platform/dialogs/platform_services.h"
#include "platform/services/clipboard_menu.h"
#include "platform/services/name_text.h"
#include "platform/widgets/command_button.h"
#include "platform/widgets/entry_field.h"
#include "platform/widgets/line_list.h"
#include "platform/widgets/look.h"
#include "shell/main_menu.h"
#include "shell/window_references.h"

TNodeSpecifications* NodeSpecifications = nullptr;

namespace {
// Design sizes; the layout grows a control beyond them where the font needs more room.
constexpr int FieldWidth = 121;
constexpr int SmallButtonWidth = 96;
constexpr int WideButtonWidth = 256;
constexpr int NodeListWidth = 481;
constexpr int NodeListHeight = 137;
constexpr int InformationWidth = 452;
constexpr int InformationHeight = 33;
constexpr int NodeListColumns = 63;

const Real48 LowestValue = Real48::Narrow(0);
const Real48 HighestValue = Real48::Narrow(MaxDistance);

// Hiding the entry of a full table must not move the list and the buttons about.
void RetainSizeWhenHidden(QWidget& widget) {
    QSizePolicy policy = widget.sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget.setSizePolicy(policy);
}

QLabel* FieldLabel(const QString& caption, QWidget* buddy, QWidget* parent) {
    QLabel* label = BoldLabel(caption, parent, Palette::Navy);
    label->setBuddy(buddy);
    RetainSizeWhenHidden(*label);
    return label;
}

TEntryField* Field(const QString& hint, QWidget* parent) {
    auto* field = new TEntryField(parent);
    field->setToolTip(hint);
    field->setMinimumWidth(FieldWidth);
    RetainSizeWhenHidden(*field);
    return field;
}

TCommandButton* BoldButton(const QString& caption, const QString& hint, int width,
                           QWidget* parent) {
    return HintedButton(caption, hint, width, TFontStyle::Bold, parent);
}

}  // namespace

TNodeSpecifications::TNodeSpecifications(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Node Specification Menu"));
    SetBackground(*this, Palette::Yellow);
    UseFormFont(*this);

    NodeNumberLabel = BoldLabel(QStringLiteral("NODE NUMBER"), this, Palette::Red);
    QFont numberFont = NodeNumberLabel->font();
    numberFont.setPointSize(10);
    NodeNumberLabel->setFont(numberFont);
    NodeNumber = new TEntryField(this);
    NodeNumber->setToolTip(
        QStringLiteral("This is the new node number (automatically set by the program)"));
    NodeNumber->setMinimumWidth(FieldWidth);
    NodeNumber->setReadOnly(true);
    NodeNumber->setFocusPolicy(Qt::ClickFocus);
    NodeNumber->setAccessibleName(QStringLiteral("NODE NUMBER"));

    NodeName = Field(QStringLiteral("Specify the name of the new node"), this);
    // The field takes a long pasted name whole, not cut silently at its default of 32767
    // characters; leaving it says so and keeps the first LongestNodeName (NodeNameExit).
    NodeName->setMaxLength(std::numeric_limits<int>::max());
    FirstDemand = Field(QStringLiteral("Specify the first demand value"), this);
    SecondDemand = Field(QStringLiteral("Specify the second demand value"), this);
    FixedCost = Field(QStringLiteral("Specify the fixed cost"), this);
    NodeNameLabel = FieldLabel(QStringLiteral("&Node Name"), NodeName, this);
    FirstDemandLabel = FieldLabel(QStringLiteral("&First Demand"), FirstDemand, this);
    SecondDemandLabel = FieldLabel(QStringLiteral("&Second Demand"), SecondDemand, this);
    FixedCostLabel = FieldLabel(QStringLiteral("Fi&Xed Cost"), FixedCost, this);
    // What a screen reader reads out for each field: its label without the "&".
    NodeName->setAccessibleName(QStringLiteral("Node Name"));
    FirstDemand->setAccessibleName(QStringLiteral("First Demand"));
    SecondDemand->setAccessibleName(QStringLiteral("Second Demand"));
    FixedCost->setAccessibleName(QStringLiteral("FiXed Cost"));

    NodeList = new TLineList(this);
    NodeList->setToolTip(QStringLiteral("Click on a node here to remove"));
    // The list has no label; the name follows the link window's "List of Links".
    NodeList->setAccessibleName(QStringLiteral("List of Nodes"));
    // Fixed pitch, so that the columns of the node lines stand under one another.
    NodeList->setFont(FixedPitchFont());
    const int lineWidth =
        NodeList->fontMetrics().horizontalAdvance(QString(NodeListColumns, QLatin1Char('0')));
    const int chromeWidth = 2 * NodeList->frameWidth() +
                            NodeList->verticalScrollBar()->sizeHint().width() +
                            2 * NodeList->fontMetrics().averageCharWidth();
    NodeList->setMinimumWidth(std::max(NodeListWidth, lineWidth + chromeWidth));
    NodeList->setMinimumHeight(NodeListHeight);

    AddNode = BoldButton(QStringLiteral("&Add Node"),
                         QStringLiteral("Add the node as specified to the network"),
                         SmallButtonWidth, this);
    DeleteButton =
        BoldButton(QStringLiteral("&Delete Node"), QStringLiteral("Delete the highlighted node"),
                   SmallButtonWidth, this);
    DeleteButton->setEnabled(false);
    EditButton = BoldButton(QStringLiteral("Ed&it Node"),
                            QStringLiteral("Bring the highlighted node's values into the fields"),
                            SmallButtonWidth, this);
    ReplaceButton =
        BoldButton(QStringLiteral("&Replace Node"),
                   QStringLiteral("Put the values in the fields back into the node being edited"),
                   SmallButtonWidth, this);
    EditButton->setEnabled(false);
    ReplaceButton->setEnabled(false);
    QuitButton = BoldButton(QStringLiteral("&Quit (no more nodes to add or delete)"),
                            QStringLiteral("Quit and return to the Main Menu to do Link Additions"),
                            WideButtonWidth, this);
    QuitButton->setEnabled(false);
    CancelButton =
        BoldButton(QStringLiteral("&Cancel (Lose all node information)"),
                   QStringLiteral("Cancel all node additions and return to the Main Menu"),
                   WideButtonWidth, this);

    Information = BoldLabel(QStringLiteral("Information"), this, Palette::Purple);
    Information->setAlignment(Qt::AlignCenter);
    Information->setMinimumSize(InformationWidth, InformationHeight);
    Information->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);

    auto* numberRow = new QHBoxLayout;
    numberRow->addStretch();
    numberRow->addWidget(NodeNumberLabel);
    numberRow->addWidget(NodeNumber);
    numberRow->addStretch();

    auto* entryGrid = new QGridLayout;
    entryGrid->addWidget(NodeNameLabel, 0, 0, Qt::AlignRight);
    entryGrid->addWidget(NodeName, 0, 1);
    entryGrid->addWidget(SecondDemandLabel, 0, 3, Qt::AlignRight);
    entryGrid->addWidget(SecondDemand, 0, 4);
    entryGrid->addWidget(FirstDemandLabel, 1, 0, Qt::AlignRight);
    entryGrid->addWidget(FirstDemand, 1, 1);
    entryGrid->addWidget(FixedCostLabel, 1, 3, Qt::AlignRight);
    entryGrid->addWidget(FixedCost, 1, 4);
    entryGrid->setColumnStretch(2, 1);

    auto* buttonGrid = new QGridLayout;
    buttonGrid->addWidget(AddNode, 0, 0);
    buttonGrid->addWidget(DeleteButton, 0, 2);
    buttonGrid->addWidget(EditButton, 1, 0);
    buttonGrid->addWidget(ReplaceButton, 1, 2);
    buttonGrid->addWidget(QuitButton, 2, 0, 1, 3);
    buttonGrid->addWidget(CancelButton, 3, 0, 1, 3);
    buttonGrid->setColumnStretch(1, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addLayout(buttonGrid);
    buttonRow->addStretch();

    auto* windowLayout = new QVBoxLayout(this);
    windowLayout->addLayout(numberRow);
    windowLayout->addLayout(entryGrid);
    windowLayout->addWidget(NodeList, 1);
    windowLayout->addLayout(buttonRow);
    windowLayout->addWidget(Information, 0, Qt::AlignHCenter);

    setTabOrder(NodeName, FirstDemand);
    setTabOrder(FirstDemand, SecondDemand);
    setTabOrder(SecondDemand, FixedCost);
    setTabOrder(FixedCost, AddNode);
    setTabOrder(AddNode, QuitButton);
    setTabOrder(QuitButton, NodeNumber);
    setTabOrder(NodeNumber, DeleteButton);
    setTabOrder(DeleteButton, NodeList);
    setTabOrder(NodeList, CancelButton);
    // Edit Node and Replace Node come last, so that every other Tab lands where it always has.
    setTabOrder(CancelButton, EditButton);
    setTabOrder(EditButton, ReplaceButton);

    NodeName->OnExit = [this] { NodeNameExit(); };
    FirstDemand->OnExit = [this] { FirstDemandExit(); };
    SecondDemand->OnExit = [this] { SecondDemandExit(); };
    FixedCost->OnExit = [this] { FixedCostExit(); };
    for (TEntryField* field : {FirstDemand, SecondDemand, FixedCost}) {
        field->OnKeyPress = [this](QChar& key) { NodeNameKeyPress(key); };
    }
    AddNode->OnClick = [this] { AddNodeClick(); };
    DeleteButton->OnClick = [this] { DeleteButtonClick(); };
    QuitButton->OnClick = [this] { QuitButtonClick(); };
    CancelButton->OnClick = [this] { CancelButtonClick(); };
    EditButton->OnClick = [this] { EditButtonClick(); };
    ReplaceButton->OnClick = [this] { ReplaceButtonClick(); };
    // A node's number or the start of its name, typed into the list, selects it.
    NodeList->FindLine = [](const QString& typed) {
        return NodeFoundByTyping(Network, SanitiseNodeName(typed)) - 1;
    };
    // Enter on a line of the list brings it into the fields, as a double click does.
    connect(NodeList, &QAbstractItemView::activated, this, [this] { EditButton->click(); });
    AddCopyPasteMenu(
        *this, *NodeList, QStringLiteral("Copy All Nodes"), [this] { CopyNodesClick(); },
        QStringLiteral("Paste Nodes"), [this] { PasteNodesClick(); }, History.Actions());
    History.ActOnKeysIn(*this);

    resize(522, 440);
    move(165, 102);
}

void TNodeSpecifications::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Only a showing by the program starts afresh; the window system's own (a window
    // restored from the task bar) must not discard the nodes entered.
    if (!event->spontaneous()) {
        RunHandler([this] { FormShow(); });
    }
}

void TNodeSpecifications::closeEvent(QCloseEvent* event) {
    event->ignore();
}

void TNodeSpecifications::FormShow() {
    History.Clear();
    EndEdit();
    // An opened network waits with its nodes, shown as if they had been typed.
    const bool opened = OpenedLinksWaiting(Network);
    if (!opened) {
        StartNodeTable(Network);
        // A network begun afresh has no files yet.
        MeshLoomMain->ForgetOpenedNetwork();
    }
    NodeList->Clear();
    ShowEditButtons();
    ShowCount();
    ShowNextNodeNumber();
    ClearEntryFields();
    ResetPendingNode();
    // After a full table in an earlier showing the fields must come back.
    ShowEntryWhileRoomLeft();
    if (opened && Network.NumNodes > 0) {
        ShowNodeTable();
        QuitButton->setEnabled(true);
    }
    NodeName->setFocus();
}

void TNodeSpecifications::NodeNameKeyPress(QChar& Key) {
    NumericFieldKeyPress(Key, *QuitButton);
}

void TNodeSpecifications::NodeNameExit() {
    Network.PendingName = SanitiseNodeName(NodeName->text());
    if (Network.PendingName.size() > LongestNodeName) {
        ShowBox(QString::fromStdString(LongNameCutText(Network.PendingName.size())),
                TMessageKind::Warning, TBoxButtons::Ok);
        Network.PendingName.resize(LongestNodeName);
    }
    const QString unheld = UnheldCharacterWarning(NodeName->text(), Network.PendingName);
    if (!unheld.isEmpty()) {
        ShowBox(unheld, TMessageKind::Warning, TBoxButtons::Ok);
    }
    // The field shows the name exactly as it will be stored and written.
    const QString stored = NameText(Network.PendingName);
    if (NodeName->text() != stored) {
        NodeName->setText(stored);
    }
    QuitButton->setEnabled(true);
}

void TNodeSpecifications::FirstDemandExit() {
    Network.PendingFirstDemand = LowestValue;
    CheckRealEntry(*FirstDemand, Network.PendingFirstDemand, LowestValue, HighestValue);
    QuitButton->setEnabled(true);
}

void TNodeSpecifications::SecondDemandExit() {
    Network.PendingSecondDemand = LowestValue;
    CheckRealEntry(*SecondDemand, Network.PendingSecondDemand, LowestValue, HighestValue);
    QuitButton->setEnabled(true);
}

void TNodeSpecifications::FixedCostExit() {
    Network.PendingFixedCost = LowestValue;
    CheckRealEntry(*FixedCost, Network.PendingFixedCost, LowestValue, HighestValue);
    QuitButton->setEnabled(true);
}

void TNodeSpecifications::AddNodeClick() {
    if (Network.NumNodes >= MaxNodes) {
        return;
    }
    // The fields' values become a new node; the node being edited, if any, stays as it was.
    EndEdit();
    const TNodeView before = View();
    TStoreChange change = RecordChange(Network, AddPendingNode);
    change.Text = NodeChangeText("Addition", Network, Network.NumNodes);
    ShowAddedNodes();
    Remember(std::move(change), before);
}

void TNodeSpecifications::CopyNodesClick() {
    SetClipboardRows(NodeSheetRows(Network));
}

void TNodeSpecifications::PasteNodesClick() {
    // A table that has been full takes no more nodes, as Add Node stays disabled then.
    const int room = AddNode->isEnabled() ? MaxNodes - Network.NumNodes : 0;
    const TNodeRowsReading reading = ReadNodeRows(ClipboardText(), room);
    if (ShowPasteRefusal(reading.Refusal, reading.Nodes.empty(), NoNodeRows)) {
        return;
    }
    const TNodeView before = View();
    TStoreChange change =
        RecordChange(Network, [&reading](TNetworkStore& n) { AddPastedNodes(n, reading.Nodes); });
    change.Text = PasteChangeText(reading.Nodes.size(), "Node");
    EndEdit();
    // As when the values had been typed: leaving a field lets the planner quit.
    QuitButton->setEnabled(true);
    // The node being typed stays in its fields and pending values, to be added next.
    ShowNodeTable();
    Remember(std::move(change), before);
}

void TNodeSpecifications::ShowAddedNodes() {
    // The name too: a name left in the field for the previous node must not be given to
    // the next one while the emptied field shows none.
    ResetPendingNode();
    // A full table keeps showing the texts of its hidden fields, those of the node just
    // added, which is no longer being typed.
    if (Network.NumNodes < MaxNodes) {
        ClearEntryFields();
    }
    FieldsHoldAddedNode = Network.NumNodes >= MaxNodes;
    ShowNodeTable();
}

void TNodeSpecifications::ShowNodeTable() {
    ShowCount();
    ListNodes();
    NodeList->SetItemIndex(Network.NumNodes - 1);
    DeleteButton->setEnabled(true);
    ShowNextNodeNumber();
    ShowEntryWhileRoomLeft();
}

void TNodeSpecifications::QuitButtonClick() {
    if (Network.NumNodes < 2) {
        ShowBox(QStringLiteral("You must specify at least 2 nodes to enable link additions."),
                TMessageKind::Information, TBoxButtons::Ok);
        if (ShowBox(QStringLiteral("If you QUIT now you will lose any information you have "
                                   "supplied.\rDo you want to QUIT?"),
                    TMessageKind::Confirmation, TBoxButtons::YesNo) == TAnswer::Yes) {
            DropOpenedLinks(Network);
            MeshLoomMain->ForgetOpenedNetwork();
            ReturnToMainMenu();
        }
        return;
    }
    MeshLoomMain->SetStep(TStep::LinksNext);
    ReturnToMainMenu();
}

void TNodeSpecifications::ListNodes() {
    NodeList->Clear();
    ShowEditButtons();
    if (Network.NumNodes <= 0) {
        return;
    }
    NodeList->SetLines(NameTexts(NodeWindowListLines(Network)));
    NodeList->SetItemIndex(Network.NumNodes - 1);
}

void TNodeSpecifications::DeleteButtonClick() {
    const int k = NodeList->ItemIndex() + 1;
    if (k < 1) {
        ShowBox(QStringLiteral("You must select a node from the list to delete"),
                TMessageKind::Warning, TBoxButtons::Ok);
        return;
    }
    const int links = LinksOfNode(Network, k);
    if (links > 0 &&
        ShowBox(QStringLiteral("Node %1 (%5) has %2 %3 in the link list; deleting the node "
                               "deletes %4 too.\rDo you want to delete the node and its %3?")
                    .arg(k)
                    .arg(links)
                    .arg(links == 1 ? QStringLiteral("link") : QStringLiteral("links"))
                    .arg(links == 1 ? QStringLiteral("it") : QStringLiteral("them"))
                    .arg(NameText(Network.NodeNames[k])),
                TMessageKind::Confirmation, TBoxButtons::YesNo) != TAnswer::Yes) {
        return;
    }
    EndEdit();
    const TNodeView before = View();
    std::string text = NodeChangeText("Delete", Network, k);
    TStoreChange change =
        RecordChange(Network, [k](TNetworkStore& n) { DeleteNodeWithLinks(n, k); });
    change.Text = std::move(text);
    ListNodes();
    // The node that followed the deleted one; after the last node the request is ignored
    // and the new last line stays selected.
    NodeList->SetItemIndex(k - 1);
    if (Network.NumNodes == 0) {
        DeleteButton->setEnabled(false);
        QuitButton->setEnabled(false);
    }
    ShowNextNodeNumber();
    ClearEntryFields();
    ResetPendingNode();
    ShowCount();
    ShowEntryWhileRoomLeft();
    NodeList->setFocus();
    Remember(std::move(change), before);
}

void TNodeSpecifications::CancelButtonClick() {
    // The opened network's links are lost with its nodes; its files stay as they are.
    DropOpenedLinks(Network);
    MeshLoomMain->ForgetOpenedNetwork();
    ReturnToMainMenu();
}

void TNodeSpecifications::EditButtonClick() {
    const int k = NodeList->ItemIndex() + 1;
    if (k < 1) {
        ShowBox(QStringLiteral("You must select a node from the list to edit"),
                TMessageKind::Warning, TBoxButtons::Ok);
        return;
    }
    EditedNode = k;
    Network.PendingName = Network.NodeNames[k];
    Network.PendingFirstDemand = Network.FirstDemands[k];
    Network.PendingSecondDemand = Network.SecondDemands[k];
    Network.PendingFixedCost = Network.FixedCosts[k];
    NodeName->setText(NameText(Network.PendingName));
    FirstDemand->setText(QString::fromLatin1(ShortestValueText(Network.PendingFirstDemand)));
    SecondDemand->setText(QString::fromLatin1(ShortestValueText(Network.PendingSecondDemand)));
    FixedCost->setText(QString::fromLatin1(ShortestValueText(Network.PendingFixedCost)));
    FieldsHoldAddedNode = false;
    ShowEditButtons();
    ShowNextNodeNumber();
    // A full table shows its fields for as long as the edit lasts.
    ShowEntryWhileRoomLeft();
    NodeName->setFocus();
    NodeName->selectAll();
}

void TNodeSpecifications::ReplaceButtonClick() {
    const int k = EditedNode;
    if (k < 1 || k > Network.NumNodes) {
        return;
    }
    const TNodeView before = View();
    const TNodeSlot slot{Network.PendingName, Network.PendingFirstDemand,
                         Network.PendingSecondDemand, Network.PendingFixedCost, TSitePlace{}};
    TStoreChange change =
        RecordChange(Network, [k, &slot](TNetworkStore& n) { ReplaceNode(n, k, slot); });
    change.Text = NodeChangeText("Change", Network, k);
    ResetPendingNode();
    ClearEntryFields();
    EndEdit();
    ListNodes();
    NodeList->SetItemIndex(k - 1);
    ShowNextNodeNumber();
    NodeList->setFocus();
    Remember(std::move(change), before);
}

// The fields go back to entering a new node; those of a full table hide again, emptied.
void TNodeSpecifications::EndEdit() {
    if (EditedNode > 0 && Network.NumNodes >= MaxNodes) {
        ClearEntryFields();
        ResetPendingNode();
    }
    EditedNode = 0;
    ShowEditButtons();
    ShowNextNodeNumber();
    ShowEntryWhileRoomLeft();
}

// Edit Node needs a node to bring in; Replace Node, a node being edited.
void TNodeSpecifications::ShowEditButtons() {
    EditButton->setEnabled(Network.NumNodes > 0);
    ReplaceButton->setEnabled(EditedNode > 0);
}

void TNodeSpecifications::ResetPendingNode() {
    Network.PendingName.clear();
    Network.PendingFirstDemand = LowestValue;
    Network.PendingSecondDemand = LowestValue;
    Network.PendingFixedCost = LowestValue;
}

void TNodeSpecifications::ClearEntryFields() {
    for (TEntryField* field : {NodeName, FirstDemand, SecondDemand, FixedCost}) {
        field->clear();
    }
    FieldsHoldAddedNode = false;
}

// The entry fields are there whenever the table has room or a node is being edited.
void TNodeSpecifications::ShowEntryWhileRoomLeft() {
    const bool roomLeft = Network.NumNodes < MaxNodes;
    const bool shown = roomLeft || EditedNode > 0;
    for (QWidget* control : std::initializer_list<QWidget*>{
             NodeName, NodeNameLabel, FirstDemand, FirstDemandLabel, SecondDemand,
             SecondDemandLabel, FixedCost, FixedCostLabel}) {
        control->setVisible(shown);
    }
    AddNode->setEnabled(roomLeft);
}

// A full table, filled by typing or by a paste, shows 150: there is no next node. During an
// edit the number is that of the node being edited.
void TNodeSpecifications::ShowNextNodeNumber() {
    const int number = EditedNode > 0 ? EditedNode : std::min(Network.NumNodes + 1, MaxNodes);
    NodeNumber->setText(QString::fromLatin1(IntToStr(number)));
}

void TNodeSpecifications::ShowCount() {
    Information->setText(QString::fromLatin1(NodeCountText(Network.NumNodes)));
}

void TNodeSpecifications::ReturnToMainMenu() {
    EndEdit();
    History.Clear();
    hide();
    ShowWindow(*MeshLoomMain);
}

TNodeSpecifications::TNodeView TNodeSpecifications::View() const {
    return {NodeList->ItemIndex(), DeleteButton->isEnabled(), QuitButton->isEnabled()};
}

// The table as a paste shows it, the node being typed staying in its fields, with the line and
// the buttons as they were. Fields that come back after a full table keep the node being typed
// (a paste filled the table), but not the node whose Add Node filled it: they come back empty.
void TNodeSpecifications::ShowView(const TNodeView& view) {
    // Asked before the edit ends, which enables Add Node again where the table has room.
    const bool heldAddedNode = !AddNode->isEnabled() && FieldsHoldAddedNode;
    // An undo or a redo may move the nodes about: an edit does not outlive it.
    EndEdit();
    if (heldAddedNode && Network.NumNodes < MaxNodes) {
        ClearEntryFields();
        ResetPendingNode();
    }
    ShowNodeTable();
    NodeList->SetItemIndex(view.Selected);
    if (view.Selected < 0) {
        NodeList->clearSelection();
    }
    DeleteButton->setEnabled(view.DeleteEnabled);
    QuitButton->setEnabled(view.QuitEnabled);
}

void TNodeSpecifications::Remember(TStoreChange change, const TNodeView& before) {
    History.Record(
        std::move(change), [this, before] { ShowView(before); },
        [this, after = View()] { ShowView(after); });
}
