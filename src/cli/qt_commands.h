#pragma once

#include <string>

#include "files/file_result.h"

namespace CLI {
class App;
}

namespace halyx::cli {

struct CommandContext;

// The commands that run on Qt — the radio and fleet commands on the serial engine, and the
// channel sheet's PDF writer — live in a module of their own, loaded only by the commands that
// use it: show, set, import, export, diff and log then start without loading Qt at all.
struct QtCommands {
    void (*addRadioCommands)(CLI::App& app, CommandContext& context);  // read, write, tuning
    void (*addFleetCommands)(CLI::App& app, CommandContext& context);  // fleet write, fleet read
    void (*addPortCommands)(CLI::App& app, CommandContext& context);   // ports, doctor
    // The channel sheet as a PDF, page size A4 or, with `letter`, US Letter.
    FileResult (*writeSheetPdf)(const std::string& html, const std::string& path, bool letter,
                                CommandContext& context);
};

// The symbol the module defines its table under.
inline constexpr const char* kQtCommandsSymbol = "halyx_cli_qt_commands";

// Loads the module on first use. When it cannot be loaded, says why on standard error and
// gives null.
const QtCommands* LoadQtCommands();

// Whether the command line may name a command of the module (or asks for the help that lists
// them): anything but show, set, import, export, diff and log.
bool CommandNeedsQt(int argc, char** argv);

}  // namespace halyx::cli
