#pragma once

// The save dialogue: from "&Quit and Save Network" to the two files and back to the main
// menu, or back to the link window with every link intact.

#include <QString>

class TLinkSpecification;
class TFileDialog;

// Runs dialog until the user gives up (empty result) or names a file that is new or may be
// replaced. A name leading to mustNotReplace, or to openedKept (the opened network's distance
// file while its demand data file was not saved over), is refused with a warning.
QString ChooseSaveFileName(TFileDialog& dialog, const QString& mustNotReplace = QString(),
                           const QString& openedKept = QString());

// The steps of the link window's Quit and Save: completes the shortest distances, asks about
// a network that is not connected, chooses and writes the demand data file and the distance
// file through the window's two save dialogs, and leaves for the main menu, or stays in the
// window when the user says so.
void SaveNetwork(TLinkSpecification& window);
