#pragma once

#include <QString>
#include <functional>

#include "files/file_result.h"

class QWidget;

namespace halyx {

struct AppContext;
class UiPrompts;

// The File menu's image-file commands. `refreshView` is the WM_REFRESH_IMAGE the main window
// sends to its view after the image changed.
class FileCommands {
public:
    FileCommands(AppContext& context, UiPrompts& prompts, QWidget* window,
                 std::function<void()> refreshView);

    // New: asks (S0088, Yes/No, "CPS"); on Yes restores default.kda and refreshes the view.
    void New();
    // Open: lets the user pick a .kda file and loads it; the view is refreshed on success.
    void Open();
    // Open backup: Open, with the file dialog starting in the backup folder (made if missing).
    void OpenBackup();
    // Save: lets the user pick a file name and writes the image there.
    void Save();

    // Loads `path` into the image as Open does after the dialog: true and a refreshed view on
    // success, the file-error box otherwise. Also used for a file named on the command line.
    bool LoadFile(const QString& path);

    // The file-error box: stop icon, caption "Halyx", the cause's text with the file name.
    static void ReportFileError(UiPrompts& prompts, QWidget* parent, const FileResult& result);

private:
    AppContext& context_;
    UiPrompts& prompts_;
    QWidget* window_;
    std::function<void()> refreshView_;
};

}  // namespace halyx
