#include "platform/dialogs/import_box.h"

#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/dialogs/platform_services.h"

bool TImportBox::Execute() {
    return PlatformServices().ExecuteImportBox(*this);
}

bool RunImportBox(TImportBox& box) {
    QDialog dialog;
    dialog.setWindowTitle(box.Title);
    dialog.setWindowModality(Qt::ApplicationModal);
    auto* form = new QVBoxLayout(&dialog);
    auto* text = new QLabel(&dialog);
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    text->setMinimumWidth(420);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    form->addWidget(text);

    auto* choices = new QButtonGroup(&dialog);
    for (int i = 0; i < box.Choices.size(); ++i) {
        auto* choice = new QRadioButton(QStringLiteral("Import the &") + box.Choices[i], &dialog);
        choice->setChecked(i == box.Choice);
        choices->addButton(choice, i);
        form->addWidget(choice);
    }
    QLineEdit* scale = nullptr;
    if (box.AskScale) {
        auto* row = new QFormLayout;
        scale = new QLineEdit(box.Scale, &dialog);
        auto* label = new QLabel(QStringLiteral("&Scale:"), &dialog);
        label->setBuddy(scale);
        row->addRow(label, scale);
        form->addLayout(row);
    }
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* import =
        buttons->addButton(QStringLiteral("&Import"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    import->setDefault(true);
    form->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    const auto describe = [&] {
        box.Choice = choices->checkedId() < 0 ? 0 : choices->checkedId();
        if (scale != nullptr) {
            box.Scale = scale->text();
        }
        const TImportBoxView view = box.Describe(box.Scale, box.Choice);
        text->setText(view.Text);
        dialog.setAccessibleDescription(view.Text);
        import->setEnabled(view.CanImport);
    };
    describe();
    QObject::connect(choices, &QButtonGroup::idClicked, &dialog, describe);
    if (scale != nullptr) {
        QObject::connect(scale, &QLineEdit::textChanged, &dialog, describe);
        scale->setFocus();
        scale->selectAll();
    }
    return dialog.exec() == QDialog::Accepted;
}
