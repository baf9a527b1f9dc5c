#pragma once

// A file dialog's settings (a save dialog's, or an open dialog's), kept for the life of the window
// that owns it, so that each run opens with the name and filter last confirmed.

#include <QString>

class TFileDialog {
  public:
    QString Title;
    QString Filter;       // "Description|*.EXT|All Files|*.*": pairs of text and pattern
    QString DefaultExt;   // appended (after a dot) to a name typed without an extension
    QString FileName;     // the last confirmed full path; empty at first
    QString InitialDir;   // the folder to open in while FileName is empty; empty: Qt's choice
    int FilterIndex = 1;  // 1-based index of the pair chosen when a name was last confirmed

    // Runs the dialog modally; true when the user confirmed a name (now in FileName).
    bool Execute();
};
