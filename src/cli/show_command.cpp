#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/cli_texts.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/image_argument.h"
#include "cli/image_view.h"

namespace halyx::cli {
namespace {

struct ShowOptions {
    std::string path;
    bool json = false;
};

int RunShow(const ShowOptions& options, const CommandContext& context) {
    RadioImage image;
    if (const int status = LoadImageArgument(options.path, image); status != kDone) {
        return status;
    }
    if (options.json) {
        std::cout << FormatJson(ViewOf(image));
    } else {
        const CliTexts texts(ChooseOutputLanguage(context.lang));
        PrintOut(FormatText(image, texts.texts));
    }
    return kDone;
}

}  // namespace

void AddShowCommand(CLI::App& app, CommandContext& context) {
    static ShowOptions options;
    CLI::App* show = app.add_subcommand(
        "show", "common settings and the 20 channels as the main window shows them");
    show->add_option("IMAGE.kda", options.path, "image file or configuration text (*.halyx.yaml)")
        ->required();
    show->add_flag("--json", options.json, "one JSON object; its texts never depend on a language");
    show->callback([&context] { context.status = RunShow(options, context); });
}

}  // namespace halyx::cli
