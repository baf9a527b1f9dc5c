#include "platform/services/undo_history.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QKeySequence>
#include <QUndoCommand>
#include <QWidget>
#include <utility>

#include "platform/application/meshloom_application.h"
#include "platform/services/name_text.h"

namespace {

// One change in the desktop's stack; the store itself is put back by the core's history,
// which moves in step with the stack: one undo or redo there for each here, the same
// changes dropped past the same limit.
class TStoreCommand : public QUndoCommand {
  public:
    TStoreCommand(TStoreHistory& changes, TNetworkStore& network, const QString& text,
                  std::function<void()> showBefore, std::function<void()> showAfter)
        : Changes(changes),
          Store(network),
          ShowBefore(std::move(showBefore)),
          ShowAfter(std::move(showAfter)) {
        // A name's "&" is no access key in the menu.
        setText(QString(text).replace(QLatin1Char('&'), QStringLiteral("&&")));
    }

    void undo() override {
        if (Changes.Undo(Store)) {
            ShowBefore();
        }
    }

    // The stack runs this when the change is pushed, and the window has made it already.
    void redo() override {
        if (!Made) {
            Made = true;
        } else if (Changes.Redo(Store)) {
            ShowAfter();
        }
    }

  private:
    TStoreHistory& Changes;
    TNetworkStore& Store;
    std::function<void()> ShowBefore;
    std::function<void()> ShowAfter;
    bool Made = false;
};

// Runs the stack's undo or redo as a handler, so that a failure reaches the error box.
void RunAsHandler(QAction* action, QUndoStack& stack, void (QUndoStack::*step)()) {
    QObject::disconnect(action, &QAction::triggered, &stack, step);
    QObject::connect(action, &QAction::triggered, action,
                     [&stack, step] { RunHandler([&stack, step] { (stack.*step)(); }); });
}

}  // namespace

TUndoHistory::TUndoHistory(QWidget& window, TNetworkStore& network) : Store(network) {
    Stack.setUndoLimit(static_cast<int>(Changes.Limit()));
    UndoAction = Stack.createUndoAction(&window);
    RedoAction = Stack.createRedoAction(&window);
    RunAsHandler(UndoAction, Stack, &QUndoStack::undo);
    RunAsHandler(RedoAction, Stack, &QUndoStack::redo);
    UndoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    RedoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction* action : Actions()) {
        action->setShortcutContext(Qt::WidgetShortcut);
    }
}

void TUndoHistory::Record(TStoreChange change, std::function<void()> showBefore,
                          std::function<void()> showAfter) {
    const QString text = NameText(change.Text);
    Changes.Record(std::move(change));
    Stack.push(
        new TStoreCommand(Changes, Store, text, std::move(showBefore), std::move(showAfter)));
}

void TUndoHistory::Clear() {
    Stack.clear();
    Changes.Clear();
}

void TUndoHistory::ActOnKeysIn(QWidget& window) {
    // A widget shortcut of an action acts in each widget the action is added to.
    QList<QWidget*> targets;
    for (QWidget* list : window.findChildren<QAbstractItemView*>()) {
        targets.append(list);
    }
    for (QWidget* button : window.findChildren<QAbstractButton*>()) {
        targets.append(button);
    }
    for (QWidget* target : targets) {
        target->addActions(Actions());
    }
}
