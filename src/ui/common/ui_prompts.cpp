#include "ui/common/ui_prompts.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStringList>

namespace halyx {
namespace {

QMessageBox::Icon ToQtIcon(PromptIcon icon) {
    switch (icon) {
        case PromptIcon::Information:
            return QMessageBox::Information;
        case PromptIcon::Exclamation:
            return QMessageBox::Warning;
        case PromptIcon::Question:
            return QMessageBox::Question;
        case PromptIcon::Stop:
            return QMessageBox::Critical;
        case PromptIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

void SetUpFileDialog(QFileDialog& dialog, const FileDialogSpec& spec) {
    dialog.setNameFilters(QStringList{QtFileFilter(spec)} + spec.otherFilters);
    dialog.setSizeGripEnabled(true);
    if (!spec.defaultSuffix.isEmpty()) {
        dialog.setDefaultSuffix(spec.defaultSuffix);
    }
    if (!spec.folder.isEmpty()) {
        dialog.setDirectory(spec.folder);
    }
    if (!spec.initialName.isEmpty()) {
        dialog.selectFile(spec.initialName);
    }
}

std::optional<QString> RunFileDialog(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first();
}

}  // namespace

FileDialogSpec ImageFileDialog() {
    return {QStringLiteral("data File(*.kda)"), QStringLiteral("*.kda;"), {}, {}};
}

QString QtFileFilter(const FileDialogSpec& spec) {
    if (spec.description.endsWith(QLatin1Char(')'))) {
        return spec.description;
    }
    const QStringList patterns = spec.pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    return spec.description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
           QLatin1Char(')');
}

PromptAnswer QtUiPrompts::message(QWidget* parent, PromptIcon icon, const QString& caption,
                                  const QString& text, PromptButtons buttons) {
    QMessageBox box(ToQtIcon(icon), caption, text, QMessageBox::NoButton, parent);
    if (buttons == PromptButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? PromptAnswer::Yes : PromptAnswer::No;
    }
    if (buttons == PromptButtons::SaveDiscardCancel) {
        box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Save);
        box.setEscapeButton(QMessageBox::Cancel);
        switch (box.exec()) {
            case QMessageBox::Save:
                return PromptAnswer::Save;
            case QMessageBox::Discard:
                return PromptAnswer::Discard;
            default:
                return PromptAnswer::Cancel;
        }
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return PromptAnswer::Ok;
}

PromptAnswer QtUiPrompts::ask(QWidget* parent, PromptIcon icon, const QString& caption,
                              const QString& text, const QString& yesText, const QString& noText) {
    QMessageBox box(ToQtIcon(icon), caption, text, QMessageBox::Cancel, parent);
    QPushButton* yes = box.addButton(yesText, QMessageBox::YesRole);
    QPushButton* no = box.addButton(noText, QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() == yes) {
        return PromptAnswer::Yes;
    }
    return box.clickedButton() == no ? PromptAnswer::No : PromptAnswer::Cancel;
}

void QtUiPrompts::informWithDetail(QWidget* parent, PromptIcon icon, const QString& caption,
                                   const QString& text, const QString& detail) {
    QMessageBox box(ToQtIcon(icon), caption, text, QMessageBox::Ok, parent);
    // Informative rather than "detailed" text: the cause is what the user needs, so it is shown
    // at once instead of behind a button.
    box.setInformativeText(detail);
    box.exec();
}

std::optional<QString> QtUiPrompts::openFile(QWidget* parent, const FileDialogSpec& spec) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name that does not exist is handed on, so that the file layer can say so.
    dialog.setFileMode(QFileDialog::AnyFile);
    SetUpFileDialog(dialog, spec);
    return RunFileDialog(dialog);
}

std::optional<QString> QtUiPrompts::saveFile(QWidget* parent, const FileDialogSpec& spec) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Replacing an existing file is asked about by the dialog itself (Qt's default).
    SetUpFileDialog(dialog, spec);
    return RunFileDialog(dialog);
}

bool QtUiPrompts::choosePrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void QtUiPrompts::previewAndPrint(QWidget* parent, QPrinter& printer,
                                  const std::function<void(QPrinter&)>& paint) {
    QPrintPreviewDialog dialog(&printer, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                     [&paint](QPrinter* target) { paint(*target); });
    dialog.exec();
}

}  // namespace halyx
