#pragma once

// The application object. Qt lets no exception cross its event loop, so every failure thrown
// by an event handler (a range check, an overflow, running out of memory) is caught here: it
// ends that event, the general error box shows its text under the application title, and the
// program keeps running. It reads the regional settings when it starts and again whenever
// the desktop announces that they changed (platform/regional_settings.h).

#include <QApplication>
#include <QString>

class TApplication : public QApplication {
    Q_OBJECT
  public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

// The general error box: the text under the application title, the error icon and "OK".
void ShowException(const QString& message);
