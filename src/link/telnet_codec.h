#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace halyx::telnet {

// The Telnet bytes a serial line over the network is framed with. Data travels as it is except
// 0xFF, which is the command escape and goes doubled; commands and option talk ride in between.
inline constexpr std::uint8_t kIac = 255;
inline constexpr std::uint8_t kDont = 254;
inline constexpr std::uint8_t kDo = 253;
inline constexpr std::uint8_t kWont = 252;
inline constexpr std::uint8_t kWill = 251;
inline constexpr std::uint8_t kSb = 250;  // sub-negotiation begins
inline constexpr std::uint8_t kSe = 240;  // sub-negotiation ends

inline constexpr std::uint8_t kOptionBinary = 0;
inline constexpr std::uint8_t kOptionComPort = 44;

// `bytes` as Telnet data: every 0xFF doubled, nothing else touched.
std::vector<std::uint8_t> EscapeData(const std::uint8_t* bytes, std::size_t count);
// One option verb: IAC verb option.
std::vector<std::uint8_t> OptionCommand(std::uint8_t verb, std::uint8_t option);
// One sub-negotiation: IAC SB option payload IAC SE, with 0xFF in the payload doubled.
std::vector<std::uint8_t> SubNegotiation(std::uint8_t option,
                                         const std::vector<std::uint8_t>& payload);

// What a received stretch of Telnet bytes holds: the data, the option verbs and the
// sub-negotiations, each in arrival order.
struct TelnetEvent {
    enum class Kind { Option, Sub };
    Kind kind = Kind::Option;
    std::uint8_t verb = 0;  // Option: kWill, kWont, kDo or kDont
    std::uint8_t option = 0;
    std::vector<std::uint8_t> payload;  // Sub: the bytes between the option and IAC SE
};

struct TelnetInput {
    std::vector<std::uint8_t> data;
    std::vector<TelnetEvent> events;
};

// Splits a Telnet byte stream into data and commands. Its state survives between calls, so a
// command or an escaped 0xFF cut in two by the network is still recognised whole. Other commands
// (NOP, GA, BRK, ...) carry nothing a serial line needs and are dropped.
class TelnetReader {
public:
    // Longest sub-negotiation kept; a longer one is cut, never allowed to grow without end.
    static constexpr std::size_t kMaxSubLength = 256;

    TelnetInput Feed(const std::uint8_t* bytes, std::size_t count);

private:
    enum class State { Data, Command, Option, Sub, SubCommand };
    State state_ = State::Data;
    std::uint8_t verb_ = 0;
    TelnetEvent sub_;
};

}  // namespace halyx::telnet
