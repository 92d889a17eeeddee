#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "image/radio_image.h"
#include "link/block_stream_reader.h"
#include "link/block_stream_writer.h"
#include "link/exchange.h"
#include "link/exchange_discipline.h"
#include "link/frame_link.h"
#include "link/tuning_data.h"

namespace halyx {

// Writes the settings block and the twenty records (optionally preceded by the tuning values),
// pauses, then reads everything back and compares the records with the records as they were sent.
// The image is never changed. RadioWriteExchange and TuningWriteExchange are its two faces.
//
// The pause between the phases counts ticks (the write timer stays armed, nothing is sent, answers
// arriving meanwhile are discarded by the next send), so the user interface stays responsive.
class WriteVerifyExchange : public Exchange {
public:
    void Start() override;
    void Tick() override;
    void Poll() override;
    void Cancel() override;

    // Records as read back (image layout, bytes 67..606); kept between runs, never cleared.
    const std::array<std::uint8_t, kImageSize>& readBack() const { return readBack_; }
    // Whether the last run that failed had already sent a record block (the radio accepted the
    // settings block), so the radio may hold part of the new configuration and part of its old.
    bool failedPartWritten() const { return failedPartWritten_; }

protected:
    struct Flavour {
        int writeTimer;          // timer id of the write phase
        int progressOffset;      // progress on record n's ACK is n - offset
        bool restorePhaseAtEnd;  // phase told back to Writing when the exchange ends
        bool logTimeOutMarker;   // "time-out" marker line on failure
    };

    WriteVerifyExchange(FrameLink& link, const RadioImage& image, ExchangeObserver& observer,
                        Flavour flavour, std::uint16_t pauseTicks);
    // What goes out before the settings block; none by default.
    virtual std::optional<TestValues> LeadingValues() const { return std::nullopt; }

private:
    enum class Phase { Idle, Writing, Pausing, Verifying };

    void HandleWrite(BlockStreamWriter::Step step);
    void HandleVerify(BlockStreamReader::Step step);
    void BeginVerify();
    void Fail();

    FrameLink& link_;
    Flavour flavour_;
    std::uint16_t pauseTicks_;
    std::uint16_t pauseElapsed_ = 0;
    Phase phase_ = Phase::Idle;
    std::array<std::uint8_t, kImageSize> readBack_{};
    bool failedPartWritten_ = false;
    BlockStreamWriter writer_;
    BlockStreamReader reader_;
};

}  // namespace halyx
