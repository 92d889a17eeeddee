#include "cli/cli_texts.h"

#include "settings/setting_file.h"

namespace halyx::cli {

CliTexts::CliTexts() {
    const FileLayout& layout = CurrentFileLayout();
    language.setFile(LanguageFileFor(layout, LanguageValue(SettingFile(), layout)));
    lookup = [this](std::string_view key) { return language.LangString(key); };
    BuildToneTable(tones, language.LangString(keys::kNoTone));
}

}  // namespace halyx::cli
