#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "image/frequency_codec.h"
#include "image/radio_image.h"
#include "image/set_result.h"

namespace halyx {

// What the channel setters accept, for the faces' refusal messages.
inline constexpr std::string_view kToneAllowed =
    "off or a tone of the table (67.0 .. 254.1, D023N .. D754N)";
inline constexpr std::string_view kBandwidthAllowed = "12.5K or 25K";

// One channel as the user edits it: its 27-byte record and the band that limits its
// frequencies. Every rule about a channel lives in these setters, so the grid, the command line,
// the file imports and the bulk edit cannot drift apart. Bytes the setters do not interpret are
// carried unchanged.
class Channel {
public:
    static constexpr std::uint8_t kNarrow = 0;  // "12.5K"
    static constexpr std::uint8_t kWide = 1;    // "25K"

    // Channel `number` (1..20) of `image`; any other number gives an empty record that
    // StoreInto leaves unwritten.
    Channel(const RadioImage& image, int number);
    Channel(int number, const RecordBytes& record, std::uint8_t bandByte);

    // Writes all 27 bytes back to the channel's place in `image`.
    void StoreInto(RadioImage& image) const;

    int number() const { return number_; }
    std::uint8_t band() const { return band_; }
    const RecordBytes& record() const { return record_; }

    // Erased memory (FF FF ...) or an all-zero receive frequency: no channel here.
    bool IsEmpty() const;
    std::uint32_t RxHertz() const;
    std::uint32_t TxHertz() const;
    // The frequencies as the grid shows them ("446.00625"); "" for an empty channel.
    std::string RxText() const;
    std::string TxText() const;
    std::uint8_t rxTone() const { return record_[record::kRxTone]; }
    std::uint8_t txTone() const { return record_[record::kTxTone]; }
    std::uint8_t bandwidth() const { return record_[record::kBandwidth]; }

    // The receive frequency is always the transmit frequency too; an empty text empties the
    // channel (both frequencies 00 00 00 00).
    FrequencyCorrection SetRxFrequency(std::string_view typed);
    // The transmit frequency only; an empty text zeroes it.
    FrequencyCorrection SetTxFrequency(std::string_view typed);
    // The same rules for values already in hertz (0 empties).
    FrequencyCorrection SetRxHertz(std::uint32_t hertz);
    FrequencyCorrection SetTxHertz(std::uint32_t hertz);

    // A tone is a position in the tone table; choosing the receive tone also sets the transmit
    // tone. Positions past the table are refused and change nothing.
    SetResult SetRxTone(std::uint8_t position);
    SetResult SetTxTone(std::uint8_t position);
    // kNarrow or kWide; anything else is refused.
    SetResult SetBandwidth(std::uint8_t value);

    // Both frequencies 00 00 00 00; every other byte stays.
    void Clear();

    friend bool operator==(const Channel&, const Channel&) = default;

private:
    void PutFrequency(std::size_t offset, std::uint32_t hertz);
    FrequencyCorrection Store(FrequencyCorrection corrected, bool receive);

    int number_ = 0;
    RecordBytes record_{};
    std::uint8_t band_ = 0;
};

// Whether a record is empty (see Channel::IsEmpty).
bool IsEmptyRecord(const RecordBytes& record);

}  // namespace halyx
