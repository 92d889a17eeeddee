#include "ui/form/channel_table_model.h"

#include "image/option_fields.h"
#include "image/option_lists.h"
#include "ui/common/text_source.h"
#include "ui/form/channel_grid.h"
#include "ui/form/correction_texts.h"
#include "ui/grid/grid_colours.h"

namespace halyx {

using namespace channel_grid;

namespace {
QStringList ToQStrings(const std::vector<std::string>& texts) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::string& text : texts) {
        list.append(QString::fromStdString(text));
    }
    return list;
}
}  // namespace

ChannelTableModel::ChannelTableModel(RadioDocument& document, const TextSource& texts,
                                     QObject* parent)
    : QAbstractTableModel(parent), document_(document), texts_(texts) {
    subscription_ =
        document_.Subscribe([this](const DocumentChange& change) { OnDocumentChanged(change); });
    Retranslate();
}

ChannelTableModel::~ChannelTableModel() {
    document_.Unsubscribe(subscription_);
}

int ChannelTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kRowCount;
}

int ChannelTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

void ChannelTableModel::Retranslate() {
    BuildToneTable(tones_, texts_.text(keys::kNoTone));
    headers_.clear();
    for (const std::string_view key : kHeaderKeys) {
        headers_.append(texts_.qtext(key));
    }
    emit dataChanged(index(0, 0), index(kRowCount - 1, kColumnCount - 1));
}

void ChannelTableModel::Refresh() {
    emit dataChanged(index(1, 1), index(kRowCount - 1, kColumnCount - 1));
}

QStringList ChannelTableModel::ChoicesFor(int column) const {
    return column == kBandwidth ? ToQStrings(EntryTexts(BandwidthList()))
                                : ToQStrings(tones_.entries());
}

QString ChannelTableModel::CellText(int row, int column) const {
    if (row == 0) {
        return headers_.value(column);
    }
    if (column == 0) {
        return QString::fromStdString(ChannelLabel(row));
    }
    const Channel channel = document_.channel(row);
    if (channel.IsEmpty()) {
        return {};
    }
    switch (column) {
        case kRxFrequency:
            return QString::fromStdString(channel.RxText());
        case kTxFrequency:
            return QString::fromStdString(channel.TxText());
        case kRxTone:
            return QString::fromStdString(ToneText(tones_, channel.rxTone()));
        case kTxTone:
            return QString::fromStdString(ToneText(tones_, channel.txTone()));
        default:
            return QString::fromStdString(BandwidthText(channel.bandwidth()));
    }
}

QVariant ChannelTableModel::data(const QModelIndex& index, int role) const {
    if (index.isValid() && (role == kCellMarkRole || role == Qt::ToolTipRole)) {
        const auto mark = marks_.find({index.row(), index.column()});
        return mark == marks_.end() ? QVariant() : QVariant(mark->second);
    }
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    return CellText(index.row(), index.column());
}

Qt::ItemFlags ChannelTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    if (index.row() == 0 || index.column() == 0) {
        return Qt::ItemIsEnabled;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool ChannelTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || !flags(index).testFlag(Qt::ItemIsEditable)) {
        return false;
    }
    const int row = index.row();
    const int column = index.column();
    std::optional<FrequencyCorrection> corrected;
    editingCell_ = true;
    const bool stored = document_.EditChannel(row, [&](Channel& channel) {
        if (IsFrequencyColumn(column)) {
            const std::string typed = value.toString().toStdString();
            corrected = column == kRxFrequency ? channel.SetRxFrequency(typed)
                                               : channel.SetTxFrequency(typed);
            return;
        }
        const auto position = static_cast<std::uint8_t>(value.toInt());
        if (column == kRxTone) {
            channel.SetRxTone(position);
        } else if (column == kTxTone) {
            channel.SetTxTone(position);
        } else {
            channel.SetBandwidth(position);
        }
    });
    editingCell_ = false;
    if (corrected) {
        lastCorrection_ = corrected;
    }
    // The cell's next edit takes its mark away, whatever the edit was.
    const QString words =
        corrected ? CorrectionText(texts_, CellText(row, 0), headers_.value(column), *corrected)
                  : QString();
    if (words.isEmpty()) {
        marks_.erase({row, column});
    } else {
        marks_[{row, column}] = words;
    }
    emit dataChanged(index, index, {kCellMarkRole, Qt::ToolTipRole});
    if (correctionListener_) {
        correctionListener_(words);
    }
    return stored;
}

void ChannelTableModel::OnDocumentChanged(const DocumentChange& change) {
    if (change.wholeImage) {
        marks_.clear();  // they spoke of values of the image that was replaced
        Refresh();
        return;
    }
    for (const int channel : change.channels) {
        if (!editingCell_) {
            // Moved, pasted, cleared or undone: the corrected value is no longer what was there.
            std::erase_if(marks_,
                          [channel](const auto& mark) { return mark.first.first == channel; });
        }
        emit dataChanged(index(channel, 1), index(channel, kColumnCount - 1));
    }
}

}  // namespace halyx
