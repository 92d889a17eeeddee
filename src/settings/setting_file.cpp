#include "settings/setting_file.h"

namespace halyx {

ProfileFile SettingFile() {
    return SettingFileOf(CurrentFileLayout());
}

ProfileFile SettingFileOf(const FileLayout& layout) {
    return ProfileFile(layout.settingFilePath(), layout.installed()
                                                     ? ProfileFile::MissingFolder::Create
                                                     : ProfileFile::MissingFolder::Fail);
}

std::string LanguageValue(const ProfileFile& settingFile, const FileLayout& layout) {
    // A setting file may exist without a language (a port was chosen first): the locale still
    // decides then, so choosing a port never switches the language.
    return settingFile.readText(settings::kSetupSection, settings::kLanguageKey,
                                layout.localeLanguage);
}

std::function<std::string(std::string_view comName)> DevicesFromSettingFile(
    const ProfileFile& settingFile) {
    return [&settingFile](std::string_view comName) {
        return settingFile.readText(settings::kDevicesSection, comName);
    };
}

bool IsEnglishLanguageValue(std::string_view value) {
    return value == settings::kEnglish;
}

bool IsChineseLanguageValue(std::string_view value) {
    return value == settings::kChinese;
}

}  // namespace halyx
