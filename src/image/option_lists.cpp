#include "image/option_lists.h"

#include <cstdio>

#include "image/common_settings.h"

namespace halyx {
namespace {

constexpr int kTimeOutFirstSeconds = setting_limits::kTimeOutMin;
constexpr int kTimeOutLastSeconds = setting_limits::kTimeOutMax;
constexpr int kTimeOutStepSeconds = setting_limits::kTimeOutStep;
constexpr int kLevelCount = setting_limits::kLevelMax;

OptionList Numbered(std::vector<std::string> texts) {
    OptionList list;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        list.push_back({std::move(texts[i]), static_cast<int>(i)});
    }
    return list;
}

}  // namespace

OptionList TimeOutList(const TextLookup& lang) {
    OptionList list{{lang(keys::kOff), 0}};
    for (int s = kTimeOutFirstSeconds; s <= kTimeOutLastSeconds; s += kTimeOutStepSeconds) {
        list.push_back({std::to_string(s) + "s", s});
    }
    return list;
}

OptionList VoxList(const TextLookup& lang) {
    std::vector<std::string> texts{lang(keys::kOff)};
    for (int level = 1; level <= kLevelCount; ++level) {
        texts.push_back(std::to_string(level));
    }
    return Numbered(std::move(texts));
}

OptionList SquelchList() {
    std::vector<std::string> texts;
    for (int level = 1; level <= kLevelCount; ++level) {
        texts.push_back(std::to_string(level));
    }
    return Numbered(std::move(texts));
}

std::string ChannelLabel(int channel) {
    if (channel == kChannelCount) {
        return "CH00(20)";
    }
    char text[16];
    std::snprintf(text, sizeof text, "CH%02d", channel);
    return text;
}

OptionList SettingsChannelList() {
    std::vector<std::string> texts;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        texts.push_back(ChannelLabel(channel));
    }
    return Numbered(std::move(texts));
}

OptionList LanguageList(const TextLookup& lang) {
    return Numbered({lang(keys::kRadioLanguage1), lang(keys::kRadioLanguage2)});
}

OptionList TxPowerList(const TextLookup& lang) {
    return Numbered({lang(keys::kPowerLow), lang(keys::kPowerMiddle), lang(keys::kPowerHigh)});
}

OptionList BandList() {
    return Numbered({"406.1-470 MHz"});
}

OptionList BandwidthList() {
    return Numbered({"12.5K", "25K"});
}

std::vector<std::string> EntryTexts(const OptionList& list) {
    std::vector<std::string> texts;
    texts.reserve(list.size());
    for (const OptionEntry& entry : list) {
        texts.push_back(entry.text);
    }
    return texts;
}

}  // namespace halyx
