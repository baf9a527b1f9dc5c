#pragma once

// The main menu and the about box, created once at program start (app/program.h) and never
// destroyed while the program runs. The node and link windows have their references beside
// their classes (NodeSpecifications in nodes/node_window.h, LinkSpecification in
// links/link_window.h); the windows reach one another only through these references.

class TMeshLoomMain;
class TAboutBoxModDist;

extern TMeshLoomMain* MeshLoomMain;
extern TAboutBoxModDist* AboutBoxModDist;
