#pragma once

#include <QMainWindow>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "link/tuning_data.h"

class QLabel;
class QMenu;
class QToolBar;
class QToolButton;

namespace halyx {

struct AppSettings;
class CHalyxView;
class EditCommands;
class ExchangeDialog;
class FileCommands;
class InterchangeCommands;
class LockIndicatorPane;
class LockPaneUpdater;
class RadioDocument;
class RadioLine;
class StatusPaneUpdater;
class UiPrompts;

// The one top-level window: menus, toolbar, status bar and the main form. It owns the user's
// commands, one QAction each (carrying its command id as data and as object name), and opens
// the serial link once it is on screen; the link's bytes go to the exchange runner, not through
// here.
class CMainFrame : public QMainWindow {
public:
    // The objects are the application's, for the whole run.
    CMainFrame(AppSettings& settings, RadioDocument& document, RadioLine& line, UiPrompts& prompts,
               QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The window's creation steps: bars and traffic log (comm.log emptied).
    bool Create();
    // Opens the serial port on the saved port number once the window is on screen and painted:
    // finding the port lists the system's serial devices, which takes longer than showing the
    // window. A port that does not open is reported and the run goes on.
    void OpenSerialPortOnceShown();
    // Runs a port open still waiting for the window at once (start-up checks, tests).
    void OpenPendingSerialPort();

    CHalyxView* view() const { return view_; }
    QToolBar* toolBar() const { return toolBar_; }
    QAction* commandAction(int commandId) const;
    QLabel* messagePane() const { return messagePane_; }
    LockIndicatorPane* indicatorPane(int index) const;
    // The file, port, result and notice panes.
    StatusPaneUpdater& statusPanes() const { return *statusPanes_; }
    // What keeps the lock panes in step with the keyboard (tests give it a source of their own).
    LockPaneUpdater* lockPaneUpdater() const { return lockPanes_; }

    // Triggers the command's action, as its menu item, button or key would; ids without a
    // handler do nothing.
    void OnCommand(int commandId);

    // Menu titles and items, and the third status pane, from the active language file.
    void LocaliseMenus();
    // The language switch, with "chinese" (false) or "english" (true).
    void SwitchLanguage(bool english);
    // Sets the window title: a leading "*" while the image holds unsaved edits, what the image is
    // (its file, or where it was read), then the text of key S0000.
    void SetTitleFromLanguage();
    // Whether "port"/"com" names a port; 0 (or no setting file) means none has been chosen yet.
    bool IsPortChosen() const;
    // Re-runs the view's initial update and brings the window to the front.
    void ReinitialiseViews();
    // WM_REFRESH_IMAGE to the view.
    void RefreshView();

    // The application object's handler for About (the frame routes it there).
    void SetAboutHandler(std::function<void()> handler) { aboutHandler_ = std::move(handler); }
    // Opens the test and calibration dialog; until one is set, the Test command does nothing.
    void SetTestDialogHandler(std::function<void()> handler) { testHandler_ = std::move(handler); }

    FileCommands& fileCommands() { return *fileCommands_; }

    // Tool tip of a toolbar button by command id, by the setting file's language value.
    QString ToolTipFor(int commandId) const;
    // "就绪" or "Ready", by the same rule.
    QString IdleText() const;
    // The idle text when nothing is pointed at, an empty message while a menu item or toolbar
    // button is.
    void RefreshStatusText();

protected:
    bool event(QEvent* event) override;
    // The close box and Exit: unsaved edits are asked about first.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void BuildMenus();
    QAction* AddCommand(int commandId, QObject* owner);
    void BuildAccelerators();
    // Connects each command's action to its handler.
    void WireCommands();
    bool BuildToolBar();
    bool BuildStatusBar();
    void OpenTrafficLog();
    void OpenSerialPort();
    void OpenSerialPortIfPending();
    void UpdateViewChecks();
    void OpenReadDialog();
    void OpenWriteDialog();
    // The status bar tells the result of each radio operation the dialog records.
    void ShowOperationsOf(const ExchangeDialog& dialog);
    // A first run has no port: the port dialog comes first. False when still none is chosen.
    bool EnsurePortChosen();
    void OpenFleetDialog();
    void OpenPortSettings();
    void OpenTestDialog();
    bool IsPointingAtCommand() const;

    AppSettings& settings_;
    RadioDocument& document_;
    RadioLine& line_;
    UiPrompts& prompts_;
    // The test dialog's live tuning values and last test point, kept between its openings.
    TestValues testValues_;
    TestPoint testPoint_;
    CHalyxView* view_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QLabel* messagePane_ = nullptr;
    std::vector<LockIndicatorPane*> indicators_;
    LockPaneUpdater* lockPanes_ = nullptr;
    std::vector<QMenu*> menus_;
    std::map<int, QAction*> actions_;
    EditCommands* editCommands_ = nullptr;
    QToolButton* pointedButton_ = nullptr;
    std::unique_ptr<StatusPaneUpdater> statusPanes_;
    std::unique_ptr<FileCommands> fileCommands_;
    std::unique_ptr<InterchangeCommands> interchange_;
    std::function<void()> aboutHandler_;
    std::function<void()> testHandler_;
    bool portOpenPending_ = false;
    std::uint64_t documentSubscription_ = 0;
};

}  // namespace halyx
