#include "app/halyx_app.h"

#include <QGuiApplication>
#include <QScreen>

#include "app/about_dialog.h"
#include "app/file_commands.h"
#include "app/main_frame.h"
#include "app/qt_translations.h"
#include "app/toolbar_icons.h"
#include "files/image_file.h"
#include "settings/file_layout.h"
#include "settings/setting_file.h"
#include "ui/common/gui_operation_record.h"
#include "ui/common/ui_font.h"
#include "ui/common/ui_prompts.h"
#include "ui/form/halyx_view.h"
#include "version/halyx_version.h"

namespace halyx {

CHalyxApp::CHalyxApp(UiPrompts& prompts) : CHalyxApp(CurrentFileLayout(), prompts) {}

CHalyxApp::CHalyxApp(FileLayout layout, UiPrompts& prompts)
    : prompts_(prompts), settings_(std::move(layout)) {
    // The title and the status bar name the image by its file before anything is loaded.
    radioDocument_.SetFileName(DefaultImagePath(settings_.layout).filename().string());
}

CHalyxApp::~CHalyxApp() = default;

bool CHalyxApp::InitInstance(const QStringList& arguments) {
    ChooseLanguage();
    CreateUiFont();
    LoadStartImage();

    mainFrame_ = std::make_unique<CMainFrame>(settings_, radioDocument_, line_, prompts_);
    mainFrame_->setWindowIcon(AppIcon());
    mainFrame_->SetAboutHandler([this] { OnAppAbout(); });
    if (!mainFrame_->Create()) {
        mainFrame_.reset();
        return false;
    }
    mainFrame_->view()->OnInitialUpdate();
    mainFrame_->show();

    mainFrame_->SetTitleFromLanguage();
    CentreMainFrame();
    mainFrame_->repaint();
    mainFrame_->OpenSerialPortOnceShown();

    LoadCommandLineFile(arguments);
    return true;
}

void CHalyxApp::FinishStartup() {
    if (mainFrame_) {
        mainFrame_->OpenPendingSerialPort();
    }
}

void CHalyxApp::ChooseLanguage() {
    settings_.language.followLanguageValue();
    ApplyQtTranslations(settings_.language.languageValue());
}

void CHalyxApp::LoadStartImage() {
    // default.kda is part of the installation; without it the application still starts, with
    // the all-zero image, after saying what is wrong.
    startImage_ = DefaultImagePath(settings_.layout);
    RadioImage image = radioDocument_.image();
    startImageResult_ = LoadImageFile(startImage_, image);
    if (startImageResult_.ok()) {
        radioDocument_.Replace(image);
    }
    if (!startImageResult_.ok()) {
        FileCommands::ReportFileError(prompts_, nullptr, startImageResult_);
    }
}

void CHalyxApp::LoadCommandLineFile(const QStringList& arguments) {
    // A file handed over by a file manager or typed after the program name is loaded like
    // File > Open, so what is on screen is what the user asked for.
    for (const QString& argument : arguments) {
        if (!argument.startsWith(QLatin1Char('-'))) {
            mainFrame_->fileCommands().LoadFile(argument);
            return;
        }
    }
}

void CHalyxApp::CentreMainFrame() {
    const QScreen* screen = mainFrame_->screen();
    if (screen == nullptr) {
        return;
    }
    QRect frame = mainFrame_->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    mainFrame_->move(frame.topLeft());
}

void CHalyxApp::OnAppAbout() {
    const HistoryPlaces places = HistoryPlacesOf(settings_.layout);
    const auto shown = [](const std::filesystem::path& path) {
        return QString::fromStdString(path.string());
    };
    const AboutFacts facts{QStringLiteral("Halyx " HALYX_VERSION),
                           shown(settings_.settingFile.path()), shown(places.backupFolder),
                           shown(places.auditPath)};
    CAboutDlg about(settings_.language, facts, mainFrame_.get());
    about.exec();
}

}  // namespace halyx
