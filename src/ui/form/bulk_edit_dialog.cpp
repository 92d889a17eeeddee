#include "ui/form/bulk_edit_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>

#include "image/option_lists.h"
#include "image/tone_table.h"
#include "ui/common/shell_texts.h"
#include "ui/common/text_source.h"
#include "ui/common/ui_font.h"
#include "ui/form/channel_grid.h"
#include "ui/form/row_command_texts.h"

namespace halyx {
namespace {

QComboBox* AddList(QFormLayout& layout, const QString& label, const QString& unchanged,
                   const std::vector<std::string>& entries) {
    auto* list = new QComboBox;
    list->addItem(unchanged);
    for (const std::string& entry : entries) {
        list->addItem(QString::fromStdString(entry));
    }
    auto* name = new QLabel(label);
    name->setBuddy(list);
    list->setAccessibleName(label);
    layout.addRow(name, list);
    return list;
}

std::optional<std::uint8_t> Choice(const QComboBox* list) {
    // Entry 0 is "(unchanged)"; the others are the field's values from 0 up.
    if (list->currentIndex() <= 0) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(list->currentIndex() - 1);
}

}  // namespace

BulkEditDialog::BulkEditDialog(const TextSource& texts, const ToneTable& tones, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("BulkEditDialog"));
    setWindowTitle(texts.qtext(row_texts::kBulkTitle));
    auto* layout = new QFormLayout(this);
    const QString unchanged = texts.qtext(row_texts::kUnchanged);
    const auto header = [&texts](std::size_t column) {
        return texts.qtext(channel_grid::kHeaderKeys[column]);
    };
    rxTone_ = AddList(*layout, header(channel_grid::kRxTone), unchanged, tones.entries());
    txTone_ = AddList(*layout, header(channel_grid::kTxTone), unchanged, tones.entries());
    bandwidth_ =
        AddList(*layout, header(channel_grid::kBandwidth), unchanged, EntryTexts(BandwidthList()));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(texts.qtext(TextKey{keys::kOkButton, "OK"}));
    buttons->button(QDialogButtonBox::Cancel)
        ->setText(texts.qtext(TextKey{keys::kCancelButton, "Cancel"}));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    layout->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    ApplyUiFont(this);
    rxTone_->setFocus(Qt::OtherFocusReason);  // keyboard users start at the first list
}

BulkEdit BulkEditDialog::edit() const {
    return {Choice(rxTone_), Choice(txTone_), Choice(bandwidth_)};
}

}  // namespace halyx
