// Writes a configuration text. Everything is laid out by hand rather than by a YAML emitter, so
// the text is the same for the same image on every machine and library version.
#include <algorithm>
#include <span>

#include "interchange/config_fields.h"
#include "interchange/config_text.h"
#include "interchange/hex_runs.h"

namespace halyx {
namespace {

using namespace config;

std::span<const std::uint8_t> FieldBytes(const RadioImage& image, std::size_t start,
                                         const FieldSpec& field) {
    return std::span<const std::uint8_t>(image.bytes).subspan(start + field.offset, field.size);
}

// Value texts are printable ASCII (anything else is written raw), so \" and \\ are the only
// escapes a double-quoted scalar needs.
std::string DoubleQuoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

std::string RawValue(std::span<const std::uint8_t> bytes) {
    return "{raw: \"" + FormatHexRun(bytes, false) + "\"}";
}

std::string Value(const FieldSpec& field, std::span<const std::uint8_t> bytes, BandContext band) {
    const auto text = DescribeField(field, bytes, band);
    if (!text) {
        return RawValue(bytes);
    }
    return IsQuotedKind(field.kind) ? DoubleQuoted(*text) : *text;
}

std::string ChannelLine(const RadioImage& image, int channel, BandContext band) {
    const std::size_t start = RecordOffset(channel);
    const auto rx = FieldBytes(image, start, kChannelFields[kRxFrequencyIndex]);
    std::string line = "  - {channel: " + std::to_string(channel);
    if (IsEmptyReceiveFrequency(rx)) {
        line += ", empty: true";
        // Erased memory is what "empty" stands for; the other empty forms are kept as they are.
        if (!std::all_of(rx.begin(), rx.end(), [](std::uint8_t b) { return b == 0xFF; })) {
            line += ", rxFrequency: " + RawValue(rx);
        }
        return line + "}\n";
    }
    for (const FieldSpec& field : kChannelFields) {
        line += ", " + std::string(field.name) + ": " +
                Value(field, FieldBytes(image, start, field), band);
    }
    return line + "}\n";
}

EmptyChannels EmptyChannelsOf(const RadioImage& image) {
    EmptyChannels empty{};
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        empty[static_cast<std::size_t>(channel - 1)] = IsEmptyReceiveFrequency(
            FieldBytes(image, RecordOffset(channel), kChannelFields[kRxFrequencyIndex]));
    }
    return empty;
}

// Bytes no field covers, as stretches of neighbouring bytes: the header's and the records'
// unnamed bytes always, and beyond the records as far as the image length reaches.
std::string OtherBytes(const RadioImage& image) {
    const EmptyChannels empty = EmptyChannelsOf(image);
    const std::size_t end = std::max<std::size_t>(kRecordsEnd, image.length);
    std::string out;
    for (std::size_t at = 0; at < end;) {
        if (FieldPathAt(at, empty)) {
            ++at;
            continue;
        }
        std::size_t stop = at;
        while (stop < end && !FieldPathAt(stop, empty)) {
            ++stop;
        }
        const auto bytes = std::span<const std::uint8_t>(image.bytes).subspan(at, stop - at);
        for (const HexEntry& entry : HexEntries(at, bytes)) {
            out += "  " + std::to_string(entry.offset) + ": \"" + entry.text + "\"\n";
        }
        at = stop;
    }
    return out.empty() ? " {}\n" : "\n" + out;
}

}  // namespace

std::string WriteConfigText(const RadioImage& image) {
    const std::uint8_t band = image.bytes[header::kBand];
    std::string out = "format: " + std::string(kConfigFormatName) + "\n";
    out += "band: " + Value(kBandField, FieldBytes(image, 0, kBandField), std::nullopt) + "\n";
    out += "settings:\n";
    for (const FieldSpec& field : kSettingFields) {
        out += "  " + std::string(field.name) + ": " +
               Value(field, FieldBytes(image, 0, field), std::nullopt) + "\n";
    }
    out += "channels:\n";
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        out += ChannelLine(image, channel, band);
    }
    out += "otherBytes:" + OtherBytes(image);
    out += "imageLength: " + std::to_string(image.length) + "\n";
    return out;
}

}  // namespace halyx
