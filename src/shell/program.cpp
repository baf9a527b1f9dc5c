// Interim program start.
#include "shell/program.h"

#include <QApplication>

#include "links/link_specification.h"
#include "nodes/node_specifications.h"
#include "shell/about_box.h"
#include "shell/main_menu.h"
#include "shell/window_references.h"

void CreateProgramWindows() {
    MeshLoomMain = new TMeshLoomMain;
    AboutBoxModDist = new TAboutBoxModDist;
    NodeSpecifications = new TNodeSpecifications;
    LinkSpecification = new TLinkSpecification;
}

void DestroyProgramWindows() {
    delete LinkSpecification;
    delete NodeSpecifications;
    delete AboutBoxModDist;
    delete MeshLoomMain;
    LinkSpecification = nullptr;
    NodeSpecifications = nullptr;
    AboutBoxModDist = nullptr;
    MeshLoomMain = nullptr;
}

int RunProgram(int argc, char** argv) {
    QApplication application(argc, argv);
    CreateProgramWindows();
    MeshLoomMain->show();
    return QApplication::exec();
}
