#include "cli/write_checks.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <string_view>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/operation_log.h"
#include "link/radio_read_exchange.h"

namespace halyx::cli {

std::variant<RadioBeforeWrite, int> ReadBeforeWrite(
    RadioSession& session, const PortText& port, const RadioImage& toWrite,
    const std::function<int(ExchangeResult)>& statusOf) {
    const OperationLog record("read", port, true);
    RadioBeforeWrite before{toWrite, {}};
    RadioReadExchange exchange(session.link(), before.image, session.runner());
    const ExchangeResult result = session.Run(exchange);
    if (session.stopped()) {
        record.Record("cancelled");
        PrintError("write: nothing was written");
        return session.StoppedStatus();
    }
    const bool read = result == ExchangeResult::Success && !session.portLost();
    const OperationRecord kept = record.Record(OperationLog::ResultName(result, session.portLost()),
                                               read ? &before.image : nullptr);
    if (!read) {
        const int status = statusOf(result);
        PrintError("write: nothing was written");
        return status;
    }
    if (!kept.backupError.empty()) {
        // Without a copy of what the radio held, a write that goes wrong could not be undone.
        PrintError("write: no backup of the radio could be kept; nothing was written");
        return kFileError;
    }
    before.backupPath = kept.backupPath;
    return before;
}

void SettleIdentity(const WriteTarget& target, const RadioImage& radio, bool keepIdentity,
                    RadioImage& image) {
    if (!target.identityDiffers) {
        return;
    }
    const IdentityChoice choice =
        keepIdentity ? IdentityChoice::KeepRadios : IdentityChoice::WriteImages;
    image = WithIdentity(image, radio, choice);
    const std::string radios = "'" + target.radioSerial + "' / '" + target.radioUserId + "'";
    const std::string images = "'" + target.imageSerial + "' / '" + target.imageUserId + "'";
    std::cout << (choice == IdentityChoice::KeepRadios
                      ? "serial number / user ID: kept the radio's own " + radios +
                            " (the image has " + images + ")"
                      : "serial number / user ID: wrote the image's " + images +
                            " in place of the radio's " + radios +
                            " (--keep-identity keeps the radio's)")
              << "\n";
}

void ReportPartlyWritten(const std::string& port, const std::string& backupPath) {
    if (backupPath.empty()) {
        PrintError("write: the radio is partly written; no backup was taken before this write");
        return;
    }
    PrintError("write: the radio is partly written; the backup taken before the write is " +
               backupPath + "\nto write it back: halyx-cli write --no-read-first --port " +
               ShellQuoted(port) + " " + ShellQuoted(backupPath));
}

std::string ShellQuoted(const std::string& word) {
    const bool plain = !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 ||
               std::string_view("/._-+:=,@").find(c) != std::string_view::npos;
    });
    if (plain) {
        return word;
    }
    std::string quoted = "'";
    for (const char c : word) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

}  // namespace halyx::cli
