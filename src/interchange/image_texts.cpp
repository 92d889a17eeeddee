#include "interchange/image_texts.h"

#include <map>

#include "image/frequency_codec.h"
#include "image/option_fields.h"
#include "image/tone_table.h"
#include "image/working_copies.h"

namespace halyx {
namespace {

std::string Text(const TextOrLookup& texts, const TextKey& key) {
    return texts(key);
}

std::string Entry(const OptionList& list, std::optional<int> position) {
    return position ? list.at(static_cast<std::size_t>(*position)).text : std::string();
}

const std::map<std::string_view, TextKey>& LabelKeys() {
    static const std::map<std::string_view, TextKey> labels = {
        {"band", text::kBand},
        {"imageLength", text::kImageLength},
        {"timeOut", text::kTimeOut},
        {"voxLevel", text::kVox},
        {"squelchLevel", text::kSquelch},
        {"settingsChannel", text::kSettingsChannel},
        {"language", text::kRadioLanguage},
        {"txPower", text::kTxPower},
        {"scramble", text::kScramble},
        {"compand", text::kCompand},
        {"serialNumber", text::kSerialNumber},
        {"userId", text::kUserId},
        {"rxFrequency", text::kRxColumn},
        {"txFrequency", text::kTxColumn},
        {"rxTone", text::kRxToneColumn},
        {"txTone", text::kTxToneColumn},
        {"bandwidth", text::kBandwidthColumn},
    };
    return labels;
}

}  // namespace

TextLookup ListLookup(const TextOrLookup& texts) {
    static const std::map<std::string_view, std::string_view> english = {
        {"S0034", "Off"}, {"S0103", "OFF"}, {"S0112", "Chinese"}, {"S0113", "English"},
        {"S0117", "Low"}, {"S0118", "Mid"}, {"S0119", "High"}};
    return [texts](std::string_view key) {
        const auto found = english.find(key);
        return texts({key, found == english.end() ? std::string_view() : found->second});
    };
}

std::string SettingLabel(std::string_view name, const TextOrLookup& texts) {
    const auto found = LabelKeys().find(name);
    return found == LabelKeys().end() ? std::string(name) : texts(found->second);
}

std::vector<LabeledValue> SettingLines(const RadioImage& image, const TextOrLookup& texts) {
    const TextLookup lang = ListLookup(texts);
    HeaderCopy h;
    LoadHeaderCopy(image, h);
    const OptionList timeOuts = TimeOutList(lang);
    const OptionList vox = VoxList(lang);
    const OptionList squelch = SquelchList();
    const OptionList channels = SettingsChannelList();
    const OptionList languages = LanguageList(lang);
    const OptionList powers = TxPowerList(lang);
    const auto check = [&](std::size_t offset) {
        return IsCheckedByte(h.at(offset)) ? Text(texts, text::kOn) : Text(texts, text::kOff);
    };
    std::vector<LabeledValue> lines = {
        {"band", "", h.at(header::kBand) == kLowBand ? "136-174 MHz" : "406.1-470 MHz"},
        {"imageLength", "", std::to_string(image.length)},
        {"timeOut", "", Entry(timeOuts, TimeOutPositionForByte(timeOuts, h.at(header::kTimeOut)))},
        {"voxLevel", "",
         Entry(vox, ListPositionForByte(kVoxField, h.at(header::kVoxLevel), vox.size()))},
        {"squelchLevel", "",
         Entry(squelch,
               ListPositionForByte(kSquelchField, h.at(header::kSquelchLevel), squelch.size()))},
        {"settingsChannel", "",
         Entry(channels, ListPositionForByte(kSettingsChannelField, h.at(header::kSettingsChannel),
                                             channels.size()))},
        {"language", "",
         Entry(languages,
               ListPositionForByte(kLanguageField, h.at(header::kLanguage), languages.size()))},
        {"txPower", "",
         Entry(powers, ListPositionForByte(kTxPowerField, h.at(header::kTxPower), powers.size()))},
        {"scramble", "", check(header::kScramble)},
        {"compand", "", check(header::kCompand)},
        {"serialNumber", "", h.text(header::kSerialNumber, header::kSerialNumberSize)},
        {"userId", "", h.text(header::kUserId, header::kUserIdSize)},
    };
    for (LabeledValue& line : lines) {
        line.label = SettingLabel(line.name, texts);
    }
    return lines;
}

ChannelCells ChannelHeadings(const TextOrLookup& texts) {
    return {texts(text::kChannelColumn), texts(text::kRxColumn),     texts(text::kTxColumn),
            texts(text::kRxToneColumn),  texts(text::kTxToneColumn), texts(text::kBandwidthColumn)};
}

std::vector<ChannelCells> ChannelRows(const RadioImage& image, const TextOrLookup& texts) {
    ToneTable tones;
    BuildToneTable(tones, texts(text::kNoTone));
    std::vector<ChannelCells> rows;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        RecordCopy record;
        LoadRecordCopy(image, channel, record);
        ChannelCells row{ChannelLabel(channel)};
        if (!IsChannelEmpty(record)) {
            row[1] = FormatFrequency(DecodeFrequency(record.frequency(record::kRxFrequency)));
            row[2] = FormatFrequency(DecodeFrequency(record.frequency(record::kTxFrequency)));
            row[3] = ToneText(tones, record.at(record::kRxTone));
            row[4] = ToneText(tones, record.at(record::kTxTone));
            row[5] = BandwidthText(record.at(record::kBandwidth));
        }
        rows.push_back(row);
    }
    return rows;
}

std::string FillIn(std::string pattern, std::string_view value) {
    const auto at = pattern.find("%1");
    if (at != std::string::npos) {
        pattern.replace(at, 2, value);
    }
    return pattern;
}

}  // namespace halyx
