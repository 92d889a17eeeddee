#include "app/config_file_commands.h"

#include <filesystem>

#include "app/file_commands.h"
#include "interchange/config_file.h"
#include "ui/common/file_paths.h"
#include "ui/common/shell_texts.h"
#include "ui/common/text_source.h"

namespace halyx {
namespace {

// Language keys of the configuration text's window texts, with their built-in English.
constexpr std::string_view kFilterKey = "S0340";
constexpr std::string_view kFilterEnglish = "Halyx configuration (*.halyx.yaml)";
constexpr std::string_view kRefusedKey = "S0341";
constexpr std::string_view kRefusedEnglish =
    "%1 was not opened: it is not a configuration Halyx can take as it is. Nothing was changed.";
constexpr std::string_view kMoreKey = "S0342";
constexpr std::string_view kMoreEnglish = "... and %1 more.";

// A box stays readable; the command line lists every problem of a long list.
constexpr std::size_t kShownProblems = 20;

QString ConfigText(const TextSource& texts, std::string_view key, std::string_view english) {
    return QString::fromStdString(texts.textOr(key, english));
}

}  // namespace

FileDialogSpec WithConfigTextFilter(FileDialogSpec spec, const TextSource& texts) {
    spec.otherFilters.append(ConfigText(texts, kFilterKey, kFilterEnglish));
    return spec;
}

bool LoadImageOrConfigText(const TextSource& texts, UiPrompts& prompts, QWidget* parent,
                           const QString& path, RadioImage& image) {
    ImageLoad loaded = LoadImageOrConfigFile(ToPath(path), image);
    if (!loaded.file.ok()) {
        loaded.file.path = path.toStdString();
        FileCommands::ReportFileError(prompts, parent, loaded.file);
        return false;
    }
    if (loaded.problems.empty()) {
        return true;
    }
    const std::string name = ToPath(path).filename().string();
    const std::vector<std::string> lines = ProblemLines(name, loaded.problems);
    QStringList shown;
    for (std::size_t i = 0; i < lines.size() && i < kShownProblems; ++i) {
        shown.append(QString::fromStdString(lines[i]));
    }
    if (lines.size() > kShownProblems) {
        shown.append(
            ConfigText(texts, kMoreKey, kMoreEnglish)
                .replace(QStringLiteral("%1"), QString::number(lines.size() - kShownProblems)));
    }
    prompts.informWithDetail(
        parent, PromptIcon::Stop, QString::fromUtf8(captions::kFileError),
        ConfigText(texts, kRefusedKey, kRefusedEnglish).replace(QStringLiteral("%1"), path),
        shown.join(QLatin1Char('\n')));
    return false;
}

bool SaveImageOrConfigText(UiPrompts& prompts, QWidget* parent, const QString& path,
                           const RadioImage& image) {
    FileResult result = SaveImageOrConfigFile(ToPath(path), image);
    if (!result.ok()) {
        result.path = path.toStdString();
        FileCommands::ReportFileError(prompts, parent, result);
        return false;
    }
    return true;
}

}  // namespace halyx
