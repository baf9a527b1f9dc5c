#pragma once

// Brings a window of the program to the front in a test, as the desktop does for a window the
// program shows.

#include <QApplication>
#include <QTest>
#include <QWidget>

// Shows window, asks for it to be the active window and waits until it is, so that keys go to
// it. The activations still queued from earlier showings and hidings are delivered first.
inline bool ShowActive(QWidget* window) {
    window->show();
    window->activateWindow();
    QApplication::processEvents();
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}
