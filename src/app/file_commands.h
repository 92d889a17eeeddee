#pragma once

#include <QString>
#include <functional>

#include "files/file_result.h"
#include "image/working_copies.h"

class QWidget;

namespace halyx {

struct AppSettings;
class RadioDocument;
class UiPrompts;

// The File menu's image-file commands. `refreshView` is the WM_REFRESH_IMAGE the main window
// sends to its view after the image changed.
class FileCommands {
public:
    FileCommands(RadioDocument& document, const AppSettings& settings, UiPrompts& prompts,
                 QWidget* window, std::function<void()> refreshView);

    // New: with unsaved edits the unsaved-edit question, otherwise S0088 (Yes/No, "CPS"); then
    // restores default.kda and refreshes the view. True when the default image was loaded.
    bool New();
    // Open: after the unsaved-edit question, lets the user pick a .kda file and loads it; the
    // view is refreshed on success.
    bool Open();
    // Open backup: Open, with the file dialog starting in the backup folder (made if missing).
    bool OpenBackup();
    // Save: lets the user pick a file name and writes the image there. False when cancelled or
    // the file could not be written.
    bool Save();

    // Before a command replaces the image or ends the run: when it holds unsaved edits, asks
    // Save / Discard / Cancel. True when the command may go on (saved, discarded, or nothing to
    // lose); a cancelled or failed save keeps the edits and stops the command.
    bool MaySetAsideEdits();

    // What the title calls the image: the file it came from or was saved to, or where it was read.
    const QString& documentName() const { return documentName_; }
    void SetDocumentName(QString name) { documentName_ = std::move(name); }

    // Loads `path` into the image as Open does after the dialog: true and a refreshed view on
    // success, the file-error box otherwise. Also used for a file named on the command line.
    bool LoadFile(const QString& path);

    // The header working copy New refreshes before it asks.
    const HeaderCopy& headerCopy() const { return headerCopy_; }

    // The file-error box: stop icon, caption "Halyx", the cause's text with the file name.
    static void ReportFileError(UiPrompts& prompts, QWidget* parent, const FileResult& result);

private:
    RadioDocument& document_;
    const AppSettings& settings_;
    UiPrompts& prompts_;
    QWidget* window_;
    std::function<void()> refreshView_;
    QString documentName_;
    HeaderCopy headerCopy_;
};

}  // namespace halyx
