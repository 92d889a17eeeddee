#pragma once

#include "link/write_verify_exchange.h"

namespace halyx {

// Writes the radio image to the radio and verifies it.
//
// Write phase (timer kReadTimer, state 2 then 3): SendSettings, then SendRecord 2..21, each
// answered by ACK; a NAK or a time-out sends the same frame again, the third failure ends it.
// Progress 2..21 on each record's ACK. Then a pause (default 200 ticks = 2 s), the phase turns
// ReadingBack, and the verify phase (timer kVerifyTimer) reads everything back the way a read does.
// Result: Success when the records read back equal the records as sent, ReadBackDiffers
// otherwise, LinkFailure (progress 0) on a third failure. The phase is told Writing at the end.
class RadioWriteExchange : public WriteVerifyExchange {
public:
    RadioWriteExchange(FrameLink& link, const RadioImage& image, ExchangeObserver& observer,
                       std::uint16_t pauseTicks = kDefaultVerifyPauseTicks)
        : WriteVerifyExchange(link, image, observer,
                              Flavour{.writeTimer = kReadTimer,
                                      .progressOffset = 0,
                                      .restorePhaseAtEnd = true,
                                      .logTimeOutMarker = false},
                              pauseTicks) {}
};

}  // namespace halyx
