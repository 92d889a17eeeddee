// halyx-radiosim: a simulated radio on a pseudo-terminal, for trying and testing the
// application without hardware. See --help.
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "radiosim/pty_server.h"
#include "radiosim/radio_peer.h"
#include "radiosim/sim_options.h"
#include "version/halyx_version.h"

namespace {

volatile std::sig_atomic_t gStop = 0;

void OnStopSignal(int) {
    gStop = 1;
}

void InstallSignalHandlers() {
    struct sigaction sa {};
    sa.sa_handler = OnStopSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0;  // no restart: poll() returns so the loop sees the flag at once
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

bool LoadMemory(const std::string& path, halyx::RadioPeer::Memory& memory, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open image " + path;
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() > memory.size()) {
        error = "image " + path + " is larger than 2048 bytes";
        return false;
    }
    std::copy(bytes.begin(), bytes.end(), memory.begin());
    return true;
}

bool SaveMemory(const std::string& path, const halyx::RadioPeer::Memory& memory) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(memory.data()),
              static_cast<std::streamsize>(memory.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    const halyx::SimOptionsResult parsed = halyx::ParseSimOptions(argc, argv);
    if (!parsed.options) {
        std::fprintf(stderr, "halyx-radiosim: %s\nTry --help.\n", parsed.error.c_str());
        return 1;
    }
    const halyx::SimOptions& options = *parsed.options;
    if (options.help) {
        std::fputs(halyx::SimHelpText().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::puts("halyx-radiosim " HALYX_VERSION);
        return 0;
    }
    halyx::RadioPeer::Memory memory{};
    std::string error;
    if (!options.imagePath.empty() && !LoadMemory(options.imagePath, memory, error)) {
        std::fprintf(stderr, "halyx-radiosim: %s\n", error.c_str());
        return 2;
    }
    if (options.upperBand.has_value()) {
        memory[halyx::header::kBand] = *options.upperBand ? 1 : 0;
    }
    halyx::RadioPeer peer(memory, options.faults);
    halyx::PtyServer server(peer, options);
    if (!server.Open(error)) {
        std::fprintf(stderr, "halyx-radiosim: %s\n", error.c_str());
        return 3;
    }
    InstallSignalHandlers();
    std::printf("%s\n", server.slavePath().c_str());
    std::fflush(stdout);
    server.Run(gStop);
    if (!options.savePath.empty() && !SaveMemory(options.savePath, peer.memory())) {
        std::fprintf(stderr, "halyx-radiosim: cannot save memory to %s\n",
                     options.savePath.c_str());
        return 2;
    }
    if (options.verbose) {
        std::fprintf(stderr, "halyx-radiosim: %d frames received, %zu test points\n",
                     peer.framesReceived(), peer.testPoints().size());
    }
    return 0;
}
