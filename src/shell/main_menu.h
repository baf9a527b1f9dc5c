#pragma once

// The main menu: the hub of the program's windows. It leads the user through the work in a
// fixed order by enabling its two step buttons (nodes first, then links, then nothing but
// exit), holds the hint switch, and asks before the program ends. Being the first window
// created, it is the main window: its confirmed close ends the program.
//
// The step state is the menu's own; the node and link windows move it forward with SetStep:
//   nodes first  NodeButton enabled,  LinkButton disabled   (program start)
//   links next   NodeButton disabled, LinkButton enabled    (node window's Quit, 2+ nodes)
//   finished     NodeButton disabled, LinkButton disabled   (end of Quit and Save)
// The menu shows the two step windows through the references SetStepWindows gives it, so it
// needs neither window's header.
//
// Open Network (and Ctrl+O) reads a saved network's two files back whenever the menu shows:
// the network waits in the node window, and the step state goes back to nodes first.

#include <QWidget>

#include "platform/dialogs/file_dialog.h"

class QFrame;
class QLabel;
class TAboutBoxModDist;
class TCommandButton;

enum class TStep { NodesFirst, LinksNext, Finished };

class TMeshLoomMain : public QWidget {
    Q_OBJECT
  public:
    explicit TMeshLoomMain(QWidget* parent = nullptr);
    ~TMeshLoomMain() override;

    TCommandButton* AboutButton = nullptr;
    TCommandButton* NodeButton = nullptr;
    TCommandButton* LinkButton = nullptr;
    TCommandButton* QuitButton = nullptr;
    TCommandButton* OpenButton = nullptr;
    TCommandButton* ImportButton = nullptr;
    QLabel* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* OpenLabel = nullptr;
    QLabel* ImportLabel = nullptr;
    QFrame* Bevel1 = nullptr;
    QFrame* Bevel2 = nullptr;
    QLabel* Label5 = nullptr;
    TCommandButton* HintShow = nullptr;
    QLabel* HintShowLabel = nullptr;
    // The network being worked on: the file it was opened from, or the files it was saved
    // to; empty for a network begun afresh. A screen reader reads it as the window's
    // description too.
    QLabel* NetworkLine = nullptr;

    // Brings up the splash; runs once, at the end of construction.
    void FormCreate();
    void AboutButtonClick();
    void NodeButtonClick();
    void LinkButtonClick();
    void HintShowClick();
    void QuitButtonClick();
    // Asks before unsaved nodes and links would be replaced, asks for the demand data file
    // and opens it.
    void OpenButtonClick();
    // Opens the network of the demand data file at path and the distance file beside it (or
    // the one asked for where there is none); a refused file changes nothing and says why.
    // True when the network was opened.
    bool OpenNetwork(const QString& demandPath);

    // Asks before unsaved nodes and links would be replaced, asks for a file of another form
    // (a distance table, a routing table, sites, a test problem) and imports it.
    void ImportButtonClick();
    // Reads the file at path, says what it holds (asking for the scale where one is needed)
    // and, on Import, puts its network into the windows as an opened one waits; a refused
    // file or Cancel changes nothing. True when the network was imported.
    bool ImportNetwork(const QString& path);

    // The dialogs that ask for the two files, kept for the run as the save dialogs are.
    TFileDialog OpenNodes;
    TFileDialog OpenDistances;
    TFileDialog ImportFile;
    // The files of the network opened last, while it is the one being worked on; empty
    // otherwise.
    const QString& OpenedDemandPath() const { return OpenedDemand; }
    const QString& OpenedDistancePath() const { return OpenedDistance; }
    // The network was dropped or begun afresh: no files are named any more.
    void ForgetOpenedNetwork();
    // The link window's Cancel dropped the links of the network opened: the line says so,
    // with the nodes kept.
    void ShowLinksDropped(int nodes);
    // Names the files a save wrote (an empty name: that file was not written).
    void ShowSavedNetwork(const QString& demandPath, const QString& distancePath);

    // Runs on every request to close the window; answers whether it may close.
    bool FormClose();

    // The windows that NodeButton and LinkButton show; given once, at program start.
    void SetStepWindows(QWidget& nodeWindow, QWidget& linkWindow);
    // Puts the step buttons into the state of step.
    void SetStep(TStep step);
    TStep Step() const { return CurrentStep; }

  signals:
    // The window has closed after a confirmed exit: the program ends.
    void Closed();
    // A network was opened from these two files (full paths).
    void NetworkOpened(const QString& demandPath, const QString& distancePath);
    // A network was imported; its files are best saved under these names (full paths).
    void NetworkImported(const QString& demandPath, const QString& distancePath);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateControls();
    // Asks, where nodes and links went on to the link step unsaved, whether another network
    // may take their place; true when it may.
    bool MayReplaceNetwork();
    void ShowNetworkLine(const QString& text);
    QString OpenedDemand;
    QString OpenedDistance;

    // The start-up splash: a second about box, kept out of AboutBoxModDist.
    TAboutBoxModDist* Splash = nullptr;
    TStep CurrentStep = TStep::NodesFirst;
    QWidget* NodeWindow = nullptr;
    QWidget* LinkWindow = nullptr;
};
