// halyx-radiosim: a simulated radio on a pseudo-terminal or a TCP port, for trying and testing
// the application without hardware. See --help.
#include <atomic>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "radiosim/net_server.h"
#include "radiosim/pty_server.h"
#include "radiosim/radio_peer.h"
#include "radiosim/sim_options.h"
#include "version/halyx_version.h"

namespace {

// Written by the signal handler, read by every radio's serving thread: a lock-free atomic is
// both signal-safe and free of a data race.
std::atomic<bool> gStop{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void OnStopSignal(int) {
    gStop = true;
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

// One simulated radio: its memory, its terminal or network port and, once served, where its
// memory goes.
struct SimRadio {
    explicit SimRadio(const halyx::SimOptions& o, const halyx::RadioPeer::Memory& memory)
        : options(o), peer(memory, o.faults) {
        if (options.listen == halyx::SimListen::Terminal) {
            terminal = std::make_unique<halyx::PtyServer>(peer, options);
        } else {
            network = std::make_unique<halyx::NetServer>(peer, options);
        }
    }
    bool Open(std::string& error) {
        return terminal ? terminal->Open(error) : network->Open(error);
    }
    // What a client opens: the terminal's path or the network address.
    std::string Name() const { return terminal ? terminal->slavePath() : network->address(); }
    void Run(const std::atomic<bool>& stop) {
        if (terminal) {
            terminal->Run(stop);
        } else {
            network->Run(stop);
        }
    }
    halyx::SimOptions options;
    halyx::RadioPeer peer;
    std::unique_ptr<halyx::PtyServer> terminal;
    std::unique_ptr<halyx::NetServer> network;
};

bool PrepareMemory(const halyx::SimOptions& options, halyx::RadioPeer::Memory& memory,
                   std::string& error) {
    if (!options.imagePath.empty() && !LoadMemory(options.imagePath, memory, error)) {
        return false;
    }
    if (options.upperBand.has_value()) {
        memory[halyx::header::kBand] = *options.upperBand ? 1 : 0;
    }
    if (options.serial.has_value()) {
        const auto field = memory.begin() + halyx::header::kSerialNumber;
        std::fill_n(field, halyx::header::kSerialNumberSize, std::uint8_t{0});
        std::copy(options.serial->begin(), options.serial->end(), field);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const halyx::SimFleetOptionsResult parsed = halyx::ParseSimFleetOptions(argc, argv);
    if (parsed.radios.empty()) {
        std::fprintf(stderr, "halyx-radiosim: %s\nTry --help.\n", parsed.error.c_str());
        return 1;
    }
    if (parsed.radios.front().help) {
        std::fputs(halyx::SimHelpText().c_str(), stdout);
        return 0;
    }
    if (parsed.radios.front().version) {
        std::puts("halyx-radiosim " HALYX_VERSION);
        return 0;
    }
    std::vector<std::unique_ptr<SimRadio>> radios;
    std::string error;
    for (const halyx::SimOptions& options : parsed.radios) {
        halyx::RadioPeer::Memory memory{};
        if (!PrepareMemory(options, memory, error)) {
            std::fprintf(stderr, "halyx-radiosim: %s\n", error.c_str());
            return 2;
        }
        radios.push_back(std::make_unique<SimRadio>(options, memory));
        if (!radios.back()->Open(error)) {
            std::fprintf(stderr, "halyx-radiosim: %s\n", error.c_str());
            return 3;
        }
    }
    InstallSignalHandlers();
    for (const auto& radio : radios) {
        std::printf("%s\n", radio->Name().c_str());
    }
    std::fflush(stdout);
    // Each radio is served on its own thread, so one radio's pacing never delays another's.
    std::vector<std::thread> serving;
    for (const auto& radio : radios) {
        serving.emplace_back([&radio] { radio->Run(gStop); });
    }
    for (std::thread& t : serving) {
        t.join();
    }
    int status = 0;
    for (const auto& radio : radios) {
        const halyx::SimOptions& options = radio->options;
        if (!options.savePath.empty() && !SaveMemory(options.savePath, radio->peer.memory())) {
            std::fprintf(stderr, "halyx-radiosim: cannot save memory to %s\n",
                         options.savePath.c_str());
            status = 2;
        }
        if (options.verbose) {
            std::fprintf(stderr, "halyx-radiosim: %s: %d frames received, %zu test points\n",
                         radio->Name().c_str(), radio->peer.framesReceived(),
                         radio->peer.testPoints().size());
        }
    }
    return status;
}
