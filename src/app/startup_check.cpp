#include "app/startup_check.h"

#include <filesystem>
#include <system_error>

#include "app/halyx_app.h"

namespace halyx {

PromptAnswer SilentPrompts::message(QWidget*, PromptIcon, const QString& caption,
                                    const QString& text, PromptButtons buttons) {
    messages_.append(caption + QStringLiteral(": ") + text);
    switch (buttons) {
        case PromptButtons::YesNo:
            return PromptAnswer::No;
        case PromptButtons::SaveDiscardCancel:
            return PromptAnswer::Cancel;
        case PromptButtons::Ok:
            break;
    }
    return PromptAnswer::Ok;
}

std::optional<QString> SilentPrompts::openFile(QWidget*, const FileDialogSpec&) {
    return std::nullopt;
}

std::optional<QString> SilentPrompts::saveFile(QWidget*, const FileDialogSpec&) {
    return std::nullopt;
}

bool SilentPrompts::choosePrinter(QWidget*, QPrinter&) {
    return false;
}

int ReportStartupCheck(const CHalyxApp& app, const SilentPrompts& prompts, std::ostream& out) {
    for (const QString& message : prompts.messages()) {
        out << "message: " << message.toStdString() << "\n";
    }
    std::error_code error;
    const std::filesystem::path image = std::filesystem::absolute(app.startImage(), error);
    out << "default image: " << (error ? app.startImage() : image).string() << " ("
        << app.radioDocument().image().length << " bytes)\n";
    // Only a file error fails the check: a port that cannot be opened is normal on a machine
    // without a radio and says nothing about the installation.
    return app.startImageResult().ok() ? kStartupCheckPassed : kStartupCheckFileError;
}

}  // namespace halyx
