#include "interchange/image_compare.h"

#include <array>

#include "image/frequency_codec.h"
#include "image/option_fields.h"
#include "image/tone_table.h"
#include "image/working_copies.h"

namespace halyx {
namespace {

struct NumberField {
    const char* name;
    std::size_t offset;
};

constexpr std::array<NumberField, 9> kNumberFields{{{"band", header::kBand},
                                                    {"timeOut", header::kTimeOut},
                                                    {"voxLevel", header::kVoxLevel},
                                                    {"settingsChannel", header::kSettingsChannel},
                                                    {"squelchLevel", header::kSquelchLevel},
                                                    {"language", header::kLanguage},
                                                    {"scramble", header::kScramble},
                                                    {"compand", header::kCompand},
                                                    {"txPower", header::kTxPower}}};

struct TextField {
    const char* name;
    std::size_t offset;
    std::size_t size;
};

constexpr std::array<TextField, 2> kTextFields{
    {{"serialNumber", header::kSerialNumber, header::kSerialNumberSize},
     {"userId", header::kUserId, header::kUserIdSize}}};

struct ComparedCells {
    std::array<std::string, 5> cells;
};

constexpr std::array<const char*, 5> kChannelFields = {"rxFrequency", "txFrequency", "rxTone",
                                                       "txTone", "bandwidth"};

ComparedCells CellsOf(const RadioImage& image, int channel) {
    RecordCopy record;
    LoadRecordCopy(image, channel, record);
    if (IsChannelEmpty(record)) {
        return {};
    }
    return {{FormatFrequency(DecodeFrequency(record.frequency(record::kRxFrequency))),
             FormatFrequency(DecodeFrequency(record.frequency(record::kTxFrequency))),
             NeutralToneText(record.at(record::kRxTone)),
             NeutralToneText(record.at(record::kTxTone)),
             BandwidthText(record.at(record::kBandwidth))}};
}

// The bytes behind each channel field, so a difference shown there is not listed again.
constexpr std::array<std::pair<std::size_t, std::size_t>, 5> kChannelFieldBytes{
    {{record::kRxFrequency, record::kFrequencySize},
     {record::kTxFrequency, record::kFrequencySize},
     {record::kRxTone, 1},
     {record::kTxTone, 1},
     {record::kBandwidth, 1}}};

}  // namespace

std::string NeutralToneText(std::uint8_t toneByte) {
    static const ToneTable tones = [] {
        ToneTable table;
        BuildToneTable(table, "off");
        return table;
    }();
    return ToneText(tones, toneByte);
}

ImageDifferences CompareImages(const RadioImage& a, const RadioImage& b) {
    ImageDifferences out;
    std::array<bool, kImageSize> explained{};
    for (const NumberField& field : kNumberFields) {
        const std::uint8_t x = a.bytes[field.offset];
        const std::uint8_t y = b.bytes[field.offset];
        if (x != y) {
            out.settings.push_back({field.name, false, std::to_string(x), std::to_string(y)});
            explained[field.offset] = true;
        }
    }
    HeaderCopy headerA, headerB;
    LoadHeaderCopy(a, headerA);
    LoadHeaderCopy(b, headerB);
    for (const TextField& field : kTextFields) {
        const std::string x = headerA.text(field.offset, field.size);
        const std::string y = headerB.text(field.offset, field.size);
        if (x != y) {
            out.settings.push_back({field.name, true, x, y});
            for (std::size_t i = 0; i < field.size; ++i) {
                explained[field.offset + i] = true;
            }
        }
    }
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        const ComparedCells x = CellsOf(a, channel);
        const ComparedCells y = CellsOf(b, channel);
        for (std::size_t f = 0; f < kChannelFields.size(); ++f) {
            if (x.cells[f] == y.cells[f]) {
                continue;
            }
            out.channels.push_back({channel, kChannelFields[f], x.cells[f], y.cells[f]});
            const auto [offset, size] = kChannelFieldBytes[f];
            for (std::size_t i = 0; i < size; ++i) {
                explained[RecordOffset(channel) + offset + i] = true;
            }
        }
    }
    for (std::size_t i = 0; i < kImageSize; ++i) {
        if (a.bytes[i] == b.bytes[i] || explained[i]) {
            continue;
        }
        if (!out.bytes.empty() && out.bytes.back().last + 1 == i) {
            out.bytes.back().last = i;
        } else {
            out.bytes.push_back({i, i, {}, {}});
        }
        out.bytes.back().a.push_back(a.bytes[i]);
        out.bytes.back().b.push_back(b.bytes[i]);
    }
    out.lengthDiffers = a.length != b.length;
    out.lengthA = a.length;
    out.lengthB = b.length;
    return out;
}

}  // namespace halyx
