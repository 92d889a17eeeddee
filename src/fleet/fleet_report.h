#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "image/header_text.h"
#include "image/radio_image.h"

namespace halyx {

// How one radio of a fleet run ended. The names are what reports and the audit log carry.
enum class FleetResult {
    Success,          // read (and, when writing, written and verified equal)
    LinkFailure,      // a step failed three times
    ReadBackDiffers,  // written, but the records read back differ from what was sent
    PortError,        // the port could not be opened, or went away during the run
    BackupError,      // the radio was read but its backup could not be saved; nothing was written
    Cancelled,        // stopped by the user before it ended
    OtherBand,        // the radio is built for the other band than the image; nothing was written
};

std::string_view FleetResultName(FleetResult result);

// Values a radio gets in place of the fleet image's, already checked by whoever read them.
struct RadioOverrides {
    std::optional<std::string> serialNumber;  // at most 10 characters
    std::optional<std::string> userId;        // at most 6 characters
    std::optional<std::uint8_t> squelchLevel;
    std::optional<std::uint8_t> timeOut;
    std::optional<std::uint8_t> voxLevel;
    std::optional<std::uint8_t> txPower;

    bool empty() const {
        return !serialNumber && !userId && !squelchLevel && !timeOut && !voxLevel && !txPower;
    }
};

// Milliseconds spent in each phase; zero for a phase that did not run.
struct FleetPhaseTimes {
    std::int64_t open = 0;
    std::int64_t read = 0;
    std::int64_t backup = 0;
    std::int64_t write = 0;  // includes the pause before the read-back
    std::int64_t verify = 0;
};

// Everything known about one radio at the end of a run.
struct FleetRadioReport {
    std::string portName;    // as the user named it ("COM3", or a device path)
    std::string devicePath;  // what was opened
    std::string serialBefore;
    std::string serialAfter;  // empty when nothing was written
    std::string userIdBefore;
    std::string userIdAfter;
    FleetResult result = FleetResult::Cancelled;
    // A link failure while the image was going out: the radio refused a block (it answered the
    // read, so it was there), not a radio that never answered.
    bool writeRefused = false;
    std::string message;
    FleetPhaseTimes times;
    std::int64_t durationMs = 0;
    std::string backupPath;  // empty when no backup was made
    std::optional<RadioImage> imageRead;
    std::optional<RadioImage> imageWritten;
};

// The image one radio of a fleet gets: the fleet image, keeping the radio's own serial number and
// user ID (from what was read from it) unless the overrides give new ones, then the other
// overrides. Only header bytes differ from the fleet image.
RadioImage BuildRadioImage(const RadioImage& fleetImage, const RadioImage& radioRead,
                           const RadioOverrides& overrides);

}  // namespace halyx
