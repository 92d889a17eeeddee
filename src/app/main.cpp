#include <QApplication>
#include <cstdio>
#include <iostream>
#include <string_view>

#include "app/halyx_app.h"
#include "app/startup_check.h"
#include "ui/common/ui_prompts.h"
#include "version/halyx_version.h"

namespace {

bool HasOption(int argc, char* argv[], std::string_view option) {
    for (int i = 1; i < argc; ++i) {
        if (option == argv[i]) {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Answered before Qt starts, so it works without a display.
    if (HasOption(argc, argv, "--version")) {
        std::puts("halyx " HALYX_VERSION);
        return 0;
    }
    const bool startupCheck = HasOption(argc, argv, halyx::kStartupCheckOption);

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Halyx"));

    halyx::QtUiPrompts dialogs;
    halyx::SilentPrompts silent;
    halyx::UiPrompts& prompts = startupCheck ? static_cast<halyx::UiPrompts&>(silent) : dialogs;
    halyx::CHalyxApp app(prompts);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    if (!app.InitInstance(arguments)) {
        return halyx::kStartupCheckFailed;
    }
    if (startupCheck) {
        app.FinishStartup();
        return halyx::ReportStartupCheck(app, silent, std::cerr);
    }
    return QApplication::exec();
}
