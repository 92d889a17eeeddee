#pragma once

#include <chrono>
#include <string>

#include "history/operation_record.h"
#include "image/radio_image.h"
#include "link/exchange.h"
#include "link/port_names.h"

namespace halyx::cli {

// What one radio command leaves behind: the backup of what it read and its audit line, timed from
// construction (just before the port is opened) to Record.
class OperationLog {
public:
    OperationLog(std::string operation, const PortText& port, bool backup);

    // Keeps the operation; problems keeping it are warnings on standard error, never a change of
    // the command's exit status: the radio work itself is done. What was kept is returned, so a
    // write that must not go on without a backup can tell.
    OperationRecord Record(const std::string& result, const RadioImage* read = nullptr,
                           const RadioImage* written = nullptr) const;

    static std::string ResultName(ExchangeResult result, bool portLost);

private:
    std::string operation_;
    std::string portName_;
    std::string devicePath_;
    bool backup_;
    std::chrono::steady_clock::time_point started_;
};

}  // namespace halyx::cli
