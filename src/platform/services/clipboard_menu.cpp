#include "platform/services/clipboard_menu.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QShortcut>
#include <QWidget>
#include <memory>

#include "platform/application/meshloom_application.h"
#include "platform/dialogs/platform_services.h"
#include "platform/services/name_text.h"

namespace {

QAction* HandlerAction(QWidget& owner, const QString& caption, QKeySequence::StandardKey keys,
                       Qt::ShortcutContext context, const std::function<void()>& handler) {
    auto* action = new QAction(caption, &owner);
    action->setShortcuts(keys);
    action->setShortcutContext(context);
    QObject::connect(action, &QAction::triggered, &owner, [handler] { RunHandler(handler); });
    owner.addAction(action);
    return action;
}

// A menu opened from the keyboard starts on its first entry that can be chosen, as the
// desktop's menus do, so that a screen reader reads that entry at once.
void ActivateFirstEntry(QMenu& menu) {
    for (QAction* action : menu.actions()) {
        if (action->isEnabled() && action->isVisible() && !action->isSeparator()) {
            menu.setActiveAction(action);
            return;
        }
    }
}

// Watches the whole application: a menu shown for a context menu asked with the keyboard (the
// Menu key), the lists' menus and the text fields' own alike, starts on its first entry.
class TKeyboardMenus : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ContextMenu) {
            FromKeyboard =
                static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard;
        } else if (event->type() == QEvent::Show && FromKeyboard) {
            if (auto* menu = qobject_cast<QMenu*>(watched)) {
                FromKeyboard = false;
                if (menu->activeAction() == nullptr) {
                    ActivateFirstEntry(*menu);
                }
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool FromKeyboard = false;
};

}  // namespace

void AddCopyPasteMenu(QWidget& window, QWidget& list, const QString& copyCaption,
                      const std::function<void()>& copy, const QString& pasteCaption,
                      const std::function<void()>& paste, const QList<QAction*>& more) {
    QAction* copyAction =
        HandlerAction(list, copyCaption, QKeySequence::Copy, Qt::WidgetShortcut, copy);
    // A text field takes its paste keys first, through the shortcut override.
    QAction* pasteAction =
        HandlerAction(window, pasteCaption, QKeySequence::Paste, Qt::WindowShortcut, paste);
    list.setContextMenuPolicy(Qt::CustomContextMenu);
    // A list view reports the place in its viewport.
    auto* area = qobject_cast<QAbstractScrollArea*>(&list);
    QWidget* surface = area != nullptr ? area->viewport() : &list;
    static TKeyboardMenus* const keyboardMenus = [] {
        auto* filter = new TKeyboardMenus(qApp);
        qApp->installEventFilter(filter);
        return filter;
    }();
    (void)keyboardMenus;
    // One menu for the list, made at its first opening and kept: a screen reader's view of a
    // menu made afresh for each opening still holds the last one's entries, and takes the new
    // first entry's focus for theirs.
    auto menu = std::make_shared<QPointer<QMenu>>();
    const auto open = [surface, copyAction, pasteAction, more, menu](const QPoint& at,
                                                                     bool keyboard) {
        if (menu->isNull()) {
            *menu = new QMenu(surface);
            (*menu)->addAction(copyAction);
            (*menu)->addAction(pasteAction);
            if (!more.isEmpty()) {
                (*menu)->addSeparator();
                (*menu)->addActions(more);
            }
        }
        (*menu)->popup(surface->mapToGlobal(at));
        if (keyboard) {
            ActivateFirstEntry(**menu);
        }
    };
    QObject::connect(&list, &QWidget::customContextMenuRequested, &list,
                     [open](const QPoint& at) { open(at, false); });
    auto* shiftF10 = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), &list, nullptr, nullptr,
                                   Qt::WidgetShortcut);
    QObject::connect(shiftF10, &QShortcut::activated, &list,
                     [surface, open] { open(surface->rect().center(), true); });
}

std::string ClipboardText() {
    return QGuiApplication::clipboard()->text().toStdString();
}

void SetClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

void SetClipboardRows(const std::vector<TSheetRow>& rows) {
    auto* forms = new QMimeData;
    forms->setText(NameText(TabSeparatedText(rows)));
    forms->setData(QStringLiteral("application/x-openoffice-sylk;windows_formatname=\"Sylk\""),
                   NameText(SylkText(rows)).toUtf8());
    forms->setData(QStringLiteral("application/x-gnumeric"), NameText(CellRangeXml(rows)).toUtf8());
    QGuiApplication::clipboard()->setMimeData(forms);
}

bool ShowPasteRefusal(const std::string& refusal, bool empty, std::string_view nothingRead) {
    if (!refusal.empty()) {
        ShowBox(QString::fromStdString(refusal), TMessageKind::Warning, TBoxButtons::Ok);
        return true;
    }
    if (empty) {
        ShowBox(QString::fromUtf8(nothingRead.data(), qsizetype(nothingRead.size())),
                TMessageKind::Information, TBoxButtons::Ok);
        return true;
    }
    return false;
}
