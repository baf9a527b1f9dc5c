// The random-input run: for fixed seeds, thousands of random events through the real windows
// (clicks on every enabled control and on list lines, keys typed into every field, access
// keys, focus moves, list navigation, pasted and composed text, close requests from the
// desktop), with every message box and save dialog answered at random. After every event the
// store must hold its invariants, no general error box may have come up, and every file pair
// saved must be exactly the files of the network as it stood at the save.
//
// A failing run prints its seed, the event and the events before it. Replay one seed with
//   MESHLOOM_RANDOM_SEED=<seed> [MESHLOOM_RANDOM_EVENTS=<count>] [MESHLOOM_RANDOM_TRACE=1]
// (the trace prints every event as it happens). Under the sanitizers, where each event costs
// several times as much, a run takes a tenth of its events unless MESHLOOM_RANDOM_FULL=1.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <optional>

#include "app/program.h"
#include "core/network/network_store.h"
#include "core/numbers/entry_rules.h"
#include "links/link_window.h"
#include "network_files.h"
#include "nodes/node_window.h"
#include "platform/application/meshloom_application.h"
#include "platform/services/name_text.h"
#include "platform/widgets/command_button.h"
#include "platform/widgets/entry_field.h"
#include "platform/widgets/line_list.h"
#include "random_platform.h"
#include "random_source.h"
#include "shell/about_box.h"
#include "shell/main_menu.h"
#include "shell/window_references.h"

namespace {

const std::vector<std::uint64_t> Seeds{1, 2, 3, 4, 5};
constexpr int FullEvents = 20000;
#if defined(__SANITIZE_ADDRESS__)
constexpr int DefaultEvents = FullEvents / 10;
#else
constexpr int DefaultEvents = FullEvents;
#endif
constexpr int EventsShownOnFailure = 40;

const QString NotConnected = QStringLiteral("NETWORK IS NOT CONNECTED");
const QString NotSaved = QStringLiteral("Data were not saved correctly ... WARNING");
const QString DemandFailed = QStringLiteral("FATAL ERROR SAVING DEMAND DATA FILE");
const QString DistanceFailed = QStringLiteral("FATAL ERROR SAVING DISTANCE FILE");

std::optional<long long> EnvironmentNumber(const char* name) {
    bool ok = false;
    const long long value = qEnvironmentVariable(name).toLongLong(&ok);
    return ok ? std::optional<long long>(value) : std::nullopt;
}

QString ReplaceQuestion(const QString& name) {
    return QStringLiteral("File [") + name +
           QStringLiteral("] exists.... Do you want to replace it?");
}

// The main menu's step state (TStep), which moves only forward during one run of the program.
const char* StepName(TStep step) {
    switch (step) {
        case TStep::NodesFirst:
            return "nodes first";
        case TStep::LinksNext:
            return "links next";
        case TStep::Finished:
            return "finished";
    }
    return "?";
}

// Ends the run when condition does not hold; the account is made only then.
#define RUN_CHECK(condition, what) \
    do {                           \
        if (!(condition)) {        \
            Fail(what);            \
        }                          \
    } while (false)

// What a check found wrong; ends the run.
struct TRunFailure {
    QString What;
};

// A file of the run's folder as the run last left it.
struct TKnownFile {
    qint64 Size = 0;
    QDateTime Modified;
};

// What the run needs to know of the moment before an event.
struct TBeforeEvent {
    bool NodeWindowVisible = false;
    bool LinkWindowVisible = false;
    int NumNodes = 0;
    const QWidget* Focus = nullptr;
    // The entries as the fields show them and as they were last accepted.
    QString NodeTexts[4];  // name, first demand, second demand, fixed cost
    std::string PendingName;
    Real48 PendingValues[3];
    QString LinkDistText;
    std::int32_t PendingDistance = -1;
    // The selected lines, -1 for none.
    int NodeLine = -1;
    int OriginLine = -1;
    int DestinationLine = -1;
    int LinkLine = -1;
    bool DemandFileSaved = false;
    bool DistanceFileSaved = false;
    bool NetworkSaved = false;
};

struct TCoverage {
    int Restarts = 0;
    int ExitsConfirmed = 0;
    int NodeWindowShown = 0;
    int LinkWindowShown = 0;
    int MaxNodes = 0;
    int FullTables = 0;
    int MaxLinks = 0;
    int SaveAttempts = 0;
    int ConnectedSaves = 0;
    int FilesWritten = 0;
    int FailedWrites = 0;
    int NetworksSaved = 0;
    int Boxes = 0;
};

}  // namespace

// One run of one seed through the program's windows.
class TRandomRun {
  public:
    TRandomRun(std::uint64_t seed, int events, const QString& folder);
    ~TRandomRun();

    // Runs every event; returns an empty text, or the account of the first failure.
    QString Run();
    QString CoverageText() const;

  private:
    // The program, started afresh whenever it ends or reaches its finished state.
    void StartProgram();
    void EndProgram();
    void NameControls();
    TAboutBoxModDist* FindSplash() const;
    std::vector<QWidget*> VisibleWindows() const;
    QWidget* CurrentWindow() const;
    QString NameOf(const QWidget* widget) const;
    void Settle();
    void MakeActive(QWidget* window);

    // The events.
    void OneEvent();
    void RandomAction(QWidget* window);
    void IntoField(QWidget* window, std::function<void(QWidget*)> action);
    void StartIntent(QWidget* window);
    void NodeWindowIntent();
    void LinkWindowIntent();
    void FillTable(int beyond);
    void Then(std::function<void()> step) { Intent.push_back(std::move(step)); }

    // The actions, each one event as a user makes it.
    std::vector<QWidget*> EnabledControls(QWidget* window) const;
    QWidget* FocusIn(QWidget* window) const;
    void Click(QWidget* widget);
    void ClickLine(TLineList* list, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void ClickBelowLines(TLineList* list);
    void DoubleClick(QWidget* widget);
    void Key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void Type(QWidget* target, const QString& text);
    void ClearField(QWidget* target);
    void AccessKey(QWidget* window, QChar letter);
    void Paste(QWidget* target, const QString& text);
    void Compose(QWidget* target, const QString& text);
    void CloseRequest(QWidget* window);
    void MinimiseAndRestore(QWidget* window);
    void Drop(QWidget* field, const QString& text);
    void Wheel(TLineList* list);
    void Describe(const QString& what);

    // Texts a user might type.
    QString TextFor(const QWidget* field);
    QString NameText();
    QString NumberText(bool integer);
    QString JunkText();
    QString ExoticNumberText();
    QString OddCharacter();
    QChar AccessLetterOf(QWidget* window);

    // The checks.
    TBeforeEvent Before() const;
    void CheckAfterEvent(const TBeforeEvent& before);
    void CheckWindows();
    void CheckStore();
    void CheckSteps();
    void CheckSave(const TBeforeEvent& before);
    void FollowRecord(const TBeforeEvent& before);
    TSavedNetwork AddedNode(const TBeforeEvent& before) const;
    std::optional<TSavedNetwork> ExplainedLinks(const TBeforeEvent& before) const;
    void CheckFolder(const std::map<QString, QByteArray>& written);
    [[noreturn]] void Fail(const QString& what) const;
    void Note(const QString& line);

    const std::uint64_t Seed;
    const int Events;
    TRandomSource Random;
    QDir Folder;
    TRandomPlatform Platform;

    int EventIndex = 0;
    bool ProgramEnded = false;
    std::map<const QWidget*, QString> Names;
    std::deque<std::function<void()>> Intent;
    QWidget* IntentWindow = nullptr;
    std::deque<QString> RecentEvents;
    bool Trace = false;

    // Follows the step state and the node table fixed with it.
    TStep LastStep = TStep::NodesFirst;
    std::optional<TSavedNetwork> FixedNodes;
    int NodesAtLinkShow = -1;
    QWidget* LastWindow = nullptr;
    std::map<QString, TKnownFile> KnownFiles;
    bool TableWasFull = false;
    // The network as the run entered it: every node and link the windows accepted, kept by
    // the run itself from what it typed and selected, never read back from the store. The
    // store is held against it after every event, and the expected files come from it. During
    // the checks of an event it still holds the network as it stood before the event;
    // FollowRecord moves it on last.
    TSavedNetwork Record;

    TCoverage Coverage;
};

TRandomRun::TRandomRun(std::uint64_t seed, int events, const QString& folder)
    : Seed(seed), Events(events), Random(seed), Folder(folder), Platform(Random, folder) {
    Trace = qEnvironmentVariableIntValue("MESHLOOM_RANDOM_TRACE") != 0;
    Platform.Log = [this](const QString& line) { Note(line); };
}

TRandomRun::~TRandomRun() {
    EndProgram();
}

// ---------------------------------------------------------------------------------------
// The program

void TRandomRun::StartProgram() {
    ResetNetworkStore();
    CreateProgramWindows();
    QObject::connect(MeshLoomMain, &TMeshLoomMain::Closed, [this] { ProgramEnded = true; });
    ProgramEnded = false;
    NameControls();
    // The splash leaves at its first tick; here the tick comes at once, so that a run does not
    // depend on the clock. The about box's own timer ticks only while the box is hidden, where
    // a tick changes nothing; it is stopped for the same reason.
    TAboutBoxModDist* splash = FindSplash();
    if (splash != nullptr) {
        splash->AboutTimer->stop();
        splash->AboutTimerTimer();
    }
    AboutBoxModDist->AboutTimer->stop();
    MeshLoomMain->show();
    Settle();
    LastStep = TStep::NodesFirst;
    FixedNodes.reset();
    Record = TSavedNetwork();
    NodesAtLinkShow = -1;
    LastWindow = MeshLoomMain;
    Intent.clear();
    Note(QStringLiteral("    (the program starts)"));
}

void TRandomRun::EndProgram() {
    if (MeshLoomMain != nullptr) {
        DestroyProgramWindows();
    }
    Names.clear();
    Intent.clear();
}

TAboutBoxModDist* TRandomRun::FindSplash() const {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<TAboutBoxModDist*>(widget);
        if (box != nullptr && box != AboutBoxModDist) {
            return box;
        }
    }
    return nullptr;
}

