#include "interchange/config_fields.h"

#include <algorithm>

#include "image/frequency_codec.h"
#include "image/header_values.h"
#include "image/option_fields.h"
#include "image/tone_table.h"
#include "interchange/decimal_text.h"
#include "interchange/image_compare.h"

namespace halyx::config {
namespace {

constexpr int kHertzDecimals = 6;  // megahertz text -> hertz
constexpr std::uint8_t kFirstPrintable = 0x20;
constexpr std::uint8_t kLastPrintable = 0x7E;

struct NumberRule {
    std::string_view name;
    std::optional<std::uint8_t> (*parse)(std::string_view);
    std::string_view accepted;
};

// "0" is how `show --json` writes off; the model's own parsers take the word.
std::optional<std::uint8_t> ZeroOr(std::string_view text,
                                   std::optional<std::uint8_t> (*parse)(std::string_view)) {
    return text == "0" ? std::optional<std::uint8_t>(0) : parse(text);
}

std::optional<std::uint8_t> NumberIn(std::string_view text, int low, int high) {
    const auto value = ParseNumberIn(text, low, high);
    return value ? std::optional<std::uint8_t>(static_cast<std::uint8_t>(*value)) : std::nullopt;
}

const std::array<NumberRule, 8> kNumberRules{{
    {"timeOut", [](std::string_view t) { return ZeroOr(t, ParseTimeOutValue); },
     "0 (off) or 30..180 in steps of 10"},
    {"voxLevel", [](std::string_view t) { return ZeroOr(t, ParseVoxValue); }, "0 (off) or 1..9"},
    {"squelchLevel", ParseSquelchValue, kSquelchAllowed},
    {"settingsChannel", [](std::string_view t) { return NumberIn(t, 1, kChannelCount); }, "1..20"},
    {"language", [](std::string_view t) { return NumberIn(t, 0, 1); }, "0 or 1"},
    {"scramble", [](std::string_view t) { return NumberIn(t, 0, 1); }, "0 (off) or 1 (on)"},
    {"compand", [](std::string_view t) { return NumberIn(t, 0, 1); }, "0 (off) or 1 (on)"},
    {"txPower", ParsePowerValue, kPowerAllowed},
}};

const NumberRule& RuleOf(const FieldSpec& field) {
    return *std::find_if(kNumberRules.begin(), kNumberRules.end(),
                         [&field](const NumberRule& rule) { return rule.name == field.name; });
}

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

const ToneTable& NeutralTones() {
    static const ToneTable tones = [] {
        ToneTable table;
        BuildToneTable(table, "off");
        return table;
    }();
    return tones;
}

constexpr std::string_view kToneAccepted =
    "off, a CTCSS tone of the table (67.0..254.1) or a DCS code (D023N..D754N)";
constexpr std::string_view kBandwidthAccepted = "12.5K or 25K";

std::string BandText(std::uint8_t band) {
    const BandLimits limits = BandLimitsFor(band);
    return FormatScaledDecimal(limits.lowerHz / kHzPerStep, 5) + " to " +
           FormatScaledDecimal(limits.upperHz / kHzPerStep, 5) + " MHz on a 5 kHz or 6.25 kHz step";
}

FieldParse ParseNumber(const FieldSpec& field, std::string_view text) {
    const NumberRule& rule = RuleOf(field);
    if (const auto byte = rule.parse(text)) {
        return Bytes{*byte};
    }
    return Refusal{Quoted(text) + " is not on the list", AcceptedFor(field, std::nullopt)};
}

FieldParse ParseText(const FieldSpec& field, std::string_view text) {
    const bool serial = field.offset == header::kSerialNumber;
    const bool accepted = serial ? IsSerialNumberValue(text) : IsUserIdValue(text);
    // A zero byte would end the text early: what follows it could never be shown or edited.
    if (!accepted || text.find('\0') != std::string_view::npos) {
        return Refusal{Quoted(text) + " is not a " +
                           (serial ? std::string("serial number") : std::string("user ID")),
                       AcceptedFor(field, std::nullopt)};
    }
    Bytes bytes(field.size, 0);
    std::copy(text.begin(), text.end(), bytes.begin());
    return bytes;
}

FieldParse ParseFrequencyText(std::string_view text, BandContext band) {
    const std::string accepted = AcceptedFor(kChannelFields[kRxFrequencyIndex], band);
    const auto parsed = ParseScaledDecimal(text, kHertzDecimals);
    if (!parsed || text.find_first_of(" \t") != std::string_view::npos) {
        return Refusal{Quoted(text) + " is not a frequency in MHz", accepted};
    }
    const std::uint64_t hz = parsed->value;
    // What the window would have stored for the same text: the message says so, nothing is
    // clamped or snapped behind the writer's back.
    const auto wouldBecome = [&] {
        return ", the window would store " + ParseFrequency(text, band.value_or(kHighBand)).text;
    };
    if (band && (hz < BandLimitsFor(*band).lowerHz || hz > BandLimitsFor(*band).upperHz)) {
        const std::string_view name = *band == kLowBand ? kLowBandName : kHighBandName;
        return Refusal{
            Quoted(text) + " is outside the " + std::string(name) + " MHz band" + wouldBecome(),
            accepted};
    }
    if (!parsed->exact || hz % kHzPerStep != 0 || hz > UINT32_MAX ||
        !IsOnChannelStep(static_cast<std::uint32_t>(hz))) {
        return Refusal{Quoted(text) + " is not on a 5 kHz or 6.25 kHz channel step" +
                           (band ? wouldBecome() : std::string()),
                       accepted};
    }
    Bytes bytes(record::kFrequencySize);
    EncodeFrequency(static_cast<std::uint32_t>(hz), bytes.data());
    return bytes;
}

FieldParse ParseTone(std::string_view text) {
    if (const auto position = NeutralTones().find(text)) {
        return Bytes{static_cast<std::uint8_t>(*position)};
    }
    return Refusal{Quoted(text) + " is not a tone", std::string(kToneAccepted)};
}

FieldParse ParseBandwidth(std::string_view text) {
    const std::string lower = LowerAscii(text);
    if (lower == "12.5k" || lower == "25k") {
        return Bytes{static_cast<std::uint8_t>(lower == "25k" ? 1 : 0)};
    }
    return Refusal{Quoted(text) + " is not a bandwidth", std::string(kBandwidthAccepted)};
}

FieldParse ParseBand(std::string_view text) {
    if (text == kLowBandName) {
        return Bytes{kLowBand};
    }
    if (text == kHighBandName) {
        return Bytes{kHighBand};
    }
    return Refusal{Quoted(text) + " is not a band", AcceptedFor(kBandField, std::nullopt)};
}

bool IsDecimalBcd(std::span<const std::uint8_t> bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](std::uint8_t b) { return (b >> 4) <= 9 && (b & 0x0F) <= 9; });
}

