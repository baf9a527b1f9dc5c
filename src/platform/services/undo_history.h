#pragma once

// The undo history of a window, the desktop's way: the core keeps what each change of the
// store changed (core/network/store_history.h), and a QUndoStack beside it names the changes in the
// Undo and Redo entries ("Undo Paste of 300 Links"), which disable themselves when there is
// nothing to take. Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo, while a list or a button of
// the window has the focus; a text field keeps its own undo of typing. Every undo and redo
// runs as a handler (RunHandler).

#include <QList>
#include <QUndoStack>
#include <functional>

#include "core/network/network_store.h"
#include "core/network/store_history.h"

class QAction;
class QWidget;

class TUndoHistory {
  public:
    TUndoHistory(QWidget& window, TNetworkStore& network);

    // Keeps a change that the window has just made and shown: undo puts the store back and
    // runs showBefore, redo makes it again and runs showAfter. The text names it.
    void Record(TStoreChange change, std::function<void()> showBefore,
                std::function<void()> showAfter);
    // Forgets every change, as each showing of the window and each way out of it does.
    void Clear();

    // The Undo and Redo entries, for the list's menu; their keys act once ActOnKeysIn has
    // run, on the lists and buttons the window has then.
    QList<QAction*> Actions() const { return {UndoAction, RedoAction}; }
    void ActOnKeysIn(QWidget& window);

  private:
    TNetworkStore& Store;
    TStoreHistory Changes;
    QUndoStack Stack;
    QAction* UndoAction = nullptr;
    QAction* RedoAction = nullptr;
};
