#include "ui/form/channel_row_commands.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

#include "editing/channel_clipboard.h"
#include "editing/radio_document.h"
#include "ui/common/shell_texts.h"
#include "ui/common/text_source.h"
#include "ui/common/ui_prompts.h"
#include "ui/form/bulk_edit_dialog.h"
#include "ui/form/row_command_texts.h"
#include "ui/grid/grid_ctrl.h"

namespace halyx {
namespace {

using Command = ChannelRowCommands::Command;

struct MenuEntry {
    Command command;
    const TextKey* text;
    bool separatorBefore;
};

const MenuEntry kMenuEntries[] = {
    {Command::Copy, &row_texts::kCopy, false},
    {Command::Cut, &row_texts::kCut, false},
    {Command::Paste, &row_texts::kPaste, false},
    {Command::Clear, &row_texts::kClear, false},
    {Command::MoveUp, &row_texts::kMoveUp, true},
    {Command::MoveDown, &row_texts::kMoveDown, false},
    {Command::Insert, &row_texts::kInsert, true},
    {Command::Delete, &row_texts::kDelete, false},
    {Command::BulkSet, &row_texts::kBulkSet, true},
    {Command::Undo, &row_texts::kUndo, true},
    {Command::Redo, &row_texts::kRedo, false},
};

QString RawMimeType() {
    return QString::fromLatin1(channel_clipboard::kRawMimeType.data(),
                               static_cast<qsizetype>(channel_clipboard::kRawMimeType.size()));
}

}  // namespace

ChannelRowCommands::ChannelRowCommands(RadioDocument& document, const TextSource& texts,
                                       UiPrompts& prompts, const ToneTable& tones, CGridCtrl& grid,
                                       QWidget& form, std::function<void()> endEditing)
    : QObject(&form),
      document_(document),
      texts_(texts),
      prompts_(prompts),
      tones_(tones),
      grid_(grid),
      form_(form),
      endEditing_(std::move(endEditing)) {
    BuildMenu();
}

QString ChannelRowCommands::Text(const TextKey& key) const {
    return texts_.qtext(key);
}

void ChannelRowCommands::BuildMenu() {
    menu_ = new QMenu(&form_);
    menu_->setObjectName(QStringLiteral("ChannelRowMenu"));
    for (const MenuEntry& entry : kMenuEntries) {
        if (entry.separatorBefore) {
            menu_->addSeparator();
        }
        QAction* action = menu_->addAction(QString());
        const Command command = entry.command;
        // Queued: the menu closes and gives the focus back before a command opens a dialog.
        connect(
            action, &QAction::triggered, this, [this, command] { Run(command); },
            Qt::QueuedConnection);
        actions_[command] = action;
    }
}

void ChannelRowCommands::UpdateMenu() {
    menu_->setTitle(Text(row_texts::kMenuName));
    menu_->setAccessibleName(menu_->title());
    for (const MenuEntry& entry : kMenuEntries) {
        actions_[entry.command]->setText(Text(*entry.text));
        actions_[entry.command]->setEnabled(Applies(entry.command));
    }
}

bool ChannelRowCommands::Applies(Command command) const {
    const ChannelRange rows = TargetRows();
    const bool any = rows.IsValid();
    switch (command) {
        case Command::Paste:
            return any && ClipboardHasChannels();
        case Command::MoveUp:
            return any && rows.first > 1;
        case Command::MoveDown:
            return any && rows.last < kChannelCount;
        case Command::Undo:
            return document_.CanUndo();
        case Command::Redo:
            return document_.CanRedo();
        case Command::Copy:
        case Command::Cut:
        case Command::Clear:
        case Command::Insert:
        case Command::Delete:
        case Command::BulkSet:
            break;
    }
    return any;
}

void ChannelRowCommands::ShowMenu(const QPoint& globalPos) {
    endEditing_();
    grid_.setFocus(Qt::OtherFocusReason);  // where the keyboard goes on when the menu closes
    UpdateMenu();
    menu_->popup(globalPos);
}

ChannelRange ChannelRowCommands::TargetRows() const {
    const CCellRange chosen = grid_.GetChosenRows();
    if (chosen.IsValid()) {
        return {chosen.minRow, chosen.maxRow};
    }
    const int focusRow = grid_.GetFocusCell().row;
    return IsValidChannel(focusRow) ? ChannelRange::Single(focusRow) : ChannelRange{};
}

bool ChannelRowCommands::EditImage(const std::function<void(RadioImage&)>& change) {
    return document_.Edit(change);  // the grid follows the document's announcement
}

void ChannelRowCommands::Inform(const QString& text) {
    prompts_.inform(
        &form_, PromptIcon::Information,
        QString::fromLatin1(captions::kCps.data(), static_cast<qsizetype>(captions::kCps.size())),
        text);
}

void ChannelRowCommands::Run(Command command) {
    endEditing_();
    const ChannelRange rows = TargetRows();
    if (command == Command::Undo) {
        Undo();
        return;
    }
    if (command == Command::Redo) {
        Redo();
        return;
    }
    if (!rows.IsValid()) {
        return;
    }
    switch (command) {
        case Command::Copy:
            CopyToClipboard(rows);
            break;
        case Command::Cut:
            CopyToClipboard(rows);
            EditImage([rows](RadioImage& image) { ClearChannels(image, rows); });
            break;
        case Command::Paste:
            Paste(rows);
            break;
        case Command::Clear:
            EditImage([rows](RadioImage& image) { ClearChannels(image, rows); });
            break;
        case Command::MoveUp:
            if (EditImage([rows](RadioImage& image) { MoveChannelsUp(image, rows); })) {
                FollowRows(rows.first - 1, rows.last - 1);
            }
            break;
        case Command::MoveDown:
            if (EditImage([rows](RadioImage& image) { MoveChannelsDown(image, rows); })) {
                FollowRows(rows.first + 1, rows.last + 1);
            }
            break;
        case Command::Insert:
            Insert(rows);
            break;
        case Command::Delete:
            EditImage([rows](RadioImage& image) { DeleteChannels(image, rows); });
            grid_.ClearChosenRows();
            break;
        case Command::BulkSet:
            BulkSet(rows);
            break;
        case Command::Undo:
        case Command::Redo:
            break;
    }
}

bool ChannelRowCommands::Undo() {
    endEditing_();
    return document_.Undo();
}

bool ChannelRowCommands::Redo() {
    endEditing_();
    return document_.Redo();
}

void ChannelRowCommands::CopyToClipboard(ChannelRange rows) {
    const std::vector<ChannelRow> copied = CopyChannels(document_.image(), rows);
    auto* data = new QMimeData;
    const std::string raw = channel_clipboard::EncodeRaw(copied);
    data->setData(RawMimeType(), QByteArray(raw.data(), static_cast<qsizetype>(raw.size())));
    const std::string text = channel_clipboard::RowsToText(document_.image(), copied);
    if (!text.empty()) {
        data->setText(QString::fromStdString(text));
    }
    QGuiApplication::clipboard()->setMimeData(data);
}

bool ChannelRowCommands::ClipboardHasChannels() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && (data->hasFormat(RawMimeType()) || data->hasText());
}