void TRandomRun::NameControls() {
    Names.clear();
    TMeshLoomMain& menu = *MeshLoomMain;
    Names[&menu] = QStringLiteral("main menu");
    Names[menu.AboutButton] = QStringLiteral("AboutButton");
    Names[menu.NodeButton] = QStringLiteral("NodeButton");
    Names[menu.LinkButton] = QStringLiteral("LinkButton");
    Names[menu.QuitButton] = QStringLiteral("QuitButton");
    Names[menu.HintShow] = QStringLiteral("HintShow");
    TAboutBoxModDist& about = *AboutBoxModDist;
    Names[&about] = QStringLiteral("about box");
    Names[about.OKButton] = QStringLiteral("OKButton");
    TNodeSpecifications& nodes = *NodeSpecifications;
    Names[&nodes] = QStringLiteral("node window");
    Names[nodes.NodeNumber] = QStringLiteral("NodeNumber");
    Names[nodes.NodeName] = QStringLiteral("NodeName");
    Names[nodes.FirstDemand] = QStringLiteral("FirstDemand");
    Names[nodes.SecondDemand] = QStringLiteral("SecondDemand");
    Names[nodes.FixedCost] = QStringLiteral("FixedCost");
    Names[nodes.NodeList] = QStringLiteral("NodeList");
    Names[nodes.AddNode] = QStringLiteral("AddNode");
    Names[nodes.DeleteButton] = QStringLiteral("DeleteButton");
    Names[nodes.QuitButton] = QStringLiteral("QuitButton");
    Names[nodes.CancelButton] = QStringLiteral("CancelButton");
    Names[nodes.EditButton] = QStringLiteral("EditButton");
    Names[nodes.ReplaceButton] = QStringLiteral("ReplaceButton");
    TLinkSpecification& links = *LinkSpecification;
    Names[&links] = QStringLiteral("link window");
    Names[links.OriginList] = QStringLiteral("OriginList");
    Names[links.DestinationList] = QStringLiteral("DestinationList");
    Names[links.LinkDist] = QStringLiteral("LinkDist");
    Names[links.LinkList] = QStringLiteral("LinkList");
    Names[links.OneWayButton] = QStringLiteral("OneWayButton");
    Names[links.TwoWayButton] = QStringLiteral("TwoWayButton");
    Names[links.RemoveButton] = QStringLiteral("RemoveButton");
    Names[links.CancelButton] = QStringLiteral("CancelButton");
    Names[links.QuitandSave] = QStringLiteral("QuitandSave");
}

QString TRandomRun::NameOf(const QWidget* widget) const {
    if (widget == nullptr) {
        return QStringLiteral("(nothing)");
    }
    const auto found = Names.find(widget);
    if (found != Names.end()) {
        return found->second;
    }
    // A list's viewport is named by its list.
    if (widget->parentWidget() != nullptr) {
        const auto parent = Names.find(widget->parentWidget());
        if (parent != Names.end() && qobject_cast<QAbstractItemView*>(widget->parentWidget())) {
            return parent->second;
        }
    }
    return QString::fromLatin1(widget->metaObject()->className());
}

std::vector<QWidget*> TRandomRun::VisibleWindows() const {
    std::vector<QWidget*> visible;
    for (QWidget* window : std::initializer_list<QWidget*>{MeshLoomMain, AboutBoxModDist,
                                                           NodeSpecifications, LinkSpecification}) {
        if (window != nullptr && window->isVisible()) {
            visible.push_back(window);
        }
    }
    return visible;
}

QWidget* TRandomRun::CurrentWindow() const {
    const std::vector<QWidget*> visible = VisibleWindows();
    return visible.size() == 1 ? visible.front() : nullptr;
}

void TRandomRun::Settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// The desktop brings the window that the program shows to the front; the access keys and the
// focus moves need it to be the active window.
void TRandomRun::MakeActive(QWidget* window) {
    if (QApplication::activeWindow() == window) {
        return;
    }
    window->activateWindow();
    Settle();
    if (QApplication::activeWindow() != window) {
        RUN_CHECK(QTest::qWaitForWindowActive(window), NameOf(window) + " does not become active");
    }
}

// ---------------------------------------------------------------------------------------
// The run

QString TRandomRun::Run() {
    try {
        StartProgram();
        CheckWindows();
        for (EventIndex = 1; EventIndex <= Events; ++EventIndex) {
            OneEvent();
            if (ProgramEnded) {
                ++Coverage.ExitsConfirmed;
                ++Coverage.Restarts;
                EndProgram();
                StartProgram();
                CheckWindows();
            } else if (CurrentWindow() == MeshLoomMain && LastStep == TStep::Finished &&
                       Random.Percent(40)) {
                // One network per run of the program: start again to go on covering the
                // windows.
                ++Coverage.Restarts;
                EndProgram();
                StartProgram();
                CheckWindows();
            }
        }
    } catch (const TRunFailure& failure) {
        QString account = QStringLiteral("seed %1, event %2 of %3: %4\n")
                              .arg(Seed)
                              .arg(EventIndex)
                              .arg(Events)
                              .arg(failure.What);
        account += QStringLiteral("the events before it:\n");
        for (const QString& line : RecentEvents) {
            account += QStringLiteral("  ") + line + QLatin1Char('\n');
        }
        account += QStringLiteral("replay with MESHLOOM_RANDOM_SEED=%1 MESHLOOM_RANDOM_EVENTS=%2")
                       .arg(Seed)
                       .arg(EventIndex);
        return account;
    }
    return QString();
}

void TRandomRun::OneEvent() {
    QWidget* window = CurrentWindow();
    RUN_CHECK(window != nullptr, QStringLiteral("no single window to act on"));
    MakeActive(window);
    const TBeforeEvent before = Before();
    Platform.ClearRecord();

    if (window != IntentWindow) {
        Intent.clear();
    }
    if (!Intent.empty()) {
        std::function<void()> step = std::move(Intent.front());
        Intent.pop_front();
        step();
    } else if (Random.Percent(35)) {
        IntentWindow = window;
        StartIntent(window);
        if (!Intent.empty()) {
            std::function<void()> step = std::move(Intent.front());
            Intent.pop_front();
            step();
        } else {
            RandomAction(window);
        }
    } else {
        RandomAction(window);
    }
    Settle();
    CheckAfterEvent(before);
}

void TRandomRun::Note(const QString& line) {
    if (Trace) {
        // Past the test log's limit on messages: a trace runs to many thousand lines.
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    }
    RecentEvents.push_back(line);
    while (RecentEvents.size() > static_cast<std::size_t>(EventsShownOnFailure)) {
        RecentEvents.pop_front();
    }
}

void TRandomRun::Describe(const QString& what) {
    Note(QStringLiteral("#%1 %2: %3").arg(EventIndex).arg(NameOf(CurrentWindow()), what));
}

// ---------------------------------------------------------------------------------------
// Random actions

std::vector<QWidget*> TRandomRun::EnabledControls(QWidget* window) const {
    std::vector<QWidget*> controls;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisible() || !widget->isEnabled()) {
            continue;
        }
        if (qobject_cast<QAbstractButton*>(widget) != nullptr ||
            qobject_cast<QLineEdit*>(widget) != nullptr ||
            qobject_cast<TLineList*>(widget) != nullptr) {
            controls.push_back(widget);
        }
    }
    return controls;
}

QWidget* TRandomRun::FocusIn(QWidget* window) const {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && focus->window() == window ? focus : window;
}

namespace {
// A field that pastes into itself; elsewhere the paste keys add rows to the window's list.
bool TakesPaste(QWidget* widget) {
    const auto* field = qobject_cast<QLineEdit*>(widget);
    return field != nullptr && !field->isReadOnly();
}
}  // namespace

void TRandomRun::RandomAction(QWidget* window) {
    QWidget* focus = FocusIn(window);
    auto* list = qobject_cast<TLineList*>(focus);
    switch (Random.Weighted({30, 25, 10, 8, 6, 3, 3, 1, 1, 1, 1, 1, 2, 1, 2, 2})) {
        case 0: {  // a click on a control, the steps forward more often
            const std::vector<QWidget*> controls = EnabledControls(window);
            if (controls.empty()) {
                Key(focus, Qt::Key_Tab);
                return;
            }
            std::vector<int> weights;
            for (QWidget* control : controls) {
                const QString name = NameOf(control);
                int weight = 2;
                if (name == QLatin1String("NodeButton") || name == QLatin1String("LinkButton") ||
                    name == QLatin1String("AddNode") || name == QLatin1String("OneWayButton") ||
                    name == QLatin1String("TwoWayButton") || name == QLatin1String("OKButton") ||
                    name == QLatin1String("QuitandSave")) {
                    weight = 5;
                } else if (name == QLatin1String("CancelButton") ||
                           (window == MeshLoomMain && name == QLatin1String("QuitButton"))) {
                    weight = 1;
                }
                weights.push_back(weight);
            }
            Click(controls[static_cast<std::size_t>(Random.Weighted(weights))]);
            return;
        }
        case 1:
            IntoField(window, [this](QWidget* field) { Type(field, TextFor(field)); });
            return;
        case 2:
            Key(focus, Qt::Key_Tab, Random.Percent(30) ? Qt::ShiftModifier : Qt::NoModifier);
            return;
        case 3:
            AccessKey(window, AccessLetterOf(window));
            return;
        case 4: {
            static const std::vector<Qt::Key> moves{Qt::Key_Up,   Qt::Key_Down,   Qt::Key_Home,
                                                    Qt::Key_End,  Qt::Key_PageUp, Qt::Key_PageDown,
                                                    Qt::Key_Left, Qt::Key_Right,  Qt::Key_Space};
            Key(focus, Random.Pick(moves),
                Random.Percent(15) ? (Random.Percent(50) ? Qt::ControlModifier : Qt::ShiftModifier)
                                   : Qt::NoModifier);
            return;
        }
        case 5: {
            static const std::vector<Qt::Key> keys{Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape};
            Key(focus, Random.Pick(keys));
            return;
        }
        case 6:
            IntoField(window, [this](QWidget* field) { ClearField(field); });
            return;
        case 7:
            IntoField(window, [this](QWidget* field) {
                switch (Random.Weighted({45, 45, 10})) {
                    case 0:
                        Paste(field, NameText());
                        return;
                    case 1:
                        Paste(field, JunkText() + QStringLiteral("\n\t") + NumberText(false));
                        return;
                    default:  // more than a field holds
                        Paste(field,
                              QString(Random.Between(2000, 40000), QLatin1Char('7')) + NameText());
                        return;
                }
            });
            return;
        case 8:
            IntoField(window, [this](QWidget* field) {
                Compose(field, Random.Percent(50) ? OddCharacter() : NumberText(false));
            });
            return;
        case 9:
            CloseRequest(window);
            return;
        case 10: {
            const QList<TLineList*> lists = window->findChildren<TLineList*>();
            if (!lists.isEmpty()) {
                Wheel(lists[Random.Below(static_cast<int>(lists.size()))]);
                return;
            }
            Key(focus, Qt::Key_Tab);
            return;
        }
        case 11: {
            const std::vector<QWidget*> controls = EnabledControls(window);
            std::vector<QWidget*> targets;
            for (QWidget* control : controls) {
                if (qobject_cast<QLineEdit*>(control) || qobject_cast<TLineList*>(control)) {
                    targets.push_back(control);
                }
            }
            if (!targets.empty()) {
                DoubleClick(Random.Pick(targets));
                return;
            }
            Key(focus, Qt::Key_Tab);
            return;
        }
        case 12:
            if (list != nullptr && list->Count() > 0) {
                // Ctrl+click on a line: on the selected line it takes the selection away.
                const int selected = list->ItemIndex();
                ClickLine(
                    list,
                    selected >= 0 && Random.Percent(70) ? selected : Random.Below(list->Count()),
                    Qt::ControlModifier);
                return;
            }
            Key(focus, Qt::Key_Down);
            return;
        case 13:
            MinimiseAndRestore(window);
            return;
        case 14: {
            std::vector<QWidget*> fields;
            for (QWidget* control : EnabledControls(window)) {
                if (qobject_cast<QLineEdit*>(control) != nullptr) {
                    fields.push_back(control);
                }
            }
            if (!fields.empty()) {
                Drop(Random.Pick(fields), Random.Percent(70) ? ExoticNumberText() : NameText());
                return;
            }
            Key(focus, Qt::Key_Tab);
            return;
        }
        default: {
            static const std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> edits{
                {Qt::Key_Delete, Qt::NoModifier}, {Qt::Key_Backspace, Qt::NoModifier},
                {Qt::Key_Z, Qt::ControlModifier}, {Qt::Key_A, Qt::ControlModifier},
                {Qt::Key_X, Qt::ControlModifier}, {Qt::Key_C, Qt::ControlModifier},
                {Qt::Key_V, Qt::ControlModifier}, {Qt::Key_Home, Qt::ShiftModifier},
                {Qt::Key_End, Qt::ShiftModifier}};
            const auto& [key, modifiers] = Random.Pick(edits);
            // The paste and undo keys go to text fields only (see Paste); elsewhere they change
            // the store, which the record follows only along the typed road.
            const bool pastesRows = (key == Qt::Key_V || key == Qt::Key_Z) && !TakesPaste(focus);
            Key(focus, pastesRows ? Qt::Key_Backspace : key,
                pastesRows ? Qt::NoModifier : modifiers);
            return;
        }
    }
}

