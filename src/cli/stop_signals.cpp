#include "cli/stop_signals.h"

#include <atomic>
#include <csignal>

namespace halyx::cli {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kSignalStatusBase = 128;

// Set by the handler on whichever thread the signal lands, read by the ticking thread: a
// lock-free atomic is both signal-safe and free of a data race.
std::atomic<int> stopSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void RequestStop(int signal) {
    stopSignal = signal;
}

struct sigaction previous[std::size(kSignals)];

}  // namespace

StopSignals::StopSignals() {
    stopSignal = 0;
    struct sigaction action {};
    action.sa_handler = RequestStop;
    // Calls the signal interrupts carry on, as with signal(): the event loop and the port must
    // not see a stray EINTR.
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], &action, &previous[i]);
    }
}

StopSignals::~StopSignals() {
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], &previous[i], nullptr);
    }
}

bool StopSignals::requested() {
    if (stopSignal != 0 && !handled_) {
        handled_ = true;
        for (const int s : kSignals) {
            std::signal(s, SIG_DFL);
        }
        return true;
    }
    return false;
}

int StopSignals::signal() const {
    return stopSignal;
}

int StoppedStatus(int signal) {
    return kSignalStatusBase + signal;
}

}  // namespace halyx::cli
