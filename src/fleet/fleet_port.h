#pragma once

#include <string>

#include "fleet/fleet_report.h"
#include "link/frame_sink.h"
#include "link/serial_byte_receiver.h"

namespace halyx {

class TrafficLog;

// One radio's own line, as the fleet engine sees it: a serial port on its own worker in the
// programs, an in-process radio in tests.
class FleetPort {
public:
    virtual ~FleetPort() = default;
    // Opens the line. Received bytes and the loss of the device then reach `receiver` on the
    // engine's thread, one call per byte, in order. False: the port cannot be opened.
    virtual bool Open(SerialByteReceiver& receiver) = 0;
    // Where frames go; drops them while closed.
    virtual FrameSink& sink() = 0;
    virtual void Close() = 0;
    // Where this radio's received frames and exchange marks are logged; null: nowhere.
    virtual TrafficLog* trafficLog() { return nullptr; }
};

struct BackupOutcome {
    std::string path;   // the file written
    std::string error;  // why none was written; empty on success
    bool ok() const { return error.empty(); }
};

// Where a fleet run keeps what it must not lose: each radio's configuration before it is
// changed, and the record of what was done to it.
class FleetRecorder {
public:
    virtual ~FleetRecorder() = default;
    // Saves the image read from a radio. A radio whose backup fails is not written.
    virtual BackupOutcome SaveBackup(const RadioImage& image) = 0;
    // One radio's part of the run has ended (called once per radio, in the order they end).
    virtual void RadioFinished(const FleetRadioReport& report) = 0;
};

}  // namespace halyx