// Runs action on the field that has the focus. When the focus is elsewhere, mostly clicks a
// field first (this event) and runs action on it at the next event.
void TRandomRun::IntoField(QWidget* window, std::function<void(QWidget*)> action) {
    QWidget* focus = FocusIn(window);
    std::vector<QWidget*> fields;
    for (QWidget* control : EnabledControls(window)) {
        if (qobject_cast<QLineEdit*>(control) != nullptr) {
            fields.push_back(control);
        }
    }
    if (qobject_cast<QLineEdit*>(focus) != nullptr || fields.empty() || Random.Percent(25)) {
        action(focus);
        return;
    }
    Click(Random.Pick(fields));
    IntentWindow = window;
    Intent.push_front([this, action] { action(FocusIn(CurrentWindow())); });
}

void TRandomRun::StartIntent(QWidget* window) {
    if (window == NodeSpecifications) {
        NodeWindowIntent();
    } else if (window == LinkSpecification) {
        LinkWindowIntent();
    } else if (window == MeshLoomMain) {
        // The next step of the work.
        Then([this] {
            TMeshLoomMain& menu = *MeshLoomMain;
            TCommandButton* next =
                menu.NodeButton->isEnabled()
                    ? menu.NodeButton
                    : (menu.LinkButton->isEnabled() ? menu.LinkButton : menu.AboutButton);
            if (Random.Percent(60)) {
                Click(next);
            } else {
                AccessKey(MeshLoomMain,
                          next == menu.NodeButton
                              ? QLatin1Char('N')
                              : (next == menu.LinkButton ? QLatin1Char('L') : QLatin1Char('A')));
            }
        });
    } else if (window == AboutBoxModDist) {
        Then([this] {
            if (Random.Percent(50)) {
                Click(AboutBoxModDist->OKButton);
            } else {
                Key(FocusIn(AboutBoxModDist), Qt::Key_Return);
            }
        });
    }
}

void TRandomRun::NodeWindowIntent() {
    TNodeSpecifications& nodes = *NodeSpecifications;
    // Moves the focus to a field by a click, its access key or Tab from the field before.
    auto enter = [this](TEntryField* field, QChar letter, bool afterPrevious) {
        Then([this, field, letter, afterPrevious] {
            const int how = Random.Below(10);
            if (how < 4 && afterPrevious) {
                Key(FocusIn(NodeSpecifications), Qt::Key_Tab);
            } else if (how < 7) {
                Click(field);
            } else {
                AccessKey(NodeSpecifications, letter);
            }
        });
    };
    auto fill = [this](TEntryField* field, bool number) {
        Then([this, field] {
            if (QApplication::focusWidget() == field && !field->text().isEmpty()) {
                ClearField(field);
            } else {
                Key(FocusIn(NodeSpecifications), Qt::Key_End);
            }
        });
        Then([this, field, number] {
            Type(field,
                 number ? (Random.Percent(85) ? NumberText(false) : JunkText()) : NameText());
        });
    };
    auto add = [this] {
        Then([this] {
            if (Random.Percent(60)) {
                Click(NodeSpecifications->AddNode);
            } else {
                AccessKey(NodeSpecifications, QLatin1Char('A'));
            }
        });
    };

    switch (Random.Weighted({40, 2, 10, 10})) {
        case 0:  // one node, every field filled in
            enter(nodes.NodeName, QLatin1Char('N'), false);
            fill(nodes.NodeName, false);
            enter(nodes.FirstDemand, QLatin1Char('F'), true);
            fill(nodes.FirstDemand, true);
            enter(nodes.SecondDemand, QLatin1Char('S'), true);
            fill(nodes.SecondDemand, true);
            enter(nodes.FixedCost, QLatin1Char('X'), true);
            fill(nodes.FixedCost, true);
            add();
            return;
        case 1:  // a table filled to the top, and a little beyond
            FillTable(Random.Between(0, 3));
            return;
        case 2:  // delete a node
            Then([this, &nodes] {
                if (nodes.NodeList->Count() > 0 && Random.Percent(90)) {
                    ClickLine(nodes.NodeList, Random.Below(nodes.NodeList->Count()));
                } else {
                    Click(nodes.NodeList);
                }
            });
            Then([this, &nodes] {
                if (!nodes.DeleteButton->isEnabled() || Random.Percent(40)) {
                    AccessKey(NodeSpecifications, QLatin1Char('D'));
                } else {
                    Click(nodes.DeleteButton);
                }
            });
            return;
        default:  // done with the nodes
            Then([this, &nodes] {
                if (nodes.QuitButton->isEnabled() && Random.Percent(60)) {
                    Click(nodes.QuitButton);
                } else {
                    AccessKey(NodeSpecifications, QLatin1Char('Q'));
                }
            });
            return;
    }
}

// Queues the steps of one more quickly entered node, and after its Add Node the next, until
// the table is full and beyond more adds were tried.
void TRandomRun::FillTable(int beyond) {
    if (Network.NumNodes >= MaxNodes && beyond-- <= 0) {
        return;
    }
    TNodeSpecifications& nodes = *NodeSpecifications;
    Then([this, &nodes] {
        if (nodes.NodeName->isVisible() && Random.Percent(50)) {
            Click(nodes.NodeName);
        } else {
            AccessKey(NodeSpecifications, QLatin1Char('N'));
        }
    });
    Then([this] { Type(FocusIn(NodeSpecifications), NameText()); });
    if (Random.Percent(30)) {
        Then([this] { AccessKey(NodeSpecifications, QLatin1Char('X')); });
        Then([this] { Type(FocusIn(NodeSpecifications), NumberText(false)); });
    }
    Then([this, beyond] {
        if (Random.Percent(60)) {
            Click(NodeSpecifications->AddNode->isEnabled()
                      ? static_cast<QWidget*>(NodeSpecifications->AddNode)
                      : static_cast<QWidget*>(NodeSpecifications->NodeList));
        } else {
            AccessKey(NodeSpecifications, QLatin1Char('A'));
        }
        FillTable(beyond);
    });
}

void TRandomRun::LinkWindowIntent() {
    TLinkSpecification& links = *LinkSpecification;
    auto distance = [this, &links](std::function<QString()> text) {
        Then([this, &links] {
            if (Random.Percent(60)) {
                Click(links.LinkDist);
            } else {
                AccessKey(LinkSpecification, QLatin1Char('I'));
            }
        });
        Then([this, &links] {
            if (!links.LinkDist->text().isEmpty()) {
                ClearField(FocusIn(LinkSpecification));
            } else {
                Key(FocusIn(LinkSpecification), Qt::Key_End);
            }
        });
        Then([this, &links, text] { Type(links.LinkDist, text()); });
        Then([this, &links] { Key(FocusIn(LinkSpecification), Qt::Key_Tab); });
    };
    // A line of a list, or the empty space below the lines for a line outside the list.
    auto pick = [this](TLineList* list, int line) {
        Then([this, list, line] {
            if (line >= 0 && line < list->Count()) {
                ClickLine(list, line);
            } else {
                ClickBelowLines(list);
            }
        });
    };
    auto add = [this, &links](bool twoWay) {
        Then([this, &links, twoWay] {
            TCommandButton* button = twoWay ? links.TwoWayButton : links.OneWayButton;
            if (button->isEnabled() && Random.Percent(60)) {
                Click(button);
            } else {
                AccessKey(LinkSpecification, twoWay ? QLatin1Char('B') : QLatin1Char('U'));
            }
        });
    };
    const int n = Network.NumNodes;

    switch (Random.Weighted({16, 1, 4, 6})) {
        case 0: {  // one link
            const int origin = Random.Percent(95) ? Random.Below(n) : -1;
            const int destination =
                Random.Percent(10) ? origin : (Random.Percent(95) ? Random.Below(n) : -1);
            pick(links.OriginList, origin);
            pick(links.DestinationList, destination);
            if (Network.PendingDistance == -1 || Random.Percent(50)) {
                distance([this] { return Random.Percent(85) ? NumberText(true) : JunkText(); });
            }
            add(Random.Percent(50));
            return;
        }
        case 1: {  // a chain through every node, short enough to keep the network connected
            const int longest = n > 1 ? MaxDistance / (n - 1) : MaxDistance;
            distance([this, longest] { return QString::number(Random.Between(0, longest)); });
            for (int i = 0; i + 1 < n; ++i) {
                pick(links.OriginList, i);
                pick(links.DestinationList, i + 1);
                add(true);
            }
            return;
        }
        case 2:  // remove a link
            Then([this, &links] {
                if (links.LinkList->Count() > 0 && Random.Percent(90)) {
                    ClickLine(links.LinkList, Random.Below(links.LinkList->Count()));
                } else {
                    Click(links.LinkList);
                }
            });
            Then([this, &links] {
                if (links.RemoveButton->isEnabled() && Random.Percent(60)) {
                    Click(links.RemoveButton);
                } else {
                    AccessKey(LinkSpecification, QLatin1Char('R'));
                }
            });
            return;
        default:  // save
            if (!links.QuitandSave->isEnabled() || Random.Percent(30)) {
                distance([this] { return NumberText(true); });
            }
            Then([this, &links] {
                if (links.QuitandSave->isEnabled() && Random.Percent(60)) {
                    Click(links.QuitandSave);
                } else {
                    AccessKey(LinkSpecification, QLatin1Char('Q'));
                }
            });
            return;
    }
}

