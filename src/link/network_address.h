#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace halyx {

// A serial line on another machine, named as a URL wherever a port is named:
//   rfc2217://HOST:PORT  a Telnet server with the COM-PORT option (ser2net's telnet(rfc2217)
//                        accepter): the line is set to 9600 8N1 from here;
//   tcp://HOST:PORT      raw bytes; the far end must already run its line at 9600 8N1.
// HOST is a name, an IPv4 address or an IPv6 address in brackets ([::1]).
struct NetworkAddress {
    enum class Kind { RawTcp, ComPort };
    Kind kind = Kind::RawTcp;
    std::string host;
    std::uint16_t port = 0;
};

inline constexpr std::string_view kRawTcpScheme = "tcp://";
inline constexpr std::string_view kComPortScheme = "rfc2217://";

// Whether `text` starts with one of the two schemes (any case), so that it is meant as a
// network address and must parse as one rather than be taken for a device path.
bool HasNetworkScheme(std::string_view text);
// The address, or nothing when the text is not a complete one (scheme, host and a port 1..65535,
// nothing after the port).
std::optional<NetworkAddress> ParseNetworkAddress(std::string_view text);
// The address as it is written: "rfc2217://host:4001".
std::string NetworkAddressText(const NetworkAddress& address);

}  // namespace halyx
