#include "app/file_commands.h"

#include <filesystem>
#include <system_error>

#include "app/app_context.h"
#include "app/config_file_commands.h"
#include "files/image_file.h"
#include "settings/file_layout.h"
#include "ui/common/file_paths.h"
#include "ui/common/gui_operation_record.h"
#include "ui/common/shell_texts.h"
#include "ui/common/ui_prompts.h"

namespace halyx {
namespace {

const FileDialogSpec kOpenDialog{
    QStringLiteral("data File(*.kda)"), QStringLiteral("*.kda;"), {}, {}};
// "rdt" is the default extension the save dialog has always been given, even though the filter
// names .kda: a name typed without an extension is saved as .rdt.
const FileDialogSpec kSaveDialog{QStringLiteral("Archive File(*.kda)"), QStringLiteral("*.kda;"),
                                 QStringLiteral("Default"), QStringLiteral("rdt")};

}  // namespace

FileCommands::FileCommands(AppContext& context, UiPrompts& prompts, QWidget* window,
                           std::function<void()> refreshView)
    : context_(context), prompts_(prompts), window_(window), refreshView_(std::move(refreshView)) {}

void FileCommands::New() {
    const QString question = QString::fromStdString(context_.text(keys::kRestoreDefaultQuestion));
    LoadHeaderCopy(context_.document.image(), context_.headerCopy);
    const PromptAnswer answer =
        prompts_.message(window_, PromptIcon::None, QString::fromUtf8(captions::kCps), question,
                         PromptButtons::YesNo);
    if (answer != PromptAnswer::Yes) {
        return;
    }
    // A file shorter than the image replaces only its own length, as it always has.
    RadioImage image = context_.document.image();
    const FileResult result = LoadImageFile(DefaultImagePath(context_.layout), image);
    if (result.ok()) {
        context_.document.Replace(image);  // a new image: nothing before it can be undone
    } else {
        ReportFileError(prompts_, window_, result);
    }
    refreshView_();
}

void FileCommands::Open() {
    const std::optional<QString> path =
        prompts_.openFile(window_, WithConfigTextFilter(kOpenDialog, context_));
    if (path) {
        LoadFile(*path);
    }
}

void FileCommands::OpenBackup() {
    FileDialogSpec spec = kOpenDialog;
    const std::filesystem::path folder = HistoryPlacesOf(context_.layout).backupFolder;
    std::error_code error;
    // A folder that cannot be made leaves the dialog where Qt would open it: the user can still
    // find a backup kept elsewhere.
    if (!folder.empty() && (std::filesystem::create_directories(folder, error) || !error)) {
        spec.folder = QString::fromStdU16String(folder.u16string());
    }
    const std::optional<QString> path = prompts_.openFile(window_, spec);
    if (path) {
        LoadFile(*path);
    }
}

bool FileCommands::LoadFile(const QString& path) {
    RadioImage image = context_.document.image();
    if (!LoadImageOrConfigText(context_, prompts_, window_, path, image)) {
        return false;
    }
    context_.imageFileName = ToPath(path).filename().string();
    context_.document.Replace(image);
    refreshView_();
    return true;
}

void FileCommands::Save() {
    const std::optional<QString> path =
        prompts_.saveFile(window_, WithConfigTextFilter(kSaveDialog, context_));
    if (!path ||
        !SaveImageOrConfigText(context_, prompts_, window_, *path, context_.document.image())) {
        return;
    }
    context_.imageFileName = ToPath(*path).filename().string();
    context_.document.MarkSaved();
}

void FileCommands::ReportFileError(UiPrompts& prompts, QWidget* parent, const FileResult& result) {
    prompts.inform(parent, PromptIcon::Stop, QString::fromUtf8(captions::kFileError),
                   QString::fromStdString(FileErrorText(result)));
}

}  // namespace halyx