// ---------------------------------------------------------------------------------------
// The actions

void TRandomRun::Click(QWidget* widget) {
    if (auto* list = qobject_cast<TLineList*>(widget)) {
        if (list->Count() > 0 && Random.Percent(85)) {
            ClickLine(list, Random.Below(list->Count()));
        } else {
            ClickBelowLines(list);
        }
        return;
    }
    QPoint where = widget->rect().center();
    if (qobject_cast<QLineEdit*>(widget) != nullptr) {
        where.setX(Random.Below(std::max(1, widget->width())));
    }
    Describe(QStringLiteral("click %1").arg(NameOf(widget)));
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, where);
}

void TRandomRun::ClickLine(TLineList* list, int row, Qt::KeyboardModifiers modifiers) {
    const QModelIndex index = list->model()->index(row, 0);
    // The user scrolls the line into view first.
    list->scrollTo(index);
    const QRect line = list->visualRect(index);
    Describe(QStringLiteral("%1click line %2 of %3 (%4 lines)")
                 .arg(modifiers == Qt::ControlModifier ? QStringLiteral("Ctrl+") : QString())
                 .arg(row)
                 .arg(NameOf(list))
                 .arg(list->Count()));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, line.center());
}

void TRandomRun::ClickBelowLines(TLineList* list) {
    QWidget* viewport = list->viewport();
    const QPoint where(Random.Below(std::max(1, viewport->width())),
                       viewport->height() - 1 - Random.Below(std::max(1, viewport->height() / 4)));
    const QModelIndex hit = list->indexAt(where);
    Describe(QStringLiteral("click %1 at %2,%3 (%4)")
                 .arg(NameOf(list))
                 .arg(where.x())
                 .arg(where.y())
                 .arg(hit.isValid() ? QStringLiteral("line %1").arg(hit.row())
                                    : QStringLiteral("below the lines")));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, where);
}

void TRandomRun::DoubleClick(QWidget* widget) {
    QWidget* target = widget;
    QPoint where = widget->rect().center();
    if (auto* list = qobject_cast<TLineList*>(widget)) {
        target = list->viewport();
        if (list->Count() > 0) {
            const QModelIndex index = list->model()->index(Random.Below(list->Count()), 0);
            list->scrollTo(index);
            where = list->visualRect(index).center();
        }
    } else {
        where.setX(Random.Below(std::max(1, widget->width())));
    }
    Describe(QStringLiteral("double-click %1").arg(NameOf(widget)));
    QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, where);
    QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, where);
    QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, where);
}

void TRandomRun::Key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    Describe(QStringLiteral("key %1 on %2")
                 .arg(QKeySequence(static_cast<int>(key) | static_cast<int>(modifiers))
                          .toString(QKeySequence::PortableText),
                      NameOf(target)));
    QTest::keyClick(target, key, modifiers);
}

namespace {
// The text with every character outside printable ASCII as \uXXXX; a long text is cut.
QString Printable(const QString& text) {
    constexpr qsizetype Longest = 60;
    QString shown;
    for (const QChar c : text.first(std::min(text.size(), Longest))) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F && c != QLatin1Char('\\')) {
            shown += c;
        } else {
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        }
    }
    if (text.size() > Longest) {
        shown += QStringLiteral("... (%1 characters)").arg(text.size());
    }
    return shown;
}
}  // namespace

void TRandomRun::Type(QWidget* target, const QString& text) {
    QWidget* window = CurrentWindow();
    Describe(QStringLiteral("type \"%1\" into %2")
                 .arg(Printable(text),
                      NameOf(QApplication::focusWidget() != nullptr ? QApplication::focusWidget()
                                                                    : target)));
    for (qsizetype i = 0; i < text.size(); ++i) {
        // The keys go where the focus is; after a key that took the user to another window
        // the rest of the text is not typed.
        if (CurrentWindow() != window || window == nullptr) {
            Note(QStringLiteral("    (the rest is not typed: the window changed)"));
            return;
        }
        QWidget* focus = FocusIn(window);
        const QChar c = text[i];
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F) {
            QTest::keyClick(focus, static_cast<char>(c.unicode()));
        } else if (c.unicode() == Backspace) {
            QTest::keyClick(focus, Qt::Key_Backspace);
        } else {
            QString character(c);
            if (c.isHighSurrogate() && i + 1 < text.size()) {
                character += text[++i];
            }
            QTest::sendKeyEvent(QTest::Click, focus, Qt::Key_unknown, character, Qt::NoModifier);
        }
    }
}

void TRandomRun::ClearField(QWidget* target) {
    Describe(QStringLiteral("clear %1 (End, Shift+Home, Backspace)").arg(NameOf(target)));
    QTest::keyClick(target, Qt::Key_End);
    QTest::keyClick(target, Qt::Key_Home, Qt::ShiftModifier);
    QTest::keyClick(target, Qt::Key_Backspace);
}

void TRandomRun::AccessKey(QWidget* window, QChar letter) {
    const QChar upper = letter.toUpper();
    QWidget* target = FocusIn(window);
    Describe(QStringLiteral("Alt+%1 on %2").arg(upper).arg(NameOf(target)));
    QTest::keyClick(target, static_cast<Qt::Key>(Qt::Key_A + (upper.unicode() - 'A')),
                    Qt::AltModifier);
}

void TRandomRun::Paste(QWidget* target, const QString& text) {
    Describe(QStringLiteral("paste \"%1\" into %2 (Ctrl+V)").arg(Printable(text), NameOf(target)));
    QGuiApplication::clipboard()->setText(text);
    // Outside a text field the paste keys add rows to a list, which has tests of its own; the
    // record follows the typed road.
    if (TakesPaste(target)) {
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    }
}

void TRandomRun::Compose(QWidget* target, const QString& text) {
    Describe(
        QStringLiteral("input method commits \"%1\" to %2").arg(Printable(text), NameOf(target)));
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(target, &event);
}

void TRandomRun::CloseRequest(QWidget* window) {
    Describe(QStringLiteral("the desktop asks %1 to close").arg(NameOf(window)));
    window->windowHandle()->close();
}

// Text dragged from another program and dropped on a field: it does not pass the key rule,
// so only the check on leaving the field stands between it and the store.
void TRandomRun::Drop(QWidget* field, const QString& text) {
    Describe(QStringLiteral("drop \"%1\" on %2").arg(Printable(text), NameOf(field)));
    QMimeData data;
    data.setText(text);
    const QPoint where(Random.Below(std::max(1, field->width())), field->height() / 2);
    QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field, &enter);
    if (!enter.isAccepted()) {
        return;
    }
    QDragMoveEvent move(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field, &move);
    QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(field, &drop);
}

// The desktop minimises the window and restores it: the window system hides and shows it
// again, which must not count as the program showing it (and starting it afresh).
void TRandomRun::MinimiseAndRestore(QWidget* window) {
    Describe(QStringLiteral("the desktop minimises and restores %1").arg(NameOf(window)));
    const TSavedNetwork before = TSavedNetwork::FromStore();
    window->windowHandle()->setWindowStates(Qt::WindowMinimized);
    Settle();
    window->windowHandle()->setWindowStates(Qt::WindowNoState);
    Settle();
    const TSavedNetwork after = TSavedNetwork::FromStore();
    RUN_CHECK(after.NumNodes == before.NumNodes && after.Names == before.Names &&
                  after.Links == before.Links,
              QStringLiteral("minimising and restoring %1 changed the network (%2 nodes, then %3)")
                  .arg(NameOf(window))
                  .arg(before.NumNodes)
                  .arg(after.NumNodes));
}

void TRandomRun::Wheel(TLineList* list) {
    const int notches = Random.Between(-3, 3);
    Describe(QStringLiteral("wheel %1 notches over %2").arg(notches).arg(NameOf(list)));
    const QPoint where = list->viewport()->rect().center();
    QWheelEvent wheel(where, list->viewport()->mapToGlobal(where), QPoint(),
                      QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(list->viewport(), &wheel);
}

// ---------------------------------------------------------------------------------------
// Texts

QChar TRandomRun::AccessLetterOf(QWidget* window) {
    std::vector<QChar> letters;
    auto collect = [&letters](const QString& caption) {
        const qsizetype at = caption.indexOf(QLatin1Char('&'));
        if (at >= 0 && at + 1 < caption.size() && caption[at + 1].isLetter()) {
            letters.push_back(caption[at + 1].toUpper());
        }
    };
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        collect(button->text());
    }
    for (QLabel* label : window->findChildren<QLabel*>()) {
        collect(label->text());
    }
    if (letters.empty() || Random.Percent(15)) {
        return QChar(static_cast<char16_t>('A' + Random.Below(26)));
    }
    return Random.Pick(letters);
}

QString TRandomRun::OddCharacter() {
    static const std::vector<QString> odd{
        QStringLiteral("\u00E9"),  QStringLiteral("\u00DF"), QStringLiteral("\u00FF"),
        QStringLiteral("\u00D7"),  QStringLiteral("\u00A0"), QStringLiteral("\u00BF"),
        QStringLiteral("\u20AC"),  QStringLiteral("\u4E2D"), QStringLiteral("\U0001F600"),
        QStringLiteral("e\u0301"), QStringLiteral("\u200F"), QStringLiteral("\uFFFD"),
        QStringLiteral("\u0085"),  QStringLiteral("\u00AD")};
    return Random.Pick(odd);
}

