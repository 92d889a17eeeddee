#include "link/network_address.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace halyx {
namespace {

constexpr unsigned kHighestTcpPort = 65535;

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

bool ValidHostName(std::string_view host) {
    return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '.' || c == '-' || c == '_';
    });
}

bool ValidIpv6(std::string_view host) {
    return !host.empty() && std::all_of(host.begin(), host.end(), [](char c) {
        return std::isxdigit(static_cast<unsigned char>(c)) != 0 || c == ':' || c == '.';
    });
}

}  // namespace

bool HasNetworkScheme(std::string_view text) {
    return StartsWithNoCase(text, kRawTcpScheme) || StartsWithNoCase(text, kComPortScheme);
}

std::optional<NetworkAddress> ParseNetworkAddress(std::string_view text) {
    NetworkAddress address;
    if (StartsWithNoCase(text, kComPortScheme)) {
        address.kind = NetworkAddress::Kind::ComPort;
        text.remove_prefix(kComPortScheme.size());
    } else if (StartsWithNoCase(text, kRawTcpScheme)) {
        address.kind = NetworkAddress::Kind::RawTcp;
        text.remove_prefix(kRawTcpScheme.size());
    } else {
        return std::nullopt;
    }
    if (!text.empty() && text.back() == '/') {
        text.remove_suffix(1);  // "tcp://host:4001/" as a browser would write it
    }
    std::string_view portText;
    if (!text.empty() && text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos || close + 1 >= text.size() || text[close + 1] != ':' ||
            !ValidIpv6(text.substr(1, close - 1))) {
            return std::nullopt;
        }
        address.host = std::string(text.substr(1, close - 1));
        portText = text.substr(close + 2);
    } else {
        const std::size_t colon = text.rfind(':');
        if (colon == std::string_view::npos || !ValidHostName(text.substr(0, colon))) {
            return std::nullopt;
        }
        address.host = std::string(text.substr(0, colon));
        portText = text.substr(colon + 1);
    }
    unsigned port = 0;
    const char* end = portText.data() + portText.size();
    const auto [next, error] = std::from_chars(portText.data(), end, port);
    if (portText.empty() || error != std::errc() || next != end || port == 0 ||
        port > kHighestTcpPort) {
        return std::nullopt;
    }
    address.port = static_cast<std::uint16_t>(port);
    return address;
}

std::string NetworkAddressText(const NetworkAddress& address) {
    const bool ipv6 = address.host.find(':') != std::string::npos;
    const std::string host = ipv6 ? "[" + address.host + "]" : address.host;
    const std::string_view scheme =
        address.kind == NetworkAddress::Kind::ComPort ? kComPortScheme : kRawTcpScheme;
    return std::string(scheme) + host + ":" + std::to_string(address.port);
}

}  // namespace halyx
