#pragma once

#include "image/radio_image.h"
#include "link/block_stream_reader.h"
#include "link/exchange.h"
#include "link/frame_link.h"

namespace halyx {

// Reads the radio's settings block and twenty records into the radio image.
//
// Frames: RequestSettings (block 1); on the settings block ACK; on record blocks 2..20 ACK; record
// block 21 is not acknowledged. Time-outs are answered with NAK; a bad settings checksum with NAK
// at once; a bad record checksum waits for the time-out. The third failure of a step ends it.
//
// Timer kReadTimer. Progress: 2..21 as records arrive, 0 after a failure. Markers: read start at
// Start, read end on success. Result: Success or LinkFailure.
//
// The received blocks are staged and copied into the image (bytes 0..40 and 67..606 only) at the
// successful end, so a failed or cancelled read leaves the image exactly as it was.
class RadioReadExchange : public Exchange {
public:
    RadioReadExchange(FrameLink& link, RadioImage& image, ExchangeObserver& observer);

    void Start() override;
    void Tick() override;
    void Poll() override;
    void Cancel() override;

private:
    void Handle(BlockStreamReader::Step step);
    void Commit();

    FrameLink& link_;
    RadioImage& image_;
    BlockStreamReader::Target stage_{};
    BlockStreamReader reader_;
};

}  // namespace halyx
