#include "random_platform.h"

#include <QFileInfo>

#include "links/link_window.h"
#include "shell/window_references.h"
#include "support/scripted_platform.h"

namespace {
const char* AnswerName(TAnswer answer) {
    switch (answer) {
        case TAnswer::Ok:
            return "OK";
        case TAnswer::Yes:
            return "Yes";
        case TAnswer::No:
            return "No";
    }
    return "?";
}

bool IsWritable(const QString& name) {
    const QFileInfo file(name);
    return QFileInfo(file.absolutePath()).isDir() && !file.isDir();
}
}  // namespace

QString OneLine(const QString& text) {
    QString line = text;
    line.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    line.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return line;
}

TRandomPlatform::TRandomPlatform(TRandomSource& random, const QString& folder)
    : Random(random), Folder(folder) {
    Folder.mkdir(QStringLiteral("folder.NET"));
    Folder.mkdir(QStringLiteral("folder.NED"));
    SetPlatformServices(this);
}

TRandomPlatform::~TRandomPlatform() {
    SetPlatformServices(nullptr);
}

QString TRandomPlatform::FolderNamed(const QString& extension) const {
    return Folder.filePath(QStringLiteral("folder.") + extension);
}

void TRandomPlatform::ClearRecord() {
    ShownBoxes.clear();
    ShownDialogs.clear();
}

int TRandomPlatform::YesChance(const QString& text) const {
    // Leaving the program often would keep the run near the main menu.
    if (text.startsWith(QLatin1String("Thanks for using MESHLOOM."))) {
        return 25;
    }
    return 50;
}

TAnswer TRandomPlatform::ShowMessageBox(TMessageKind type, const QString& caption,
                                        const QString& text, TBoxButtons buttons,
                                        const QString& details) {
    TAnswer answer = TAnswer::Ok;
    if (buttons != TBoxButtons::Ok) {
        answer = Random.Percent(YesChance(text)) ? TAnswer::Yes : TAnswer::No;
    }
    ShownBoxes.push_back({type, caption, text, buttons, answer, details});
    if (type == TMessageKind::Error) {
        ErrorTexts << text;
    }
    if (Log) {
        Log(QStringLiteral("    box %1 \"%2\" -> %3")
                .arg(QLatin1String(MsgDlgTypeName(type)), OneLine(text),
                     QLatin1String(AnswerName(answer))));
    }
    return answer;
}

QString TRandomPlatform::NewName(const TFileDialog& dialog) {
    QString name = QStringLiteral("f%1").arg(++NamesMade);
    switch (Random.Below(8)) {
        case 0:
            name += QStringLiteral(" with blanks");
            break;
        case 1:
            // Not ASCII: a Latin-1 letter and one beyond Latin-1.
            name += QStringLiteral("-n\u00E4me\u20AC");
            break;
        default:
            break;
    }
    switch (Random.Below(10)) {
        case 0:
        case 1:
            name += QLatin1Char('.') + dialog.DefaultExt;
            break;
        case 2:
            name += QLatin1Char('.') + dialog.DefaultExt.toLower();
            break;
        case 3:
            name += QStringLiteral(".txt");
            break;
        default:  // typed without an extension
            break;
    }
    return Folder.filePath(name);
}

QString TRandomPlatform::ChooseName(const TFileDialog& dialog, QString& how) {
    const TFileDialog* other = nullptr;
    if (LinkSpecification != nullptr) {
        other = &dialog == &LinkSpecification->SaveNodes ? &LinkSpecification->SaveDistances
                                                         : &LinkSpecification->SaveNodes;
    }
    switch (Random.Weighted({12, 10, 28, 18, 12, 8, 4})) {
        case 0:
            how = QStringLiteral("given up");
            return QString();
        case 1:
            if (!dialog.FileName.isEmpty()) {
                how = QStringLiteral("as it opened");
                return dialog.FileName;
            }
            break;
        case 3: {
            std::vector<QString> existing;
            for (const QString& name : GivenNames) {
                if (QFileInfo(name).isFile()) {
                    existing.push_back(name);
                }
            }
            if (!existing.empty()) {
                how = QStringLiteral("an existing file");
                return Random.Pick(existing);
            }
            break;
        }
        case 4:
            if (other != nullptr && !other->FileName.isEmpty()) {
                how = QStringLiteral("the other dialog's name");
                return other->FileName;
            }
            break;
        case 5:
            how = QStringLiteral("in a missing folder");
            return QDir(MissingFolder()).filePath(QFileInfo(NewName(dialog)).fileName());
        case 6:
            how = QStringLiteral("a folder");
            return FolderNamed(Random.Percent(50) ? QStringLiteral("NET") : QStringLiteral("NED"));
        default:
            break;
    }
    how = QStringLiteral("a new file");
    return NewName(dialog);
}

bool TRandomPlatform::ExecuteSaveDialog(TFileDialog& dialog) {
    const QString openedWith = dialog.FileName;
    QString how;
    QString name = ChooseName(dialog, how);
    if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty() && !dialog.DefaultExt.isEmpty()) {
        name += QLatin1Char('.') + dialog.DefaultExt;
    }
    const bool confirmed = !name.isEmpty();
    const bool writable = confirmed && IsWritable(name);
    if (confirmed) {
        dialog.FileName = name;
        if (QFileInfo(name).absolutePath() == Folder.absolutePath()) {
            GivenNames.insert(name);
        }
    }
    ShownDialogs.push_back({&dialog, confirmed, name, writable});
    if (Log) {
        Log(QStringLiteral("    dialog \"%1\" (opened with \"%2\") -> %3%4")
                .arg(dialog.Title, openedWith, how,
                     confirmed ? QStringLiteral(" \"%1\"").arg(name) : QString()));
    }
    return confirmed;
}

void TRandomPlatform::MessageBeep(unsigned /*type*/) {}
