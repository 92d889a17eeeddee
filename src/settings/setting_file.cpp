#include "settings/setting_file.h"

#include "settings/program_directory.h"

namespace halyx {

ProfileFile SettingFile() {
    return ProfileFile(ProgramFilePath(settings::kFileName));
}

bool IsEnglishLanguageValue(std::string_view value) {
    return value == settings::kEnglish;
}

bool IsChineseLanguageValue(std::string_view value) {
    return value == settings::kChinese;
}

}  // namespace halyx
