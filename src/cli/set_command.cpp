#include "cli/cli_texts.h"
#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/image_edits.h"
#include "files/image_file.h"

namespace halyx::cli {
namespace {

constexpr const char* kUsageText = "usage: halyx-cli set IMAGE.kda [-o OUT.kda] EDIT...";

}  // namespace

int RunSet(const Arguments& args) {
    std::string input;
    std::string output;
    std::vector<EditOption> edits;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue = arg == "-o" || IsEditOption(arg);
        if (takesValue) {
            if (i + 1 >= args.size()) {
                PrintError("set: " + arg + " needs a value; " + kUsageText);
                return kUsage;
            }
            const std::string& value = args[++i];
            if (arg == "-o") {
                output = value;
            } else {
                edits.push_back({arg, value});
            }
        } else if (input.empty() && !arg.starts_with("-")) {
            input = arg;
        } else {
            PrintError("set: unknown option '" + arg + "'; " + kUsageText);
            return kUsage;
        }
    }
    if (input.empty()) {
        PrintError(std::string("set: ") + kUsageText);
        return kUsage;
    }

    RadioImage image;
    const FileResult loaded = LoadImageFile(input, image);
    if (!loaded.ok()) {
        PrintError(FileErrorTextEnglish(loaded));
        return kFileError;
    }
    const CliTexts texts;
    if (const auto refused = ApplyEdits(edits, texts.tones, image)) {
        PrintError(DescribeEditError(*refused) + "; nothing was written");
        return kUsage;
    }
    const FileResult saved = SaveImageFile(output.empty() ? input : output, image);
    if (!saved.ok()) {
        PrintError(FileErrorTextEnglish(saved));
        return kFileError;
    }
    return kDone;
}

}  // namespace halyx::cli
