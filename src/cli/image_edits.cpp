#include "cli/image_edits.h"

#include <functional>
#include <limits>
#include <map>

#include "image/header_values.h"
#include "image/visible_text.h"

namespace halyx::cli {
namespace {

struct EditState {
    RadioDocument& document;
    const ToneTable& tones;
    std::optional<int> channel;
    std::vector<std::string>* corrections = nullptr;
};

using EditFn = std::function<std::optional<EditError>(const EditOption&, EditState&)>;
using SettingsSetter = SetResult (CommonSettings::*)(int);

EditError Refuse(const EditOption& option, std::string allowed) {
    return {option.name, option.value, std::move(allowed)};
}

// Runs one settings setter through the document, as the settings panel does.
std::optional<EditError> EditSettings(const EditOption& option, EditState& state,
                                      const std::function<SetResult(CommonSettings&)>& set) {
    SetResult result;
    state.document.EditSettings([&](CommonSettings& settings) { result = set(settings); });
    if (!result) {
        return Refuse(option, result.allowed);
    }
    return std::nullopt;
}

// A number the setter judges; a text that is no number gets the setter's own refusal.
EditFn SettingsNumber(SettingsSetter setter) {
    return [=](const EditOption& option, EditState& state) {
        const auto value = ParseNumberIn(option.value, 0, std::numeric_limits<int>::max());
        return EditSettings(option, state, [&](CommonSettings& settings) {
            return (settings.*setter)(value.value_or(-1));
        });
    };
}

// A setting whose text (with its "off" word) is read as the fleet's overrides file reads it.
EditFn SettingsValue(SettingsSetter setter, std::optional<std::uint8_t> (*parse)(std::string_view),
                     std::string_view allowed) {
    return [=](const EditOption& option, EditState& state) -> std::optional<EditError> {
        const auto value = parse(option.value);
        if (!value) {
            return Refuse(option, std::string(allowed));
        }
        return EditSettings(option, state,
                            [&](CommonSettings& settings) { return (settings.*setter)(*value); });
    };
}

EditFn SettingsSwitch(void (CommonSettings::*setter)(bool)) {
    return [=](const EditOption& option, EditState& state) -> std::optional<EditError> {
        const std::string value = LowerAscii(option.value);
        if (value != "on" && value != "off") {
            return Refuse(option, "on or off");
        }
        return EditSettings(option, state, [&](CommonSettings& settings) {
            (settings.*setter)(value == "on");
            return SetResult::Accepted();
        });
    };
}

// A text setting; `typeable` is the rule for what a user may type (none: any text).
EditFn SettingsText(SetResult (CommonSettings::*setter)(std::string_view),
                    bool (*typeable)(std::string_view) = nullptr,
                    std::string (*allowed)() = nullptr) {
    return [=](const EditOption& option, EditState& state) -> std::optional<EditError> {
        if (typeable && !typeable(option.value)) {
            return Refuse(option, allowed());
        }
        return EditSettings(option, state, [&](CommonSettings& settings) {
            return (settings.*setter)(option.value);
        });
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

// A channel edit: the text is turned into a setter call on the chosen channel, in the document.
EditFn ChannelEdit(std::function<SetResult(const std::string&, const ToneTable&, Channel&)> set) {
    return [set](const EditOption& option, EditState& state) -> std::optional<EditError> {
        if (!state.channel) {
            return Refuse(option, "a value after --channel N");
        }
        SetResult result;
        state.document.EditChannel(*state.channel, [&](Channel& channel) {
            result = set(option.value, state.tones, channel);
        });
        if (!result) {
            return Refuse(option, result.allowed);
        }
        return std::nullopt;
    };
}

std::string_view CorrectionReason(FrequencyFix fix) {
    switch (fix) {
        case FrequencyFix::ClampedAbove:
            return "above the band";
        case FrequencyFix::ClampedBelow:
            return "below the band";
        case FrequencyFix::MovedToStep:
            return "moved onto the channel step";
        case FrequencyFix::Unchanged:
        case FrequencyFix::Emptied:
            break;
    }
    return {};
}

// Frequencies are never refused: the channel corrects them in place, as the grid does, and what
// it stored instead of what was given is told.
EditFn FrequencyEdit(bool receive) {
    return [receive](const EditOption& option, EditState& state) -> std::optional<EditError> {
        if (!state.channel) {
            return Refuse(option, "a value after --channel N");
        }
        FrequencyCorrection corrected;
        state.document.EditChannel(*state.channel, [&](Channel& channel) {
            corrected = receive ? channel.SetRxFrequency(option.value)
                                : channel.SetTxFrequency(option.value);
        });
        const std::string_view reason = CorrectionReason(corrected.fix);
        if (!reason.empty() && state.corrections != nullptr) {
            state.corrections->push_back(option.name + " '" + VisibleText(option.value) +
                                         "' on channel " + std::to_string(*state.channel) +
                                         ": stored " + corrected.stored + ", " +
                                         std::string(reason));
        }
        return std::nullopt;
    };
}

SetResult Tone(const std::string& text, const ToneTable& tones, Channel& channel, bool receive) {
    std::optional<std::size_t> position = tones.find(text);
    if (!position && LowerAscii(text) == "off") {
        position = 0;
    }
    if (!position) {
        return SetResult::Refused(std::string(kToneAllowed));
    }
    const auto byte = static_cast<std::uint8_t>(*position);
    return receive ? channel.SetRxTone(byte) : channel.SetTxTone(byte);
}

SetResult Bandwidth(const std::string& text, const ToneTable&, Channel& channel) {
    const std::string value = LowerAscii(text);
    if (value != "12.5k" && value != "25k") {
        return SetResult::Refused(std::string(kBandwidthAllowed));
    }
    return channel.SetBandwidth(value == "25k" ? Channel::kWide : Channel::kNarrow);
}

const std::map<std::string, EditFn>& Handlers() {
    using namespace std::placeholders;
    using S = CommonSettings;
    static const std::map<std::string, EditFn> handlers = {
        {"--channel", PickChannel},
        {"--rx", FrequencyEdit(true)},
        {"--tx", FrequencyEdit(false)},
        {"--rx-tone", ChannelEdit(std::bind(Tone, _1, _2, _3, true))},
        {"--tx-tone", ChannelEdit(std::bind(Tone, _1, _2, _3, false))},
        {"--bandwidth", ChannelEdit(Bandwidth)},
        {"--tot", SettingsValue(&S::SetTimeOut, ParseTimeOutValue, kTimeOutAllowed)},
        {"--vox", SettingsValue(&S::SetVoxLevel, ParseVoxValue, kVoxAllowed)},
        {"--squelch", SettingsValue(&S::SetSquelchLevel, ParseSquelchValue, kSquelchAllowed)},
        {"--settings-channel", SettingsNumber(&S::SetSettingsChannel)},
        {"--language", SettingsNumber(&S::SetLanguage)},
        {"--power", SettingsValue(&S::SetTxPower, ParsePowerValue, kPowerAllowed)},
        {"--scramble", SettingsSwitch(&S::SetScramble)},
        {"--compand", SettingsSwitch(&S::SetCompand)},
        {"--serial", SettingsText(&S::SetSerialNumber, IsSerialNumberValue, SerialNumberAllowed)},
        {"--user-id", SettingsText(&S::SetUserId)},
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
                                    RadioDocument& document,
                                    std::vector<std::string>* corrections) {
    EditState state{document, tones, std::nullopt, corrections};
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

std::optional<EditError> ApplyEdits(const std::vector<EditOption>& edits, const ToneTable& tones,
                                    RadioImage& image) {
    RadioDocument document(image);
    auto error = ApplyEdits(edits, tones, document);
    image = document.image();
    return error;
}

std::string DescribeEditError(const EditError& error) {
    // The value is the user's, or a file's: shown with its control characters made visible.
    return error.option + ": '" + VisibleText(error.value) + "' is not allowed; use " +
           error.allowed;
}

}  // namespace halyx::cli
