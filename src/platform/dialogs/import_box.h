#pragma once

// The box that says what an imported file holds before anything changes: its kind, its nodes
// and links, its largest distance and the scale, and, where the file asks for it, a field for
// the scale and a choice between the arrays a routing table holds. What it says follows each
// change of the field or the choice at once; Import is enabled only while the network fits.

#include <QString>
#include <QStringList>
#include <functional>

// What the box says for a scale and a choice, and whether the network can be taken so.
struct TImportBoxView {
    QString Text;
    bool CanImport = false;
};

class TImportBox {
  public:
    QString Title;
    QStringList Choices;  // the arrays a routing table holds (empty: no choice)
    int Choice = 0;       // 0-based index into Choices
    bool AskScale = false;
    QString Scale;  // as typed; the suggestion while the box opens
    std::function<TImportBoxView(const QString& scale, int choice)> Describe;

    // Runs the box modally through the platform's services; true when Import was pressed (then
    // Scale and Choice hold what was chosen).
    bool Execute();
};

// The desktop's own box for the settings (the Qt side of the services).
bool RunImportBox(TImportBox& box);
