#pragma once

#include <QStringList>
#include <filesystem>
#include <memory>

#include "app/app_settings.h"
#include "app/radio_line.h"
#include "editing/radio_document.h"
#include "files/file_result.h"

namespace halyx {

class CMainFrame;
class UiPrompts;

// The document of the single-document window. The radio image is an application-wide object,
// so the document holds nothing and is never modified: closing the window never asks to save.
class CHalyxDoc {
public:
    bool IsModified() const { return false; }
};

// The application object: owns what lives for the whole run (the settings and texts, the radio
// document, the serial line) and the main window, and runs start-up. Everything here is used on
// the user-interface thread only.
class CHalyxApp {
public:
    // This run's file layout.
    explicit CHalyxApp(UiPrompts& prompts);
    // Another layout (tests of the installed layout).
    CHalyxApp(FileLayout layout, UiPrompts& prompts);
    ~CHalyxApp();
    CHalyxApp(const CHalyxApp&) = delete;
    CHalyxApp& operator=(const CHalyxApp&) = delete;

    // Start-up: language, UI font, default image, tone table, main window (with its traffic log),
    // the view's initial update, showing, title and centring; the serial port opens as soon as
    // the window is on screen. `arguments` are
    // the command-line arguments after the program name; a file named there is loaded as
    // File > Open would. False when the main window cannot be created.
    bool InitInstance(const QStringList& arguments);
    // The start-up step the event loop runs once the window shows (opening the serial port),
    // done now if it has not run yet: for the start-up check and tests, which run no loop.
    void FinishStartup();

    // Help > About.
    void OnAppAbout();

    CMainFrame* mainFrame() const { return mainFrame_.get(); }
    // The default image start-up loaded (or tried to) and how that went.
    const std::filesystem::path& startImage() const { return startImage_; }
    const FileResult& startImageResult() const { return startImageResult_; }
    const CHalyxDoc& document() const { return document_; }

    AppSettings& settings() { return settings_; }
    // The radio image the user works on, with its undo history; every window edits through it.
    RadioDocument& radioDocument() { return radioDocument_; }
    const RadioDocument& radioDocument() const { return radioDocument_; }
    RadioLine& radioLine() { return line_; }

private:
    void ChooseLanguage();
    void LoadStartImage();
    void LoadCommandLineFile(const QStringList& arguments);
    void CentreMainFrame();

    UiPrompts& prompts_;
    AppSettings settings_;
    RadioDocument radioDocument_;
    RadioLine line_{settings_.settingFile};
    CHalyxDoc document_;
    // Last, so the window goes before what it shows and uses.
    std::unique_ptr<CMainFrame> mainFrame_;
    std::filesystem::path startImage_;
    FileResult startImageResult_;
};

}  // namespace halyx
