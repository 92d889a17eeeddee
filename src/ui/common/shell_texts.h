#pragma once

#include <string_view>

namespace halyx {

// Language-file keys of the shell's texts.
namespace keys {
inline constexpr std::string_view kAppTitle = "S0000";
inline constexpr std::string_view kPortOpenFailed = "S0004";
inline constexpr std::string_view kExchangeFailed = "S0006";
inline constexpr std::string_view kWriteVerified = "S0008";
inline constexpr std::string_view kReadDone = "S0009";
inline constexpr std::string_view kMenuFile = "S0037";
inline constexpr std::string_view kMenuProgram = "S0039";
inline constexpr std::string_view kMenuSettings = "S0040";
inline constexpr std::string_view kMenuView = "S0041";
inline constexpr std::string_view kMenuHelp = "S0042";
inline constexpr std::string_view kMenuAbout = "S0043";
inline constexpr std::string_view kReadDialogTitle = "S0047";
inline constexpr std::string_view kWriteDialogTitle = "S0048";
inline constexpr std::string_view kOkButton = "S0049";
inline constexpr std::string_view kCancelButton = "S0050";
inline constexpr std::string_view kMenuNew = "S0053";
inline constexpr std::string_view kMenuOpen = "S0054";
inline constexpr std::string_view kMenuSave = "S0055";
inline constexpr std::string_view kMenuExit = "S0057";
inline constexpr std::string_view kMenuReadRadio = "S0058";
inline constexpr std::string_view kMenuWriteRadio = "S0059";
inline constexpr std::string_view kMenuTest = "S0060";
inline constexpr std::string_view kMenuPortSettings = "S0061";
inline constexpr std::string_view kMenuChinese = "S0062";
inline constexpr std::string_view kMenuEnglish = "S0063";
inline constexpr std::string_view kMenuToolbar = "S0064";
inline constexpr std::string_view kMenuStatusBar = "S0065";
inline constexpr std::string_view kPortDialogTitle = "S0068";
inline constexpr std::string_view kRestoreDefaultQuestion = "S0088";
inline constexpr std::string_view kMenuLanguage = "S0092";
inline constexpr std::string_view kAboutTitle = "S0108";
inline constexpr std::string_view kAboutLine2 = "S0109";
inline constexpr std::string_view kNumLockPane = "S0110";
inline constexpr std::string_view kWriteMismatch = "S0200";
inline constexpr std::string_view kVerifyTitle = "S0201";
}  // namespace keys

// Captions of the message boxes; these are not translated.
namespace captions {
inline constexpr std::string_view kCps = "CPS";
inline constexpr std::string_view kError = "Error";
inline constexpr std::string_view kReadError = "Error!";
inline constexpr std::string_view kFileError = "Halyx";
}  // namespace captions

}  // namespace halyx
