#include "radiosim/com_port_server.h"

namespace halyx {
namespace {

using namespace telnet;

// The option's reply to a client command carries the command's code plus this.
constexpr std::uint8_t kServerReplyOffset = 100;
constexpr std::uint8_t kHighestClientCommand = 12;

void Append(std::vector<std::uint8_t>& to, const std::vector<std::uint8_t>& bytes) {
    to.insert(to.end(), bytes.begin(), bytes.end());
}

// Agrees to an option once; a repeated request is already answered, which keeps the talk from
// looping.
void Agree(bool& agreed, std::uint8_t verb, std::uint8_t option, std::vector<std::uint8_t>& reply) {
    if (!agreed) {
        agreed = true;
        Append(reply, OptionCommand(verb, option));
    }
}

void Withdraw(bool& agreed, std::uint8_t verb, std::uint8_t option,
              std::vector<std::uint8_t>& reply) {
    if (agreed) {
        agreed = false;
        Append(reply, OptionCommand(verb, option));
    }
}

}  // namespace

ComPortServer::Output ComPortServer::Feed(const std::uint8_t* bytes, std::size_t count) {
    TelnetInput input = reader_.Feed(bytes, count);
    Output out;
    out.data = std::move(input.data);
    for (const TelnetEvent& event : input.events) {
        if (event.kind == TelnetEvent::Kind::Option) {
            OnOption(event.verb, event.option, out.reply);
        } else if (event.option == kOptionComPort && comPort_ && !event.payload.empty() &&
                   event.payload[0] <= kHighestClientCommand) {
            std::vector<std::uint8_t> answer = event.payload;
            answer[0] = static_cast<std::uint8_t>(answer[0] + kServerReplyOffset);
            Append(out.reply, SubNegotiation(kOptionComPort, answer));
        }
    }
    return out;
}

void ComPortServer::OnOption(std::uint8_t verb, std::uint8_t option,
                             std::vector<std::uint8_t>& reply) {
    if (option == kOptionBinary) {
        if (verb == kWill) {
            Agree(binaryIn_, kDo, option, reply);
        } else if (verb == kDo) {
            Agree(binaryOut_, kWill, option, reply);
        } else if (verb == kWont) {
            Withdraw(binaryIn_, kDont, option, reply);
        } else {
            Withdraw(binaryOut_, kWont, option, reply);
        }
        return;
    }
    if (option == kOptionComPort && verb == kWill) {
        Agree(comPort_, kDo, option, reply);
        return;
    }
    if (option == kOptionComPort && verb == kWont) {
        Withdraw(comPort_, kDont, option, reply);
        return;
    }
    if (verb == kWill) {
        Append(reply, OptionCommand(kDont, option));
    } else if (verb == kDo) {
        Append(reply, OptionCommand(kWont, option));
    }
}

}  // namespace halyx
