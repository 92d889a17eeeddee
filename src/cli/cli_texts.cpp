#include "cli/cli_texts.h"

#include "settings/setting_file.h"

namespace halyx::cli {

CliTexts::CliTexts() {
    const std::string choice =
        SettingFile().readText(settings::kSetupSection, settings::kLanguageKey);
    language.setFile(LanguageFileFor(choice));
    lookup = [this](std::string_view key) { return language.LangString(key); };
    BuildToneTable(tones, language.LangString(keys::kNoTone));
}

}  // namespace halyx::cli
