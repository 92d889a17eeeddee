#pragma once

#include <optional>
#include <string>
#include <vector>

#include "radiosim/radio_peer.h"

namespace halyx {

// Where a radio is served: a pseudo-terminal, or a TCP port of this machine.
enum class SimListen { Terminal, RawTcp, ComPort };

// Command line of halyx-radiosim.
struct SimOptions {
    std::string imagePath;              // memory to start from; all zero without one
    std::string savePath;               // memory written here on exit
    std::optional<bool> upperBand;      // --band: image byte 22 set to 0 (low) or 1 (high)
    std::optional<std::string> serial;  // --serial: header bytes 12..21 set to this text
    int baud = 9600;
    int responseDelayMs = 1;
    bool pacing = true;
    bool verbose = false;
    int exitAfterFrames = 0;  // 0: serve until a signal
    SimListen listen = SimListen::Terminal;
    int listenPort = 0;  // --listen KIND PORT; with --count, radio K on PORT+K-1; 0: any free
    RadioPeerFaults faults;
    bool help = false;
    bool version = false;  // --version: print the version and exit
};

struct SimOptionsResult {
    std::optional<SimOptions> options;
    std::string error;  // set when options is empty
};

SimOptionsResult ParseSimOptions(int argc, char** argv);

// Several radios from one command line: --count N radios, each with the options given to all,
// then those given to it alone with --for K OPTION [VALUE]. In --image, --save and --serial a
// "%d" becomes the radio's number (1..N), so each radio can start from its own memory.
struct SimFleetOptionsResult {
    std::vector<SimOptions> radios;  // empty on error
    std::string error;
};

inline constexpr int kMaxSimRadios = 64;

SimFleetOptionsResult ParseSimFleetOptions(int argc, char** argv);
std::string SimHelpText();

}  // namespace halyx
