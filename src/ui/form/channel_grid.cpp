#include "ui/form/channel_grid.h"

#include <QString>

#include "image/frequency_codec.h"
#include "image/option_fields.h"
#include "image/option_lists.h"
#include "ui/grid/grid_ctrl.h"

namespace halyx {

using namespace channel_grid;

void SetUpChannelGrid(CGridCtrl& grid) {
    grid.SetColumnCount(kColumnCount);
    grid.SetEditable(false);
    grid.SetFixedColumnCount(1);
    grid.SetFixedRowCount(1);
    for (int column = 0; column < kColumnCount; ++column) {
        grid.SetColumnWidth(column, kColumnWidths[static_cast<std::size_t>(column)]);
    }
    grid.EnableSelection(false);
    grid.SetRowHeight(0, kRowHeight);
    grid.SetRowCount(kRowCount);
}

void LabelChannelGrid(CGridCtrl& grid, const AppContext& context) {
    for (int row = 1; row <= kChannelCount; ++row) {
        grid.SetItemText(row, 0, QString::fromStdString(ChannelLabel(row)));
        grid.SetRowHeight(row, kRowHeight);
    }
    for (int column = 0; column < kColumnCount; ++column) {
        const auto key = kHeaderKeys[static_cast<std::size_t>(column)];
        grid.SetItemText(0, column, QString::fromStdString(context.text(key)));
    }
}

void FillChannelGrid(CGridCtrl& grid, AppContext& context) {
    for (int row = 1; row <= kChannelCount; ++row) {
        LoadRecordCopy(context.image, row, context.recordCopy);
        const RecordCopy& record = context.recordCopy;
        if (IsChannelEmpty(record)) {
            for (int column = kRxFrequency; column <= kBandwidth; ++column) {
                grid.SetItemText(row, column, QString());
            }
            continue;
        }
        const auto frequencyText = [&record](std::size_t offset) {
            return QString::fromStdString(
                FormatFrequency(DecodeFrequency(record.frequency(offset))));
        };
        const auto toneText = [&context, &record](std::size_t offset) {
            return QString::fromStdString(ToneText(context.toneTable, record.at(offset)));
        };
        grid.SetItemText(row, kRxFrequency, frequencyText(record::kRxFrequency));
        grid.SetItemText(row, kTxFrequency, frequencyText(record::kTxFrequency));
        grid.SetItemText(row, kRxTone, toneText(record::kRxTone));
        grid.SetItemText(row, kTxTone, toneText(record::kTxTone));
        grid.SetItemText(row, kBandwidth,
                         QString::fromStdString(BandwidthText(record.at(record::kBandwidth))));
    }
}

}  // namespace halyx
