#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "settings/file_layout.h"
#include "settings/profile_file.h"

namespace halyx {

// setting.ini (in the program directory, or per user when installed): language and serial port.
namespace settings {
inline constexpr std::string_view kFileName = "setting.ini";
inline constexpr std::string_view kSetupSection = "setup";
inline constexpr std::string_view kLanguageKey = "language";
inline constexpr std::string_view kPortSection = "port";
inline constexpr std::string_view kComKey = "com";
inline constexpr std::string_view kBaudKey = "baud";
// Maps "COMn" to a device path on systems without COM names (e.g. COM1=/dev/ttyUSB0).
inline constexpr std::string_view kDevicesSection = "devices";
inline constexpr std::string_view kChinese = "chinese";
inline constexpr std::string_view kEnglish = "english";
}  // namespace settings

// The setting file of this run's layout (CurrentFileLayout().settingFilePath()).
ProfileFile SettingFile();
// The setting file of `layout`; an installed layout's per-user folder is created by the first
// value written, never before.
ProfileFile SettingFileOf(const FileLayout& layout);

// The language value start-up and the built-in texts go by: "setup"/"language" of the setting
// file; in the installed layout, until the user has picked a language, the system locale's.
std::string LanguageValue(const ProfileFile& settingFile, const FileLayout& layout);

// Section "devices" as a COMn-to-device mapping (COM1=/dev/ttyUSB0) for the serial link, read at
// each call so an edit made while running counts at the next open. `settingFile` must outlive it.
std::function<std::string(std::string_view comName)> DevicesFromSettingFile(
    const ProfileFile& settingFile);

// Byte-exact comparisons, as the original tool made them: "English" is not "english".
bool IsEnglishLanguageValue(std::string_view value);  // selects english.lang at start-up
bool IsChineseLanguageValue(std::string_view value);  // selects the built-in Chinese tips

}  // namespace halyx
