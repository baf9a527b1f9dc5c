#include "app/program.h"
#include "app/command_line.h"

#include <QIcon>
#include <QStringList>
#include <QTimer>
#include <optional>

#include "links/link_window.h"
#include "nodes/node_window.h"
#include "platform/application/hint_switch.h"
#include "platform/application/meshloom_application.h"
#include "platform/dialogs/platform_services.h"
#include "platform/dialogs/qt_platform_services.h"
#include "shell/about_box.h"
#include "shell/main_menu.h"
#include "shell/window_references.h"

void CreateProgramWindows() {
    AnnounceWindowsAsWindows();
    SetHintsShown(true);
    MeshLoomMain = new TMeshLoomMain;
    AboutBoxModDist = new TAboutBoxModDist;
    NodeSpecifications = new TNodeSpecifications;
    LinkSpecification = new TLinkSpecification;
    MeshLoomMain->SetStepWindows(*NodeSpecifications, *LinkSpecification);
    // A network opened is saved back to its own files unless the planner chooses others.
    QObject::connect(MeshLoomMain, &TMeshLoomMain::NetworkOpened, LinkSpecification,
                     &TLinkSpecification::StartSavesAt);
    // An imported network is best saved beside the file it came from, under its name.
    QObject::connect(MeshLoomMain, &TMeshLoomMain::NetworkImported, LinkSpecification,
                     &TLinkSpecification::StartSavesAt);
}

void DestroyProgramWindows() {
    delete LinkSpecification;
    LinkSpecification = nullptr;
    delete NodeSpecifications;
    NodeSpecifications = nullptr;
    delete AboutBoxModDist;
    AboutBoxModDist = nullptr;
    delete MeshLoomMain;
    MeshLoomMain = nullptr;
}

int RunProgram(int argc, char** argv) {
    if (const std::optional<int> answered = AnswerInformationOptions(argc, argv)) {
        return *answered;
    }
    TMeshLoomApplication application(argc, argv);
    // The title names the program's task-bar entry (on X11 its window class). It is not the
    // display name, which Qt would append to every window caption.
    QCoreApplication::setApplicationName(ApplicationTitle);
    // The desktop entry the windows belong to, so that a task bar or dock shows its icon for
    // them (the Wayland app id). On X11 the entry names the window class above instead
    // (StartupWMClass), as this leaves the window captions as they are.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.meshloom.Meshloom"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/meshloom.png")));
    // Only the main window's confirmed close ends the program, whatever else is visible.
    QApplication::setQuitOnLastWindowClosed(false);
    // The desktop's own boxes, save dialogs and beep, for as long as there are windows.
    TQtPlatformServices desktop;
    SetPlatformServices(&desktop);

    CreateProgramWindows();
    QObject::connect(MeshLoomMain, &TMeshLoomMain::Closed, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    MeshLoomMain->show();
    // "meshloom FILE.NET" opens that network once the main menu shows, and "meshloom --import
    // FILE" imports FILE.
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const bool import = !arguments.isEmpty() && arguments.first() == QStringLiteral("--import");
    if (import || (!arguments.isEmpty() && arguments.first() == QStringLiteral("--"))) {
        arguments.removeFirst();
    }
    if (!arguments.isEmpty()) {
        QTimer::singleShot(0, MeshLoomMain, [import, path = arguments.first()] {
            RunHandler([&] {
                if (import) {
                    MeshLoomMain->ImportNetwork(path);
                } else {
                    MeshLoomMain->OpenNetwork(path);
                }
            });
        });
    }
    const int status = QApplication::exec();
    DestroyProgramWindows();
    SetPlatformServices(nullptr);
    return status;
}
