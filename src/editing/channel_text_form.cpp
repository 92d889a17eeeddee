#include <algorithm>

#include "editing/channel_clipboard.h"
#include "interchange/csv_export.h"
#include "interchange/csv_import.h"

namespace halyx::channel_clipboard {

// The text form is the channel-list CSV of import and export, so a copy pastes into a
// spreadsheet or another radio tool and their rows paste back here.

std::string RowsToText(const RadioImage& image, const std::vector<ChannelRow>& rows) {
    // An image holding only the copied rows, at their own channels: the export writes exactly
    // those (empty ones have no CSV row) with their channel numbers as locations.
    RadioImage copied = image;
    ClearChannels(copied, {1, kChannelCount});
    for (const ChannelRow& row : rows) {
        WriteRecord(copied, row.channel, row.record);
    }
    return ExportChannelsCsv(copied);
}

std::vector<ChannelRow> RowsFromText(const RadioImage& image, std::string_view text) {
    // Imported into a copy of the image so that its band limits the frequencies.
    const CsvImport imported = ImportChannelsCsv(image, text, {.clearFirst = true});
    std::vector<ChannelRow> rows;
    if (imported.error) {
        return rows;
    }
    for (const int channel : imported.channels) {
        const bool seen = std::any_of(rows.begin(), rows.end(), [channel](const ChannelRow& row) {
            return row.channel == channel;
        });
        if (IsValidChannel(channel) && !seen) {
            rows.push_back({channel, ReadRecord(imported.image, channel)});
        }
    }
    return rows;
}

}  // namespace halyx::channel_clipboard
