// halyx-cli: the radio image on the command line, with the same codecs and rules as the window.
#include <QCoreApplication>
#include <iostream>
#include <map>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "version/halyx_version.h"

namespace halyx::cli {

void PrintError(const std::string& message) {
    std::cerr << "halyx-cli: " << message << "\n";
}

namespace {

constexpr const char* kHelp = R"(usage: halyx-cli COMMAND ...
       halyx-cli --version

Image files (offline):
  show IMAGE.kda [--json]           common settings and the 20 channels as the main window shows them
  set IMAGE.kda [-o OUT.kda] EDIT...
      --channel N                   channel (1..20) for the channel edits that follow
      --rx TEXT                     receive frequency in MHz, as typed into the grid; also sets transmit;
                                    clamped to the band and snapped to the channel step; "" empties the channel
      --tx TEXT                     transmit frequency only
      --rx-tone TONE                receive tone (also sets transmit): off, 67.0 .. 254.1, D023N .. D754N
      --tx-tone TONE                transmit tone only
      --bandwidth 12.5K|25K
      --tot off|30..180             time-out timer in seconds (steps of 10)
      --vox off|1..9   --squelch 1..9   --settings-channel 1..20
      --language 0|1   --power 0|1|2   --scramble on|off   --compand on|off
      --serial TEXT                 serial number: letters, digits and spaces, at most 10
      --user-id TEXT                user ID, at most 6 characters
    Without -o the file is rewritten in place (atomically). Nothing is written if any edit is refused.

Radio (PORT is COMn, n, or a device path such as /dev/ttyUSB0):
  read --port PORT -o OUT.kda [--base IMAGE.kda] [--log FILE]
                                    read the radio; bytes it never sends come from the base image
                                    (default: default.kda in the current directory, else zeros)
  write --port PORT IMAGE.kda [--log FILE]
                                    write the radio, then read it back and compare the channels
  tuning read --port PORT [--baud B] -o VALUES.dat [--log FILE]
  tuning write --port PORT [--baud B] VALUES.dat --image IMAGE.kda [--log FILE]
                                    tuning values, then the image's settings and channels, then the check
  tuning point --port PORT [--baud B] N LOW MID HIGH
                                    send one live test point (B: 9600, 19200, 38400 or 57600)
  Progress goes to standard error; --log writes the traffic log (hex lines) to FILE.

Exit status: 0 done, 1 usage or invalid value, 2 file error, 3 link failure, 4 read-back differs,
5 port cannot be opened.
)";

}  // namespace
}  // namespace halyx::cli

int main(int argc, char** argv) {
    using namespace halyx::cli;
    const Arguments all(argv + 1, argv + argc);
    if (!all.empty() && all[0] == "--version") {
        std::cout << "halyx-cli " HALYX_VERSION "\n";
        return kDone;
    }
    if (all.empty() || all[0] == "--help" || all[0] == "-h" || all[0] == "help") {
        (all.empty() ? std::cerr : std::cout) << kHelp;
        return all.empty() ? kUsage : kDone;
    }
    if (all[0] == "read" || all[0] == "write" || all[0] == "tuning") {
        // The serial engine hands received bytes over through Qt's event loop.
        QCoreApplication app(argc, argv);
        return RunRadioCommand(all[0], Arguments(all.begin() + 1, all.end()));
    }
    static const std::map<std::string, int (*)(const Arguments&)> commands = {
        {"show", RunShow},
        {"set", RunSet},
    };
    const auto command = commands.find(all[0]);
    if (command == commands.end()) {
        PrintError("unknown command '" + all[0] + "'; see halyx-cli --help");
        return kUsage;
    }
    return command->second(Arguments(all.begin() + 1, all.end()));
}
