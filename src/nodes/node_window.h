#pragma once

// The node window: the planner builds the node table here, one node at a time, each with a
// name, two demands and a fixed cost, up to MaxNodes. Values are checked when their field is
// left and held as the store's pending values; Add Node copies the pending values into the
// next slot. The window is left only through Quit or Cancel, back to the main menu.

#include <QWidget>

#include "core/network/network_store.h"
#include "platform/services/undo_history.h"

class QLabel;
class TCommandButton;
class TEntryField;
class TLineList;

class TNodeSpecifications : public QWidget {
    Q_OBJECT
  public:
    explicit TNodeSpecifications(QWidget* parent = nullptr);

    QLabel* NodeNumberLabel = nullptr;
    TEntryField* NodeNumber = nullptr;  // the number the next node will get; written, never read
    QLabel* NodeNameLabel = nullptr;
    TEntryField* NodeName = nullptr;
    QLabel* FirstDemandLabel = nullptr;
    TEntryField* FirstDemand = nullptr;
    QLabel* SecondDemandLabel = nullptr;
    TEntryField* SecondDemand = nullptr;
    QLabel* FixedCostLabel = nullptr;
    TEntryField* FixedCost = nullptr;
    TLineList* NodeList = nullptr;
    TCommandButton* AddNode = nullptr;
    TCommandButton* DeleteButton = nullptr;
    TCommandButton* EditButton = nullptr;     // brings the selected node's values into the fields
    TCommandButton* ReplaceButton = nullptr;  // puts the fields' values back into that node
    TCommandButton* QuitButton = nullptr;
    TCommandButton* CancelButton = nullptr;
    QLabel* Information = nullptr;

    // Starts the node table afresh each time the program shows the window.
    void FormShow();
    // The key rule of the three numeric fields (not of NodeName, despite the name).
    void NodeNameKeyPress(QChar& Key);
    void NodeNameExit();
    void FirstDemandExit();
    void SecondDemandExit();
    void FixedCostExit();
    void AddNodeClick();
    void QuitButtonClick();
    // Refills NodeList from the store and selects the last node.
    void ListNodes();
    // Deletes the selected node; where links wait with an opened network, says how many of
    // them go with it first.
    void DeleteButtonClick();
    void EditButtonClick();
    void ReplaceButtonClick();
    void CancelButtonClick();
    // The node list as spreadsheet rows, to and from the clipboard (core/rows/node_rows.h): Copy
    // All Nodes, and Paste Nodes, which adds every row as Add Node would, keeping the node
    // being typed, or, when a row is wrong or they do not fit, none and says why.
    void CopyNodesClick();
    void PasteNodesClick();

    // Add Node, Delete Node and Paste Nodes, to be undone and redone for this showing.
    TUndoHistory History{*this, Network};

  protected:
    void showEvent(QShowEvent* event) override;
    // The window has no close box; a close request from the window manager is refused.
    void closeEvent(QCloseEvent* event) override;

  private:
    // What the window shows after nodes were added: the count, the list with the last node
    // selected, the next number and empty fields, or the full table.
    void ShowAddedNodes();
    // The count, the list with the last node selected, the next number, the entry while the
    // table has room; the entry fields and the pending values stay as they are.
    void ShowNodeTable();
    void ResetPendingNode();
    void ClearEntryFields();
    void ShowEntryWhileRoomLeft();
    void ShowNextNodeNumber();
    void ShowCount();
    void ReturnToMainMenu();
    // The node whose values Edit Node brought into the fields, 0 for none.
    // Every change of the table but Replace Node ends the edit, so that the number always
    // names the node whose values were brought in.
    int EditedNode = 0;
    void EndEdit();
    void ShowEditButtons();

    // What undo and redo put back besides the store: the selected line and two buttons.
    struct TNodeView {
        int Selected = -1;
        bool DeleteEnabled = false;
        bool QuitEnabled = false;
    };
    TNodeView View() const;
    // The hidden fields of a table filled by Add Node still show the node it added.
    bool FieldsHoldAddedNode = false;
    void ShowView(const TNodeView& view);
    // Keeps the change just made and shown, with the view from before it.
    void Remember(TStoreChange change, const TNodeView& before);
};

// The one node window, created at program start (app/program.h).
extern TNodeSpecifications* NodeSpecifications;
