#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace halyx {

// Looks up a language key ("S0034") in the active language file; "" when missing.
using TextLookup = std::function<std::string(std::string_view key)>;

// One entry of a drop-down list. `number` is the value the entry stands for where a list attaches
// one (the time-out seconds); elsewhere it is the entry's position.
struct OptionEntry {
    std::string text;
    int number = 0;
};
using OptionList = std::vector<OptionEntry>;

// The lists of the common settings panel, the grid's bandwidth drop-down and the CLI all come from
// here, so every face offers the same entries in the same order.
OptionList TimeOutList(const TextLookup& lang);   // off, 30s .. 180s
OptionList VoxList(const TextLookup& lang);       // off, 1 .. 9
OptionList SquelchList();                         // 1 .. 9
OptionList SettingsChannelList();                 // CH01 .. CH19, CH00(20)
OptionList LanguageList(const TextLookup& lang);  // two radio languages
OptionList TxPowerList(const TextLookup& lang);   // low, middle, high
OptionList BandList();                            // the one (display-only) entry
OptionList BandwidthList();                       // 12.5K, 25K

// Row label of channel n (1..20): "CH01".."CH19", and "CH00(20)" for the twentieth.
std::string ChannelLabel(int channel);

std::vector<std::string> EntryTexts(const OptionList& list);

// Keys of the texts the lists use.
namespace keys {
inline constexpr std::string_view kOff = "S0034";
inline constexpr std::string_view kNoTone = "S0103";
inline constexpr std::string_view kRadioLanguage1 = "S0112";
inline constexpr std::string_view kRadioLanguage2 = "S0113";
inline constexpr std::string_view kPowerLow = "S0117";
inline constexpr std::string_view kPowerMiddle = "S0118";
inline constexpr std::string_view kPowerHigh = "S0119";
}  // namespace keys

}  // namespace halyx
