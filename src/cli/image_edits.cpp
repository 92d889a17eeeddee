#include "cli/image_edits.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <functional>
#include <map>

#include "image/frequency_codec.h"
#include "image/option_fields.h"
#include "image/working_copies.h"

namespace halyx::cli {
namespace {

constexpr int kTimeOutMin = 30;
constexpr int kTimeOutMax = 180;
constexpr int kTimeOutStep = 10;
constexpr int kLevelMax = 9;
constexpr int kPowerMax = 2;
constexpr int kLanguageMax = 1;

struct EditState {
    RadioImage& image;
    const ToneTable& tones;
    std::optional<int> channel;
};

using EditFn = std::function<std::optional<EditError>(const EditOption&, EditState&)>;

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::optional<int> WholeNumber(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> NumberIn(const std::string& text, int low, int high) {
    const auto value = WholeNumber(text);
    if (!value || *value < low || *value > high) {
        return std::nullopt;
    }
    return value;
}

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

EditFn HeaderNumber(std::size_t offset, int low, int high, bool allowOff, std::string allowed) {
    return [=](const EditOption& option, EditState& state) -> std::optional<EditError> {
        if (allowOff && Lower(option.value) == "off") {
            return SetHeaderByte(state, offset, 0);
        }
        const auto value = NumberIn(option.value, low, high);
        if (!value) {
            return Refuse(option, allowed);
        }
        return SetHeaderByte(state, offset, *value);
    };
}

EditFn HeaderSwitch(std::size_t offset) {
    return [=](const EditOption& option, EditState& state) -> std::optional<EditError> {
        const std::string value = Lower(option.value);
        if (value != "on" && value != "off") {
            return Refuse(option, "on or off");
        }
        return SetHeaderByte(state, offset, value == "on" ? 1 : 0);
    };
}

EditFn HeaderText(std::size_t offset, std::size_t size, bool serialCharactersOnly) {
    return [=](const EditOption& option, EditState& state) -> std::optional<EditError> {
        // The Serial Number box only takes letters, digits and spaces.
        const bool badCharacter =
            serialCharactersOnly &&
            !std::all_of(option.value.begin(), option.value.end(),
                         [](unsigned char c) { return std::isalnum(c) != 0 || c == ' '; });
        if (option.value.size() > size || badCharacter) {
            const std::string limit = "at most " + std::to_string(size) + " characters";
            return Refuse(option,
                          serialCharactersOnly ? limit + " (letters, digits, spaces)" : limit);
        }
        HeaderCopy copy;
        LoadHeaderCopy(state.image, copy);
        copy.setText(offset, size, option.value);
        StoreHeaderCopy(copy, state.image);
        return std::nullopt;
    };
}

std::optional<EditError> TimeOut(const EditOption& option, EditState& state) {
    if (Lower(option.value) == "off") {
        return SetHeaderByte(state, header::kTimeOut, 0);
    }
    const auto value = NumberIn(option.value, kTimeOutMin, kTimeOutMax);
    if (!value || *value % kTimeOutStep != 0) {
        return Refuse(option, "off or 30..180 in steps of 10");
    }
    return SetHeaderByte(state, header::kTimeOut, *value);
}

std::optional<EditError> PickChannel(const EditOption& option, EditState& state) {
    const auto value = NumberIn(option.value, 1, kChannelCount);
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
    if (!position && Lower(text) == "off") {
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
    const std::string value = Lower(text);
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
        {"--tot", TimeOut},
        {"--vox", HeaderNumber(header::kVoxLevel, 1, kLevelMax, true, "off or 1..9")},
        {"--squelch", HeaderNumber(header::kSquelchLevel, 1, kLevelMax, false, "1..9")},
        {"--settings-channel",
         HeaderNumber(header::kSettingsChannel, 1, kChannelCount, false, "1..20")},
        {"--language", HeaderNumber(header::kLanguage, 0, kLanguageMax, false, "0 or 1")},
        {"--power", HeaderNumber(header::kTxPower, 0, kPowerMax, false, "0, 1 or 2")},
        {"--scramble", HeaderSwitch(header::kScramble)},
        {"--compand", HeaderSwitch(header::kCompand)},
        {"--serial", HeaderText(header::kSerialNumber, header::kSerialNumberSize, true)},
        {"--user-id", HeaderText(header::kUserId, header::kUserIdSize, false)},
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
