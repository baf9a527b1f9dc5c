#include "support/program_test.h"

#include <QTest>

#include "app/program.h"
#include "core/network/network_store.h"
#include "files/file_writer.h"
#include "platform/application/hint_switch.h"

void TProgramTest::init() {
    SavedSeparators = FormatSeparators();
    SetFormatSeparators({'.', ','});
    ResetNetworkStore();
    OwnedPlatform = std::make_unique<TScriptedPlatform>();
    Platform = OwnedPlatform.get();
    CreateProgramWindows();
}

void TProgramTest::cleanup() {
    DestroyProgramWindows();
    const bool allAnswered = OwnedPlatform->AllAnswered();
    Platform = nullptr;
    OwnedPlatform.reset();
    SetFormatSeparators(SavedSeparators);
    SetRenameFunction(nullptr);
    SetHintsShown(true);
    ResetNetworkStore();
    QVERIFY2(allAnswered, "a scripted box or dialog was never shown");
}
