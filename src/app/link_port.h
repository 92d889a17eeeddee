#pragma once

#include <cstdint>
#include <string>

#include "link/port_open_failure.h"

namespace halyx {

struct AppContext;
class SerialByteReceiver;

// The serial line as the windows see it: open on a port number with the link's fixed line
// settings (9600 baud, 8 data bits, no parity, one stop bit) and start receiving, or close.
// The application uses the SerialPort engine; tests put an in-process radio behind it.
class LinkPort {
public:
    virtual ~LinkPort() = default;
    virtual bool Open(int portNumber) = 0;
    // The same line at another rate: the test dialog lets the user pick one. A port that has no
    // rate to set (a test's in-process radio) opens as Open does.
    virtual bool OpenAtBaud(int portNumber, std::uint32_t baudRate) {
        static_cast<void>(baudRate);
        return Open(portNumber);
    }
    virtual void Close() = 0;
    // Why the last open failed; a port with nothing to tell gives cause None.
    virtual PortOpenFailure LastOpenFailure() const { return {}; }
};

// Reads "port"/"com" from the setting file and opens the link port on it, setting the
// port-open flag on success. Every window that opens the port goes through here.
bool OpenLinkPort(AppContext& context);

// Closes the link port and clears the port-open flag.
void CloseLinkPort(AppContext& context);

// The cause of the link port's last failed open in the current language, for the detail text of
// the port-open error box; empty when the port gave none.
std::string PortOpenFailureDetail(const AppContext& context);

}  // namespace halyx
