#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editing/channel_rows.h"

namespace halyx {

// The clipboard's two forms of copied channel rows.
namespace channel_clipboard {

// The raw records, for an exact paste between Halyx windows.
inline constexpr std::string_view kRawMimeType = "application/x-halyx-channels";

// Raw form: a tag with a version, the row count, then per row its channel and its 27 bytes.
std::string EncodeRaw(const std::vector<ChannelRow>& rows);
// Nothing when the data is not a whole, well-formed raw form (truncated, foreign, bad channel).
std::optional<std::vector<ChannelRow>> DecodeRaw(std::string_view data);

// Text form: the rows as channel-list CSV, so that they paste into a spreadsheet or another
// radio tool. `image` supplies what the text needs besides the rows (the band).
std::string RowsToText(const RadioImage& image, const std::vector<ChannelRow>& rows);
// The rows a channel-list text holds, their shown fields set (frequencies, tones, bandwidth);
// empty when the text holds none.
std::vector<ChannelRow> RowsFromText(const RadioImage& image, std::string_view text);

}  // namespace channel_clipboard
}  // namespace halyx
