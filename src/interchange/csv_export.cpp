#include "interchange/csv_export.h"

#include <cstdint>
#include <vector>

#include "image/frequency_codec.h"
#include "image/working_copies.h"
#include "interchange/csv_columns.h"
#include "interchange/csv_table.h"
#include "interchange/decimal_text.h"
#include "interchange/tone_columns.h"

namespace halyx {
namespace {

constexpr std::uint32_t kCoarseStepHz = 5000;

std::uint32_t Hertz(const RecordCopy& record, std::size_t offset) {
    return DecodeFrequency(record.frequency(offset)) * kHzPerStep;
}

std::string Megahertz(std::uint32_t hertz) {
    return FormatScaledDecimal(hertz, csv::kFrequencyDecimals);
}

std::vector<std::string> ChannelRow(int channel, const RecordCopy& record) {
    const std::uint32_t rx = Hertz(record, record::kRxFrequency);
    const std::uint32_t tx = Hertz(record, record::kTxFrequency);
    const std::string duplex = tx == rx ? "" : tx > rx ? "+" : "-";
    const std::uint32_t offset = tx > rx ? tx - rx : rx - tx;
    const ToneColumns tones =
        ToneColumnsFor(record.at(record::kRxTone), record.at(record::kTxTone));
    return {std::to_string(channel),
            "",
            Megahertz(rx),
            duplex,
            Megahertz(offset),
            tones.tone,
            tones.rToneFreq,
            tones.cToneFreq,
            tones.dtcsCode,
            tones.dtcsPolarity,
            tones.rxDtcsCode,
            tones.crossMode,
            record.at(record::kBandwidth) == 0 ? "NFM" : "FM",
            rx % kCoarseStepHz == 0 ? "5.00" : "6.25",
            "",
            "",
            "",
            "",
            "",
            "",
            ""};
}

}  // namespace

std::string ExportChannelsCsv(const RadioImage& image) {
    std::string out = CsvLine(std::vector<std::string>(csv::kColumns.begin(), csv::kColumns.end()));
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        RecordCopy record;
        LoadRecordCopy(image, channel, record);
        if (!IsChannelEmpty(record)) {
            out += CsvLine(ChannelRow(channel, record));
        }
    }
    return out;
}

}  // namespace halyx
