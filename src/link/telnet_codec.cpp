#include "link/telnet_codec.h"

namespace halyx::telnet {

std::vector<std::uint8_t> EscapeData(const std::uint8_t* bytes, std::size_t count) {
    std::vector<std::uint8_t> out;
    out.reserve(count + count / 8);
    for (std::size_t i = 0; i < count; ++i) {
        out.push_back(bytes[i]);
        if (bytes[i] == kIac) {
            out.push_back(kIac);
        }
    }
    return out;
}

std::vector<std::uint8_t> OptionCommand(std::uint8_t verb, std::uint8_t option) {
    return {kIac, verb, option};
}

std::vector<std::uint8_t> SubNegotiation(std::uint8_t option,
                                         const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> out{kIac, kSb, option};
    const std::vector<std::uint8_t> escaped = EscapeData(payload.data(), payload.size());
    out.insert(out.end(), escaped.begin(), escaped.end());
    out.push_back(kIac);
    out.push_back(kSe);
    return out;
}

TelnetInput TelnetReader::Feed(const std::uint8_t* bytes, std::size_t count) {
    TelnetInput input;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t byte = bytes[i];
        switch (state_) {
            case State::Data:
                if (byte == kIac) {
                    state_ = State::Command;
                } else {
                    input.data.push_back(byte);
                }
                break;
            case State::Command:
                if (byte == kIac) {
                    input.data.push_back(kIac);
                    state_ = State::Data;
                } else if (byte >= kWill && byte <= kDont) {
                    verb_ = byte;
                    state_ = State::Option;
                } else if (byte == kSb) {
                    sub_ = TelnetEvent{TelnetEvent::Kind::Sub, kSb, 0, {}};
                    state_ = State::Sub;
                } else {
                    state_ = State::Data;  // a command without an option
                }
                break;
            case State::Option:
                input.events.push_back({TelnetEvent::Kind::Option, verb_, byte, {}});
                state_ = State::Data;
                break;
            case State::Sub:
                if (byte == kIac) {
                    state_ = State::SubCommand;
                } else if (sub_.verb == kSb) {
                    sub_.option = byte;  // the first byte names the option
                    sub_.verb = 0;
                } else if (sub_.payload.size() < kMaxSubLength) {
                    sub_.payload.push_back(byte);
                }
                break;
            case State::SubCommand:
                if (byte == kIac) {
                    if (sub_.payload.size() < kMaxSubLength) {
                        sub_.payload.push_back(kIac);
                    }
                    state_ = State::Sub;
                } else {
                    // IAC SE ends it; any other command ends a sub-negotiation that lost its end.
                    sub_.verb = 0;
                    input.events.push_back(std::move(sub_));
                    sub_ = {};
                    state_ = State::Data;
                }
                break;
        }
    }
    return input;
}

}  // namespace halyx::telnet
