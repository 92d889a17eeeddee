#pragma once

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
    virtual void Close() = 0;
};

// Reads "port"/"com" from the setting file and opens the link port on it, setting the
// port-open flag on success. Every window that opens the port goes through here.
bool OpenLinkPort(AppContext& context);

// Closes the link port and clears the port-open flag.
void CloseLinkPort(AppContext& context);

}  // namespace halyx
