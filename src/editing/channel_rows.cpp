#include "editing/channel_rows.h"

#include <algorithm>

#include "image/channel.h"
#include "image/working_copies.h"

namespace halyx {
namespace {

std::vector<RecordBytes> ReadRecords(const RadioImage& image, int first, int last) {
    std::vector<RecordBytes> records;
    for (int channel = first; channel <= last; ++channel) {
        records.push_back(ReadRecord(image, channel));
    }
    return records;
}

void WriteRecords(RadioImage& image, int first, const std::vector<RecordBytes>& records) {
    int channel = first;
    for (const RecordBytes& record : records) {
        WriteRecord(image, channel++, record);
    }
}

void ClearRecord(RecordBytes& record) {
    Channel channel(0, record, 0);
    channel.Clear();
    record = channel.record();
}

void CopyShownFields(const RecordBytes& from, RecordBytes& to) {
    for (const std::size_t frequency : {record::kTxFrequency, record::kRxFrequency}) {
        std::copy_n(from.begin() + frequency, record::kFrequencySize, to.begin() + frequency);
    }
    for (const std::size_t field : {record::kRxTone, record::kTxTone, record::kBandwidth}) {
        to[field] = from[field];
    }
}

// The channel's own rules apply, as in the grid: a receive tone sets the transmit tone too, so a
// bulk edit that also names a transmit tone sets that one after the receive tone.
SetResult SetField(Channel& channel, BulkField field, std::uint8_t value) {
    switch (field) {
        case BulkField::RxTone:
            return channel.SetRxTone(value);
        case BulkField::TxTone:
            return channel.SetTxTone(value);
        case BulkField::Bandwidth:
            break;
    }
    return channel.SetBandwidth(value);
}

}  // namespace

RecordBytes ReadRecord(const RadioImage& image, int channel) {
    RecordBytes record{};
    if (IsValidChannel(channel)) {
        std::copy_n(image.bytes.begin() + static_cast<std::ptrdiff_t>(RecordOffset(channel)),
                    kRecordSize, record.begin());
    }
    return record;
}

void WriteRecord(RadioImage& image, int channel, const RecordBytes& record) {
    if (IsValidChannel(channel)) {
        std::copy(record.begin(), record.end(),
                  image.bytes.begin() + static_cast<std::ptrdiff_t>(RecordOffset(channel)));
    }
}

std::vector<ChannelRow> CopyChannels(const RadioImage& image, ChannelRange range) {
    std::vector<ChannelRow> rows;
    for (int channel = range.first; range.IsValid() && channel <= range.last; ++channel) {
        rows.push_back({channel, ReadRecord(image, channel)});
    }
    return rows;
}

void ClearChannels(RadioImage& image, ChannelRange range) {
    for (int channel = range.first; range.IsValid() && channel <= range.last; ++channel) {
        RecordBytes record = ReadRecord(image, channel);
        ClearRecord(record);
        WriteRecord(image, channel, record);
    }
}

ChannelRange PasteChannels(RadioImage& image, int target, const std::vector<ChannelRow>& rows,
                           PasteForm form) {
    if (!IsValidChannel(target) || rows.empty()) {
        return {};
    }
    const int lowest = std::min_element(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
                           return a.channel < b.channel;
                       })->channel;
    ChannelRange written{kChannelCount + 1, 0};
    for (const ChannelRow& row : rows) {
        const int channel = target + row.channel - lowest;
        if (!IsValidChannel(channel)) {
            continue;
        }
        RecordBytes record = row.record;
        if (form == PasteForm::ShownFieldsOnly) {
            record = ReadRecord(image, channel);
            CopyShownFields(row.record, record);
        }
        WriteRecord(image, channel, record);
        written.first = std::min(written.first, channel);
        written.last = std::max(written.last, channel);
    }
    return written.IsValid() ? written : ChannelRange{};
}

bool MoveChannelsUp(RadioImage& image, ChannelRange range) {
    if (!range.IsValid() || range.first == 1) {
        return false;
    }
    std::vector<RecordBytes> records = ReadRecords(image, range.first - 1, range.last);
    std::rotate(records.begin(), records.begin() + 1, records.end());
    WriteRecords(image, range.first - 1, records);
    return true;
}

bool MoveChannelsDown(RadioImage& image, ChannelRange range) {
    if (!range.IsValid() || range.last == kChannelCount) {
        return false;
    }
    std::vector<RecordBytes> records = ReadRecords(image, range.first, range.last + 1);
    std::rotate(records.rbegin(), records.rbegin() + 1, records.rend());
    WriteRecords(image, range.first, records);
    return true;
}

InsertResult InsertEmptyChannel(RadioImage& image, int at) {
    if (!IsValidChannel(at)) {
        return InsertResult::InvalidChannel;
    }
    if (!IsChannelEmpty(image, kChannelCount)) {
        return InsertResult::LastChannelInUse;
    }
    std::vector<RecordBytes> records = ReadRecords(image, at, kChannelCount);
    std::rotate(records.rbegin(), records.rbegin() + 1, records.rend());
    WriteRecords(image, at, records);
    return InsertResult::Inserted;
}

bool DeleteChannels(RadioImage& image, ChannelRange range) {
    if (!range.IsValid()) {
        return false;
    }
    std::vector<RecordBytes> records = ReadRecords(image, range.first, kChannelCount);
    std::rotate(records.begin(), records.begin() + range.count(), records.end());
    for (auto freed = records.end() - range.count(); freed != records.end(); ++freed) {
        ClearRecord(*freed);
    }
    WriteRecords(image, range.first, records);
    return true;
}

int SetFieldForChannels(RadioImage& image, ChannelRange range, BulkField field,
                        std::uint8_t value) {
    int changed = 0;
    for (int number = range.first; range.IsValid() && number <= range.last; ++number) {
        Channel channel(image, number);
        if (channel.IsEmpty()) {
            continue;
        }
        const Channel before = channel;
        SetField(channel, field, value);
        if (channel != before) {
            channel.StoreInto(image);
            ++changed;
        }
    }
    return changed;
}

}  // namespace halyx
