#pragma once

#include <cstdint>

#include "link/reply_buffer.h"

namespace halyx {

// The timing rules every exchange shares: a step waits 100 ticks (about a second) for an accepted
// answer and has three attempts; time-outs and rejected answers count against the same three.
inline constexpr std::uint16_t kTimeoutTicks = 100;
inline constexpr std::uint16_t kMaxAttempts = 3;
// Pause between a write's last record and its read-back, in ticks (2 s).
inline constexpr std::uint16_t kDefaultVerifyPauseTicks = 200;

enum class StepOutcome { Waiting, Retry, Failed };

// One tick of waiting. Retry: the step's retry action runs now. Failed: the third attempt is spent.
inline StepOutcome CountTick(LinkExchange& ex) {
    ++ex.ticks;
    if (ex.ticks < kTimeoutTicks) {
        return StepOutcome::Waiting;
    }
    ex.ticks = 0;
    ++ex.retries;
    if (ex.retries < kMaxAttempts) {
        return StepOutcome::Retry;
    }
    ex.retries = 0;
    return StepOutcome::Failed;
}

// A rejected answer (NAK, or a bad checksum where the step reacts to it).
inline StepOutcome CountRejection(LinkExchange& ex) {
    ex.ticks = 0;
    ++ex.retries;
    if (ex.retries < kMaxAttempts) {
        return StepOutcome::Retry;
    }
    ex.retries = 0;
    return StepOutcome::Failed;
}

// An accepted answer starts the next step afresh.
inline void AcceptAnswer(LinkExchange& ex) {
    ex.ticks = 0;
    ex.retries = 0;
}

}  // namespace halyx
