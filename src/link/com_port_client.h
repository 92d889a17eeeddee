#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "link/telnet_codec.h"

namespace halyx {

// The client side of a serial line shared over Telnet with the COM-PORT option: it asks for
// binary transmission both ways and for the port option, sets the line (speed, data bits,
// parity, stop bits, no flow control) and waits for the server to confirm each setting. A server
// that declines an option, or confirms a setting other than the one asked for, is refused: a
// radio on a line at another speed or in text mode would only answer with garbage.
//
// Plain bytes in, bytes out: the port feeds it what the network gives and sends what it returns.
class ComPortClient {
public:
    // The line as the option's own codes give it.
    struct Line {
        std::uint32_t baudRate = 9600;
        std::uint8_t dataSize = 8;
        std::uint8_t parity = kParityNone;
        std::uint8_t stopSize = kStopOne;
    };
    static constexpr std::uint8_t kParityNone = 1;
    static constexpr std::uint8_t kParityOdd = 2;
    static constexpr std::uint8_t kParityEven = 3;
    static constexpr std::uint8_t kParityMark = 4;
    static constexpr std::uint8_t kParitySpace = 5;
    static constexpr std::uint8_t kStopOne = 1;
    static constexpr std::uint8_t kStopTwo = 2;
    static constexpr std::uint8_t kStopOneAndHalf = 3;
    static constexpr std::uint8_t kControlNoFlow = 1;

    // The option's commands, client to server; the server confirms with the code plus 100.
    static constexpr std::uint8_t kSetBaudRate = 1;
    static constexpr std::uint8_t kSetDataSize = 2;
    static constexpr std::uint8_t kSetParity = 3;
    static constexpr std::uint8_t kSetStopSize = 4;
    static constexpr std::uint8_t kSetControl = 5;
    static constexpr std::uint8_t kServerReplyOffset = 100;

    enum class State { Negotiating, Ready, Refused };

    explicit ComPortClient(Line line) : line_(line) {}

    // The opening bytes: WILL and DO binary, WILL com-port.
    std::vector<std::uint8_t> Start();

    struct Output {
        std::vector<std::uint8_t> data;   // received line data, unescaped
        std::vector<std::uint8_t> reply;  // to send to the server now
    };
    // Takes bytes from the server. Data that arrives before the line is set up is returned too;
    // the caller decides whether it matters.
    Output Feed(const std::uint8_t* bytes, std::size_t count);

    State state() const { return state_; }
    // Why the server was refused, in plain words; empty unless Refused.
    const std::string& refusal() const { return refusal_; }

private:
    void OnOption(std::uint8_t verb, std::uint8_t option, std::vector<std::uint8_t>& reply);
    void OnComPortReply(const std::vector<std::uint8_t>& payload);
    std::vector<std::uint8_t> LineSettings() const;
    void Refuse(std::string why);
    void CheckReady();

    Line line_;
    telnet::TelnetReader reader_;
    State state_ = State::Negotiating;
    std::string refusal_;
    bool binaryToServer_ = false;    // server said DO BINARY
    bool binaryFromServer_ = false;  // server said WILL BINARY
    bool comPortAccepted_ = false;   // server said DO COM-PORT-OPTION
    bool settingsSent_ = false;
    // Which of the five settings the server has confirmed, by command code.
    std::uint8_t confirmed_ = 0;
};

}  // namespace halyx
