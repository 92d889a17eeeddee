// Any text typed into a frequency cell, in either band: the result lies in the band on a channel
// step, survives formatting and parsing again, and round-trips through the image's BCD bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "image/frequency_codec.h"

namespace {

constexpr std::uint32_t kHertzPerStep = 10;

void CheckInBandOnAStep(std::uint32_t hertz, std::uint8_t band) {
    const halyx::BandLimits limits = halyx::BandLimitsFor(band);
    FUZZ_CHECK(hertz >= limits.lowerHz && hertz <= limits.upperHz);
    FUZZ_CHECK(hertz % 5000 == 0 || hertz % 6250 == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t band = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const halyx::ParsedFrequency parsed = halyx::ParseFrequency(text, band);
    if (parsed.hertz == 0) {
        return 0;  // an empty text clears the channel
    }
    CheckInBandOnAStep(parsed.hertz, band);

    // What the cell shows must read back as the same frequency.
    const halyx::ParsedFrequency again = halyx::ParseFrequency(parsed.text, band);
    FUZZ_CHECK(again.hertz == parsed.hertz);
    FUZZ_CHECK(again.text == parsed.text);

    std::uint8_t bytes[4] = {};
    halyx::EncodeFrequency(parsed.hertz, bytes);
    const std::uint32_t steps = halyx::DecodeFrequency(bytes);
    FUZZ_CHECK(steps * kHertzPerStep == parsed.hertz);
    FUZZ_CHECK(halyx::ParseFrequency(halyx::FormatFrequency(steps), band).hertz == parsed.hertz);
    return 0;
}
