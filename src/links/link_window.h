#pragma once

// The link window: the planner picks an origin and a destination, types a distance and adds
// the link one way or both ways; the list below shows every link and removes one direction
// at a time. Each showing starts an empty link matrix for the current nodes; Cancel throws
// the links away, Quit and Save completes and writes the network.

#include <QString>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "core/lists/link_lines.h"
#include "core/network/network_store.h"
#include "platform/dialogs/file_dialog.h"
#include "platform/services/undo_history.h"

class QAction;
class QLabel;
class TCommandButton;
class TPictureWindow;
class TEntryField;
class TLineList;

class TLinkSpecification : public QWidget {
    Q_OBJECT
  public:
    explicit TLinkSpecification(QWidget* parent = nullptr);

    QLabel* OriginLabel = nullptr;
    QLabel* Label1 = nullptr;
    TLineList* OriginList = nullptr;
    TLineList* DestinationList = nullptr;
    QLabel* LinkDistLabel = nullptr;
    TEntryField* LinkDist = nullptr;
    QLabel* LinkLabels = nullptr;
    QLabel* Heading = nullptr;
    TLineList* LinkList = nullptr;
    QLabel* LinkCount = nullptr;
    TCommandButton* TwoWayButton = nullptr;
    TCommandButton* RemoveButton = nullptr;
    TCommandButton* OneWayButton = nullptr;
    TCommandButton* CancelButton = nullptr;
    TCommandButton* QuitandSave = nullptr;

    TFileDialog SaveNodes;
    TFileDialog SaveDistances;
    // The save dialogs open at these names next (the files a network was opened from).
    void StartSavesAt(const QString& demandPath, const QString& distancePath);

    void FormShow();
    // Refills the two node lists, the link list and the count from the store; any selection
    // in the lists is lost.
    void UpdateAllLists();
    void OneWayButtonClick();
    void TwoWayButtonClick();
    void LinkDistKeyPress(QChar& key);
    void LinkDistExit();
    void RemoveButtonClick();
    void CancelButtonClick();
    // The link list as spreadsheet rows, to and from the clipboard (core/rows/link_rows.h):
    // Copy All Links, and Paste Links, which adds every row as a one-way link or, when a row
    // is wrong, none and says why.
    void CopyLinksClick();
    void PasteLinksClick();

    // Show Network Picture (Ctrl+G, and in the link list's menu): opens the picture window, which
    // then follows every change of the links and the selected origin and destination; a node
    // clicked there is selected here as the origin (Shift+click or the other button: the
    // destination).
    void ShowPictureClick();
    QAction* ShowPictureAction = nullptr;
    TPictureWindow* Picture = nullptr;  // made on first use

    // The adds, removes and pastes of links, to be undone and redone for this showing.
    TUndoHistory History{*this, Network};

    // Runs the save dialogue (save_dialogue.h).
    void QuitandSaveClick();
    // Releases the link rows, hides the window and shows the main menu in its finished state.
    void ReturnToMainMenu();

  protected:
    void showEvent(QShowEvent* event) override;
    // The window has no close box; the window manager's close requests are refused, so the
    // way out is Cancel or Quit and Save, which both release the link matrix.
    void closeEvent(QCloseEvent* event) override;

  private:
    // The picture, while it is shown, follows the store and the selected ends.
    void PictureFollows();
    void PictureEnds();
    void HidePicture();

    // The selected origin and destination as node numbers, after the checks that a link
    // between them may be stored; false (after a warning) when it may not.
    bool SelectedEnds(int& origin, int& destination);

    // The link each line of LinkList was built from: a remove takes the numbers from here,
    // not from the line's text, which a name holding " -> " or digits could mislead.
    std::vector<TLinkEnds> LinkListEnds;

    // What undo and redo put back besides the store: the selected lines and two buttons.
    struct TLinkView {
        int Origin = -1;
        int Destination = -1;
        TLinkEnds Link;  // the selected link, or none
        bool RemoveEnabled = false;
        bool QuitEnabled = false;
        // DistanceEdits when the view was taken; a paste's own view says -1, for its redo
        // makes the network ready to save whatever was typed since.
        int DistanceEdits = 0;
    };
    // Counts the keys typed into LinkDist and its exits: after them QuitandSave follows the
    // distance, and an undo or redo leaves it so.
    int DistanceEdits = 0;
    TLinkView View() const;
    void ShowView(const TLinkView& view);
    // Makes add, a link named text, shows it and keeps it.
    void AddLink(const std::string& text, const std::function<void(TNetworkStore&)>& add);
    // Keeps the change just made and shown, with the view from before it.
    void Remember(TStoreChange change, const TLinkView& before, bool pasted = false);
};

// The one link window, created at program start (app/program.h).
extern TLinkSpecification* LinkSpecification;
