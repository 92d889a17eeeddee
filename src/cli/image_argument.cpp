#include "cli/image_argument.h"

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "interchange/config_file.h"

namespace halyx::cli {

int LoadImageArgument(const std::string& path, RadioImage& image, const RadioImage* base) {
    const ImageLoad loaded = LoadImageOrConfigFile(path, image, base);
    if (!loaded.file.ok()) {
        PrintError(FileErrorTextEnglish(loaded.file));
        return kFileError;
    }
    if (!loaded.problems.empty()) {
        for (const std::string& line : ProblemLines(path, loaded.problems)) {
            PrintError(line);
        }
        return kUsage;
    }
    return kDone;
}

int SaveImageArgument(const std::string& path, const RadioImage& image) {
    const FileResult saved = SaveImageOrConfigFile(path, image);
    if (!saved.ok()) {
        PrintError(FileErrorTextEnglish(saved));
        return kFileError;
    }
    return kDone;
}

}  // namespace halyx::cli
