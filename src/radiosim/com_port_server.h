#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "link/telnet_codec.h"

namespace halyx {

// The server side of a Telnet serial line, just enough for a COM-PORT client: binary
// transmission both ways and the port option are agreed to, every line setting is confirmed as
// asked (a simulated line runs at whatever it is told), and everything else is declined.
class ComPortServer {
public:
    struct Output {
        std::vector<std::uint8_t> data;   // line data from the client, unescaped
        std::vector<std::uint8_t> reply;  // to send back now
    };
    Output Feed(const std::uint8_t* bytes, std::size_t count);

    // Line data for the client, escaped.
    static std::vector<std::uint8_t> Encode(const std::uint8_t* bytes, std::size_t count) {
        return telnet::EscapeData(bytes, count);
    }

private:
    void OnOption(std::uint8_t verb, std::uint8_t option, std::vector<std::uint8_t>& reply);

    telnet::TelnetReader reader_;
    bool binaryIn_ = false;   // we said DO BINARY
    bool binaryOut_ = false;  // we said WILL BINARY
    bool comPort_ = false;    // we said DO COM-PORT-OPTION
};

}  // namespace halyx
