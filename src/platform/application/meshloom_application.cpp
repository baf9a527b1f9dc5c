#include "platform/application/meshloom_application.h"

#include <csignal>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QStringDecoder>
#include <exception>
#include <new>

#include "platform/application/regional_settings.h"
#include "platform/dialogs/platform_services.h"

namespace {
// The texts of our own errors are plain ASCII; a text that quotes what the user typed may
// carry Latin-1 bytes instead of UTF-8.
QString ErrorText(const char* what) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(what);
    return utf8.hasError() ? QString::fromLatin1(what) : text;
}

// Shows the exception being handled in the general error box. Call only inside a catch block
// of std::exception.
void ShowCurrentException() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        ShowException(QStringLiteral("Out of memory"));
    } catch (const std::exception& error) {
        ShowException(ErrorText(error.what()));
    }
}
}  // namespace

TMeshLoomApplication::TMeshLoomApplication(int& argc, char** argv) : QApplication(argc, argv) {
    StartRegionalSettings();
    // Under a file-size limit (ulimit -f) a write past it fails with "File too large", which
    // the save reports with the earlier file kept, instead of the signal ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
}

// Each event is guarded on its own: a failure in an event sent from inside another handler
// (a field's exit event during a focus change, say) ends only that event, and Qt's own
// bookkeeping around it stays intact.
bool TMeshLoomApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception&) {
        ShowCurrentException();
    }
    return false;
}

void RunHandler(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception&) {
        ShowCurrentException();
    }
}

void ShowException(const QString& message) {
    ShowBox(message, TMessageKind::Error, TBoxButtons::Ok);
}

void ShowWindow(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

namespace {
// Asked first with the object's own class. Qt's own windows keep the roles Qt gives them: the
// message boxes and file dialogs are no plain widgets, the menus and tips no windows of these
// two types.
QAccessibleInterface* WindowRole(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr || object->metaObject()->superClass() != &QWidget::staticMetaObject ||
        className != QLatin1String(object->metaObject()->className())) {
        return nullptr;
    }
    switch (widget->windowType()) {
        case Qt::Window:
            return new QAccessibleWidget(widget, QAccessible::Window);
        case Qt::Dialog:
            return new QAccessibleWidget(widget, QAccessible::Dialog);
        default:
            return nullptr;
    }
}
}  // namespace

void AnnounceWindowsAsWindows() {
    QAccessible::installFactory(WindowRole);
}
