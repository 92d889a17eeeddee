#pragma once

#include <optional>
#include <string>

namespace CLI {
class App;
}

namespace halyx::cli {

// What every subcommand shares: the readable-output language and the status to exit with.
struct CommandContext {
    std::optional<std::string> lang;  // --lang en|zh
    int status = 0;
    int argc = 0;
    char** argv = nullptr;
};

// Each adds its subcommands to `app`; a subcommand's callback runs it and sets the status.
void AddShowCommand(CLI::App& app, CommandContext& context);
void AddSetCommand(CLI::App& app, CommandContext& context);
void AddRadioCommands(CLI::App& app, CommandContext& context);        // read, write, tuning
void AddInterchangeCommands(CLI::App& app, CommandContext& context);  // import, export, diff
void AddLogCommand(CLI::App& app, CommandContext& context);           // log
void AddFleetCommands(CLI::App& app, CommandContext& context);        // fleet write, fleet read
void AddPortsCommand(CLI::App& app, CommandContext& context);         // ports
void AddDoctorCommand(CLI::App& app, CommandContext& context);        // doctor

// Prints "halyx-cli: <message>" on standard error.
void PrintError(const std::string& message);
// Prints text meant for people on standard output. Both escape every control byte but line ends
// and tabs (\x1b), so data from a file or a radio cannot drive the terminal.
void PrintOut(const std::string& text);

}  // namespace halyx::cli
