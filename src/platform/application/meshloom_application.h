#pragma once

// The application object. A failure thrown by an event handler (a range check, an overflow,
// running out of memory) ends that event, the general error box shows its text under the
// application title, and the program keeps running.
//
// The windows run their handlers through RunHandler (TCommandButton, TEntryField and the windows'
// show, close and timer events do), which catches the failure in the program's own frames. Qt's
// event delivery is not written for exceptions passing through it: it would leak the event
// under way. The application's notify() catches whatever still escapes, as a last resort. It reads
// the regional settings when it starts and again whenever the desktop announces that they changed
// (platform/application/regional_settings.h).

#include <QApplication>
#include <QString>
#include <QWidget>
#include <functional>

class TMeshLoomApplication : public QApplication {
    Q_OBJECT
  public:
    TMeshLoomApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

// The general error box: the text under the application title, the error icon and "OK".
void ShowException(const QString& message);

// Runs handler; a failure it throws is shown in the general error box and goes no further.
void RunHandler(const std::function<void()>& handler);

// Shows a window brought to the front with the keyboard focus, as every hand-over from one
// window to the next does.
void ShowWindow(QWidget& window);

// Gives each of the program's windows (a widget of a class of its own, made a window) the role
// of a window, or of a dialog where it is one, for a screen reader, which then announces it as
// it opens; Qt would give it the role of a plain area within a window. Its name (the caption)
// and description stay as they are. Installed before the windows are made; once is enough.
void AnnounceWindowsAsWindows();
