#include "cli/image_edits.h"

#include <algorithm>
#include <functional>
#include <map>

#include "image/frequency_codec.h"
#include "image/header_values.h"
#include "image/option_fields.h"
#include "image/working_copies.h"

namespace halyx::cli {
namespace {

constexpr int kLanguageMax = 1;

struct EditState {
    RadioImage& image;
    const ToneTable& tones;
    std::optional<int> channel;
};

using EditFn = std::function<std::optional<EditError>(const EditOption&, EditState&)>;

EditError Refuse(const EditOption& option, std::string allowed) {
    return {option.name, option.value, std::move(allowed)};
}

// Header fields go through the header working copy, exactly as the settings panel stores them.
std::optional<EditError> SetHeaderByte(EditState& state, std::size_t offset, int value) {
    HeaderCopy copy;
    LoadHeaderCopy(state.image, copy);
    copy.set(offset, static_cast<std::uint8_t>(value));
    StoreHeaderCopy(copy, state.image);
    return std::nullopt;
}

EditFn HeaderNumber(std::size_t offset, int low, int high, std::string allowed) {
    return [=](const EditOption& option, EditState& state) -> std::optional<EditError> {
        const auto value = ParseNumberIn(option.value, low, high);
        if (!value) {
            return Refuse(option, allowed);
        }
        return SetHeaderByte(state, offset, *value);
    };
}

EditFn HeaderSwitch(std::size_t offset) {
    return [=](const EditOption& option, EditState& state) -> std::optional<EditError> {
        const std::string value = LowerAscii(option.value);
        if (value != "on" && value != "off") {
            return Refuse(option, "on or off");
        }
        return SetHeaderByte(state, offset, value == "on" ? 1 : 0);
    };
}

// A header byte whose text rules are shared with the fleet's overrides file.
EditFn HeaderValue(std::size_t offset, std::optional<std::uint8_t> (*parse)(std::string_view),
                   std::string_view allowed) {
    return [=](const EditOption& option, EditState& state) -> std::optional<EditError> {
        const auto value = parse(option.value);
        if (!value) {
            return Refuse(option, std::string(allowed));
        }
        return SetHeaderByte(state, offset, *value);
    };
}

EditFn HeaderText(std::size_t offset, std::size_t size, bool (*accepts)(std::string_view),
                  std::string (*allowed)()) {
    return [=](const EditOption& option, EditState& state) -> std::optional<EditError> {
        if (!accepts(option.value)) {
            return Refuse(option, allowed());
        }
        HeaderCopy copy;
        LoadHeaderCopy(state.image, copy);
        copy.setText(offset, size, option.value);
        StoreHeaderCopy(copy, state.image);
        return std::nullopt;
    };
}

std::optional<EditError> PickChannel(const EditOption& option, EditState& state) {
    const auto value = ParseNumberIn(option.value, 1, kChannelCount);
    if (!value) {
        return Refuse(option, "1..20");
    }
    state.channel = value;
    return std::nullopt;
}

// Channel fields go through the record working copy, as the grid stores them.
EditFn ChannelEdit(
    std::function<std::optional<std::string>(const std::string&, EditState&, RecordCopy&)> change) {
    return [change](const EditOption& option, EditState& state) -> std::optional<EditError> {
        if (!state.channel) {
            return Refuse(option, "a value after --channel N");
        }
        RecordCopy copy;
        LoadRecordCopy(state.image, *state.channel, copy);
        if (auto allowed = change(option.value, state, copy)) {
            return Refuse(option, *allowed);
        }
        StoreRecordCopy(copy, *state.channel, state.image);
        return std::nullopt;
    };
}

std::optional<std::string> Frequency(const std::string& text, EditState& state, RecordCopy& copy,
                                     bool receive) {
    const ParsedFrequency parsed = ParseFrequency(text, state.image.bytes[header::kBand]);
    EncodeFrequency(parsed.hertz, copy.frequency(record::kTxFrequency));
    if (receive) {
        // Setting the receive frequency always sets the transmit frequency to it.
        EncodeFrequency(parsed.hertz, copy.frequency(record::kRxFrequency));
    }
    return std::nullopt;
}

std::optional<std::string> Tone(const std::string& text, EditState& state, RecordCopy& copy,
                                bool receive) {
    std::optional<std::size_t> position = state.tones.find(text);
    if (!position && LowerAscii(text) == "off") {
        position = 0;
    }
    if (!position) {
        return "off or a tone of the table (67.0 .. 254.1, D023N .. D754N)";
    }
    const auto byte = static_cast<std::uint8_t>(*position);
    copy.set(record::kTxTone, byte);
    if (receive) {
        copy.set(record::kRxTone, byte);  // choosing the receive tone also sets the transmit tone
    }
    return std::nullopt;
}

std::optional<std::string> Bandwidth(const std::string& text, EditState&, RecordCopy& copy) {
    const std::string value = LowerAscii(text);
    if (value != "12.5k" && value != "25k") {
        return "12.5K or 25K";
    }
    copy.set(record::kBandwidth, value == "25k" ? 1 : 0);
    return std::nullopt;
}

const std::map<std::string, EditFn>& Handlers() {
    using namespace std::placeholders;
    static const std::map<std::string, EditFn> handlers = {
        {"--channel", PickChannel},
        {"--rx", ChannelEdit(std::bind(Frequency, _1, _2, _3, true))},
        {"--tx", ChannelEdit(std::bind(Frequency, _1, _2, _3, false))},
        {"--rx-tone", ChannelEdit(std::bind(Tone, _1, _2, _3, true))},
        {"--tx-tone", ChannelEdit(std::bind(Tone, _1, _2, _3, false))},
        {"--bandwidth", ChannelEdit(Bandwidth)},
        {"--tot", HeaderValue(header::kTimeOut, ParseTimeOutValue, kTimeOutAllowed)},
        {"--vox", HeaderValue(header::kVoxLevel, ParseVoxValue, kVoxAllowed)},
        {"--squelch", HeaderValue(header::kSquelchLevel, ParseSquelchValue, kSquelchAllowed)},
        {"--settings-channel", HeaderNumber(header::kSettingsChannel, 1, kChannelCount, "1..20")},
        {"--language", HeaderNumber(header::kLanguage, 0, kLanguageMax, "0 or 1")},
        {"--power", HeaderValue(header::kTxPower, ParsePowerValue, kPowerAllowed)},
        {"--scramble", HeaderSwitch(header::kScramble)},
        {"--compand", HeaderSwitch(header::kCompand)},
        {"--serial", HeaderText(header::kSerialNumber, header::kSerialNumberSize,
                                IsSerialNumberValue, SerialNumberAllowed)},
        {"--user-id",
         HeaderText(header::kUserId, header::kUserIdSize, IsUserIdValue, UserIdAllowed)},
    };
    return handlers;
}

}  // namespace

bool IsEditOption(const std::string& name) {
    return Handlers().count(name) != 0;
}

std::vector<std::string> EditOptionNames() {
    std::vector<std::string> names;
    for (const auto& [name, handler] : Handlers()) {
        names.push_back(name);
    }
    return names;
}

std::optional<EditError> ApplyEdits(const std::vector<EditOption>& edits, const ToneTable& tones,
                                    RadioImage& image) {
    EditState state{image, tones, std::nullopt};
    for (const EditOption& edit : edits) {
        const auto handler = Handlers().find(edit.name);
        if (handler == Handlers().end()) {
            return EditError{edit.name, edit.value, "a known option (see --help)"};
        }
        if (auto error = handler->second(edit, state)) {
            return error;
        }
    }
    return std::nullopt;
}

std::string DescribeEditError(const EditError& error) {
    return error.option + ": '" + error.value + "' is not allowed; use " + error.allowed;
}

}  // namespace halyx::cli
