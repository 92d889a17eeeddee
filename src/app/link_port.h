#pragma once

#include <string>

namespace halyx {

struct AppContext;

// The windows' serial line: opened on the setting file's port with the link's fixed line
// settings (9600 baud, 8 data bits, no parity, one stop bit), through the context's runner, so a
// test's in-process radio stands in wherever it was put.

// Reads "port"/"com" from the setting file and opens the runner's port on it. Every window that
// opens the port goes through here.
bool OpenLinkPort(AppContext& context);
// Whether the runner's port is open; windows open it only while it is not. A port whose device
// went away has closed itself, so the next read or write opens it again.
bool LinkPortOpen(const AppContext& context);
void CloseLinkPort(AppContext& context);

// The cause of the port's last failed open in the current language, for the detail text of the
// port-open error box; empty when the port gave none.
std::string PortOpenFailureDetail(const AppContext& context);
// "Likely cause: ..." from the port doctor's checks of the port's device, in the current language;
// empty when the checks find nothing or the line is on another machine.
std::string LikelyCauseLine(const AppContext& context);

}  // namespace halyx
