#include "cli/qt_commands.h"

#include <dlfcn.h>

#include <array>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "cli/commands.h"

namespace halyx::cli {
namespace {

// The commands that never need the module.
constexpr std::array<std::string_view, 6> kTextCommands = {"show",   "set",  "import",
                                                           "export", "diff", "log"};

// The module lies where the build and the installation both put it, relative to the program:
// found from the program's own path, so that a build tree and an installation each load their
// own.
std::filesystem::path ModulePath() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path folder = error ? std::filesystem::path(".") : program.parent_path();
    return (folder / HALYX_CLI_QT_MODULE).lexically_normal();
}

const QtCommands* Load() {
    const std::filesystem::path path = ModulePath();
    // Never unloaded: the commands it adds keep pointers into it until the program ends.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        PrintError(std::string("cannot load the radio commands: ") + dlerror());
        return nullptr;
    }
    const auto* commands = static_cast<const QtCommands*>(dlsym(module, kQtCommandsSymbol));
    if (commands == nullptr) {
        PrintError(path.string() + " is not the radio commands module of this halyx-cli");
    }
    return commands;
}

}  // namespace

const QtCommands* LoadQtCommands() {
    static const QtCommands* const commands = Load();
    return commands;
}

bool CommandNeedsQt(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--lang") {
            ++i;  // its value
            continue;
        }
        if (arg.starts_with("-")) {
            continue;
        }
        for (const std::string_view text : kTextCommands) {
            if (arg == text) {
                return false;
            }
        }
        return true;
    }
    return true;  // no command: the help lists every command
}

}  // namespace halyx::cli
