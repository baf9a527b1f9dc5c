#pragma once

// Program start: the application object, the four windows in their order, the event loop.

// Creates the main menu (which brings up the splash), the about box, the node window and
// the link window, in this order, and sets the window references.
void CreateProgramWindows();

// Destroys the windows and clears the references. For tests, which start the program
// afresh for each case; the program itself ends with its event loop.
void DestroyProgramWindows();

// The whole program: returns the exit status.
int RunProgram(int argc, char** argv);
