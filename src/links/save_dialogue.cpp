#include "links/save_dialogue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "core/network/connectivity_details.h"
#include "core/network/network_store.h"
#include "core/network/shortest_paths.h"
#include "files/file_identity.h"
#include "files/network_file_reader.h"
#include "links/link_window.h"
#include "platform/dialogs/file_dialog.h"
#include "platform/dialogs/platform_services.h"
#include "platform/services/name_text.h"
#include "platform/services/network_file_writer.h"
#include "shell/main_menu.h"
#include "shell/window_references.h"

namespace {
const QChar CR = QLatin1Char('\r');

// What became of one of the two files: the full name chosen (empty: none) and, when it was not
// written, the operating system's reason. InPlace: not written as asked, but the new file holds
// the name all the same (only the flush of its folder failed).
struct TFileOutcome {
    QString Name;
    QString Reason;
    bool Written = false;
    bool InPlace = false;
};

const QString NameMayNotSurvive =
    QString::fromLatin1(NameNotFlushedText.data(), qsizetype(NameNotFlushedText.size()));

// Writes the file chosen with write, unless none was chosen.
template <typename TWrite>
TFileOutcome Save(const QString& name, TWrite write) {
    TFileOutcome outcome{
        name.isEmpty() ? QString() : QFileInfo(name).absoluteFilePath(), {}, false};
    if (!name.isEmpty()) {
        const TWriteResult result = write(name);
        outcome.Written = result;
        outcome.InPlace = result.NameNotFlushed;
        outcome.Reason = QString::fromStdString(ErrorReason(result.Error));
    }
    return outcome;
}

// The details of a failed write: "File: /home/planner/plan.NET\nReason: No space left on device",
// with a line between them when the new file is in place all the same.
QString FailureDetails(const TFileOutcome& outcome) {
    return QStringLiteral("File: ") + outcome.Name + QLatin1Char('\n') +
           (outcome.InPlace ? NameMayNotSurvive + QLatin1Char('\n') : QString()) +
           QStringLiteral("Reason: ") + outcome.Reason;
}

// One line of what became of a file: saved, not saved for want of a name, or not saved and why.
QString OutcomeLine(const QString& file, const TFileOutcome& outcome) {
    if (outcome.Written) {
        return file + QStringLiteral(": saved as ") + outcome.Name;
    }
    if (outcome.Name.isEmpty()) {
        return file + QStringLiteral(": not saved (no file name was chosen)");
    }
    return file + QStringLiteral(": not saved: ") + outcome.Name + QStringLiteral(": ") +
           (outcome.InPlace ? NameMayNotSurvive + QLatin1Char(' ') : QString()) + outcome.Reason;
}

// True when both names lead to one file (files/file_identity.h).
bool IsSameFile(const QString& a, const QString& b) {
    return !a.isEmpty() && !b.isEmpty() &&
           IsOneFile(QFile::encodeName(a).toStdString(), QFile::encodeName(b).toStdString());
}

// The distance file that belongs with the demand data file just chosen for an opened network:
// the opened one while the opened demand data file is saved over; otherwise the one rule of
// Open (files/network_file_reader.h). Empty when no demand data file was chosen, so that
// Return alone never writes half of a pair.
QString DistanceFileFor(const QString& demandFile, const QString& openedDemand,
                        const QString& openedDistance) {
    if (demandFile.isEmpty()) {
        return {};
    }
    if (IsSameFile(demandFile, openedDemand)) {
        return openedDistance;
    }
    return QFile::decodeName(
        ::DistanceFileFor(QFile::encodeName(QFileInfo(demandFile).absoluteFilePath()).toStdString())
            .c_str());
}
}  // namespace

QString ChooseSaveFileName(TFileDialog& dialog, const QString& mustNotReplace,
                           const QString& openedKept) {
    for (;;) {
        // The chosen full path, or empty when the user gave up.
        const QString name = dialog.Execute() ? dialog.FileName : QString();
        // A new file, or none: nothing to ask.
        if (name.isEmpty() || !QFileInfo::exists(name)) {
            return name;
        }
        // The distance file must never replace the demand data file saved a moment ago.
        if (!mustNotReplace.isEmpty() && IsSameFile(name, mustNotReplace)) {
            ShowBox(QStringLiteral("The Distance File must not replace the Network Demand Data "
                                   "File just saved."),
                    TMessageKind::Warning, TBoxButtons::Ok);
            continue;
        }
        // Nor the opened network's distance file while its demand data file was not saved over:
        // the opened pair would then disagree.
        if (!openedKept.isEmpty() && IsSameFile(name, openedKept)) {
            ShowBox(QStringLiteral("The Distance File must not replace the opened network's "
                                   "Distance File unless its Network Demand Data File was just "
                                   "saved over."),
                    TMessageKind::Warning, TBoxButtons::Ok);
            continue;
        }
        // An existing file is replaced only when the user says so; else the dialog opens again
        // with the same name.
        if (ShowBox(QStringLiteral("File [") + name +
                        QStringLiteral("] exists.... Do you want to replace it?"),
                    TMessageKind::Confirmation, TBoxButtons::YesNo) == TAnswer::Yes) {
            return name;
        }
    }
}

