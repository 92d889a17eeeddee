#include "app/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QWindow>
#include <filesystem>
#include <system_error>

#include "app/app_settings.h"
#include "app/command_ids.h"
#include "app/dialogs/read_radio_dialog.h"
#include "app/dialogs/write_radio_dialog.h"
#include "app/file_commands.h"
#include "app/fleet_dialog.h"
#include "app/fleet_texts.h"
#include "app/interchange_commands.h"
#include "app/port_doctor_dialog.h"
#include "app/port_settings_dialog.h"
#include "app/radio_line.h"
#include "app/slip_texts.h"
#include "app/status_pane_updater.h"
#include "editing/radio_document.h"
#include "factory/test_dialog.h"
#include "settings/file_layout.h"
#include "settings/setting_file.h"
#include "ui/common/gui_operation_record.h"
#include "ui/common/shell_texts.h"
#include "ui/common/ui_prompts.h"
#include "ui/form/halyx_view.h"

namespace halyx {
namespace {

// How long the port open waits for the window to be exposed.
constexpr int kPortOpenLatestMs = 1000;

}  // namespace

CMainFrame::CMainFrame(AppSettings& settings, RadioDocument& document, RadioLine& line,
                       UiPrompts& prompts, QWidget* parent)
    : QMainWindow(parent),
      settings_(settings),
      document_(document),
      line_(line),
      prompts_(prompts) {
    setObjectName(QStringLiteral("CMainFrame"));
    fileCommands_ = std::make_unique<FileCommands>(document_, settings_, prompts_, this,
                                                   [this] { RefreshView(); });
    interchange_ = std::make_unique<InterchangeCommands>(document_, settings_.language, prompts_,
                                                         this, [this] { RefreshView(); });
    // The view comes first, as the framework creates it before the bars.
    view_ = new CHalyxView(document_, settings_.language, prompts_, this);
    setCentralWidget(view_);
    BuildMenus();
    BuildAccelerators();
    WireCommands();
    // The title's "*" follows every edit, undo and replace.
    documentSubscription_ =
        document_.Subscribe([this](const DocumentChange&) { SetTitleFromLanguage(); });
}

CMainFrame::~CMainFrame() {
    document_.Unsubscribe(documentSubscription_);
}

bool CMainFrame::Create() {
    if (!BuildToolBar() || !BuildStatusBar()) {
        return false;
    }
    OpenTrafficLog();
    return true;
}

void CMainFrame::OpenSerialPortOnceShown() {
    portOpenPending_ = true;
    if (QWindow* window = windowHandle()) {
        window->installEventFilter(this);
    }
    // A window that is never exposed (started minimised, no screen) still gets its port.
    QTimer::singleShot(kPortOpenLatestMs, this, &CMainFrame::OpenSerialPortIfPending);
}

void CMainFrame::OpenPendingSerialPort() {
    OpenSerialPortIfPending();
}

void CMainFrame::OpenSerialPortIfPending() {
    if (!portOpenPending_) {
        return;
    }
    portOpenPending_ = false;
    if (QWindow* window = windowHandle()) {
        window->removeEventFilter(this);
    }
    OpenSerialPort();
}

void CMainFrame::OpenTrafficLog() {
    // Not being able to log is not worth stopping for: the application runs unlogged.
    std::error_code error;
    line_.trafficLog().Open(TrafficLogPath(settings_.layout, std::filesystem::current_path(error)));
}

bool CMainFrame::IsPortChosen() const {
    return line_.PortNumber() != 0;
}

void CMainFrame::OpenSerialPort() {
    if (!IsPortChosen()) {
        // A first start has chosen nothing yet: that is not an error, so no box; the status
        // bar says how to choose one, and Read and Write ask for it.
        RefreshStatusText();
        statusPanes_->RefreshPort();
        return;
    }
    const bool opened = line_.Open();
    statusPanes_->RefreshPort();
    if (!opened) {
        prompts_.informWithDetail(
            this, PromptIcon::Stop, QString::fromUtf8(captions::kError),
            QString::fromStdString(settings_.language.text(keys::kPortOpenFailed)),
            QString::fromStdString(line_.OpenFailureDetail(settings_.language)));
    }
}

QAction* CMainFrame::commandAction(int commandId) const {
    const auto found = actions_.find(commandId);
    return found == actions_.end() ? nullptr : found->second;
}

void CMainFrame::OnCommand(int commandId) {
    QAction* action = commandAction(commandId);
    if (action == nullptr) {
        return;
    }
    if (action->isCheckable()) {
        // The View items toggle what is shown now, as their menu would have it.
        UpdateViewChecks();
    }
    action->trigger();
}

void CMainFrame::WireCommands() {
    // One handler per command; the edit and pane accelerators (cut, copy, paste, F6) are bound
    // but have none, so they are swallowed.
    const auto on = [this](int commandId, auto handler) {
        connect(actions_.at(commandId), &QAction::triggered, this, handler);
    };
    // Each file command changes what the title names, so it is set again afterwards.
    on(cmd::kFileNew, [this] {
        fileCommands_->New();
        SetTitleFromLanguage();
    });
    on(cmd::kFileOpen, [this] {
        fileCommands_->Open();
        SetTitleFromLanguage();
    });
    on(cmd::kFileSave, [this] {
        fileCommands_->Save();
        SetTitleFromLanguage();
    });
    // The standard save id (macros send it) saves too, as Ctrl+S now does.
    on(cmd::kFileSaveStandard, [this] { OnCommand(cmd::kFileSave); });
    on(cmd::kOpenBackup, [this] {
        fileCommands_->OpenBackup();
        SetTitleFromLanguage();
    });
    on(cmd::kFilePrint, [this] { interchange_->PrintWithoutPreview(); });
    on(cmd::kFilePrintPreview, [this] { interchange_->Print(); });
    on(cmd::kImportCsv, [this] {
        if (fileCommands_->MaySetAsideEdits()) {
            interchange_->ImportCsv();
        }
        SetTitleFromLanguage();
    });
    on(cmd::kExportCsv, [this] { interchange_->ExportCsv(); });
    on(cmd::kExportPdf, [this] { interchange_->ExportPdf(); });
    on(cmd::kExportHtml, [this] { interchange_->ExportHtml(); });
    on(cmd::kCompareFile, [this] { interchange_->CompareWithFile(); });
    on(cmd::kFleetWrite, [this] { OpenFleetDialog(); });
    on(cmd::kEditUndo, [this] { view_->Undo(); });
    on(cmd::kEditRedo, [this] { view_->Redo(); });
    on(cmd::kAppExit, [this] { close(); });
    on(cmd::kReadRadio, [this] { OpenReadDialog(); });
    on(cmd::kWriteRadio, [this] { OpenWriteDialog(); });
    on(cmd::kPortSettings, [this] { OpenPortSettings(); });
    on(cmd::kPortDoctor, [this] {
        PortDoctorDialog dialog(line_, settings_.language, prompts_, this);
        dialog.exec();
    });
    on(cmd::kLanguageChinese, [this] { SwitchLanguage(false); });
    on(cmd::kLanguageEnglish, [this] { SwitchLanguage(true); });
    on(cmd::kAppAbout, [this] {
        if (aboutHandler_) {
            aboutHandler_();
        }
    });
    on(cmd::kTest, [this] { OpenTestDialog(); });
    connect(actions_.at(cmd::kViewToolbar), &QAction::toggled, this,
            [this](bool shown) { toolBar_->setVisible(shown); });
    connect(actions_.at(cmd::kViewStatusBar), &QAction::toggled, this,
            [this](bool shown) { statusBar()->setVisible(shown); });
}

void CMainFrame::OpenTestDialog() {
    // A test may put its own handler in place; the application opens the dialog.
    if (testHandler_) {
        testHandler_();
        return;
    }
    const TestBench bench{line_.runner(),        document_,        testValues_,       testPoint_,
                          settings_.settingFile, settings_.layout, settings_.language};
    TestDialog dialog(bench, prompts_, this);
    dialog.exec();
}

void CMainFrame::SetTitleFromLanguage() {
    const QString application = QString::fromStdString(settings_.language.text(keys::kAppTitle));
    QString title = fileCommands_->documentName();
    if (!application.isEmpty()) {
        title += QStringLiteral(" - ") + application;
    }
    setWindowTitle((document_.IsChanged() ? QStringLiteral("*") : QString()) + title);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!fileCommands_->MaySetAsideEdits()) {
        event->ignore();
        SetTitleFromLanguage();
        return;
    }
    QMainWindow::closeEvent(event);
}

