#include "image/working_copies.h"

#include "image/channel.h"

#include <algorithm>

namespace halyx {

std::string HeaderCopy::text(std::size_t offset, std::size_t size) const {
    std::string result;
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t c = bytes.at(offset + i);
        if (c == 0) {
            break;
        }
        result.push_back(static_cast<char>(c));
    }
    return result;
}

void HeaderCopy::setText(std::size_t offset, std::size_t size, const std::string& value) {
    for (std::size_t i = 0; i < size; ++i) {
        bytes.at(offset + i) = i < value.size() ? static_cast<std::uint8_t>(value[i]) : 0;
    }
}

void LoadHeaderCopy(const RadioImage& image, HeaderCopy& copy) {
    std::copy_n(image.bytes.begin() + kHeaderOffset, kHeaderSize, copy.bytes.begin());
}

void StoreHeaderCopy(const HeaderCopy& copy, RadioImage& image) {
    std::copy(copy.bytes.begin(), copy.bytes.end(), image.bytes.begin() + kHeaderOffset);
}

void LoadRecordCopy(const RadioImage& image, int channel, RecordCopy& copy) {
    if (!IsValidChannel(channel)) {
        return;
    }
    std::copy_n(image.bytes.begin() + static_cast<std::ptrdiff_t>(RecordOffset(channel)),
                kRecordSize, copy.bytes.begin());
}

void StoreRecordCopy(const RecordCopy& copy, int channel, RadioImage& image) {
    if (!IsValidChannel(channel)) {
        return;
    }
    std::copy(copy.bytes.begin(), copy.bytes.end(),
              image.bytes.begin() + static_cast<std::ptrdiff_t>(RecordOffset(channel)));
}

bool IsChannelEmpty(const RecordCopy& copy) {
    return IsEmptyRecord(copy.bytes);
}

bool IsChannelEmpty(const RadioImage& image, int channel) {
    RecordCopy copy;
    LoadRecordCopy(image, channel, copy);
    return IsChannelEmpty(copy);
}

}  // namespace halyx
