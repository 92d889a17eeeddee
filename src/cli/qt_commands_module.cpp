// The module of halyx-cli that runs on Qt: the radio and fleet commands and the channel sheet's
// PDF writer. halyx-cli loads it only for the commands that need it.
#include <QGuiApplication>

#include "cli/commands.h"
#include "cli/qt_commands.h"
#include "interchange/sheet_render.h"

namespace halyx::cli {
namespace {

void AddPortCommands(CLI::App& app, CommandContext& context) {
    AddPortsCommand(app, context);
    AddDoctorCommand(app, context);
}

FileResult WritePdf(const std::string& html, const std::string& path, bool letter,
                    CommandContext& context) {
    // Text layout needs a GUI application object, but never a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(context.argc, context.argv);
    return WriteSheetPdf(QString::fromStdString(html), path,
                         letter ? QPageSize::Letter : QPageSize::A4);
}

}  // namespace
}  // namespace halyx::cli

extern "C" {
extern const halyx::cli::QtCommands halyx_cli_qt_commands;
const halyx::cli::QtCommands halyx_cli_qt_commands = {
    &halyx::cli::AddRadioCommands, &halyx::cli::AddFleetCommands, &halyx::cli::AddPortCommands,
    &halyx::cli::WritePdf};
}
