#include "cli/cli_texts.h"

#include <cstdlib>

#include "settings/program_directory.h"

namespace halyx::cli {

OutputLanguage ChooseOutputLanguage(const std::optional<std::string>& option) {
    if (option) {
        return *option == "zh" ? OutputLanguage::Chinese : OutputLanguage::English;
    }
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return std::string_view(value).starts_with("zh") ? OutputLanguage::Chinese
                                                             : OutputLanguage::English;
        }
    }
    return OutputLanguage::English;
}

CliTexts::CliTexts(OutputLanguage choice)
    : language(ProgramFilePath(choice == OutputLanguage::Chinese ? language::kChineseFile
                                                                 : language::kEnglishFile)) {
    texts = [this](const TextKey& key) { return language.TextOr(key.key, key.english); };
}

}  // namespace halyx::cli
