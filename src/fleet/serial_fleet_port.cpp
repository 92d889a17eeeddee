#include "fleet/serial_fleet_port.h"

#include <utility>

namespace halyx {

SerialFleetPort::SerialFleetPort(std::string devicePath, TrafficLog* log)
    : devicePath_(std::move(devicePath)),
      log_(log),
      // Opened by device path only, so the port never looks a number up in the setting file.
      port_(log, [](int) { return std::string(); }) {}

bool SerialFleetPort::Open(SerialByteReceiver& receiver) {
    return port_.OpenDevice(&receiver, devicePath_, 0) && port_.StartWorker();
}

}  // namespace halyx
