#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "image/radio_image.h"

namespace halyx::config {

// The fields a configuration text names, with the names and value texts of `halyx-cli show
// --json`. Each field turns its bytes into a value text and a value text back into bytes; bytes
// that have no value text (a byte outside its list) are carried as a raw hex value instead.

enum class FieldKind { Band, Number, Text, Frequency, Tone, Bandwidth };

struct FieldSpec {
    std::string_view name;
    std::size_t offset;  // header fields: from the image start; channel fields: from the record
    std::size_t size;
    FieldKind kind;
};

inline constexpr FieldSpec kBandField{"band", header::kBand, 1, FieldKind::Band};

// In the order Halyx writes them.
inline constexpr std::array<FieldSpec, 10> kSettingFields{{
    {"timeOut", header::kTimeOut, 1, FieldKind::Number},
    {"voxLevel", header::kVoxLevel, 1, FieldKind::Number},
    {"squelchLevel", header::kSquelchLevel, 1, FieldKind::Number},
    {"settingsChannel", header::kSettingsChannel, 1, FieldKind::Number},
    {"language", header::kLanguage, 1, FieldKind::Number},
    {"scramble", header::kScramble, 1, FieldKind::Number},
    {"compand", header::kCompand, 1, FieldKind::Number},
    {"txPower", header::kTxPower, 1, FieldKind::Number},
    {"serialNumber", header::kSerialNumber, header::kSerialNumberSize, FieldKind::Text},
    {"userId", header::kUserId, header::kUserIdSize, FieldKind::Text},
}};

inline constexpr std::size_t kRxFrequencyIndex = 0;
inline constexpr std::array<FieldSpec, 5> kChannelFields{{
    {"rxFrequency", record::kRxFrequency, record::kFrequencySize, FieldKind::Frequency},
    {"txFrequency", record::kTxFrequency, record::kFrequencySize, FieldKind::Frequency},
    {"rxTone", record::kRxTone, 1, FieldKind::Tone},
    {"txTone", record::kTxTone, 1, FieldKind::Tone},
    {"bandwidth", record::kBandwidth, 1, FieldKind::Bandwidth},
}};

using Bytes = std::vector<std::uint8_t>;

// Why a value text was refused: what is wrong with it and what would have been accepted.
struct Refusal {
    std::string what;
    std::string accepted;
};
using FieldParse = std::variant<Bytes, Refusal>;

// The band byte frequencies are checked against; nothing when the band itself is in doubt.
using BandContext = std::optional<std::uint8_t>;

// The value text of a field's bytes, or nothing when only a raw value keeps them exactly. A text
// is given only when parsing it gives back the very same bytes.
std::optional<std::string> DescribeField(const FieldSpec& field,
                                         std::span<const std::uint8_t> bytes, BandContext band);

// A value text as a person wrote it: the field's bytes, or why it is refused.
FieldParse ParseField(const FieldSpec& field, std::string_view text, BandContext band);

// What a field accepts, as its refusals say.
std::string AcceptedFor(const FieldSpec& field, BandContext band);

// Whether the writer puts the value text in quotes: every text but the plain numbers, so that
// no YAML reader takes "off" for false or "0123" for a number.
bool IsQuotedKind(FieldKind kind);

// A channel's receive frequency bytes that make it empty (erased or all zero).
bool IsEmptyReceiveFrequency(std::span<const std::uint8_t> bytes);

// Which channels are empty, channel 1 first.
using EmptyChannels = std::array<bool, kChannelCount>;

// The key path of the field image byte `offset` belongs to ("settings.userId",
// "channels[3].txTone"), or nothing for a byte no field covers. An empty channel's fields other
// than its receive frequency mean nothing, so their bytes count as other bytes.
std::optional<std::string> FieldPathAt(std::size_t offset, const EmptyChannels& empty);

// The band names of `halyx-cli show --json`.
inline constexpr std::string_view kLowBandName = "136-174";
inline constexpr std::string_view kHighBandName = "406.1-470";

}  // namespace halyx::config
