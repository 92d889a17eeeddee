#include <iostream>

#include "cli/cli_texts.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/image_view.h"
#include "files/image_file.h"

namespace halyx::cli {

int RunShow(const Arguments& args) {
    std::string path;
    bool json = false;
    for (const std::string& arg : args) {
        if (arg == "--json") {
            json = true;
        } else if (path.empty() && !arg.starts_with("-")) {
            path = arg;
        } else {
            PrintError("show: unexpected argument '" + arg +
                       "'; usage: halyx-cli show IMAGE.kda [--json]");
            return kUsage;
        }
    }
    if (path.empty()) {
        PrintError("show: usage: halyx-cli show IMAGE.kda [--json]");
        return kUsage;
    }
    RadioImage image;
    const FileResult loaded = LoadImageFile(path, image);
    if (!loaded.ok()) {
        PrintError(FileErrorTextEnglish(loaded));
        return kFileError;
    }
    const CliTexts texts;
    const ImageView view = ViewOf(image, texts.tones);
    std::cout << (json ? FormatJson(view) : FormatText(view, texts.lookup));
    return kDone;
}

}  // namespace halyx::cli
