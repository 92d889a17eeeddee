#pragma once

#include <gtest/gtest.h>

#include "files/image_file.h"
#include "image/frequency_codec.h"
#include "image/working_copies.h"
#include "support/run_process.h"

namespace halyx::testing {

// The shipped default image: 406.1-470 MHz, channels 1-8 set, 9-20 erased.
inline RadioImage DefaultImage() {
    RadioImage image;
    EXPECT_TRUE(LoadImageFile(SourceDir() / "data" / "default.kda", image).ok());
    return image;
}

inline void SetChannel(RadioImage& image, int channel, std::uint32_t rxHz, std::uint32_t txHz,
                       std::uint8_t rxTone, std::uint8_t txTone, std::uint8_t bandwidth) {
    RecordCopy record;
    LoadRecordCopy(image, channel, record);
    EncodeFrequency(rxHz, record.frequency(record::kRxFrequency));
    EncodeFrequency(txHz, record.frequency(record::kTxFrequency));
    record.set(record::kRxTone, rxTone);
    record.set(record::kTxTone, txTone);
    record.set(record::kBandwidth, bandwidth);
    StoreRecordCopy(record, channel, image);
}

inline RecordCopy Record(const RadioImage& image, int channel) {
    RecordCopy record;
    LoadRecordCopy(image, channel, record);
    return record;
}

inline std::uint32_t RxHz(const RadioImage& image, int channel) {
    return DecodeFrequency(Record(image, channel).frequency(record::kRxFrequency)) * 10;
}

inline std::uint32_t TxHz(const RadioImage& image, int channel) {
    return DecodeFrequency(Record(image, channel).frequency(record::kTxFrequency)) * 10;
}

}  // namespace halyx::testing
