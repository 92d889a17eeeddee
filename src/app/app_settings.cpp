#include "app/app_settings.h"

#include "settings/setting_file.h"

namespace halyx {

AppSettings::AppSettings() : AppSettings(CurrentFileLayout()) {}

AppSettings::AppSettings(FileLayout fileLayout)
    : layout(std::move(fileLayout)), settingFile(SettingFileOf(layout)) {}

}  // namespace halyx
