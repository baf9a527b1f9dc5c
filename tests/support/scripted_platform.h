#pragma once

// A stand-in for the desktop's services in tests: it records every message box, save
// dialog and beep, and answers from a script. A box or dialog the script did not expect
// fails the running test.
//
//   TScriptedPlatform platform;            // installs itself; uninstalls when destroyed
//   platform.ExpectBox(TMessageKind::Confirmation, "Thanks for using MESHLOOM.\r...",
//                      TAnswer::No);
//   ... drive the window ...
//   QVERIFY(platform.AllAnswered());

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "platform/dialogs/file_dialog.h"
#include "platform/dialogs/platform_services.h"
#include "support/shown_box.h"

// The kind of a message box in words, for test messages: "Warning", "Confirmation", ...
const char* MsgDlgTypeName(TMessageKind type);

class TScriptedPlatform : public IPlatformServices {
  public:
    struct TShownDialog {
        QString Title;
        QString Filter;
        QString DefaultExt;
        QString FileName;  // as the dialog opened
        int FilterIndex;
    };

    TScriptedPlatform();
    ~TScriptedPlatform() override;

    // The next box must be of this type with exactly this text; it is answered with answer.
    void ExpectBox(TMessageKind type, const QString& text, TAnswer answer = TAnswer::Ok);

    // The next save dialog is confirmed with fileName (a full path, taken as typed: the
    // default extension is appended when it has none), or cancelled with an empty name.
    void ExpectSaveDialog(const QString& fileName);

    // The next import box is answered: the scale typed into its field (where it asks for one),
    // the array chosen (0-based, where it offers a choice) and Import (true) or Cancel. What it
    // said, for that scale and choice, is kept in ImportBoxTexts.
    void ExpectImportBox(const QString& scale, int choice, bool import);
    const QStringList& ImportBoxTexts() const { return ImportTexts; }

    // Runs action while the next box is open (before it is answered): lets a test look at
    // the windows as they stand behind the box.
    void WhileNextBoxOpen(std::function<void()> action);

    bool AllAnswered() const { return Boxes.empty() && Dialogs.empty() && ImportBoxes.empty(); }

    const std::vector<TShownBox>& ShownBoxes() const { return Shown; }
    const std::vector<TShownDialog>& ShownDialogs() const { return ShownSaveDialogs; }
    const std::vector<unsigned>& Beeps() const { return BeepTypes; }
    void ClearRecord();

    TAnswer ShowMessageBox(TMessageKind type, const QString& caption, const QString& text,
                           TBoxButtons buttons, const QString& details) override;
    bool ExecuteSaveDialog(TFileDialog& dialog) override;
    // Answered from the same script as the save dialogs (ExpectSaveDialog), in turn.
    bool ExecuteOpenDialog(TFileDialog& dialog) override;
    bool ExecuteImportBox(TImportBox& box) override;
    void MessageBeep(unsigned type) override;

  private:
    struct TImportAnswer {
        QString Scale;
        int Choice;
        bool Import;
    };
    std::deque<TImportAnswer> ImportBoxes;
    QStringList ImportTexts;
    struct TExpectedBox {
        TMessageKind Type;
        QString Text;
        TAnswer Answer;
    };
    std::deque<TExpectedBox> Boxes;
    std::deque<QString> Dialogs;
    std::function<void()> NextBoxAction;
    std::vector<TShownBox> Shown;
    std::vector<TShownDialog> ShownSaveDialogs;
    std::vector<unsigned> BeepTypes;
};
