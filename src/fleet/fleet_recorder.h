#pragma once

#include <string>

#include "fleet/fleet_report.h"

namespace halyx {

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
