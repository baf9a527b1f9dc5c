#pragma once

// The start and end of every test that drives the program's windows, in one place. A test
// class derives from TProgramTest instead of QObject; Qt Test runs init() before and
// cleanup() after each test function. A class that needs more calls these first.

#include <QObject>
#include <memory>

#include "core/numbers/separators.h"
#include "support/scripted_platform.h"

class TProgramTest : public QObject {
    Q_OBJECT
  protected slots:
    // An empty store, the separators "." and ",", the scripted desktop and the program's four
    // windows, as at program start.
    void init();
    // Fails the test if a scripted box or dialog was never shown; then the windows are gone,
    // and the separators, the file writer's rename, the hint switch and the store are as a
    // new test needs them.
    void cleanup();

  protected:
    // The scripted desktop of the running test.
    TScriptedPlatform* Platform = nullptr;

  private:
    std::unique_ptr<TScriptedPlatform> OwnedPlatform;
    TFormatSeparators SavedSeparators;
};
