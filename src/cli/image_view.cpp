#include "cli/image_view.h"

#include <cstdio>
#include <sstream>

#include "cli/json_output.h"
#include "image/frequency_codec.h"
#include "image/option_fields.h"
#include "image/working_copies.h"
#include "interchange/config_fields.h"
#include "interchange/image_compare.h"
#include "interchange/image_texts.h"

namespace halyx::cli {
namespace {

constexpr std::size_t kLabelWidth = 16;
constexpr std::size_t kColumnWidth = 14;

// Pads by terminal columns, not bytes: Chinese characters (three UTF-8 bytes) take two columns.
std::string Padded(const std::string& text, std::size_t width) {
    constexpr unsigned char kThreeByteLead = 0xE0;
    constexpr unsigned char kFourByteLead = 0xF0;
    std::size_t characters = 0;
    for (const unsigned char c : text) {
        if ((c & 0xC0) != 0x80) {
            characters += c >= kThreeByteLead && c < kFourByteLead ? 2 : 1;
        }
    }
    return text + std::string(characters < width ? width - characters : 1, ' ');
}

}  // namespace

ImageView ViewOf(const RadioImage& image) {
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
            row.rxTone = NeutralToneText(record.at(record::kRxTone));
            row.txTone = NeutralToneText(record.at(record::kTxTone));
            row.bandwidth = BandwidthText(record.at(record::kBandwidth));
        }
        view.channels.push_back(row);
    }
    return view;
}

std::string FormatJson(const ImageView& view) {
    const SettingsView& s = view.settings;
    Json settings = {{"timeOut", s.timeOut},
                     {"voxLevel", s.voxLevel},
                     {"squelchLevel", s.squelchLevel},
                     {"settingsChannel", s.settingsChannel},
                     {"language", s.language},
                     {"scramble", s.scramble},
                     {"compand", s.compand},
                     {"txPower", s.txPower},
                     {"serialNumber", JsonText(s.serialNumber)},
                     {"userId", JsonText(s.userId)}};
    Json channels = Json::array();
    for (const ChannelView& c : view.channels) {
        Json row = {{"channel", c.channel}, {"empty", c.empty}};
        if (!c.empty) {
            row["rxFrequency"] = c.rxFrequency;
            row["txFrequency"] = c.txFrequency;
            row["rxTone"] = c.rxTone;
            row["txTone"] = c.txTone;
            row["bandwidth"] = c.bandwidth;
        }
        channels.push_back(row);
    }
    // The band names a configuration text uses too.
    return ReadableJson({{"band", view.lowBand ? config::kLowBandName : config::kHighBandName},
                         {"imageLength", view.imageLength},
                         {"settings", settings},
                         {"channels", channels}});
}

std::string FormatText(const RadioImage& image, const TextOrLookup& texts) {
    std::ostringstream out;
    for (const LabeledValue& line : SettingLines(image, texts)) {
        out << Padded(line.label + ":", kLabelWidth) << line.value << "\n";
    }
    out << "\n";
    const auto printRow = [&out](const ChannelCells& cells) {
        std::string line;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            line += i + 1 < cells.size() ? Padded(cells[i], kColumnWidth) : cells[i];
        }
        out << line.substr(0, line.find_last_not_of(' ') + 1) << "\n";
    };
    printRow(ChannelHeadings(texts));
    for (const ChannelCells& row : ChannelRows(image, texts)) {
        printRow(row);
    }
    return out.str();
}

}  // namespace halyx::cli
