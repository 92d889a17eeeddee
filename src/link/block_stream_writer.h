#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "image/radio_image.h"
#include "link/exchange.h"
#include "link/frame_link.h"
#include "link/tuning_data.h"

namespace halyx {

// The sending half of a radio write and of a tuning write: optionally the test values, then the
// settings block and record blocks 2..21, each sent again on NAK or time-out until the radio
// answers ACK. Keeps the record payloads exactly as they went out, for the read-back compare.
class BlockStreamWriter {
public:
    enum class Step { Waiting, Complete, Failed };
    // LinkExchange::state values.
    static constexpr std::uint8_t kValuesSent = 1;
    static constexpr std::uint8_t kSettingsSent = 2;
    static constexpr std::uint8_t kRecordSent = 3;

    using Records = std::array<std::uint8_t, kImageSize>;

    // progressOffset: the progress position on record n's ACK is n - progressOffset.
    BlockStreamWriter(FrameLink& link, const RadioImage& image, ExchangeObserver& observer,
                      int progressOffset)
        : link_(link), image_(image), observer_(observer), progressOffset_(progressOffset) {}

    // Sends the first frame: the test values when given, otherwise the settings block.
    void Begin(const std::optional<TestValues>& leadingValues);
    Step Tick();
    Step Check();

    // Image-laid-out copy of the records as sent (bytes 67..606 meaningful).
    const Records& sentRecords() const { return sent_; }

private:
    void SendCurrent();

    FrameLink& link_;
    const RadioImage& image_;
    ExchangeObserver& observer_;
    int progressOffset_;
    TestValues values_;
    Records sent_{};
};

}  // namespace halyx
