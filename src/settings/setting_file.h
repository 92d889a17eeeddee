#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "settings/profile_file.h"

namespace halyx {

// setting.ini in the program directory: the user's language and serial port.
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

// The setting file of this installation (ProgramFilePath("setting.ini")).
ProfileFile SettingFile();

// Byte-exact comparisons, as the original tool made them: "English" is not "english".
bool IsEnglishLanguageValue(std::string_view value);  // selects english.lang at start-up
bool IsChineseLanguageValue(std::string_view value);  // selects the built-in Chinese tips

}  // namespace halyx
