#include "link/com_port_client.h"

namespace halyx {
namespace {

using namespace telnet;

constexpr std::uint8_t kAllConfirmed = 0x1F;  // one bit per setting, codes 1 to 5

std::uint8_t SettingBit(std::uint8_t code) {
    return static_cast<std::uint8_t>(1u << (code - 1));
}

std::string OptionName(std::uint8_t option) {
    return option == kOptionBinary ? "binary transmission" : "the serial port option";
}

void Append(std::vector<std::uint8_t>& to, const std::vector<std::uint8_t>& bytes) {
    to.insert(to.end(), bytes.begin(), bytes.end());
}

}  // namespace

std::vector<std::uint8_t> ComPortClient::Start() {
    std::vector<std::uint8_t> out;
    Append(out, OptionCommand(kWill, kOptionBinary));
    Append(out, OptionCommand(kDo, kOptionBinary));
    Append(out, OptionCommand(kWill, kOptionComPort));
    return out;
}

ComPortClient::Output ComPortClient::Feed(const std::uint8_t* bytes, std::size_t count) {
    TelnetInput input = reader_.Feed(bytes, count);
    Output out;
    out.data = std::move(input.data);
    for (const TelnetEvent& event : input.events) {
        if (event.kind == TelnetEvent::Kind::Option) {
            OnOption(event.verb, event.option, out.reply);
        } else if (event.option == kOptionComPort) {
            OnComPortReply(event.payload);
        }
    }
    if (comPortAccepted_ && !settingsSent_ && state_ != State::Refused) {
        settingsSent_ = true;
        Append(out.reply, LineSettings());
    }
    CheckReady();
    return out;
}

void ComPortClient::OnOption(std::uint8_t verb, std::uint8_t option,
                             std::vector<std::uint8_t>& reply) {
    const bool ours = option == kOptionBinary || option == kOptionComPort;
    if (!ours) {
        // Anything else the server offers or asks for is declined; declining is always allowed
        // and never answered, so the talk cannot loop.
        if (verb == kWill) {
            Append(reply, OptionCommand(kDont, option));
        } else if (verb == kDo) {
            Append(reply, OptionCommand(kWont, option));
        }
        return;
    }
    switch (verb) {
        case kDo:
            if (option == kOptionBinary) {
                binaryToServer_ = true;
            } else {
                comPortAccepted_ = true;
            }
            break;
        case kWill:
            if (option == kOptionBinary) {
                binaryFromServer_ = true;
            } else {
                // The port option is the client's to offer; a server offering it is declined.
                Append(reply, OptionCommand(kDont, option));
            }
            break;
        case kDont:
            if (option == kOptionComPort || option == kOptionBinary) {
                Refuse("the server declines " + OptionName(option));
            }
            break;
        case kWont:
            if (option == kOptionBinary) {
                Refuse("the server declines " + OptionName(option));
            }
            break;
        default:
            break;
    }
}

void ComPortClient::OnComPortReply(const std::vector<std::uint8_t>& payload) {
    if (payload.empty() || payload[0] <= kServerReplyOffset) {
        return;
    }
    const std::uint8_t code = static_cast<std::uint8_t>(payload[0] - kServerReplyOffset);
    const std::size_t valueSize = payload.size() - 1;
    const std::uint8_t* value = payload.data() + 1;
    bool matches = true;
    std::string what;
    switch (code) {
        case kSetBaudRate: {
            std::uint32_t baud = 0;
            for (std::size_t i = 0; i < valueSize && i < 4; ++i) {
                baud = (baud << 8) | value[i];
            }
            matches = valueSize == 4 && baud == line_.baudRate;
            what = "the line speed (" + std::to_string(baud) + " baud instead of " +
                   std::to_string(line_.baudRate) + ")";
            break;
        }
        case kSetDataSize:
            matches = valueSize == 1 && value[0] == line_.dataSize;
            what = "the data bits";
            break;
        case kSetParity:
            matches = valueSize == 1 && value[0] == line_.parity;
            what = "the parity";
            break;
        case kSetStopSize:
            matches = valueSize == 1 && value[0] == line_.stopSize;
            what = "the stop bits";
            break;
        case kSetControl:
            matches = valueSize == 1 && value[0] == kControlNoFlow;
            what = "flow control off";
            break;
        default:
            return;  // line and modem state notices and the like: nothing the link needs
    }
    if (!matches) {
        Refuse("the server does not take " + what);
        return;
    }
    confirmed_ |= SettingBit(code);
}

std::vector<std::uint8_t> ComPortClient::LineSettings() const {
    std::vector<std::uint8_t> out;
    const std::uint32_t baud = line_.baudRate;
    Append(out, SubNegotiation(kOptionComPort, {kSetBaudRate, static_cast<std::uint8_t>(baud >> 24),
                                                static_cast<std::uint8_t>(baud >> 16),
                                                static_cast<std::uint8_t>(baud >> 8),
                                                static_cast<std::uint8_t>(baud)}));
    Append(out, SubNegotiation(kOptionComPort, {kSetDataSize, line_.dataSize}));
    Append(out, SubNegotiation(kOptionComPort, {kSetParity, line_.parity}));
    Append(out, SubNegotiation(kOptionComPort, {kSetStopSize, line_.stopSize}));
    Append(out, SubNegotiation(kOptionComPort, {kSetControl, kControlNoFlow}));
    return out;
}

void ComPortClient::Refuse(std::string why) {
    if (state_ != State::Refused) {
        state_ = State::Refused;
        refusal_ = std::move(why);
    }
}

void ComPortClient::CheckReady() {
    if (state_ == State::Negotiating && binaryToServer_ && binaryFromServer_ && comPortAccepted_ &&
        confirmed_ == kAllConfirmed) {
        state_ = State::Ready;
    }
}

}  // namespace halyx
