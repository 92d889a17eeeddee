#include "cli/image_view.h"

#include <cstdio>
#include <sstream>

#include "image/frequency_codec.h"
#include "image/option_fields.h"
#include "image/working_copies.h"
#include "settings/text_encoding.h"

namespace halyx::cli {
namespace {

constexpr const char* kLowBandName = "136-174";
constexpr const char* kHighBandName = "406.1-470";

// Texts are UTF-8 (language files) or raw radio bytes (serial number, user ID). UTF-8 passes
// through; other bytes are escaped one by one, so the output is always valid JSON.
std::string JsonString(const std::string& text) {
    const bool utf8 = IsValidUtf8(text);
    std::string out = "\"";
    for (const unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F || (c >= 0x80 && !utf8)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string OptionText(const OptionList& list, std::optional<int> position) {
    return position ? list.at(static_cast<std::size_t>(*position)).text : "(none)";
}

}  // namespace

ImageView ViewOf(const RadioImage& image, const ToneTable& tones) {
    ImageView view;
    HeaderCopy header;
    LoadHeaderCopy(image, header);
    view.lowBand = header.at(header::kBand) == kLowBand;
    view.imageLength = image.length;
    view.settings = {header.at(header::kTimeOut),
                     header.at(header::kVoxLevel),
                     header.at(header::kSquelchLevel),
                     header.at(header::kSettingsChannel),
                     header.at(header::kLanguage),
                     header.at(header::kScramble),
                     header.at(header::kCompand),
                     header.at(header::kTxPower),
                     header.text(header::kSerialNumber, header::kSerialNumberSize),
                     header.text(header::kUserId, header::kUserIdSize)};
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        RecordCopy record;
        LoadRecordCopy(image, channel, record);
        ChannelView row;
        row.channel = channel;
        row.empty = IsChannelEmpty(record);
        if (!row.empty) {
            row.rxFrequency =
                FormatFrequency(DecodeFrequency(record.frequency(record::kRxFrequency)));
            row.txFrequency =
                FormatFrequency(DecodeFrequency(record.frequency(record::kTxFrequency)));
            row.rxTone = ToneText(tones, record.at(record::kRxTone));
            row.txTone = ToneText(tones, record.at(record::kTxTone));
            row.bandwidth = BandwidthText(record.at(record::kBandwidth));
        }
        view.channels.push_back(row);
    }
    return view;
}

std::string FormatJson(const ImageView& view) {
    const SettingsView& s = view.settings;
    std::ostringstream out;
    out << "{\n  \"band\": " << JsonString(view.lowBand ? kLowBandName : kHighBandName) << ",\n"
        << "  \"imageLength\": " << view.imageLength << ",\n"
        << "  \"settings\": {\"timeOut\": " << s.timeOut << ", \"voxLevel\": " << s.voxLevel
        << ", \"squelchLevel\": " << s.squelchLevel
        << ", \"settingsChannel\": " << s.settingsChannel << ", \"language\": " << s.language
        << ", \"scramble\": " << s.scramble << ", \"compand\": " << s.compand
        << ", \"txPower\": " << s.txPower << ", \"serialNumber\": " << JsonString(s.serialNumber)
        << ", \"userId\": " << JsonString(s.userId) << "},\n  \"channels\": [\n";
    for (std::size_t i = 0; i < view.channels.size(); ++i) {
        const ChannelView& c = view.channels[i];
        out << "    {\"channel\": " << c.channel << ", \"empty\": " << (c.empty ? "true" : "false");
        if (!c.empty) {
            out << ", \"rxFrequency\": " << JsonString(c.rxFrequency)
                << ", \"txFrequency\": " << JsonString(c.txFrequency)
                << ", \"rxTone\": " << JsonString(c.rxTone)
                << ", \"txTone\": " << JsonString(c.txTone)
                << ", \"bandwidth\": " << JsonString(c.bandwidth);
        }
        out << "}" << (i + 1 < view.channels.size() ? "," : "") << "\n";
    }
    out << "  ]\n}\n";
    return out.str();
}

std::string FormatText(const ImageView& view, const TextLookup& lang) {
    const SettingsView& s = view.settings;
    const auto byte = [](int value) { return static_cast<std::uint8_t>(value); };
    const OptionList timeOuts = TimeOutList(lang);
    const OptionList vox = VoxList(lang);
    const OptionList squelch = SquelchList();
    const OptionList channels = SettingsChannelList();
    const OptionList languages = LanguageList(lang);
    const OptionList powers = TxPowerList(lang);

    std::ostringstream out;
    out << "Band:            " << (view.lowBand ? "136-174 MHz" : "406.1-470 MHz") << "\n"
        << "Image length:    " << view.imageLength << " bytes\n"
        << "Time-out timer:  "
        << OptionText(timeOuts, TimeOutPositionForByte(timeOuts, byte(s.timeOut))) << "\n"
        << "VOX:             "
        << OptionText(vox, ListPositionForByte(kVoxField, byte(s.voxLevel), vox.size())) << "\n"
        << "Squelch:         "
        << OptionText(squelch,
                      ListPositionForByte(kSquelchField, byte(s.squelchLevel), squelch.size()))
        << "\n"
        << "Channel:         "
        << OptionText(channels, ListPositionForByte(kSettingsChannelField, byte(s.settingsChannel),
                                                    channels.size()))
        << "\n"
        << "Radio language:  "
        << OptionText(languages,
                      ListPositionForByte(kLanguageField, byte(s.language), languages.size()))
        << "\n"
        << "TX power:        "
        << OptionText(powers, ListPositionForByte(kTxPowerField, byte(s.txPower), powers.size()))
        << "\n"
        << "Scramble:        " << (IsCheckedByte(byte(s.scramble)) ? "on" : "off") << "\n"
        << "Compand:         " << (IsCheckedByte(byte(s.compand)) ? "on" : "off") << "\n"
        << "Serial number:   " << s.serialNumber << "\n"
        << "User ID:         " << s.userId << "\n\n";
    char line[160];
    std::snprintf(line, sizeof line, "%-9s %-10s %-10s %-8s %-8s %s\n", "Channel", "RX MHz",
                  "TX MHz", "RX tone", "TX tone", "Bandwidth");
    out << line;
    for (const ChannelView& c : view.channels) {
        std::snprintf(line, sizeof line, "%-9s %-10s %-10s %-8s %-8s %s\n",
                      ChannelLabel(c.channel).c_str(), c.rxFrequency.c_str(), c.txFrequency.c_str(),
                      c.rxTone.c_str(), c.txTone.c_str(), c.bandwidth.c_str());
        out << line;
    }
    return out.str();
}

}  // namespace halyx::cli
