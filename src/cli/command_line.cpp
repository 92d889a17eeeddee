#include "cli/command_line.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/qt_commands.h"
#include "version/halyx_version.h"

namespace halyx::cli {

namespace {

constexpr const char* kFooter = R"(
PORT is COMn, n, a device path such as /dev/ttyUSB0, or a serial line on another machine:
rfc2217://HOST:PORT (ser2net's telnet(rfc2217)) or tcp://HOST:PORT (raw, already at 9600 8N1). Radio commands show progress on standard
error; --log FILE writes the traffic log (hex lines). Every radio operation is recorded in the
audit log ($XDG_DATA_HOME/halyx/audit.jsonl; see halyx-cli log), and each successful read is
backed up in $XDG_DATA_HOME/halyx/backups unless --no-backup is given. Readable output is in one
language: --lang, else the locale (LC_ALL, LC_MESSAGES, LANG: zh* is Chinese); JSON never depends
on a language.

Exit status: 0 done, 1 usage or invalid value, 2 file error, 3 link failure, 4 read-back differs,
5 port cannot be opened (doctor: a problem found), 6 diff found differences, 7 fleet: at least one radio failed.
Run halyx-cli COMMAND --help for a command's options.)";

}  // namespace

int RunCommandLine(int argc, char** argv) {
    CommandContext context;
    context.argc = argc;
    context.argv = argv;

    CLI::App app("Halyx: program 20-channel radios from the command line", "halyx-cli");
    app.footer(kFooter);
    app.set_version_flag("--version", std::string("halyx-cli ") + HALYX_VERSION);
    app.add_option("--lang", context.lang, "language of readable output")
        ->check(CLI::IsMember({"en", "zh"}));
    app.require_subcommand(1);
    app.fallthrough();
    // Loaded before any command is declared, so that the help lists every command in its place.
    const QtCommands* qt = nullptr;
    if (CommandNeedsQt(argc, argv)) {
        qt = LoadQtCommands();
        if (qt == nullptr) {
            return kFileError;
        }
    }
    AddShowCommand(app, context);
    AddSetCommand(app, context);
    if (qt != nullptr) {
        qt->addRadioCommands(app, context);
    }
    AddInterchangeCommands(app, context);
    AddLogCommand(app, context);
    if (qt != nullptr) {
        qt->addFleetCommands(app, context);
        qt->addPortCommands(app, context);
    }

    if (argc <= 1) {
        std::cerr << app.help();
        return kUsage;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help) == 0 ? kDone : kUsage;
    } catch (const CLI::CallForAllHelp& help) {
        return app.exit(help) == 0 ? kDone : kUsage;
    } catch (const CLI::CallForVersion& version) {
        return app.exit(version) == 0 ? kDone : kUsage;
    } catch (const CLI::ParseError& error) {
        PrintError(std::string(error.what()) + "; see halyx-cli --help");
        return kUsage;
    }
    return context.status;
}

}  // namespace halyx::cli
