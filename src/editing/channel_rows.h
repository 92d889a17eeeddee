#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "image/radio_image.h"

namespace halyx {

// Row operations on whole 27-byte channel records, so that the bytes the application does not
// interpret travel with their channel. Every function leaves the image untouched when it
// refuses.

// Channels first..last (1..20), both included.
struct ChannelRange {
    int first = 0;
    int last = -1;

    static ChannelRange Single(int channel) { return {channel, channel}; }
    bool IsValid() const { return IsValidChannel(first) && IsValidChannel(last) && first <= last; }
    int count() const { return IsValid() ? last - first + 1 : 0; }
    bool Contains(int channel) const { return IsValid() && channel >= first && channel <= last; }
    friend bool operator==(const ChannelRange&, const ChannelRange&) = default;
};

// A record on its way through the clipboard, with the channel it was copied from.
struct ChannelRow {
    int channel = 0;
    RecordBytes record{};
    friend bool operator==(const ChannelRow&, const ChannelRow&) = default;
};

RecordBytes ReadRecord(const RadioImage& image, int channel);
void WriteRecord(RadioImage& image, int channel, const RecordBytes& record);

std::vector<ChannelRow> CopyChannels(const RadioImage& image, ChannelRange range);

// Both frequencies become 00 00 00 00, as emptying the receive cell does; the other bytes stay.
void ClearChannels(RadioImage& image, ChannelRange range);

enum class PasteForm {
    WholeRecords,    // every byte (between Halyx windows)
    ShownFieldsOnly  // frequencies, tones and bandwidth; the target keeps its other bytes
};

// Rows keep their distance from the first one: a row copied from channel c lands on
// target + (c - lowest copied channel). Rows that would land past channel 20 are dropped.
// Returns the channels written (invalid when none).
ChannelRange PasteChannels(RadioImage& image, int target, const std::vector<ChannelRow>& rows,
                           PasteForm form);

// Swap the range with its neighbour above (below); false at the edge.
bool MoveChannelsUp(RadioImage& image, ChannelRange range);
bool MoveChannelsDown(RadioImage& image, ChannelRange range);

enum class InsertResult { Inserted, LastChannelInUse, InvalidChannel };

// Channels at..19 move down one place and an empty channel takes `at`. Channel 20 must be empty:
// its record (empty, with whatever else it holds) is the one that lands on `at`, so no byte of
// the image is lost.
InsertResult InsertEmptyChannel(RadioImage& image, int at);

// The channels below the range move up to close the gap; the last range.count() channels become
// empty (the deleted records, cleared).
bool DeleteChannels(RadioImage& image, ChannelRange range);

enum class BulkField { RxTone, TxTone, Bandwidth };

// Sets one field on every channel of the range that is not empty, by the channel's rules (a
// receive tone sets the transmit tone too). Returns how many changed.
int SetFieldForChannels(RadioImage& image, ChannelRange range, BulkField field, std::uint8_t value);

}  // namespace halyx
