#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace halyx {

// Frequencies are stored as four packed-BCD bytes counting 10 Hz steps, most significant first.
// The user sees megahertz with five decimals. Band limits come from the image's band byte.

// Hertz in one stored step.
inline constexpr std::uint32_t kHzPerStep = 10;

struct BandLimits {
    std::uint32_t lowerHz;
    std::uint32_t upperHz;
};

BandLimits BandLimitsFor(std::uint8_t bandByte);

// Whether `hertz` lies inside the band, both ends included.
bool IsInBand(std::uint32_t hertz, std::uint8_t bandByte);
// The channel-step rule: multiples of 5000 Hz or of 6250 Hz are on a step.
bool IsOnChannelStep(std::uint32_t hertz);
// Off-step frequencies drop to the 5 kHz step below; on-step ones stay.
std::uint32_t SnapToChannelStep(std::uint32_t hertz);

// High nibble * 10 + low nibble; nibbles are not validated (0xFF gives 165).
std::uint8_t BcdToByteValue(std::uint8_t bcd);
// (value / 10) * 16 + value % 10, kept to 8 bits.
std::uint8_t ByteValueToBcd(int value);

// Four image bytes -> count of 10 Hz steps.
std::uint32_t DecodeFrequency(const std::uint8_t* bytes);
// Count of 10 Hz steps -> "%.5f" megahertz, independent of the process locale.
std::string FormatFrequency(std::uint32_t steps);

// Why a frequency was stored as it was, for the faces that show the user what became of a value.
enum class FrequencyFix {
    Unchanged,     // stored as given
    ClampedBelow,  // below the band: the band's lower limit was stored
    ClampedAbove,  // above the band (or negative): the band's upper limit was stored
    MovedToStep,   // off the channel step (or finer than 10 Hz): moved down onto it
    Emptied        // an empty text: 0 was stored
};

struct FrequencyCorrection {
    std::string typed;        // what was given, as text
    std::uint32_t hertz = 0;  // what is stored; 0 empties the field
    std::string stored;       // the stored value as the grid shows it; "" when emptied
    FrequencyFix fix = FrequencyFix::Unchanged;

    friend bool operator==(const FrequencyCorrection&, const FrequencyCorrection&) = default;
};

// The one frequency rule: reads typed or pasted megahertz, clamps to the band, snaps to the
// channel step, and says which of these it did. Safe for any text.
FrequencyCorrection CorrectFrequency(std::string_view typed, std::uint8_t bandByte);
// The same rule for a value already in hertz (a file's column): 0 empties, anything else is
// truncated to 10 Hz, clamped and snapped.
FrequencyCorrection CorrectHertz(std::uint32_t hertz, std::uint8_t bandByte);

struct ParsedFrequency {
    std::uint32_t hertz = 0;  // 0 for an empty text: the channel (or transmit frequency) is cleared
    std::string text;         // what the edit box shows afterwards
};

// Reads what the user typed or pasted, clamps it to the band and snaps it to the channel step
// (multiples of 5000 Hz or 6250 Hz stay, anything else drops to the 5 kHz step below).
// Safe for any text: overlong numbers, signs, exponents and garbage all end inside the band.
ParsedFrequency ParseFrequency(std::string_view text, std::uint8_t bandByte);

// Hertz -> four packed-BCD bytes (0 gives 00 00 00 00).
void EncodeFrequency(std::uint32_t hertz, std::uint8_t* bytes);

}  // namespace halyx
