#pragma once

// The four windows, created once at program start (shell/program.h) and never destroyed
// while the program runs; the windows reach one another only through these references.

class TMeshLoomMain;
class TAboutBoxModDist;
class TNodeSpecifications;
class TLinkSpecification;

extern TMeshLoomMain* MeshLoomMain;
extern TAboutBoxModDist* AboutBoxModDist;
extern TNodeSpecifications* NodeSpecifications;
extern TLinkSpecification* LinkSpecification;