void SaveNetwork(TLinkSpecification& window) {
    // The files are written from the completed distances, capped at 10000, and the verdict
    // whether every pair could be joined within that cap.
    CompleteShortestPaths(Network);

    // A network that is not connected is saved only when the user insists; else the link
    // window stays open with every link.
    if (!Network.NetworkConnected) {
        const QString question = QStringLiteral("NETWORK IS NOT CONNECTED") + CR +
                                 QStringLiteral("VERY SERIOUS CONDITION") + CR + CR +
                                 QStringLiteral("Do you really want to save the network?");
        // Which pairs, and why, behind "Show Details...".
        const QString pairs = NameText(UnjoinedPairsDetails(Network));
        if (ShowBox(question, TMessageKind::Warning, TBoxButtons::YesNo, pairs) != TAnswer::Yes) {
            ReleasePathRows(Network);
            window.UpdateAllLists();
            return;
        }
    }

    // The demand data file. A failed write is reported and counts as not saved. An opened file
    // without an extension is offered as it is, so that Return saves the pair in place rather
    // than a new file beside the opened pair's distance file.
    const QString openedDemand = MeshLoomMain->OpenedDemandPath();
    const QString defaultExt = window.SaveNodes.DefaultExt;
    if (!openedDemand.isEmpty() && QFileInfo(openedDemand).suffix().isEmpty() &&
        IsSameFile(window.SaveNodes.FileName, openedDemand)) {
        window.SaveNodes.DefaultExt.clear();
    }
    const QString demandFile = ChooseSaveFileName(window.SaveNodes);
    window.SaveNodes.DefaultExt = defaultExt;
    const TFileOutcome demand = Save(demandFile, WriteDemandDataFile);
    Network.DemandFileSaved = demand.Written;
    if (!demandFile.isEmpty() && !demand.Written) {
        ShowBox(QStringLiteral("FATAL ERROR SAVING DEMAND DATA FILE"), TMessageKind::Warning,
                TBoxButtons::Ok, FailureDetails(demand));
    }

    // The distance file, whatever happened to the demand data file; never over the demand data
    // file when that holds its name, even one that may not survive a power cut. Until its dialog
    // has a name of its own, it opens in the folder where the demand data file was chosen, so that
    // the two files of one network land side by side.
    if (window.SaveDistances.FileName.isEmpty() && !window.SaveNodes.FileName.isEmpty()) {
        window.SaveDistances.InitialDir = QFileInfo(window.SaveNodes.FileName).absolutePath();
    }
    // An opened network's distances go with the demand data file chosen now, never beside
    // another network's demand data.
    if (!MeshLoomMain->OpenedDemandPath().isEmpty()) {
        window.SaveDistances.FileName = DistanceFileFor(
            demandFile, MeshLoomMain->OpenedDemandPath(), MeshLoomMain->OpenedDistancePath());
        window.SaveDistances.InitialDir = QFileInfo(window.SaveNodes.FileName).absolutePath();
    }
    const bool demandInPlace = demand.Written || demand.InPlace;
    const QString distanceFile = ChooseSaveFileName(
        window.SaveDistances, demandInPlace ? demandFile : QString(),
        demandInPlace && IsSameFile(demandFile, openedDemand) ? QString()
                                                              : MeshLoomMain->OpenedDistancePath());
    const TFileOutcome distances = Save(distanceFile, WriteDistanceFile);
    Network.DistanceFileSaved = distances.Written;
    if (!distanceFile.isEmpty() && !distances.Written) {
        ShowBox(QStringLiteral("FATAL ERROR SAVING DISTANCE FILE"), TMessageKind::Warning,
                TBoxButtons::Ok, FailureDetails(distances));
    }

    // The network counts as saved only with both files; the distances are no longer needed.
    Network.NetworkSaved = Network.DemandFileSaved && Network.DistanceFileSaved;
    ReleasePathRows(Network);

    // Something was not saved: leaving now loses the links, so ask. No keeps the link window
    // open with every link; the files written stay on disk.
    if (!Network.NetworkSaved) {
        const QString question = QStringLiteral("Data were not saved correctly ... WARNING") + CR +
                                 QStringLiteral("If you continue you will lose all data") + CR +
                                 CR + QStringLiteral("Do you want to continue to QUIT?");
        const QString outcomes = OutcomeLine(QStringLiteral("Demand data file"), demand) +
                                 QLatin1Char('\n') +
                                 OutcomeLine(QStringLiteral("Distance file"), distances);
        // No is the default: Return here must not throw the network away.
        if (ShowBox(question, TMessageKind::Warning, TBoxButtons::YesNoDefaultNo, outcomes) !=
            TAnswer::Yes) {
            window.UpdateAllLists();
            return;
        }
    }

    MeshLoomMain->ShowSavedNetwork(demand.Written ? demand.Name : QString(),
                                   distances.Written ? distances.Name : QString());
    window.ReturnToMainMenu();
}
