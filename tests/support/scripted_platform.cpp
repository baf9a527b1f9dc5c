#include "support/scripted_platform.h"

#include "platform/dialogs/import_box.h"

#include <QFileInfo>
#include <QTest>
#include <utility>

namespace {

QString Visible(const QString& text) {
    QString shown = text;
    return shown.replace(QLatin1Char('\r'), QLatin1String("\\r"));
}
}  // namespace

const char* MsgDlgTypeName(TMessageKind type) {
    switch (type) {
        case TMessageKind::Warning:
            return "Warning";
        case TMessageKind::Information:
            return "Information";
        case TMessageKind::Confirmation:
            return "Confirmation";
        case TMessageKind::Error:
            return "Error";
    }
    return "?";
}

TScriptedPlatform::TScriptedPlatform() {
    SetPlatformServices(this);
}

TScriptedPlatform::~TScriptedPlatform() {
    SetPlatformServices(nullptr);
}

void TScriptedPlatform::ExpectBox(TMessageKind type, const QString& text, TAnswer answer) {
    Boxes.push_back({type, text, answer});
}

void TScriptedPlatform::ExpectSaveDialog(const QString& fileName) {
    Dialogs.push_back(fileName);
}

void TScriptedPlatform::WhileNextBoxOpen(std::function<void()> action) {
    NextBoxAction = std::move(action);
}

void TScriptedPlatform::ClearRecord() {
    Shown.clear();
    ShownSaveDialogs.clear();
    BeepTypes.clear();
}

TAnswer TScriptedPlatform::ShowMessageBox(TMessageKind type, const QString& caption,
                                          const QString& text, TBoxButtons buttons,
                                          const QString& details) {
    const TAnswer refusal = buttons == TBoxButtons::Ok ? TAnswer::Ok : TAnswer::No;
    const std::size_t shown = Shown.size();
    Shown.push_back({type, caption, text, buttons, refusal, details});
    if (NextBoxAction) {
        auto action = std::move(NextBoxAction);
        NextBoxAction = nullptr;
        action();
    }
    if (Boxes.empty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected %1 box \"%2\"")
                                    .arg(QLatin1String(MsgDlgTypeName(type)), Visible(text))),
                     __FILE__, __LINE__);
        return refusal;
    }
    const TExpectedBox expected = Boxes.front();
    Boxes.pop_front();
    if (expected.Type != type || expected.Text != text) {
        QTest::qFail(qPrintable(QStringLiteral("expected %1 box \"%2\", got %3 box \"%4\"")
                                    .arg(QLatin1String(MsgDlgTypeName(expected.Type)),
                                         Visible(expected.Text),
                                         QLatin1String(MsgDlgTypeName(type)), Visible(text))),
                     __FILE__, __LINE__);
        return refusal;
    }
    Shown[shown].Answer = expected.Answer;
    return expected.Answer;
}

bool TScriptedPlatform::ExecuteSaveDialog(TFileDialog& dialog) {
    ShownSaveDialogs.push_back(
        {dialog.Title, dialog.Filter, dialog.DefaultExt, dialog.FileName, dialog.FilterIndex});
    if (Dialogs.empty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected save dialog \"%1\"").arg(dialog.Title)),
                     __FILE__, __LINE__);
        return false;
    }
    QString fileName = Dialogs.front();
    Dialogs.pop_front();
    if (fileName.isEmpty()) {
        return false;
    }
    if (QFileInfo(fileName).suffix().isEmpty() && !dialog.DefaultExt.isEmpty()) {
        fileName += QLatin1Char('.') + dialog.DefaultExt;
    }
    dialog.FileName = fileName;
    return true;
}

void TScriptedPlatform::ExpectImportBox(const QString& scale, int choice, bool import) {
    ImportBoxes.push_back({scale, choice, import});
}

bool TScriptedPlatform::ExecuteImportBox(TImportBox& box) {
    if (ImportBoxes.empty()) {
        QTest::qFail("unexpected import box", __FILE__, __LINE__);
        return false;
    }
    const TImportAnswer answer = ImportBoxes.front();
    ImportBoxes.pop_front();
    if (box.AskScale) {
        box.Scale = answer.Scale;
    }
    if (!box.Choices.isEmpty()) {
        box.Choice = answer.Choice;
    }
    const TImportBoxView view = box.Describe(box.Scale, box.Choice);
    ImportTexts << view.Text;
    return answer.Import && view.CanImport;
}

bool TScriptedPlatform::ExecuteOpenDialog(TFileDialog& dialog) {
    const QString defaultExt = std::exchange(dialog.DefaultExt, QString());
    const bool confirmed = ExecuteSaveDialog(dialog);
    dialog.DefaultExt = defaultExt;
    return confirmed;
}

void TScriptedPlatform::MessageBeep(unsigned type) {
    BeepTypes.push_back(type);
}
