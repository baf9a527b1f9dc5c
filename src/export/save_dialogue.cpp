// The save dialogue of the link window: from "&Quit and Save Network" to the two files and
// back to the main menu, or back to the link window with every link intact.

#include <QFileInfo>

#include "export/data_files.h"
#include "export/shortest_paths.h"
#include "links/link_specification.h"
#include "network/network_store.h"
#include "platform/application.h"
#include "platform/button.h"
#include "platform/platform_services.h"
#include "shell/main_menu.h"
#include "shell/window_references.h"

namespace {
const QChar CR = QLatin1Char('\r');

// True when both names lead to one existing file.
bool IsSameFile(const QString& a, const QString& b) {
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}
}  // namespace

QString TLinkSpecification::ChooseSaveFileName(TSaveDialog& dialog, const QString& mustNotReplace) {
    for (;;) {
        // 1. Run the dialog: the chosen full path, or empty when the user gave up.
        const QString name = dialog.Execute() ? dialog.FileName : QString();
        // 2. A new file, or none: done.
        if (name.isEmpty() || !QFileInfo::exists(name)) {
            return name;
        }
        // The distance file must never replace the demand data file saved a moment ago.
        if (!mustNotReplace.isEmpty() && IsSameFile(name, mustNotReplace)) {
            MessageDlg(QStringLiteral("The Distance File must not replace the Network Demand Data "
                                      "File just saved."),
                       TMsgDlgType::Warning, TMsgDlgButtons::Ok);
            continue;
        }
        // 3. An existing file: replace it only when the user says so; else choose again.
        if (MessageDlg(QStringLiteral("File [") + name +
                           QStringLiteral("] exists.... Do you want to replace it?"),
                       TMsgDlgType::Confirmation, TMsgDlgButtons::YesNo) == TModalResult::Yes) {
            return name;
        }
    }
}

void TLinkSpecification::QuitandSaveClick() {
    // 1. The shortest distances and the connectivity verdict.
    CompleteShortestPaths();

    // 2. A network that is not connected is saved only when the user insists.
    if (!Network.NetworkConnected) {
        const QString question = QStringLiteral("NETWORK IS NOT CONNECTED") + CR +
                                 QStringLiteral("VERY SERIOUS CONDITION") + CR + CR +
                                 QStringLiteral("Do you really want to save the network?");
        if (MessageDlg(question, TMsgDlgType::Warning, TMsgDlgButtons::YesNo) !=
            TModalResult::Yes) {
            ReleasePathRows();
            UpdateAllLists();
            return;
        }
    }

    // 3. The demand data file.
    const QString demandFile = ChooseSaveFileName(SaveNodes);
    if (demandFile.isEmpty()) {
        Network.DemandFileSaved = false;
    } else {
        Network.DemandFileSaved = true;
        if (!WriteDemandDataFile(demandFile)) {
            MessageDlg(QStringLiteral("FATAL ERROR SAVING DEMAND DATA FILE"), TMsgDlgType::Warning,
                       TMsgDlgButtons::Ok);
            Network.DemandFileSaved = false;
        }
    }

    // 4. The distance file, whatever happened to the demand data file. Until its dialog has a
    // name of its own, it opens in the folder where the demand data file was chosen, so that
    // the two files of one network land side by side.
    if (SaveDistances.FileName.isEmpty() && !SaveNodes.FileName.isEmpty()) {
        SaveDistances.InitialDir = QFileInfo(SaveNodes.FileName).absolutePath();
    }
    const QString distanceFile =
        ChooseSaveFileName(SaveDistances, Network.DemandFileSaved ? demandFile : QString());
    if (distanceFile.isEmpty()) {
        Network.DistanceFileSaved = false;
    } else {
        Network.DistanceFileSaved = true;
        if (!WriteDistanceFile(distanceFile)) {
            MessageDlg(QStringLiteral("FATAL ERROR SAVING DISTANCE FILE"), TMsgDlgType::Warning,
                       TMsgDlgButtons::Ok);
            Network.DistanceFileSaved = false;
        }
    }

    // 5.-6.
    Network.NetworkSaved = Network.DemandFileSaved && Network.DistanceFileSaved;
    ReleasePathRows();

    // 7. Something was not saved: leaving now loses the links, so ask.
    if (!Network.NetworkSaved) {
        const QString question = QStringLiteral("Data were not saved correctly ... WARNING") + CR +
                                 QStringLiteral("If you continue you will lose all data") + CR +
                                 CR + QStringLiteral("Do you want to continue to QUIT?");
        if (MessageDlg(question, TMsgDlgType::Warning, TMsgDlgButtons::YesNo) !=
            TModalResult::Yes) {
            UpdateAllLists();
            return;
        }
    }

    // 8.
    ReturnToMainMenu();
}

void TLinkSpecification::ReturnToMainMenu() {
    Network.LinkRows.ReleaseRows(Network.NumNodes);
    hide();
    MeshLoomMain->LinkButton->setEnabled(false);
    ShowWindow(*MeshLoomMain);
}
