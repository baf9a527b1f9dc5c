#include "shell/window_references.h"

TMeshLoomMain* MeshLoomMain = nullptr;
TAboutBoxModDist* AboutBoxModDist = nullptr;