QString TRandomRun::NameText() {
    static const std::vector<QString> names{QStringLiteral("Depot"),
                                            QStringLiteral("North Yard"),
                                            QStringLiteral("North Riverside Depot"),
                                            QStringLiteral("Plant 7"),
                                            QStringLiteral("A"),
                                            QStringLiteral("<main>"),
                                            QStringLiteral("a -> b"),
                                            QStringLiteral("x > 3 >"),
                                            QStringLiteral("K\u00F6ln"),
                                            QStringLiteral("Z\u00FCrich-S\u00FCd"),
                                            QStringLiteral("  padded  "),
                                            QStringLiteral("0"),
                                            QStringLiteral("-1.5"),
                                            QStringLiteral("12345678901234567890123"),
                                            QStringLiteral("%s %n"),
                                            QStringLiteral("\"quoted\"")};
    switch (Random.Weighted({40, 30, 15, 10, 5})) {
        case 0:
            return Random.Pick(names);
        case 1: {
            QString name;
            const int length = Random.Between(1, 25);
            for (int i = 0; i < length; ++i) {
                name += Random.Percent(15) ? QLatin1Char(' ')
                                           : QChar(static_cast<char16_t>('a' + Random.Below(26)));
            }
            return name;
        }
        case 2: {
            QString name = Random.Pick(names);
            name.insert(Random.Below(static_cast<int>(name.size()) + 1), OddCharacter());
            return name;
        }
        case 3:
            return QString();
        default: {  // a long one
            QString name;
            const int length = Random.Between(100, 300);
            while (name.size() < length) {
                name += Random.Percent(90) ? QChar(static_cast<char16_t>(0x21 + Random.Below(94)))
                                           : QChar(OddCharacter()[0]);
            }
            return name;
        }
    }
}

QString TRandomRun::NumberText(bool integer) {
    static const std::vector<QString> edges{QStringLiteral("0"),
                                            QStringLiteral("10000"),
                                            QStringLiteral("10000.0"),
                                            QStringLiteral("0.0005"),
                                            QStringLiteral("9999.9995"),
                                            QStringLiteral("2.0625"),
                                            QStringLiteral("0.1"),
                                            QStringLiteral(".5"),
                                            QStringLiteral("5."),
                                            QStringLiteral("-0"),
                                            QStringLiteral("00012"),
                                            QStringLiteral("9999.99999999"),
                                            QStringLiteral("10000.00000001"),
                                            QStringLiteral("0.9999"),
                                            QStringLiteral("1234.56")};
    static const std::vector<QString> outside{
        QStringLiteral("10000.01"),   QStringLiteral("-1"),
        QStringLiteral("20000"),      QStringLiteral("-0.0001"),
        QStringLiteral("10001"),      QStringLiteral("99999999999999999999"),
        QStringLiteral("2147483648"), QStringLiteral("-2147483649"),
        QStringLiteral("10000.5")};
    switch (Random.Weighted({50, 25, 15, 10})) {
        case 0:
            if (integer || Random.Percent(50)) {
                // Mostly short distances, so that chains of links stay within the cap.
                return QString::number(Random.Percent(70) ? Random.Between(0, 300)
                                                          : Random.Between(0, MaxDistance));
            }
            return QStringLiteral("%1.%2")
                .arg(Random.Between(0, 9999))
                .arg(Random.Between(0, 999999));
        case 1:
            return Random.Pick(edges);
        case 2:
            return Random.Pick(outside);
        default: {
            QString digits;
            const int length = Random.Between(15, 80);
            for (int i = 0; i < length; ++i) {
                digits += QChar(static_cast<char16_t>('0' + Random.Below(10)));
            }
            if (Random.Percent(50)) {
                digits.insert(Random.Below(length), QLatin1Char('.'));
            }
            return digits;
        }
    }
}

QString TRandomRun::JunkText() {
    static const std::vector<QString> junk{
        QStringLiteral("1..2"), QStringLiteral("5-"),   QStringLiteral("-"),
        QStringLiteral("."),    QStringLiteral("--3"),  QStringLiteral("1.2.3"),
        QStringLiteral("-."),   QStringLiteral("1e3"),  QStringLiteral("1,5"),
        QStringLiteral(" 7"),   QStringLiteral("0x10"), QStringLiteral("inf"),
        QStringLiteral("nan"),  QStringLiteral("+5"),   QStringLiteral("\b\b")};
    if (Random.Percent(60)) {
        return Random.Pick(junk);
    }
    static const QString pool = QStringLiteral("0123456789.-eE+ ,xA\b");
    QString text;
    const int length = Random.Between(1, 8);
    for (int i = 0; i < length; ++i) {
        text += pool[Random.Below(static_cast<int>(pool.size()))];
    }
    return text;
}

// Numbers in forms that a key rule keeps out but a drop lets in.
QString TRandomRun::ExoticNumberText() {
    static const std::vector<QString> numbers{QStringLiteral("1e3"),
                                              QStringLiteral("1E-3"),
                                              QStringLiteral("nan"),
                                              QStringLiteral("inf"),
                                              QStringLiteral("-inf"),
                                              QStringLiteral("0x1A"),
                                              QStringLiteral("+5"),
                                              QStringLiteral(" 5 "),
                                              QStringLiteral("5 "),
                                              QStringLiteral("1,000"),
                                              QStringLiteral("1_000"),
                                              QStringLiteral("1e4"),
                                              QStringLiteral("1e-400"),
                                              QStringLiteral("4.9e-324"),
                                              QStringLiteral("1e4932"),
                                              QStringLiteral("\uFF11\uFF12\uFF13"),
                                              QStringLiteral("\u0661\u0662"),
                                              QStringLiteral("9.99999999999999999e3"),
                                              QStringLiteral("10000.0000000000000001"),
                                              QStringLiteral("\u2212"
                                                             "5"),
                                              QStringLiteral("5\u00A0000"),
                                              QStringLiteral("0.5\n7")};
    return Random.Pick(numbers);
}

QString TRandomRun::TextFor(const QWidget* field) {
    const QString name = NameOf(field);
    if (name == QLatin1String("NodeName")) {
        return Random.Percent(70) ? NameText() : JunkText();
    }
    if (name == QLatin1String("FirstDemand") || name == QLatin1String("SecondDemand") ||
        name == QLatin1String("FixedCost") || name == QLatin1String("LinkDist")) {
        switch (Random.Weighted({45, 25, 15, 15})) {
            case 0:
                return NumberText(name == QLatin1String("LinkDist"));
            case 1:
                return JunkText();
            case 2:
                return QString(QChar(Backspace));
            default:
                return Random.Percent(50) ? OddCharacter() : NameText();
        }
    }
    // Anywhere else (a list's search by typing, a button's Space, the read-only number): a
    // key or two.
    static const QString keys = QStringLiteral("0123456789 abcxyzN.-\b");
    QString text;
    const int length = Random.Between(1, 2);
    for (int i = 0; i < length; ++i) {
        text += keys[Random.Below(static_cast<int>(keys.size()))];
    }
    return text;
}

// ---------------------------------------------------------------------------------------
// The checks

TBeforeEvent TRandomRun::Before() const {
    TBeforeEvent before;
    before.NodeWindowVisible = NodeSpecifications->isVisible();
    before.LinkWindowVisible = LinkSpecification->isVisible();
    before.NumNodes = Network.NumNodes;
    before.Focus = QApplication::focusWidget();
    const TNodeSpecifications& nodes = *NodeSpecifications;
    const TEntryField* fields[] = {nodes.NodeName, nodes.FirstDemand, nodes.SecondDemand,
                                   nodes.FixedCost};
    for (int i = 0; i < 4; ++i) {
        before.NodeTexts[i] = fields[i]->text();
    }
    before.PendingName = Network.PendingName;
    before.PendingValues[0] = Network.PendingFirstDemand;
    before.PendingValues[1] = Network.PendingSecondDemand;
    before.PendingValues[2] = Network.PendingFixedCost;
    before.NodeLine = nodes.NodeList->ItemIndex();
    const TLinkSpecification& links = *LinkSpecification;
    before.LinkDistText = links.LinkDist->text();
    before.PendingDistance = Network.PendingDistance;
    before.OriginLine = links.OriginList->ItemIndex();
    before.DestinationLine = links.DestinationList->ItemIndex();
    before.LinkLine = links.LinkList->ItemIndex();
    before.DemandFileSaved = Network.DemandFileSaved;
    before.DistanceFileSaved = Network.DistanceFileSaved;
    before.NetworkSaved = Network.NetworkSaved;
    return before;
}

// The record with the node Add Node appends: each value as last accepted, and the one in the
// field being left taken from its text by the entry rules, as leaving it does.
TSavedNetwork TRandomRun::AddedNode(const TBeforeEvent& before) const {
    const TNodeSpecifications& nodes = *NodeSpecifications;
    TSavedNetwork record = Record;
    record.NumNodes += 1;
    record.Names.push_back(before.Focus == nodes.NodeName ? SanitiseNodeName(before.NodeTexts[0])
                                                          : before.PendingName);
    const TEntryField* valueFields[] = {nodes.FirstDemand, nodes.SecondDemand, nodes.FixedCost};
    std::vector<Real48>* columns[] = {&record.FirstDemands, &record.SecondDemands,
                                      &record.FixedCosts};
    for (int i = 0; i < 3; ++i) {
        Real48 value = before.PendingValues[i];
        if (before.Focus == valueFields[i]) {
            value = Real48::Narrow(0);
            JudgeRealEntry(before.NodeTexts[i + 1].toLatin1().toStdString(), value,
                           Real48::Narrow(0), Real48::Narrow(MaxDistance));
        }
        columns[i]->push_back(value);
    }
    return record;
}

