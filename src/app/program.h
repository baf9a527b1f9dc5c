#pragma once

// Program start: the application object, the four windows in their order, the event loop.

// Creates the main menu (which brings up the splash), the about box, the node window and
// the link window, in this order, and sets the window references. Hints start on.
void CreateProgramWindows();

// Destroys the windows (the splash with the main menu) and clears the references. The program
// does it once its event loop has ended; tests start the program afresh for each case.
void DestroyProgramWindows();

// The whole program: returns the exit status.
int RunProgram(int argc, char** argv);
