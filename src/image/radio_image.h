#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace halyx {

// The application's one copy of the radio's configuration memory. Editors, files and the link all
// work on this buffer; bytes the application does not interpret are carried through unchanged.
inline constexpr std::size_t kImageSize = 2048;

struct RadioImage {
    std::array<std::uint8_t, kImageSize> bytes{};
    // Length of the last loaded file; Save writes at least this many bytes.
    std::uint16_t length = 0;
};

// Regions of the image.
inline constexpr std::size_t kHeaderOffset = 0;
inline constexpr std::size_t kHeaderSize = 41;
inline constexpr std::size_t kRecordSize = 27;
inline constexpr int kChannelCount = 20;
inline constexpr std::size_t kFirstRecordOffset = 67;
inline constexpr std::size_t kRecordsEnd = 607;  // one past the last record byte (606)
inline constexpr std::size_t kRecordsSize = kRecordsEnd - kFirstRecordOffset;

// One channel record's bytes, every one of them, interpreted or not.
using RecordBytes = std::array<std::uint8_t, kRecordSize>;
using HeaderBytes = std::array<std::uint8_t, kHeaderSize>;

// Header fields, offsets from the start of the image (and of the header working copy).
namespace header {
inline constexpr std::size_t kSerialNumber = 12;
inline constexpr std::size_t kSerialNumberSize = 10;
inline constexpr std::size_t kBand = 22;
inline constexpr std::size_t kTimeOut = 23;
inline constexpr std::size_t kVoxLevel = 24;
inline constexpr std::size_t kUserId = 25;
inline constexpr std::size_t kUserIdSize = 6;
inline constexpr std::size_t kSettingsChannel = 31;
inline constexpr std::size_t kSquelchLevel = 32;
inline constexpr std::size_t kLanguage = 33;
inline constexpr std::size_t kScramble = 34;
inline constexpr std::size_t kCompand = 35;
inline constexpr std::size_t kTxPower = 36;
}  // namespace header

// Channel record fields, offsets from the start of a record.
namespace record {
inline constexpr std::size_t kInUseMark = 0;
inline constexpr std::size_t kTxFrequency = 2;
inline constexpr std::size_t kRxFrequency = 6;
inline constexpr std::size_t kFrequencySize = 4;
inline constexpr std::size_t kRxTone = 13;
inline constexpr std::size_t kTxTone = 14;
inline constexpr std::size_t kBandwidth = 15;
}  // namespace record

// Band byte value of the 136-174 MHz radios; any other value means 406.1-470 MHz.
inline constexpr std::uint8_t kLowBand = 0;
// The band byte the 406.1-470 MHz radios and the shipped default image carry.
inline constexpr std::uint8_t kHighBand = 1;

// Offset of channel n's record (n = 1..20).
constexpr std::size_t RecordOffset(int channel) {
    return 40 + kRecordSize * static_cast<std::size_t>(channel);
}

constexpr bool IsValidChannel(int channel) {
    return channel >= 1 && channel <= kChannelCount;
}

}  // namespace halyx