// The one change of the link rows that the event may have made, if any: a one-way or two-way link
// between the selected nodes with the accepted distance, or the selected link line removed.
// Empty when the store's rows match none of them.
std::optional<TSavedNetwork> TRandomRun::ExplainedLinks(const TBeforeEvent& before) const {
    const TSavedNetwork now = TSavedNetwork::FromStore();
    const TSavedNetwork& record = Record;
    const int n = record.NumNodes;
    const auto at = [n](int o, int d) { return static_cast<std::size_t>((o - 1) * n + d - 1); };
    std::vector<std::vector<std::int32_t>> candidates{record.Links};  // no change
    const int origin = before.OriginLine + 1;
    const int destination = before.DestinationLine + 1;
    if (origin >= 1 && destination >= 1 && origin != destination) {
        std::int32_t distance = before.PendingDistance;
        if (before.Focus == LinkSpecification->LinkDist) {
            distance = -1;
            JudgeIntegerEntry(before.LinkDistText.toLatin1().toStdString(), distance, 0,
                              MaxDistance);
        }
        std::vector<std::int32_t> oneWay = record.Links;
        oneWay[at(origin, destination)] = distance;
        std::vector<std::int32_t> twoWay = oneWay;
        twoWay[at(destination, origin)] = distance;
        candidates.push_back(oneWay);
        candidates.push_back(twoWay);
    }
    // The link list: for each pair i < j, the link i -> j, then j -> i.
    int line = 0;
    for (int i = 1; i < n; ++i) {
        for (int j = i + 1; j <= n; ++j) {
            for (const auto& [o, d] : {std::pair{i, j}, std::pair{j, i}}) {
                if (record.Links[at(o, d)] != NoLink && line++ == before.LinkLine) {
                    std::vector<std::int32_t> removed = record.Links;
                    removed[at(o, d)] = NoLink;
                    candidates.push_back(removed);
                }
            }
        }
    }
    for (const std::vector<std::int32_t>& links : candidates) {
        if (links == now.Links) {
            TSavedNetwork explained = record;
            explained.Links = links;
            return explained;
        }
    }
    return std::nullopt;
}

// Follows the event in the run's record, then holds the store against the record.
void TRandomRun::FollowRecord(const TBeforeEvent& before) {
    if (ProgramEnded) {
        return;
    }
    const int n = Network.NumNodes;
    if (NodeSpecifications->isVisible() && !before.NodeWindowVisible) {
        Record = TSavedNetwork();  // each showing starts an empty table
    } else if (before.NodeWindowVisible && n > before.NumNodes) {
        // Blanks typed onto a focused Add Node press it again, each time with the entries it
        // left empty.
        Record = AddedNode(before);
        while (Record.NumNodes < n) {
            Record.NumNodes += 1;
            Record.Names.emplace_back();
            for (auto* column : {&Record.FirstDemands, &Record.SecondDemands, &Record.FixedCosts}) {
                column->push_back(Real48::Narrow(0));
            }
        }
    } else if (before.NodeWindowVisible && n < before.NumNodes) {
        // Each delete takes the selected line and selects the line that followed it, or the
        // new last line after the last one.
        int line = before.NodeLine;
        while (Record.NumNodes > n) {
            RUN_CHECK(line >= 0 && line < Record.NumNodes,
                      QStringLiteral("a node was deleted with line %1 selected").arg(line));
            Record.NumNodes -= 1;
            Record.Names.erase(Record.Names.begin() + line);
            Record.FirstDemands.erase(Record.FirstDemands.begin() + line);
            Record.SecondDemands.erase(Record.SecondDemands.begin() + line);
            Record.FixedCosts.erase(Record.FixedCosts.begin() + line);
            line = std::min(line, Record.NumNodes - 1);
        }
    } else if (before.NodeWindowVisible && n == before.NumNodes) {
        // Replace Node puts the entries, taken as Add Node takes them, into the node that Edit
        // Node brought into the fields: one slot may change, and only into them.
        const TSavedNetwork now = TSavedNetwork::FromStore();
        const TSavedNetwork added = AddedNode(before);
        for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k) {
            if (now.Names[k] != Record.Names[k] || now.FirstDemands[k] != Record.FirstDemands[k] ||
                now.SecondDemands[k] != Record.SecondDemands[k] ||
                now.FixedCosts[k] != Record.FixedCosts[k]) {
                Record.Names[k] = added.Names.back();
                Record.FirstDemands[k] = added.FirstDemands.back();
                Record.SecondDemands[k] = added.SecondDemands.back();
                Record.FixedCosts[k] = added.FixedCosts.back();
                break;
            }
        }
    }
    const bool linkWindowUp = LinkSpecification->isVisible();
    if (!linkWindowUp) {
        Record.Links.clear();
    } else if (!before.LinkWindowVisible) {
        Record.Links.assign(static_cast<std::size_t>(n) * n, NoLink);  // no links at first
    } else {
        std::optional<TSavedNetwork> explained = ExplainedLinks(before);
        RUN_CHECK(explained.has_value(),
                  QStringLiteral("the link rows changed in a way no add or remove explains"));
        Record = *explained;
    }

    const TSavedNetwork now = TSavedNetwork::FromStore();
    auto differs = [this, &now] {
        for (int k = 0; k < std::min(now.NumNodes, Record.NumNodes); ++k) {
            const auto i = static_cast<std::size_t>(k);
            if (now.Names[i] != Record.Names[i] || now.FirstDemands[i] != Record.FirstDemands[i] ||
                now.SecondDemands[i] != Record.SecondDemands[i] ||
                now.FixedCosts[i] != Record.FixedCosts[i]) {
                return QStringLiteral(
                           "node %1 is \"%2\" %3 %4 %5 in the store, \"%6\" %7 %8 %9 as "
                           "entered")
                    .arg(k + 1)
                    .arg(QString::fromLatin1(now.Names[i]))
                    .arg(static_cast<double>(now.FirstDemands[i].Widen()))
                    .arg(static_cast<double>(now.SecondDemands[i].Widen()))
                    .arg(static_cast<double>(now.FixedCosts[i].Widen()))
                    .arg(QString::fromLatin1(Record.Names[i]))
                    .arg(static_cast<double>(Record.FirstDemands[i].Widen()))
                    .arg(static_cast<double>(Record.SecondDemands[i].Widen()))
                    .arg(static_cast<double>(Record.FixedCosts[i].Widen()));
            }
        }
        return QString();
    };
    RUN_CHECK(
        now.NumNodes == Record.NumNodes,
        QStringLiteral("%1 nodes in the store, %2 entered").arg(now.NumNodes).arg(Record.NumNodes));
    const QString difference = differs();
    RUN_CHECK(difference.isEmpty(), difference);
    RUN_CHECK(!linkWindowUp || now.Links == Record.Links,
              QStringLiteral("the link rows differ from the links entered"));
}

void TRandomRun::Fail(const QString& what) const {
    throw TRunFailure{what};
}

void TRandomRun::CheckAfterEvent(const TBeforeEvent& before) {
    Coverage.Boxes += static_cast<int>(Platform.Boxes().size());
    CheckWindows();
    CheckStore();
    CheckSteps();
    bool saveRan = !Platform.Dialogs().empty();
    for (const TShownBox& box : Platform.Boxes()) {
        saveRan = saveRan || box.Text.startsWith(NotConnected);
    }
    if (saveRan) {
        CheckSave(before);
    }
    FollowRecord(before);
}

void TRandomRun::CheckWindows() {
    RUN_CHECK(Platform.ErrorBoxes().isEmpty(),
              QStringLiteral("the general error box came up: \"%1\"")
                  .arg(OneLine(Platform.ErrorBoxes().constFirst())));
    TAboutBoxModDist* splash = FindSplash();
    RUN_CHECK(splash == nullptr || !splash->isVisible(), QStringLiteral("the splash is up again"));
    const std::vector<QWidget*> visible = VisibleWindows();
    if (ProgramEnded) {
        RUN_CHECK(visible.empty(), QStringLiteral("a window is still up after the confirmed exit"));
        return;
    }
    QStringList names;
    for (QWidget* window : visible) {
        names << NameOf(window);
    }
    RUN_CHECK(
        visible.size() == 1,
        QStringLiteral("%1 windows up (%2), not one").arg(visible.size()).arg(names.join(", ")));
    QWidget* current = visible.front();
    if (current != LastWindow) {
        if (current == NodeSpecifications) {
            ++Coverage.NodeWindowShown;
        } else if (current == LinkSpecification) {
            ++Coverage.LinkWindowShown;
            NodesAtLinkShow = Network.NumNodes;
        }
        LastWindow = current;
    }
}