std::optional<std::string> CandidateText(const FieldSpec& field,
                                         std::span<const std::uint8_t> bytes) {
    switch (field.kind) {
        case FieldKind::Band:
            return std::string(bytes[0] == kLowBand ? kLowBandName : kHighBandName);
        case FieldKind::Number:
            return std::to_string(bytes[0]);
        case FieldKind::Text: {
            const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
            // Only printable ASCII is written as text: it needs no escapes beyond \" and \\,
            // and no YAML reader folds or normalises it.
            if (!std::all_of(bytes.begin(), end, [](std::uint8_t c) {
                    return c >= kFirstPrintable && c <= kLastPrintable;
                })) {
                return std::nullopt;
            }
            return std::string(bytes.begin(), end);
        }
        case FieldKind::Frequency:
            if (!IsDecimalBcd(bytes)) {
                return std::nullopt;
            }
            return FormatFrequency(DecodeFrequency(bytes.data()));
        case FieldKind::Tone:
            return NeutralToneText(bytes[0]);
        case FieldKind::Bandwidth:
            return BandwidthText(bytes[0]);
    }
    return std::nullopt;
}

}  // namespace

std::string AcceptedFor(const FieldSpec& field, BandContext band) {
    switch (field.kind) {
        case FieldKind::Band:
            return std::string(kLowBandName) + " or " + std::string(kHighBandName);
        case FieldKind::Number:
            return std::string(RuleOf(field).accepted);
        case FieldKind::Text:
            return field.offset == header::kSerialNumber ? SerialNumberAllowed() : UserIdAllowed();
        case FieldKind::Frequency:
            return band ? BandText(*band) : std::string("megahertz with at most five decimals");
        case FieldKind::Tone:
            return std::string(kToneAccepted);
        case FieldKind::Bandwidth:
            return std::string(kBandwidthAccepted);
    }
    return {};
}

bool IsQuotedKind(FieldKind kind) {
    return kind != FieldKind::Number;
}

bool IsEmptyReceiveFrequency(std::span<const std::uint8_t> bytes) {
    const bool erased = bytes[0] == 0xFF && bytes[1] == 0xFF;
    const bool zero =
        std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
    return erased || zero;
}

std::optional<std::string> FieldPathAt(std::size_t offset, const EmptyChannels& empty) {
    if (offset == kBandField.offset) {
        return std::string(kBandField.name);
    }
    for (const FieldSpec& field : kSettingFields) {
        if (offset >= field.offset && offset < field.offset + field.size) {
            return "settings." + std::string(field.name);
        }
    }
    if (offset < kFirstRecordOffset || offset >= kRecordsEnd) {
        return std::nullopt;
    }
    const int channel = static_cast<int>((offset - RecordOffset(0)) / kRecordSize);
    const std::size_t within = offset - RecordOffset(channel);
    for (std::size_t i = 0; i < kChannelFields.size(); ++i) {
        const FieldSpec& field = kChannelFields[i];
        const bool counts = i == kRxFrequencyIndex || !empty[static_cast<std::size_t>(channel - 1)];
        if (counts && within >= field.offset && within < field.offset + field.size) {
            return "channels[" + std::to_string(channel) + "]." + std::string(field.name);
        }
    }
    return std::nullopt;
}

FieldParse ParseField(const FieldSpec& field, std::string_view text, BandContext band) {
    switch (field.kind) {
        case FieldKind::Band:
            return ParseBand(text);
        case FieldKind::Number:
            return ParseNumber(field, text);
        case FieldKind::Text:
            return ParseText(field, text);
        case FieldKind::Frequency:
            return ParseFrequencyText(text, band);
        case FieldKind::Tone:
            return ParseTone(text);
        case FieldKind::Bandwidth:
            return ParseBandwidth(text);
    }
    return Refusal{"unknown field", ""};
}

std::optional<std::string> DescribeField(const FieldSpec& field,
                                         std::span<const std::uint8_t> bytes, BandContext band) {
    auto text = CandidateText(field, bytes);
    if (!text) {
        return std::nullopt;
    }
    const FieldParse parsed = ParseField(field, *text, band);
    const Bytes* back = std::get_if<Bytes>(&parsed);
    if (back == nullptr || !std::equal(back->begin(), back->end(), bytes.begin(), bytes.end())) {
        return std::nullopt;
    }
    return text;
}

}  // namespace halyx::config