bool CMainFrame::EnsurePortChosen() {
    if (!IsPortChosen()) {
        OpenPortSettings();
    }
    return IsPortChosen();
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

void CMainFrame::OpenReadDialog() {
    if (!fileCommands_->MaySetAsideEdits() || !EnsurePortChosen()) {
        SetTitleFromLanguage();
        return;
    }
    ReadRadioDialog dialog(
        line_, document_, settings_, prompts_,
        [this] {
            // What the radio holds is kept as a backup: a fresh read has nothing to lose.
            document_.MarkSaved();
            const int port = line_.PortNumber();
            fileCommands_->SetDocumentName(
                QString::fromStdString(settings_.language.textOr(slip_text::kReadFrom.key,
                                                                 slip_text::kReadFrom.english))
                    .replace(QStringLiteral("%1"), QStringLiteral("COM%1").arg(port)));
            ReinitialiseViews();
            SetTitleFromLanguage();
        },
        this);
    ShowOperationsOf(dialog);
    dialog.exec();
}

void CMainFrame::OpenWriteDialog() {
    if (!EnsurePortChosen()) {
        return;
    }
    WriteRadioDialog dialog(line_, document_, settings_, prompts_, this);
    ShowOperationsOf(dialog);
    dialog.exec();
    // A verified write is a point with nothing to lose, as a save is.
    SetTitleFromLanguage();
}

void CMainFrame::ShowOperationsOf(const ExchangeDialog& dialog) {
    connect(&dialog, &ExchangeDialog::operationRecorded, this,
            [this](const GuiRadioOperation& operation, const OperationRecord& record) {
                statusPanes_->ShowOperation(operation, record);
            });
}

void CMainFrame::OpenFleetDialog() {
    // The fleet opens ports of its own; the main window's link must be idle meanwhile.
    if (line_.runner().IsBusy()) {
        prompts_.inform(this, PromptIcon::Exclamation, QString::fromUtf8(captions::kCps),
                        QString::fromStdString(settings_.language.textOr(
                            fleet_text::kBusy.key, fleet_text::kBusy.english)));
        return;
    }
    FleetDialog dialog(line_, document_, settings_, prompts_, this);
    dialog.exec();
}

void CMainFrame::OpenPortSettings() {
    CPortSettingsDlg dialog(line_, settings_, prompts_, this);
    dialog.exec();
    // A port chosen for the first time ends the "no port" message.
    RefreshStatusText();
    statusPanes_->RefreshPort();
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
