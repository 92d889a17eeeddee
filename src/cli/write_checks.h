#pragma once

#include <functional>
#include <string>
#include <variant>

#include "cli/radio_session.h"
#include "image/radio_image.h"
#include "image/write_target.h"
#include "link/port_names.h"

namespace halyx::cli {

// What the radio held before a write: read into a buffer of its own and backed up.
struct RadioBeforeWrite {
    RadioImage image;
    std::string backupPath;  // empty when no backup folder is known (no home folder)
};

// Reads the radio on `session` and keeps the read as a backup with its audit line. Bytes a radio
// never sends come from `toWrite`, so the backup opens as a complete image. When the read or its
// backup fails the reason is on standard error and the exit status is returned (`statusOf` for a
// failed exchange): nothing may be written then.
std::variant<RadioBeforeWrite, int> ReadBeforeWrite(
    RadioSession& session, const PortText& port, const RadioImage& toWrite,
    const std::function<int(ExchangeResult)>& statusOf);

// Makes `image` carry the radio's serial number and user ID (`keepIdentity`) or keep its own,
// and says on standard output which went out; nothing when they are the same.
void SettleIdentity(const WriteTarget& target, const RadioImage& radio, bool keepIdentity,
                    RadioImage& image);

// Says the radio is partly written and, with a backup, prints the one command that writes it
// back on `port` (as the user gave it).
void ReportPartlyWritten(const std::string& port, const std::string& backupPath);

// A word the shell takes as it is: anything but plain path characters goes in single quotes.
std::string ShellQuoted(const std::string& word);

}  // namespace halyx::cli
