#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace halyx {

// Where received bytes are gathered into a frame. Position n + 7 of a partial long frame reads 0
// until it arrives, because gathering starts from an all-zero buffer: that is how an incomplete
// frame is told from a complete one.
struct ReplyBuffer {
    static constexpr std::size_t kCapacity = 1024;

    std::array<std::uint8_t, kCapacity> bytes{};
    // Index of the last byte gathered; the number gathered is lastIndex + 1.
    std::uint16_t lastIndex = 0;
    bool inFrame = false;

    void Reset() {
        bytes.fill(0);
        lastIndex = 0;
        inFrame = false;
    }
    std::size_t GatheredCount() const { return static_cast<std::size_t>(lastIndex) + 1; }
};

// The counters of the one exchange that runs at a time.
struct LinkExchange {
    std::uint8_t state = 0;
    // The command senders put this into the frame's block-number field.
    std::uint16_t block = 0;
    // 10 ms ticks spent waiting in the current step.
    std::uint16_t ticks = 0;
    // Time-outs and rejected answers in the current step.
    std::uint16_t retries = 0;
};

}  // namespace halyx
