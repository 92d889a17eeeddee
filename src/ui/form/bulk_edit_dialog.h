#pragma once

#include <QDialog>
#include <cstdint>
#include <optional>

class QComboBox;

namespace halyx {

class TextSource;
class ToneTable;

// What a bulk edit sets; a field left unset keeps each channel's own value.
struct BulkEdit {
    std::optional<std::uint8_t> rxTone;
    std::optional<std::uint8_t> txTone;
    std::optional<std::uint8_t> bandwidth;
};

// "Set for the chosen channels": a list for the receive tone, the transmit tone and the
// bandwidth, each starting with "(unchanged)". Enter takes the choices, Escape drops them.
class BulkEditDialog : public QDialog {
public:
    BulkEditDialog(const TextSource& texts, const ToneTable& tones, QWidget* parent = nullptr);

    BulkEdit edit() const;
    QComboBox* rxToneList() const { return rxTone_; }
    QComboBox* txToneList() const { return txTone_; }
    QComboBox* bandwidthList() const { return bandwidth_; }

private:
    QComboBox* rxTone_ = nullptr;
    QComboBox* txTone_ = nullptr;
    QComboBox* bandwidth_ = nullptr;
};

}  // namespace halyx
