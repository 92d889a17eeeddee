#pragma once

#include <QString>
#include <memory>
#include <string>

#include "editing/radio_document.h"

class QStatusBar;

namespace halyx {

struct AppSettings;
class CStatusPanes;
class RadioLine;
struct GuiRadioOperation;
struct OperationRecord;

// Keeps the status bar's panes true: the image's file name (or the radio and time it was read
// from, until another image replaces it), the port, and the words of the last radio operation
// with the backup it left.
class StatusPaneUpdater {
public:
    // The objects are the application's, for the whole run.
    StatusPaneUpdater(RadioDocument& document, const RadioLine& line, const AppSettings& settings,
                      QStatusBar& bar);
    ~StatusPaneUpdater();
    StatusPaneUpdater(const StatusPaneUpdater&) = delete;
    StatusPaneUpdater& operator=(const StatusPaneUpdater&) = delete;

    CStatusPanes& panes() const { return *panes_; }

    // "Read from Radio on COM1: Succeeded, 20 channels, backup 2026-12-09/101530-SIM1.kda".
    void ShowOperation(const GuiRadioOperation& operation, const OperationRecord& record);
    // A radio read replaced the image: the file pane names the port and the time.
    void NoteRadioRead();
    void RefreshFile();
    void RefreshPort();

    // The words a radio operation's result is shown in.
    QString ResultWords(const std::string& result) const;

private:
    QString PortName() const;

    RadioDocument& document_;
    const RadioLine& line_;
    const AppSettings& settings_;
    std::unique_ptr<CStatusPanes> panes_;
    RadioDocument::Subscription subscription_ = 0;
    QString readFrom_;  // set by a radio read, dropped when the image is replaced otherwise
};

}  // namespace halyx
