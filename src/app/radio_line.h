#pragma once

#include <string>

#include "link/exchange_runner.h"
#include "link/port_names.h"
#include "link/serial_port.h"
#include "link/traffic_log.h"

namespace halyx {

class ProfileFile;
class TextSource;

// The serial line the windows share: the traffic log, the serial port on the setting file's port
// (COMn through the setting file's "devices" section first, then the system's port listing) and
// the exchange runner every window's exchange runs on. The line opens with the link's fixed
// settings (9600 baud, 8 data bits, no parity, one stop bit). Opening, closing and asking go
// through the runner's port, so an in-process radio a test put there (`runner().SetPort`) stands
// in everywhere.
class RadioLine {
public:
    // `settingFile` must outlive the line.
    explicit RadioLine(const ProfileFile& settingFile);
    ~RadioLine();
    RadioLine(const RadioLine&) = delete;
    RadioLine& operator=(const RadioLine&) = delete;

    TrafficLog& trafficLog() { return trafficLog_; }
    SerialPort& serialPort() { return serialPort_; }
    ExchangeRunner& runner() { return runner_; }
    const ExchangeRunner& runner() const { return runner_; }

    // The setting file's "port"/"com"; 0 means none has been chosen yet.
    int PortNumber() const;
    // The setting file's "devices" section, read at each call.
    DeviceMapping Devices() const;
    // Opens the runner's port on PortNumber(). Every window that opens the line goes through here.
    bool Open();
    // Whether the runner's port is open; windows open it only while it is not. A port whose
    // device went away has closed itself, so the next read or write opens it again.
    bool IsOpen() const;
    void Close();

    // The cause of the port's last failed open in the texts' language, for the detail text of
    // the port-open error box; empty when the port gave none.
    std::string OpenFailureDetail(const TextSource& texts) const;
    // "Likely cause: ..." from the port doctor's checks of the port's device, in the texts'
    // language; empty when the checks find nothing or the line is on another machine.
    std::string LikelyCauseLine(const TextSource& texts) const;

private:
    const ProfileFile& settingFile_;
    // Declared before the port, which logs into it; the port before the runner, which uses it.
    TrafficLog trafficLog_;
    SerialPort serialPort_;
    ExchangeRunner runner_;
};

}  // namespace halyx
