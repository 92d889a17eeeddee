#pragma once

#include <array>
#include <cstdint>

#include "image/radio_image.h"
#include "link/exchange.h"
#include "link/frame_link.h"

namespace halyx {

// The receiving half of a radio read and of a write's read-back: asks for the settings block,
// then takes the twenty record blocks the radio streams, acknowledging all but the last.
// Blocks land in `target` at their image offsets; nothing else is touched.
class BlockStreamReader {
public:
    enum class Step { Waiting, Complete, Failed };
    // LinkExchange::state values.
    static constexpr std::uint8_t kAwaitingSettings = 1;
    static constexpr std::uint8_t kAwaitingRecord = 2;

    using Target = std::array<std::uint8_t, kImageSize>;

    // keepSettings: store the settings payload (a read) or only acknowledge it (a read-back).
    // progress: told each record block number as it is stored; may be null.
    BlockStreamReader(FrameLink& link, Target& target, bool keepSettings,
                      ExchangeObserver* progress)
        : link_(link), target_(target), keepSettings_(keepSettings), progress_(progress) {}

    // Block 1, RequestSettings, counters to the first step.
    void Begin();
    // One timer tick: time-out accounting (NAK as retry action), then Check().
    Step Tick();
    // Acts on whatever answer is in the reply buffer.
    Step Check();

private:
    Step CheckSettings();
    Step CheckRecord();

    FrameLink& link_;
    Target& target_;
    bool keepSettings_;
    ExchangeObserver* progress_;
};

}  // namespace halyx