void ChannelRowCommands::Paste(ChannelRange rows) {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    std::vector<ChannelRow> pasted;
    PasteForm form = PasteForm::WholeRecords;
    // The raw records are exact; the text is what other programs put there.
    if (data != nullptr && data->hasFormat(RawMimeType())) {
        const QByteArray raw = data->data(RawMimeType());
        if (auto decoded = channel_clipboard::DecodeRaw(std::string_view(raw.data(), raw.size()))) {
            pasted = std::move(*decoded);
        }
    }
    if (pasted.empty() && data != nullptr && data->hasText()) {
        pasted = channel_clipboard::RowsFromText(document_.image(), data->text().toStdString());
        form = PasteForm::ShownFieldsOnly;
    }
    if (pasted.empty()) {
        Inform(Text(row_texts::kNothingToPaste));
        return;
    }
    EditImage([&](RadioImage& image) { PasteChannels(image, rows.first, pasted, form); });
}

void ChannelRowCommands::Insert(ChannelRange rows) {
    InsertResult result = InsertResult::InvalidChannel;
    EditImage([&](RadioImage& image) { result = InsertEmptyChannel(image, rows.first); });
    if (result == InsertResult::LastChannelInUse) {
        Inform(Text(row_texts::kLastChannelInUse));
    }
}

void ChannelRowCommands::BulkSet(ChannelRange rows) {
    BulkEditDialog dialog(texts_, tones_, &form_);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const BulkEdit edit = dialog.edit();
    EditImage([&](RadioImage& image) {
        if (edit.rxTone) {
            SetFieldForChannels(image, rows, BulkField::RxTone, *edit.rxTone);
        }
        if (edit.txTone) {
            SetFieldForChannels(image, rows, BulkField::TxTone, *edit.txTone);
        }
        if (edit.bandwidth) {
            SetFieldForChannels(image, rows, BulkField::Bandwidth, *edit.bandwidth);
        }
    });
}

void ChannelRowCommands::FollowRows(int first, int last) {
    // The moved channels stay chosen (and under the focus) in their new place.
    const CCellID focus = grid_.GetFocusCell();
    const int shift = first - TargetRows().first;
    if (grid_.GetChosenRows().IsValid()) {
        grid_.ChooseRows(first, last);
    }
    if (focus.IsValid()) {
        grid_.SetFocusCell(focus.row + shift, focus.col);
    }
}

}  // namespace halyx
