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

int FileResultStatus(const FileResult& result) {
    if (result.ok()) {
        return kDone;
    }
    PrintError(FileErrorTextEnglish(result));
    return kFileError;
}

int SaveImageArgument(const std::string& path, const RadioImage& image) {
    return FileResultStatus(SaveImageOrConfigFile(path, image));
}

}  // namespace halyx::cli