void TRandomRun::CheckStore() {
    const int n = Network.NumNodes;
    RUN_CHECK(n >= 0 && n <= MaxNodes, QStringLiteral("NumNodes is %1").arg(n));
    Coverage.MaxNodes = std::max(Coverage.MaxNodes, n);
    if (n == MaxNodes && !TableWasFull) {
        ++Coverage.FullTables;
    }
    TableWasFull = n == MaxNodes;

    auto checkValue = [this](const Real48& value, const QString& what) {
        const Extended widened = value.Widen();
        RUN_CHECK(widened >= 0 && widened <= MaxDistance,
                  QStringLiteral("%1 is %2, outside 0..10000")
                      .arg(what)
                      .arg(static_cast<double>(widened), 0, 'g', 17));
    };
    auto checkName = [this](const std::string& name, const QString& what) {
        for (const char byte : name) {
            const auto code = static_cast<unsigned char>(byte);
            // Names are Windows-1252: 0x80-0x9F are characters there, but for five bytes.
            const bool noCharacter =
                code == 0x81 || code == 0x8D || code == 0x8F || code == 0x90 || code == 0x9D;
            RUN_CHECK(code >= 0x20 && code != 0x7F && !noCharacter,
                      QStringLiteral("%1 holds the control character %2").arg(what).arg(code));
        }
    };
    for (int i = 1; i <= n; ++i) {
        checkValue(Network.FirstDemands[i], QStringLiteral("FirstDemands[%1]").arg(i));
        checkValue(Network.SecondDemands[i], QStringLiteral("SecondDemands[%1]").arg(i));
        checkValue(Network.FixedCosts[i], QStringLiteral("FixedCosts[%1]").arg(i));
        checkName(Network.NodeNames[i], QStringLiteral("NodeNames[%1]").arg(i));
    }
    checkValue(Network.PendingFirstDemand, QStringLiteral("PendingFirstDemand"));
    checkValue(Network.PendingSecondDemand, QStringLiteral("PendingSecondDemand"));
    checkValue(Network.PendingFixedCost, QStringLiteral("PendingFixedCost"));
    checkName(Network.PendingName, QStringLiteral("PendingName"));
    RUN_CHECK(Network.PendingDistance >= -1 && Network.PendingDistance <= MaxDistance,
              QStringLiteral("PendingDistance is %1").arg(Network.PendingDistance));

    const bool linkWindowUp = LinkSpecification->isVisible();
    for (int i = 1; i <= MaxNodes; ++i) {
        const bool expected = linkWindowUp && i <= n;
        RUN_CHECK(Network.LinkRows.IsAllocated(i) == expected,
                  QStringLiteral("link row %1 is %2 with the link window %3 and %4 nodes")
                      .arg(i)
                      .arg(expected ? "missing" : "allocated")
                      .arg(linkWindowUp ? "up" : "closed")
                      .arg(n));
        RUN_CHECK(!Network.PathRows.IsAllocated(i),
                  QStringLiteral("path row %1 is still allocated between events").arg(i));
    }

    if (linkWindowUp) {
        TLinkSpecification& links = *LinkSpecification;
        RUN_CHECK(n == NodesAtLinkShow, QStringLiteral("NumNodes changed from %1 to %2 in the link "
                                                       "window")
                                            .arg(NodesAtLinkShow)
                                            .arg(n));
        int linkCount = 0;
        for (int o = 1; o <= n; ++o) {
            const std::int32_t* row = Network.LinkRows[o].Data();
            for (int d = 1; d <= n; ++d) {
                const std::int32_t entry = row[d - 1];
                if (o == d) {
                    RUN_CHECK(entry == NoLink,
                              QStringLiteral("diagonal entry [%1][%1] is %2").arg(o).arg(entry));
                } else {
                    RUN_CHECK(entry == NoLink || (entry >= 0 && entry <= MaxDistance),
                              QStringLiteral("link entry [%1][%2] is %3").arg(o).arg(d).arg(entry));
                    linkCount += entry != NoLink ? 1 : 0;
                }
            }
        }
        Coverage.MaxLinks = std::max(Coverage.MaxLinks, linkCount);
        RUN_CHECK(links.LinkList->Count() == linkCount,
                  QStringLiteral("the link list shows %1 lines for %2 links")
                      .arg(links.LinkList->Count())
                      .arg(linkCount));
        RUN_CHECK(links.OriginList->Count() == n && links.DestinationList->Count() == n,
                  QStringLiteral("the node lists show %1 and %2 lines for %3 nodes")
                      .arg(links.OriginList->Count())
                      .arg(links.DestinationList->Count())
                      .arg(n));
        const bool pending = Network.PendingDistance != -1;
        RUN_CHECK(links.OneWayButton->isEnabled() == pending &&
                      links.TwoWayButton->isEnabled() == pending,
                  QStringLiteral("the add buttons are %1 with PendingDistance %2")
                      .arg(links.OneWayButton->isEnabled() ? "enabled" : "disabled")
                      .arg(Network.PendingDistance));
        RUN_CHECK(!links.QuitandSave->isEnabled() || pending,
                  QStringLiteral("Quit and Save is enabled without a pending distance"));
    }

    if (NodeSpecifications->isVisible()) {
        TNodeSpecifications& nodes = *NodeSpecifications;
        RUN_CHECK(nodes.NodeList->Count() == n,
                  QStringLiteral("the node list shows %1 lines for %2 "
                                 "nodes")
                      .arg(nodes.NodeList->Count())
                      .arg(n));
        const bool roomLeft = n < MaxNodes;
        const bool editing = nodes.ReplaceButton->isEnabled() && nodes.EditButton->isEnabled();
        RUN_CHECK(nodes.AddNode->isEnabled() == roomLeft &&
                      nodes.NodeName->isVisible() == (roomLeft || editing),
                  QStringLiteral("with %1 nodes Add Node is %2 and the entry fields %3")
                      .arg(n)
                      .arg(nodes.AddNode->isEnabled() ? "enabled" : "disabled")
                      .arg(nodes.NodeName->isVisible() ? "shown" : "hidden"));
    }
}

void TRandomRun::CheckSteps() {
    if (ProgramEnded) {
        return;
    }
    const TMeshLoomMain& menu = *MeshLoomMain;
    const bool nodeStep = menu.NodeButton->isEnabled();
    const bool linkStep = menu.LinkButton->isEnabled();
    RUN_CHECK(!(nodeStep && linkStep), QStringLiteral("both step buttons are enabled"));
    RUN_CHECK(
        menu.AboutButton->isEnabled() && menu.HintShow->isEnabled() && menu.QuitButton->isEnabled(),
        QStringLiteral("About, the hint switch or Exit is disabled"));
    const TStep step =
        nodeStep ? TStep::NodesFirst : (linkStep ? TStep::LinksNext : TStep::Finished);
    RUN_CHECK(step == menu.Step(),
              QStringLiteral("the step buttons show %1, the menu holds %2")
                  .arg(QLatin1String(StepName(step)), QLatin1String(StepName(menu.Step()))));
    RUN_CHECK(step >= LastStep,
              QStringLiteral("the step state went back from %1 to %2")
                  .arg(QLatin1String(StepName(LastStep)), QLatin1String(StepName(step))));
    RUN_CHECK(!NodeSpecifications->isVisible() || step == TStep::NodesFirst,
              QStringLiteral("the node window is up in the step state %1")
                  .arg(QLatin1String(StepName(step))));
    RUN_CHECK(!LinkSpecification->isVisible() || step == TStep::LinksNext,
              QStringLiteral("the link window is up in the step state %1")
                  .arg(QLatin1String(StepName(step))));
    if (step != TStep::NodesFirst) {
        // The node table is fixed from the node window's Quit on.
        const TSavedNetwork now = TSavedNetwork::FromStore();
        RUN_CHECK(now.NumNodes >= 2, QStringLiteral("%1 nodes in the step state %2")
                                         .arg(now.NumNodes)
                                         .arg(QLatin1String(StepName(step))));
        if (!FixedNodes) {
            FixedNodes = now;
        }
        RUN_CHECK(now.NumNodes == FixedNodes->NumNodes && now.Names == FixedNodes->Names &&
                      now.FirstDemands == FixedNodes->FirstDemands &&
                      now.SecondDemands == FixedNodes->SecondDemands &&
                      now.FixedCosts == FixedNodes->FixedCosts,
                  QStringLiteral("the node table changed after it was fixed"));
    }
    LastStep = step;
}

void TRandomRun::CheckSave(const TBeforeEvent& before) {
    ++Coverage.SaveAttempts;
    RUN_CHECK(before.LinkWindowVisible,
              QStringLiteral("a save dialog or the connectivity warning without the link window"));
    const TSavedNetwork& network = Record;  // not yet moved on by this event
    const TDistances distances = ShortestDistances(network);
    const std::vector<TShownBox>& boxes = Platform.Boxes();
    const std::vector<TRandomPlatform::TShownDialog>& dialogs = Platform.Dialogs();
    auto boxesWith = [&boxes](const QString& start) {
        std::vector<TShownBox> found;
        for (const TShownBox& box : boxes) {
            if (box.Text.startsWith(start)) {
                found.push_back(box);
            }
        }
        return found;
    };
    auto linkRowsKept = [&] {
        const TSavedNetwork now = TSavedNetwork::FromStore();
        RUN_CHECK(now.Links == network.Links, QStringLiteral("the save changed the link rows"));
    };

    const auto connectivity = boxesWith(NotConnected);
    RUN_CHECK(connectivity.size() == (distances.Connected ? 0U : 1U),
              QStringLiteral("the connectivity warning came %1 times for a %2 network")
                  .arg(connectivity.size())
                  .arg(distances.Connected ? "connected" : "not connected"));
    if (!connectivity.empty() && connectivity.front().Answer != TAnswer::Yes) {
        RUN_CHECK(dialogs.empty(), QStringLiteral("a save dialog after the save was declined"));
        RUN_CHECK(Network.DemandFileSaved == before.DemandFileSaved &&
                      Network.DistanceFileSaved == before.DistanceFileSaved &&
                      Network.NetworkSaved == before.NetworkSaved,
                  QStringLiteral("a declined save changed the saved flags"));
        RUN_CHECK(LinkSpecification->isVisible(),
                  QStringLiteral("a declined save left the link window"));
        linkRowsKept();
        CheckFolder({});
        return;
    }
    Coverage.ConnectedSaves += distances.Connected ? 1 : 0;

    // The dialogs: the demand data file's first, then the distance file's.
    const TFileDialog* demandDialog = &LinkSpecification->SaveNodes;
    std::optional<TRandomPlatform::TShownDialog> demand;
    std::optional<TRandomPlatform::TShownDialog> distance;
    for (const TRandomPlatform::TShownDialog& dialog : dialogs) {
        if (dialog.Dialog == demandDialog) {
            RUN_CHECK(!distance,
                      QStringLiteral("the demand file's dialog after the distance file's"));
            demand = dialog;
        } else {
            distance = dialog;
        }
    }
    RUN_CHECK(demand && distance, QStringLiteral("a save without both dialogs"));

    // A name confirmed last in its dialog is the file written; it is written well exactly when
    // its folder exists and it is not a folder itself.
    auto existedBefore = [this](const QString& name) {
        return KnownFiles.count(name) > 0 || QFileInfo(name).isDir();
    };
    std::map<QString, QByteArray> written;
    const struct {
        const std::optional<TRandomPlatform::TShownDialog>& Dialog;
        bool Saved;
        const QString& Failure;
        QByteArray Expected;
    } files[] = {
        {demand, Network.DemandFileSaved, DemandFailed, ExpectedDemandFile(network)},
        {distance, Network.DistanceFileSaved, DistanceFailed, ExpectedDistanceFile(distances)}};
    for (const auto& file : files) {
        const bool attempted = file.Dialog->Confirmed;
        const bool good = attempted && file.Dialog->Writable;
        const QString& name = file.Dialog->FileName;
        RUN_CHECK(file.Saved == good,
                  QStringLiteral("the saved flag is %1 for %2 \"%3\"")
                      .arg(file.Saved ? "true" : "false")
                      .arg(!attempted ? "a dialog given up"
                                      : (good ? "a file written" : "a failed write"))
                      .arg(name));
        RUN_CHECK(boxesWith(file.Failure).size() == (attempted && !good ? 1U : 0U),
                  QStringLiteral("\"%1\" came %2 times")
                      .arg(file.Failure)
                      .arg(boxesWith(file.Failure).size()));
        if (attempted && existedBefore(name)) {
            bool replaced = false;
            for (const TShownBox& box : boxesWith(ReplaceQuestion(name))) {
                replaced = replaced || box.Answer == TAnswer::Yes;
            }
            RUN_CHECK(replaced, QStringLiteral("\"%1\" was replaced without a Yes").arg(name));
        }
        if (good) {
            written[name] = file.Expected;
            ++Coverage.FilesWritten;
        } else if (attempted) {
            ++Coverage.FailedWrites;
        }
    }
    if (demand->Confirmed && demand->Writable) {
        QFile file(demand->FileName);
        RUN_CHECK(file.open(QIODevice::ReadOnly),
                  QStringLiteral("the demand data file \"%1\" is not there").arg(demand->FileName));
        const QString fault = DemandFileFault(file.readAll(), network);
        RUN_CHECK(fault.isEmpty(),
                  QStringLiteral("the demand data file \"%1\": %2").arg(demand->FileName, fault));
    }
    if (distance->Confirmed && distance->Writable) {
        QFile file(distance->FileName);
        RUN_CHECK(file.open(QIODevice::ReadOnly),
                  QStringLiteral("the distance file \"%1\" is not there").arg(distance->FileName));
        const QString fault = DistanceFileFault(file.readAll(), network, distances);
        RUN_CHECK(fault.isEmpty(),
                  QStringLiteral("the distance file \"%1\": %2").arg(distance->FileName, fault));
    }
    RUN_CHECK(Network.NetworkSaved == (Network.DemandFileSaved && Network.DistanceFileSaved),
              QStringLiteral("NetworkSaved disagrees with the two file flags"));
    CheckFolder(written);

    // Where the planner ends up.
    const auto notSaved = boxesWith(NotSaved);
    RUN_CHECK(notSaved.size() == (Network.NetworkSaved ? 0U : 1U),
              QStringLiteral("the not-saved question came %1 times").arg(notSaved.size()));
    const bool leaves = Network.NetworkSaved || notSaved.front().Answer == TAnswer::Yes;
    if (leaves) {
        RUN_CHECK(!LinkSpecification->isVisible() && MeshLoomMain->isVisible() &&
                      LastStep == TStep::Finished,
                  QStringLiteral("the save did not end at the finished main menu"));
    } else {
        RUN_CHECK(LinkSpecification->isVisible(),
                  QStringLiteral("the link window closed after No to the not-saved question"));
        linkRowsKept();
    }
    Coverage.NetworksSaved += Network.NetworkSaved ? 1 : 0;
}

