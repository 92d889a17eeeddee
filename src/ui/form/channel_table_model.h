#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>
#include <map>
#include <optional>
#include <utility>

#include "editing/radio_document.h"
#include "image/frequency_codec.h"
#include "image/tone_table.h"

namespace halyx {

class TextSource;

// The channel grid's model: the header row, the channel labels and the twenty channels of the
// document, read live. A frequency is edited as the typed text, a tone or the bandwidth as its
// list position; every edit goes through the document's channel setters, so the rules (clamp
// and step, receive sets transmit, an emptied receive frequency empties the channel) are the
// document's. Each document change repaints the rows it touched.
class ChannelTableModel : public QAbstractTableModel {
public:
    ChannelTableModel(RadioDocument& document, const TextSource& texts, QObject* parent = nullptr);
    ~ChannelTableModel() override;
    ChannelTableModel(const ChannelTableModel&) = delete;
    ChannelTableModel& operator=(const ChannelTableModel&) = delete;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Rebuilds the headers and the tone texts in the active language.
    void Retranslate();
    // Shows the document anew (after it was replaced in bulk).
    void Refresh();

    // The entries a tone or bandwidth cell chooses from.
    QStringList ChoicesFor(int column) const;
    const ToneTable& toneTable() const { return tones_; }

    // What the last frequency edit stored and why, for a status line.
    const std::optional<FrequencyCorrection>& lastCorrection() const { return lastCorrection_; }

    // Called after every edit of a cell with what became of it: the words of a correction
    // ("CH03 RX Freq (MHz): 500 → 470.00000, above the band"), or "" when the cell holds what
    // was given. A corrected cell stays marked (kCellMarkRole) until it is next edited, its
    // channel is changed another way, or the image is replaced.
    void SetCorrectionListener(std::function<void(const QString&)> listener) {
        correctionListener_ = std::move(listener);
    }
    bool IsMarked(int row, int column) const { return marks_.count({row, column}) != 0; }

private:
    void OnDocumentChanged(const DocumentChange& change);
    QString CellText(int row, int column) const;

    RadioDocument& document_;
    const TextSource& texts_;
    RadioDocument::Subscription subscription_ = 0;
    ToneTable tones_;
    QStringList headers_;
    std::optional<FrequencyCorrection> lastCorrection_;
    std::map<std::pair<int, int>, QString> marks_;  // (row, column) -> why it was corrected
    std::function<void(const QString&)> correctionListener_;
    bool editingCell_ = false;  // the document change under way is this model's own edit
};

}  // namespace halyx
