#pragma once

// The desktop's services for a random-input run: every message box is answered at random
// (Yes or No for a question, OK otherwise) and every save dialog gets a random answer: given
// up, a new file in the run's folder, an existing file, a file in a folder that does not
// exist, a folder instead of a file, the name the other dialog was last given, or the name
// the dialog opens with. A name without an extension gets the default extension, as the
// program's own dialog does.
//
// Everything shown is recorded for the checks that follow each event, and told to Log for
// the account of a failing run. Nothing here fails the run: the boxes come up inside the
// windows' event handlers, where a failure cannot be raised; the run looks at the record
// once the event is over.

#include <QDir>
#include <QString>
#include <QStringList>
#include <functional>
#include <set>
#include <vector>

#include "platform/dialogs/file_dialog.h"
#include "platform/dialogs/platform_services.h"
#include "random_source.h"
#include "support/shown_box.h"

class TRandomPlatform : public IPlatformServices {
  public:
    struct TShownDialog {
        const TFileDialog* Dialog;
        bool Confirmed;
        QString FileName;  // the full path confirmed, extension added
        bool Writable;     // its folder exists and the name is not a folder
    };

    // Installs itself; files go into folder (which must exist).
    TRandomPlatform(TRandomSource& random, const QString& folder);
    ~TRandomPlatform() override;

    std::function<void(const QString&)> Log;

    // What was shown since the last ClearRecord.
    const std::vector<TShownBox>& Boxes() const { return ShownBoxes; }
    const std::vector<TShownDialog>& Dialogs() const { return ShownDialogs; }
    void ClearRecord();

    // The names this run may have created: every confirmed name in the run's folder.
    const std::set<QString>& NamesGiven() const { return GivenNames; }

    // Every general error box of the run (never cleared).
    const QStringList& ErrorBoxes() const { return ErrorTexts; }

    // A folder of the run's folder that the dialogs offer as a file name (one for each
    // default extension), and a folder that does not exist.
    QString FolderNamed(const QString& extension) const;
    QString MissingFolder() const { return Folder.filePath(QStringLiteral("missing")); }

    TAnswer ShowMessageBox(TMessageKind type, const QString& caption, const QString& text,
                           TBoxButtons buttons, const QString& details) override;
    bool ExecuteSaveDialog(TFileDialog& dialog) override;
    // The random run opens no files: every open dialog is cancelled.
    bool ExecuteOpenDialog(TFileDialog&) override { return false; }
    bool ExecuteImportBox(TImportBox&) override { return false; }
    void MessageBeep(unsigned type) override;

  private:
    // The name typed into dialog, or empty to give up.
    QString ChooseName(const TFileDialog& dialog, QString& how);
    QString NewName(const TFileDialog& dialog);
    // The chance in percent that a question is answered Yes.
    int YesChance(const QString& text) const;

    TRandomSource& Random;
    QDir Folder;
    int NamesMade = 0;
    std::set<QString> GivenNames;
    std::vector<TShownBox> ShownBoxes;
    std::vector<TShownDialog> ShownDialogs;
    QStringList ErrorTexts;
};

// The text of a box in one line, for the account of a run.
QString OneLine(const QString& text);
