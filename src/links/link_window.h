#pragma once

// The link window: the planner picks an origin and a destination, types a distance and adds
// the link one way or both ways; the list below shows every link and removes one direction
// at a time. Each showing starts an empty link matrix for the current nodes; Cancel throws
// the links away, Quit and Save completes and writes the network.

#include <QString>
#include <QWidget>
#include <vector>

#include "core/link_lines.h"
#include "platform/save_dialog.h"

class QLabel;
class TButton;
class TEdit;
class TListBox;

class TLinkSpecification : public QWidget {
    Q_OBJECT
  public:
    explicit TLinkSpecification(QWidget* parent = nullptr);

    QLabel* OriginLabel = nullptr;
    QLabel* Label1 = nullptr;
    TListBox* OriginList = nullptr;
    TListBox* DestinationList = nullptr;
    QLabel* LinkDistLabel = nullptr;
    TEdit* LinkDist = nullptr;
    QLabel* LinkLabels = nullptr;
    QLabel* Heading = nullptr;
    TListBox* LinkList = nullptr;
    QLabel* LinkCount = nullptr;
    TButton* TwoWayButton = nullptr;
    TButton* RemoveButton = nullptr;
    TButton* OneWayButton = nullptr;
    TButton* CancelButton = nullptr;
    TButton* QuitandSave = nullptr;

    TSaveDialog SaveNodes;
    TSaveDialog SaveDistances;

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
    // The link list as spreadsheet rows, to and from the clipboard (core/link_rows.h):
    // Copy All Links, and Paste Links, which adds every row as a one-way link or, when a row
    // is wrong, none and says why.
    void CopyLinksClick();
    void PasteLinksClick();

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
    // The selected origin and destination as node numbers, after the checks that a link
    // between them may be stored; false (after a warning) when it may not.
    bool SelectedEnds(int& origin, int& destination);

    // The link each line of LinkList was built from: a remove takes the numbers from here,
    // not from the line's text, which a name holding " -> " or digits could mislead.
    std::vector<TLinkEnds> LinkListEnds;
};

// The one link window, created at program start (app/program.h).
extern TLinkSpecification* LinkSpecification;
