#include "app/main_frame.h"

#include <QAction>
#include <filesystem>
#include <system_error>

#include "app/app_context.h"
#include "app/command_ids.h"
#include "app/dialogs/read_radio_dialog.h"
#include "app/dialogs/write_radio_dialog.h"
#include "app/file_commands.h"
#include "app/fleet_dialog.h"
#include "app/fleet_texts.h"
#include "app/interchange_commands.h"
#include "app/port_settings_dialog.h"
#include "factory/test_dialog.h"
#include "settings/file_layout.h"
#include "ui/common/shell_texts.h"
#include "ui/common/ui_prompts.h"
#include "ui/form/halyx_view.h"

namespace halyx {

CMainFrame::CMainFrame(AppContext& context, UiPrompts& prompts, QWidget* parent)
    : QMainWindow(parent), context_(context), prompts_(prompts) {
    setObjectName(QStringLiteral("CMainFrame"));
    fileCommands_ =
        std::make_unique<FileCommands>(context_, prompts_, this, [this] { RefreshView(); });
    interchange_ =
        std::make_unique<InterchangeCommands>(context_, prompts_, this, [this] { RefreshView(); });
    // The view comes first, as the framework creates it before the bars.
    view_ = new CHalyxView(context_, this);
    setCentralWidget(view_);
    BuildMenus();
    BuildAccelerators();
}

CMainFrame::~CMainFrame() {
    // Bytes still on their way must not reach a destroyed window.
    context_.serialLinkPort().SetOwner(nullptr);
}

bool CMainFrame::Create() {
    if (!BuildToolBar() || !BuildStatusBar()) {
        return false;
    }
    OpenTrafficLog();
    OpenSerialPort();
    return true;
}

void CMainFrame::OpenTrafficLog() {
    // Not being able to log is not worth stopping for: the application runs unlogged.
    std::error_code error;
    context_.trafficLog.Open(TrafficLogPath(context_.layout, std::filesystem::current_path(error)));
}

void CMainFrame::OpenSerialPort() {
    context_.serialLinkPort().SetOwner(this);
    if (!OpenLinkPort(context_)) {
        prompts_.informWithDetail(this, PromptIcon::Stop, QString::fromUtf8(captions::kError),
                                  QString::fromStdString(context_.text(keys::kPortOpenFailed)),
                                  QString::fromStdString(PortOpenFailureDetail(context_)));
    }
}

QAction* CMainFrame::commandAction(int commandId) const {
    const auto found = actions_.find(commandId);
    return found == actions_.end() ? nullptr : found->second;
}

void CMainFrame::OnCommand(int commandId) {
    switch (commandId) {
        case cmd::kFileNew:
            fileCommands_->New();
            break;
        case cmd::kFileOpen:
            fileCommands_->Open();
            break;
        case cmd::kFileSave:
            fileCommands_->Save();
            break;
        case cmd::kFilePrint:
            interchange_->Print();
            break;
        case cmd::kImportCsv:
            interchange_->ImportCsv();
            break;
        case cmd::kExportCsv:
            interchange_->ExportCsv();
            break;
        case cmd::kExportPdf:
            interchange_->ExportPdf();
            break;
        case cmd::kExportHtml:
            interchange_->ExportHtml();
            break;
        case cmd::kCompareFile:
            interchange_->CompareWithFile();
            break;
        case cmd::kOpenBackup:
            fileCommands_->OpenBackup();
            break;
        case cmd::kFleetWrite:
            OpenFleetDialog();
            break;
        case cmd::kEditUndo:
            view_->Undo();
            break;
        case cmd::kEditRedo:
            view_->Redo();
            break;
        case cmd::kAppExit:
            close();
            break;
        case cmd::kReadRadio:
            OpenReadDialog();
            break;
        case cmd::kWriteRadio:
            OpenWriteDialog();
            break;
        case cmd::kPortSettings:
            OpenPortSettings();
            break;
        case cmd::kLanguageChinese:
            SwitchLanguage(false);
            break;
        case cmd::kLanguageEnglish:
            SwitchLanguage(true);
            break;
        case cmd::kViewToolbar:
        case cmd::kViewStatusBar:
            UpdateViewChecks();
            actions_.at(commandId)->trigger();
            break;
        case cmd::kAppAbout:
            if (aboutHandler_) {
                aboutHandler_();
            }
            break;
        case cmd::kTest:
            // A test may put its own handler in place; the application opens the dialog.
            if (testHandler_) {
                testHandler_();
            } else {
                TestDialog dialog(context_, prompts_, this);
                dialog.exec();
            }
            break;
        default:
            // Ctrl+S, cut, copy, paste and the pane keys are bound but do nothing.
            break;
    }
}

void CMainFrame::SetTitleFromLanguage() {
    setWindowTitle(QString::fromStdString(context_.text(keys::kAppTitle)));
}

void CMainFrame::ReinitialiseViews() {
    view_->OnInitialUpdate();
    if (isMinimized()) {
        showNormal();
    }
    show();
    raise();
    activateWindow();
}

void CMainFrame::RefreshView() {
    view_->OnRefreshImage();
}

void CMainFrame::OnSerialByte(std::uint8_t byte, int portNumber) {
    static_cast<void>(portNumber);
    context_.link.OnByteReceived(byte);
    if (context_.afterLinkByte) {
        context_.afterLinkByte();
    }
}

void CMainFrame::OnSerialPortLost(int portNumber) {
    static_cast<void>(portNumber);
    // The engine has closed the port already. Clearing the flag makes the next read or write
    // open it again instead of talking to a port that is gone.
    context_.portOpen = false;
}

void CMainFrame::OpenReadDialog() {
    ReadRadioDialog dialog(
        context_, prompts_,
        [this] {
            context_.history.Clear();  // the radio's image replaces the whole one
            ReinitialiseViews();
            SetTitleFromLanguage();
        },
        this);
    dialog.exec();
}

void CMainFrame::OpenWriteDialog() {
    WriteRadioDialog dialog(context_, prompts_, this);
    dialog.exec();
}

void CMainFrame::OpenFleetDialog() {
    // The fleet opens ports of its own; the main window's link must be idle meanwhile.
    if (context_.afterLinkByte) {
        prompts_.inform(this, PromptIcon::Exclamation, QString::fromUtf8(captions::kCps),
                        QString::fromStdString(
                            context_.textOr(fleet_text::kBusy.key, fleet_text::kBusy.english)));
        return;
    }
    FleetDialog dialog(context_, prompts_, this);
    dialog.exec();
}

void CMainFrame::OpenPortSettings() {
    CPortSettingsDlg dialog(context_, prompts_, this);
    dialog.exec();
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    LocaliseMenus();
}

void CMainFrame::hideEvent(QHideEvent* event) {
    QMainWindow::hideEvent(event);
    LocaliseMenus();
}

}  // namespace halyx
