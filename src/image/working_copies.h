#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "image/radio_image.h"

namespace halyx {

// Editors never poke single image bytes: they load a working copy, change one field and store the
// whole copy back, so a header edit rewrites exactly bytes 0..40 and a channel edit its 27 bytes.
struct HeaderCopy {
    std::array<std::uint8_t, kHeaderSize> bytes{};

    std::uint8_t at(std::size_t offset) const { return bytes.at(offset); }
    void set(std::size_t offset, std::uint8_t value) { bytes.at(offset) = value; }

    // Fixed-width text fields: the characters up to the first zero byte (or the whole field).
    std::string text(std::size_t offset, std::size_t size) const;
    // Stores at most `size` characters, then zero bytes up to `size`.
    void setText(std::size_t offset, std::size_t size, const std::string& value);
};

struct RecordCopy {
    std::array<std::uint8_t, kRecordSize> bytes{};

    std::uint8_t at(std::size_t offset) const { return bytes.at(offset); }
    void set(std::size_t offset, std::uint8_t value) { bytes.at(offset) = value; }
    const std::uint8_t* frequency(std::size_t offset) const { return bytes.data() + offset; }
    std::uint8_t* frequency(std::size_t offset) { return bytes.data() + offset; }
};

void LoadHeaderCopy(const RadioImage& image, HeaderCopy& copy);
void StoreHeaderCopy(const HeaderCopy& copy, RadioImage& image);
// `channel` is 1..20; other numbers are ignored (the copy / image stays as it was).
void LoadRecordCopy(const RadioImage& image, int channel, RecordCopy& copy);
void StoreRecordCopy(const RecordCopy& copy, int channel, RadioImage& image);

// Erased memory (FF FF ...) or an all-zero receive frequency both mean "no channel here".
bool IsChannelEmpty(const RecordCopy& copy);
bool IsChannelEmpty(const RadioImage& image, int channel);

}  // namespace halyx
