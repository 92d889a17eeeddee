#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "settings/text_key.h"

namespace halyx {

// Looks a text up in the active language, falling back to the key's English text.
using TextOrLookup = std::function<std::string(const TextKey&)>;

// Texts of channel interchange: the File menu items, their dialogs, the channel sheet and the
// command line's labels.
namespace text {
inline constexpr TextKey kMenuImportCsv{"S0220", "&Import Channels (CSV)..."};
inline constexpr TextKey kMenuExportCsv{"S0221", "Export Channels (&CSV)..."};
inline constexpr TextKey kMenuExportPdf{"S0222", "Export Channel Sheet (&PDF)..."};
inline constexpr TextKey kMenuExportHtml{"S0223", "Export Channel Sheet (&HTML)..."};
inline constexpr TextKey kMenuCompare{"S0224", "Co&mpare with File..."};
inline constexpr TextKey kOn{"S0225", "On"};
inline constexpr TextKey kImportReportTitle{"S0226", "Import Report"};
inline constexpr TextKey kClearQuestion{
    "S0227",
    "Empty all 20 channels before importing, or keep the channels the file does not name as they "
    "are?"};
inline constexpr TextKey kReportLine{"S0228", "Line"};
inline constexpr TextKey kReportColumn{"S0229", "Column"};
inline constexpr TextKey kReportAction{"S0230", "What was done"};
inline constexpr TextKey kCompareTitle{"S0231", "Compare with File"};
inline constexpr TextKey kIdentical{"S0232", "The two images are identical."};
inline constexpr TextKey kOtherBytes{"S0233", "Other bytes"};
inline constexpr TextKey kImportDone{"S0234", "%1 channels imported."};
inline constexpr TextKey kSheetTitle{"S0235", "Channel Sheet"};
inline constexpr TextKey kFileLabel{"S0236", "File"};
inline constexpr TextKey kDateLabel{"S0237", "Date"};
inline constexpr TextKey kImageLength{"S0238", "Image length"};
inline constexpr TextKey kTimeOut{"S0239", "Time-out timer"};

// Older keys the sheet and the command line share with the main form.
inline constexpr TextKey kBand{"S0017", "Band"};
inline constexpr TextKey kVox{"S0019", "VOX"};
inline constexpr TextKey kSquelch{"S0105", "Squelch"};
inline constexpr TextKey kSettingsChannel{"S0081", "Channel"};
inline constexpr TextKey kRadioLanguage{"S0111", "Language"};
inline constexpr TextKey kTxPower{"S0116", "TX Power"};
inline constexpr TextKey kScramble{"S0114", "Scramble"};
inline constexpr TextKey kCompand{"S0115", "Compand"};
inline constexpr TextKey kSerialNumber{"S0080", "Serial No."};
inline constexpr TextKey kUserId{"S0016", "User ID"};
inline constexpr TextKey kOff{"S0034", "Off"};
inline constexpr TextKey kNoTone{"S0103", "OFF"};
inline constexpr TextKey kChannelColumn{"S0071", "Channel"};
inline constexpr TextKey kRxColumn{"S0022", "RX Freq (MHz)"};
inline constexpr TextKey kTxColumn{"S0023", "TX Freq (MHz)"};
inline constexpr TextKey kRxToneColumn{"S0026", "RX Tone"};
inline constexpr TextKey kTxToneColumn{"S0027", "TX Tone"};
inline constexpr TextKey kBandwidthColumn{"S0033", "BW"};
}  // namespace text

// "%1" in `pattern` replaced by `value`.
std::string FillIn(std::string pattern, std::string_view value);

}  // namespace halyx
