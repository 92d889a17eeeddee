#include "app/file_commands.h"

#include <filesystem>
#include <system_error>

#include "app/app_settings.h"
#include "app/config_file_commands.h"
#include "app/slip_texts.h"
#include "editing/radio_document.h"
#include "files/image_file.h"
#include "settings/file_layout.h"
#include "ui/common/file_paths.h"
#include "ui/common/gui_operation_record.h"
#include "ui/common/shell_texts.h"
#include "ui/common/ui_prompts.h"

namespace halyx {
namespace {

// A name typed without an extension gets .kda, the one extension the open dialog shows: a file
// saved under any other could not be found again.
const FileDialogSpec kSaveDialog{QStringLiteral("Archive File(*.kda)"), QStringLiteral("*.kda;"),
                                 QStringLiteral("Default"), QStringLiteral("kda")};

}  // namespace

FileCommands::FileCommands(RadioDocument& document, const AppSettings& settings, UiPrompts& prompts,
                           QWidget* window, std::function<void()> refreshView)
    : document_(document),
      settings_(settings),
      prompts_(prompts),
      window_(window),
      refreshView_(std::move(refreshView)),
      documentName_(QString::fromStdString(document.fileName())) {}

bool FileCommands::MaySetAsideEdits() {
    if (!document_.IsChanged()) {
        return true;
    }
    const QString question =
        QString::fromStdString(
            settings_.language.textOr(slip_text::kSaveChanges.key, slip_text::kSaveChanges.english))
            .replace(QStringLiteral("%1"), documentName_);
    switch (prompts_.message(window_, PromptIcon::Question, QString::fromUtf8(captions::kCps),
                             question, PromptButtons::SaveDiscardCancel)) {
        case PromptAnswer::Save:
            return Save();
        case PromptAnswer::Discard:
            return true;
        default:
            return false;
    }
}

bool FileCommands::New() {
    const bool changed = document_.IsChanged();
    if (!MaySetAsideEdits()) {
        return false;
    }
    LoadHeaderCopy(document_.image(), headerCopy_);
    // With edits at stake the unsaved-edit question has just been answered; S0088 is the
    // question for an image with nothing to lose.
    if (!changed) {
        const QString question =
            QString::fromStdString(settings_.language.text(keys::kRestoreDefaultQuestion));
        const PromptAnswer answer =
            prompts_.message(window_, PromptIcon::None, QString::fromUtf8(captions::kCps), question,
                             PromptButtons::YesNo);
        if (answer != PromptAnswer::Yes) {
            return false;
        }
    }
    // A file shorter than the image replaces only its own length, as it always has.
    RadioImage image = document_.image();
    const FileResult result = LoadImageFile(DefaultImagePath(settings_.layout), image);
    if (result.ok()) {
        documentName_ =
            QString::fromStdU16String(DefaultImagePath(settings_.layout).filename().u16string());
        document_.Replace(image);  // a new image: nothing before it can be undone
    } else {
        ReportFileError(prompts_, window_, result);
    }
    refreshView_();
    return result.ok();
}

bool FileCommands::Open() {
    if (!MaySetAsideEdits()) {
        return false;
    }
    const std::optional<QString> path =
        prompts_.openFile(window_, WithConfigTextFilter(ImageFileDialog(), settings_.language));
    return path && LoadFile(*path);
}

bool FileCommands::OpenBackup() {
    if (!MaySetAsideEdits()) {
        return false;
    }
    FileDialogSpec spec = ImageFileDialog();
    const std::filesystem::path folder = HistoryPlacesOf(settings_.layout).backupFolder;
    std::error_code error;
    // A folder that cannot be made leaves the dialog where Qt would open it: the user can still
    // find a backup kept elsewhere.
    if (!folder.empty() && (std::filesystem::create_directories(folder, error) || !error)) {
        spec.folder = QString::fromStdU16String(folder.u16string());
    }
    const std::optional<QString> path = prompts_.openFile(window_, spec);
    return path && LoadFile(*path);
}

bool FileCommands::LoadFile(const QString& path) {
    RadioImage image = document_.image();
    if (!LoadImageOrConfigText(settings_.language, prompts_, window_, path, image)) {
        return false;
    }
    document_.SetFileName(ToPath(path).filename().string());
    documentName_ = QString::fromStdU16String(ToPath(path).filename().u16string());
    document_.Replace(image);
    refreshView_();
    return true;
}

bool FileCommands::Save() {
    const std::optional<QString> path =
        prompts_.saveFile(window_, WithConfigTextFilter(kSaveDialog, settings_.language));
    if (!path || !SaveImageOrConfigText(prompts_, window_, *path, document_.image())) {
        return false;
    }
    document_.SetFileName(ToPath(*path).filename().string());
    documentName_ = QString::fromStdU16String(ToPath(*path).filename().u16string());
    document_.MarkSaved();
    return true;
}

void FileCommands::ReportFileError(UiPrompts& prompts, QWidget* parent, const FileResult& result) {
    prompts.inform(parent, PromptIcon::Stop, QString::fromUtf8(captions::kFileError),
                   QString::fromStdString(FileErrorText(result)));
}

}  // namespace halyx
