#include "editing/channel_clipboard.h"

namespace halyx::channel_clipboard {
namespace {

// "HXC" and a format version: a later layout gets a new version, never a reinterpretation.
constexpr std::string_view kRawTag{"HXC\x01", 4};
constexpr std::size_t kRowSize = 1 + kRecordSize;

}  // namespace

std::string EncodeRaw(const std::vector<ChannelRow>& rows) {
    std::string data(kRawTag);
    data.push_back(static_cast<char>(rows.size()));
    for (const ChannelRow& row : rows) {
        data.push_back(static_cast<char>(row.channel));
        data.append(row.record.begin(), row.record.end());
    }
    return data;
}

std::optional<std::vector<ChannelRow>> DecodeRaw(std::string_view data) {
    if (data.size() <= kRawTag.size() || data.substr(0, kRawTag.size()) != kRawTag) {
        return std::nullopt;
    }
    const auto count = static_cast<std::uint8_t>(data[kRawTag.size()]);
    const std::string_view body = data.substr(kRawTag.size() + 1);
    if (count == 0 || count > kChannelCount || body.size() != count * kRowSize) {
        return std::nullopt;
    }
    std::vector<ChannelRow> rows;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view bytes = body.substr(i * kRowSize, kRowSize);
        ChannelRow row;
        row.channel = static_cast<std::uint8_t>(bytes[0]);
        if (!IsValidChannel(row.channel)) {
            return std::nullopt;
        }
        for (std::size_t b = 0; b < kRecordSize; ++b) {
            row.record[b] = static_cast<std::uint8_t>(bytes[1 + b]);
        }
        rows.push_back(row);
    }
    return rows;
}

}  // namespace halyx::channel_clipboard
