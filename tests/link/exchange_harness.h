#pragma once

// Drives an exchange against the in-process radio the way a dialog would: waiting answer bytes
// are gathered (with a Poll after each) and then one 10 ms tick is counted, over and over.

#include <string>
#include <vector>

#include "link/exchange.h"
#include "link/frame_link.h"
#include "radiosim/peer_sink.h"
#include "radiosim/radio_peer.h"

namespace halyx::test {

struct RecordingObserver : ExchangeObserver {
    std::vector<int> progress;
    std::vector<ExchangePhase> phases;
    std::vector<std::string> markers;
    std::vector<int> timers;
    std::vector<ExchangeResult> results;

    void OnProgress(int position) override { progress.push_back(position); }
    void OnPhaseChanged(ExchangePhase phase) override { phases.push_back(phase); }
    void OnLogMarker(std::string_view line) override { markers.emplace_back(line); }
    void OnTimerChanged(int timerId) override { timers.push_back(timerId); }
    void OnFinished(ExchangeResult result) override { results.push_back(result); }
};

using Bytes = std::vector<std::uint8_t>;

class ExchangeHarness {
public:
    explicit ExchangeHarness(const RadioPeer::Memory& memory = {}, RadioPeerFaults faults = {},
                             TrafficLog* log = nullptr)
        : peer(memory, faults), sink(peer, log), link(&sink, log) {}

    // Starts the exchange at tick 0 and runs it until it ends or `maxTicks` ticks have passed.
    // usePoll = false delivers bytes without polling, so only ticks look at the buffer.
    int Run(Exchange& exchange, int maxTicks = 10000, bool usePoll = true) {
        tick = 0;
        sink.SetTick(tick);
        exchange.Start();
        while (exchange.IsRunning() && tick < maxTicks) {
            // A quick radio: everything it has to say arrives before the next tick.
            while (sink.HasPendingAnswer() && exchange.IsRunning()) {
                sink.Deliver(link, usePoll ? &exchange : nullptr);
                if (!usePoll) {
                    break;
                }
            }
            if (!exchange.IsRunning()) {
                break;
            }
            ++tick;
            sink.SetTick(tick);
            exchange.Tick();
        }
        return tick;
    }

    std::vector<Bytes> Frames() const {
        std::vector<Bytes> out;
        for (const auto& f : sink.sentFrames()) {
            out.push_back(f.bytes);
        }
        return out;
    }
    std::vector<int> FrameTicks() const {
        std::vector<int> out;
        for (const auto& f : sink.sentFrames()) {
            out.push_back(f.tick);
        }
        return out;
    }

    RadioPeer peer;
    RadioPeerSink sink;
    FrameLink link;
    RecordingObserver observer;
    int tick = 0;
};

// Writes whose read-back follows at once, so tests need not tick through the two seconds.
inline constexpr std::uint16_t kNoPause = 0;

inline const Bytes kAckBytes = {0x36, 0x06, 0x10};
inline const Bytes kNakBytes = {0x36, 0x05, 0x10};
inline const Bytes kRequestSettingsBytes = {0x35, 0x01, 0x02, 0x01, 0x00, 0x49, 0x00, 0x10};

// A memory whose every byte differs from its neighbours, so misplaced copies show.
inline RadioPeer::Memory PatternMemory(std::uint8_t seed) {
    RadioPeer::Memory m{};
    for (std::size_t i = 0; i < m.size(); ++i) {
        m[i] = static_cast<std::uint8_t>((i * 7 + seed) & 0xFF);
    }
    return m;
}

}  // namespace halyx::test
