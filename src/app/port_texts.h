#pragma once

#include "settings/text_key.h"

namespace halyx {

// Texts of the port doctor and of the cable lists in the port dialogs, with the English shown
// when a language file predates them.
namespace port_text {
inline constexpr TextKey kMenuDoctor{"S0294", "Port &doctor..."};
inline constexpr TextKey kDoctorTitle{"S0295", "Port doctor"};
inline constexpr TextKey kCheckAgain{"S0296", "Check again"};
inline constexpr TextKey kSelfTest{"S0297", "Cable self-test"};
inline constexpr TextKey kClose{"S0298", "Close"};
inline constexpr TextKey kCheck{"S0299", "Check"};
inline constexpr TextKey kResult{"S0300", "Result"};
inline constexpr TextKey kFinding{"S0301", "Finding"};
inline constexpr TextKey kFix{"S0302", "What to do"};
inline constexpr TextKey kCables{"S0303", "Cables on this computer"};
inline constexpr TextKey kPort{"S0304", "Port"};
inline constexpr TextKey kDevice{"S0305", "Device"};
inline constexpr TextKey kUsbId{"S0306", "USB id"};
inline constexpr TextKey kChip{"S0307", "Chip"};
inline constexpr TextKey kDescription{"S0308", "Description"};
inline constexpr TextKey kNew{"S0309", "new"};
inline constexpr TextKey kNetworkAddress{"S0310",
                                         "Network address of the chosen port (empty for a cable):"};
inline constexpr TextKey kNotNetworkAddress{
    "S0311", "%1 is not a network address; use rfc2217://HOST:PORT or tcp://HOST:PORT."};
inline constexpr TextKey kLikelyCause{"S0312", "Likely cause: %1"};
inline constexpr TextKey kSelfTestAsk{
    "S0313",
    "Join the cable's TX and RX (or fit its loopback plug), then choose Yes to send the "
    "test pattern."};
inline constexpr TextKey kPortToCheck{"S0314", "Port to check:"};
}  // namespace port_text

}  // namespace halyx
