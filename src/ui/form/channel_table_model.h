#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <optional>

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

private:
    void OnDocumentChanged(const DocumentChange& change);
    QString CellText(int row, int column) const;

    RadioDocument& document_;
    const TextSource& texts_;
    RadioDocument::Subscription subscription_ = 0;
    ToneTable tones_;
    QStringList headers_;
    std::optional<FrequencyCorrection> lastCorrection_;
};

}  // namespace halyx