// The run's folder holds the files it named and nothing else; every file not written by this
// save is as it was.
void TRandomRun::CheckFolder(const std::map<QString, QByteArray>& written) {
    RUN_CHECK(!QFileInfo::exists(Platform.MissingFolder()),
              QStringLiteral("the missing folder was created"));
    std::set<QString> seen;
    const QFileInfoList entries = Folder.entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString path = entry.absoluteFilePath();
        if (entry.isDir()) {
            RUN_CHECK(path == Platform.FolderNamed(QStringLiteral("NET")) ||
                          path == Platform.FolderNamed(QStringLiteral("NED")),
                      QStringLiteral("a stray folder \"%1\"").arg(path));
            continue;
        }
        RUN_CHECK(Platform.NamesGiven().count(path) > 0,
                  QStringLiteral("a stray file \"%1\" (%2 bytes)").arg(path).arg(entry.size()));
        seen.insert(path);
        const auto write = written.find(path);
        if (write != written.end()) {
            QFile file(path);
            RUN_CHECK(file.open(QIODevice::ReadOnly) && file.readAll() == write->second,
                      QStringLiteral("\"%1\" does not hold the file last written to it").arg(path));
            KnownFiles[path] = {entry.size(), entry.lastModified()};
            continue;
        }
        const auto known = KnownFiles.find(path);
        RUN_CHECK(known != KnownFiles.end(),
                  QStringLiteral("\"%1\" appeared without a save to it").arg(path));
        RUN_CHECK(
            known->second.Size == entry.size() && known->second.Modified == entry.lastModified(),
            QStringLiteral("\"%1\" changed without a save to it").arg(path));
    }
    for (const auto& [path, file] : KnownFiles) {
        RUN_CHECK(seen.count(path) > 0, QStringLiteral("\"%1\" has gone").arg(path));
    }
}

QString TRandomRun::CoverageText() const {
    return QStringLiteral(
               "seed %1: %2 events; %3 restarts (%4 by exit); node window shown %5 times, link "
               "window %6 times; up to %7 nodes (%8 full tables) and %9 links; %10 save "
               "attempts (%11 of connected networks), %12 files written, %13 failed writes, "
               "%14 networks saved; %15 boxes")
        .arg(Seed)
        .arg(Events)
        .arg(Coverage.Restarts)
        .arg(Coverage.ExitsConfirmed)
        .arg(Coverage.NodeWindowShown)
        .arg(Coverage.LinkWindowShown)
        .arg(Coverage.MaxNodes)
        .arg(Coverage.FullTables)
        .arg(Coverage.MaxLinks)
        .arg(Coverage.SaveAttempts)
        .arg(Coverage.ConnectedSaves)
        .arg(Coverage.FilesWritten)
        .arg(Coverage.FailedWrites)
        .arg(Coverage.NetworksSaved)
        .arg(Coverage.Boxes);
}

// ---------------------------------------------------------------------------------------

namespace {
// A file's layout as written down with "·" for each blank and "¶" for CR LF.
QByteArray Layout(const char* text) {
    QString bytes = QString::fromUtf8(text);
    bytes.replace(QChar(0x00B7), QLatin1Char(' '));
    bytes.replace(QChar(0x00B6), QLatin1String("\r\n"));
    return bytes.toLatin1();
}

TSavedNetwork TwoNodes(std::int32_t oneToTwo, std::int32_t twoToOne) {
    TSavedNetwork network;
    network.NumNodes = 2;
    network.Names = {"Depot", "North Yard"};
    network.FirstDemands = {Real48::Narrow(12.5L), Real48::Narrow(2.0625L)};
    network.SecondDemands = {Real48::Narrow(0), Real48::Narrow(10000)};
    network.FixedCosts = {Real48::Narrow(300), Real48::Narrow(0)};
    network.Links = {NoLink, oneToTwo, twoToOne, NoLink};
    return network;
}

// The offscreen platform warns at every showing of a window that it cannot do what only a
// desktop does; over a run those lines would crowd out every other message.
QtMessageHandler TestLogHandler = nullptr;

void DropOffscreenWarnings(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    if (type == QtWarningMsg &&
        (message == QLatin1String("This plugin does not support propagateSizeHints()") ||
         message == QLatin1String("This plugin does not support raise()"))) {
        return;
    }
    TestLogHandler(type, context, message);
}
}  // namespace

class TestRandomInput : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { TestLogHandler = qInstallMessageHandler(DropOffscreenWarnings); }
    void cleanupTestCase() { qInstallMessageHandler(TestLogHandler); }

    // The run's own idea of the two files, checked against the worked example, so that a
    // difference found in a run is the program's.
    void theExpectedFilesAreTheWorkedExample() {
        const TSavedNetwork network = TwoNodes(5, 5);
        const QByteArray demand = Layout(
            "···1····0.0····0.0·············12.500············0.000··········300.000···<·Depot·>¶"
            "···2····0.0····0.0··············2.063········10000.000············0.000···<·North·"
            "Yard·>¶");
        QCOMPARE(ExpectedDemandFile(network), demand);
        QCOMPARE(DemandFileFault(demand, network), QString());
        const TDistances distances = ShortestDistances(network);
        QVERIFY(distances.Connected);
        QCOMPARE(ExpectedDistanceFile(distances), Layout("0¶5¶5¶0¶"));
        QCOMPARE(DistanceFileFault(Layout("0¶5¶5¶0¶"), network, distances), QString());
        QVERIFY(!DistanceFileFault(Layout("0¶5¶5¶0"), network, distances).isEmpty());
        QVERIFY(!DistanceFileFault(Layout("0¶05¶5¶0¶"), network, distances).isEmpty());
        QVERIFY(!DemandFileFault(demand.chopped(2), network).isEmpty());
    }

    void theExpectedDistancesAreShortestAndCapped_data() {
        QTest::addColumn<QList<int>>("links");  // three nodes, LinkRows row by row
        QTest::addColumn<QList<int>>("distances");
        QTest::addColumn<bool>("connected");
        const int x = NoLink;
        QTest::newRow("one-way link")
            << QList<int>{x, 5, x, x, x, x, x, x, x}
            << QList<int>{0, 5, 10000, 10000, 0, 10000, 10000, 10000, 0} << false;
        QTest::newRow("6000 + 6000 capped")
            << QList<int>{x, 6000, x, 6000, x, 6000, x, 6000, x}
            << QList<int>{0, 6000, 10000, 6000, 0, 6000, 10000, 6000, 0} << false;
        QTest::newRow("exactly 10000 stays connected")
            << QList<int>{x, 5000, x, 5000, x, 5000, x, 5000, x}
            << QList<int>{0, 5000, 10000, 5000, 0, 5000, 10000, 5000, 0} << true;
        QTest::newRow("shorter indirect path")
            << QList<int>{x, 30, 100, 30, x, 40, 100, 40, x}
            << QList<int>{0, 30, 70, 30, 0, 40, 70, 40, 0} << true;
        QTest::newRow("zero-length links") << QList<int>{x, 0, x, 0, x, 0, x, 0, x}
                                           << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 0} << true;
    }
    void theExpectedDistancesAreShortestAndCapped() {
        QFETCH(QList<int>, links);
        QFETCH(QList<int>, distances);
        QFETCH(bool, connected);
        TSavedNetwork network;
        network.NumNodes = 3;
        network.Links.assign(links.begin(), links.end());
        const TDistances result = ShortestDistances(network);
        QCOMPARE(QList<int>(result.Capped.begin(), result.Capped.end()), distances);
        QCOMPARE(result.Connected, connected);
    }

    void everyInvariantHoldsUnderRandomInput_data() {
        QTest::addColumn<quint64>("seed");
        if (const auto seed = EnvironmentNumber("MESHLOOM_RANDOM_SEED")) {
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(*seed)))
                << static_cast<quint64>(*seed);
            return;
        }
        for (const std::uint64_t seed : Seeds) {
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed)))
                << static_cast<quint64>(seed);
        }
    }
    void everyInvariantHoldsUnderRandomInput() {
        QFETCH(quint64, seed);
        const int length =
            qEnvironmentVariableIntValue("MESHLOOM_RANDOM_FULL") != 0 ? FullEvents : DefaultEvents;
        const int events =
            static_cast<int>(EnvironmentNumber("MESHLOOM_RANDOM_EVENTS").value_or(length));
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QElapsedTimer clock;
        clock.start();
        QString failure;
        QString coverage;
        {
            TRandomRun run(seed, events, folder.path());
            failure = run.Run();
            coverage = run.CoverageText();
        }
        qInfo("%s; %lld ms", qPrintable(coverage), static_cast<long long>(clock.elapsed()));
        if (!failure.isEmpty()) {
            QFAIL(qPrintable(failure));
        }
    }
};

int main(int argc, char** argv) {
    // The program's application object, so that a failure inside an event handler shows the
    // general error box, as it does for the user.
    TMeshLoomApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    TestRandomInput test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_random_input.moc"
