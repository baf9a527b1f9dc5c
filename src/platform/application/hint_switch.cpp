#include "platform/application/hint_switch.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QToolTip>

namespace {
bool Shown = true;

class THintFilter : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ToolTip && !Shown) {
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// Installed on the application the first time hints are turned off; it lives as long as the
// application object does.
QPointer<THintFilter> Filter;

void InstallFilter() {
    QCoreApplication* application = QCoreApplication::instance();
    if (Filter || application == nullptr) {
        return;
    }
    Filter = new THintFilter(application);
    application->installEventFilter(Filter);
}
}  // namespace

bool HintsShown() {
    return Shown;
}

void SetHintsShown(bool shown) {
    Shown = shown;
    if (!shown) {
        InstallFilter();
        QToolTip::hideText();
    }
}
