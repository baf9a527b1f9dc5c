#pragma once

// The seam between the windows and the services of the desktop that a test must be able to
// answer: modal message boxes, the save-file and open-file dialogs and the alert beep. Program
// start installs the Qt implementation (qt_platform_services.h); tests install a scripted one. The
// seam itself knows neither.

#include <QString>

class TFileDialog;
class TImportBox;

enum class TMessageKind {
    Warning,       // caption "Warning", exclamation icon
    Information,   // caption "Information"
    Confirmation,  // caption "Confirm", question icon
    Error,         // caption: the application title; error icon (the general error box)
};

enum class TBoxButtons {
    Ok,     // "OK"
    YesNo,  // "&Yes" (the default) and "&No"; Escape or closing the box answers No
    // "&Yes" and "&No" (the default), for a question whose Yes throws work away; Escape or
    // closing the box answers No
    YesNoDefaultNo,
};

enum class TAnswer { Ok, Yes, No };

class IPlatformServices {
  public:
    virtual ~IPlatformServices() = default;

    // Shows a modal box centred on the screen and returns the button pressed. The lines of
    // text are separated by a carriage return alone. Details, when not empty, are the
    // particulars behind the box's "Show Details..." button, lines separated by "\n".
    virtual TAnswer ShowMessageBox(TMessageKind type, const QString& caption, const QString& text,
                                   TBoxButtons buttons, const QString& details) = 0;

    // Runs a save-file dialog modally. On confirmation stores the chosen full path in
    // dialog.FileName (and the filter chosen in dialog.FilterIndex) and returns true.
    virtual bool ExecuteSaveDialog(TFileDialog& dialog) = 0;

    // Runs an open-file dialog with the same settings (the default extension unused): only a
    // file that exists can be confirmed. On confirmation as above.
    virtual bool ExecuteOpenDialog(TFileDialog& dialog) = 0;

    // Runs the box that says what an imported file holds (import_box.h) modally; true when
    // Import was pressed, with the scale and the choice made in the box.
    virtual bool ExecuteImportBox(TImportBox& box) = 0;

    // 0: the default alert (a refused key); 16: the stop sound (before the exit question).
    virtual void MessageBeep(unsigned type) = 0;
};

// The services in force; ends the program if none are installed.
IPlatformServices& PlatformServices();
// Installs services (nullptr: none). The caller keeps ownership.
void SetPlatformServices(IPlatformServices* services);

// The application title: the task bar entry and the caption of the general error box.
inline const QString ApplicationTitle = QStringLiteral("MESHLOOM Program");

// Shows a message box with the caption of its type and returns the answer. Any answer but
// Yes counts as No. Details, if given, wait behind "Show Details...".
TAnswer ShowBox(const QString& text, TMessageKind type, TBoxButtons buttons,
                const QString& details = QString());

// How many boxes ShowBox has shown since the program started. A control compares it
// before and after a focus change to learn whether leaving a field showed a warning.
int MessageBoxesShown();

void MessageBeep(unsigned type);
