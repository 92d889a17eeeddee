#include "ui/form/channel_editors.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>

#include <algorithm>

#include "app/app_context.h"
#include "image/frequency_codec.h"
#include "image/option_lists.h"
#include "ui/form/channel_grid.h"
#include "ui/form/form_ids.h"
#include "ui/form/frequency_edit.h"
#include "ui/grid/grid_ctrl.h"

namespace halyx {
namespace {

using namespace channel_grid;

bool IsFrequencyColumn(int column) {
    return column == kRxFrequency || column == kTxFrequency;
}

bool IsChoiceColumn(int column) {
    return column == kRxTone || column == kTxTone || column == kBandwidth;
}

// Whether `popup` belongs to `owner` (its context menu, the drop-down's list). Unlike
// QWidget::isAncestorOf this crosses the window boundary a popup always is.
bool BelongsTo(const QWidget* popup, const QWidget* owner) {
    for (const QWidget* widget = popup; widget != nullptr; widget = widget->parentWidget()) {
        if (widget == owner) {
            return true;
        }
    }
    return false;
}

bool IsUndoKey(const QKeyEvent* event) {
    const auto combination = event->keyCombination();
    return combination == QKeyCombination(Qt::ControlModifier, Qt::Key_Z) ||
           combination == QKeyCombination(Qt::AltModifier, Qt::Key_Backspace);
}

bool IsRedoKey(const QKeyEvent* event) {
    const auto combination = event->keyCombination();
    return combination == QKeyCombination(Qt::ControlModifier, Qt::Key_Y) ||
           combination == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z);
}

bool IsMenuKey(const QKeyEvent* event) {
    const auto combination = event->keyCombination();
    return combination == QKeyCombination(Qt::NoModifier, Qt::Key_Menu) ||
           combination == QKeyCombination(Qt::ShiftModifier, Qt::Key_F10);
}

// Styles that drop the list down below the cell show this many of the 155 tones at a time.
constexpr int kVisibleEntries = 12;

QStringList ToQStringList(const std::vector<std::string>& texts) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::string& text : texts) {
        list.append(QString::fromStdString(text));
    }
    return list;
}

}  // namespace

int ChoicePositionFor(const QStringList& entries, const QString& cellText) {
    const auto count = static_cast<int>(entries.size());
    for (int step = 1; step <= count; ++step) {
        const int position = step % count;
        if (entries.at(position).startsWith(cellText, Qt::CaseInsensitive)) {
            return position;
        }
    }
    return -1;
}

ChannelEditors::ChannelEditors(AppContext& context, CGridCtrl& grid, QWidget& form,
                               std::function<void()> refill)
    : QObject(&form), context_(context), grid_(grid), form_(form), refill_(std::move(refill)) {
    frequencyEdit_ = new FrequencyEdit(&form);
    frequencyEdit_->setObjectName(QString::number(form::kFrequencyEditor));
    frequencyEdit_->hide();
    choiceList_ = new QComboBox(&form);
    choiceList_->setObjectName(QString::number(form::kChoiceEditor));
    choiceList_->hide();
    choiceList_->setMaxVisibleItems(kVisibleEntries);
    // Shown only over a cell: the Tab key moves between cells while they are open.
    frequencyEdit_->setFocusPolicy(Qt::ClickFocus);
    choiceList_->setFocusPolicy(Qt::ClickFocus);

    // Only a choice the user makes is stored; filling and preselecting the list are not.
    connect(choiceList_, &QComboBox::activated, this, &ChannelEditors::CommitChoice);
    frequencyEdit_->installEventFilter(this);
    choiceList_->installEventFilter(this);
    grid_.installEventFilter(this);
}

void ChannelEditors::OnGridCell(int row, int column) {
    // Normally the grid's taking the focus has committed the old target already.
    EndEditing();
    target_ = CCellID(row, column);
    if (row < 1 || column < 1) {
        grid_.SetFocusCell(row, column);  // a header: no editor, the focus stays usable
        return;
    }
    if ((grid_.GetItemState(row, column) & CELL_READONLY) != 0) {
        return;
    }
    if (IsFrequencyColumn(column)) {
        OpenFrequency(row, column);
    } else if (IsChoiceColumn(column)) {
        OpenChoice(row, column);
    }
}

bool ChannelEditors::PlaceOver(QWidget* editor, int row, int column) {
    // A cell clicked at the grid's right edge is scrolled fully into view first, so that the
    // editor neither sticks out of the grid nor covers the settings beside it.
    grid_.EnsureVisible(row, column);
    QRect cell;
    if (!grid_.GetCellRect(row, column, cell)) {
        return false;
    }
    const QPoint topLeft = grid_.viewport()->mapTo(&form_, cell.topLeft());
    editor->setGeometry(QRect(topLeft, cell.size()));
    editor->show();
    editor->raise();
    return true;
}

void ChannelEditors::Announce(QWidget* editor, int row, int column) {
    // "RX Freq (MHz) CH03": what the cell is, as the grid's headers say it.
    editor->setAccessibleName(grid_.GetItemText(0, column) + QLatin1Char(' ') +
                              grid_.GetItemText(row, 0));
}

void ChannelEditors::OpenFrequency(int row, int column) {
    if (!PlaceOver(frequencyEdit_, row, column)) {
        return;
    }
    open_ = Open::Frequency;
    Announce(frequencyEdit_, row, column);
    frequencyEdit_->setText(grid_.GetItemText(row, column));
    frequencyEdit_->selectAll();
    frequencyEdit_->setFocus(Qt::OtherFocusReason);
}

void ChannelEditors::OpenChoice(int row, int column) {
    const QStringList entries = column == kBandwidth ? ToQStringList(EntryTexts(BandwidthList()))
                                                     : ToQStringList(context_.toneTable.entries());
    choiceList_->clear();
    choiceList_->addItems(entries);
    if (!PlaceOver(choiceList_, row, column)) {
        return;
    }
    open_ = Open::Choice;
    Announce(choiceList_, row, column);
    choiceList_->setFocus(Qt::OtherFocusReason);
    choiceList_->setCurrentIndex(ChoicePositionFor(entries, grid_.GetItemText(row, column)));
}

void ChannelEditors::CommitFrequency() {
    if (open_ != Open::Frequency) {
        return;  // already committed (hiding a focused editor reports a second focus loss)
    }
    open_ = Open::None;
    frequencyEdit_->hide();
    if (frequencyEdit_->window()->focusWidget() == frequencyEdit_) {
        grid_.setFocus(Qt::OtherFocusReason);  // the window comes back to the grid, not nowhere
    }
    // Leaving an untouched editor stores nothing: re-reading the shown text would turn an
    // erased channel's FF bytes into zeros and snap off-step or out-of-band frequencies.
    if (!frequencyEdit_->isModified() || !IsValidChannel(target_.row) ||
        !IsFrequencyColumn(target_.col)) {
        return;
    }
    const ParsedFrequency parsed =
        ParseFrequency(frequencyEdit_->text().toStdString(), context_.image.bytes[header::kBand]);
    frequencyEdit_->setText(QString::fromStdString(parsed.text));
    RecordCopy& record = context_.recordCopy;
    LoadRecordCopy(context_.image, target_.row, record);
    EncodeFrequency(parsed.hertz, record.frequency(record::kTxFrequency));
    if (target_.col == kRxFrequency) {
        // The receive frequency is always the transmit frequency too.
        std::copy_n(record.frequency(record::kTxFrequency), record::kFrequencySize,
                    record.frequency(record::kRxFrequency));
    }
    StoreAsOneStep(record, target_.row);
}

void ChannelEditors::CommitChoice(int position) {
    if (position < 0 || !IsValidChannel(target_.row) || !IsChoiceColumn(target_.col)) {
        return;
    }
    const auto value = static_cast<std::uint8_t>(position);
    RecordCopy& record = context_.recordCopy;
    LoadRecordCopy(context_.image, target_.row, record);
    switch (target_.col) {
        case kRxTone:
            record.set(record::kRxTone, value);
            record.set(record::kTxTone, value);  // choosing the receive tone sets both
            break;
        case kTxTone:
            record.set(record::kTxTone, value);
            break;
        default:
            record.set(record::kBandwidth, value);
            break;
    }
    StoreAsOneStep(record, target_.row);
}

void ChannelEditors::StoreAsOneStep(const RecordCopy& record, int channel) {
    // However many fields the edit set (a receive frequency sets the transmit one too), undo
    // takes it back as one.
    EditAsOneStep(context_.history, context_.image,
                  [&](RadioImage& image) { StoreRecordCopy(record, channel, image); });
    refill_();
}

void ChannelEditors::HideChoice() {
    if (open_ == Open::Choice) {
        open_ = Open::None;
    }
    if (choiceList_->isVisible()) {
        choiceList_->hidePopup();
        choiceList_->hide();
    }
    if (choiceList_->window()->focusWidget() == choiceList_) {
        grid_.setFocus(Qt::OtherFocusReason);
    }
}

void ChannelEditors::EndEditing() {
    CommitFrequency();
    HideChoice();
}

void ChannelEditors::CancelEditing() {
    if (open_ == Open::Frequency) {
        frequencyEdit_->setModified(false);
    }
    EndEditing();
}

void ChannelEditors::ReturnToGrid() {
    grid_.setFocus(Qt::OtherFocusReason);  // the editor's focus loss commits or hides it
    if (open_ != Open::None) {
        EndEditing();  // the window was not active, so no focus event came
    }
}

bool ChannelEditors::KeepsFocusOut(QWidget* editor) const {
    // The editor's own context menu or drop-down list is open: the user is still working in
    // it. The focus reason does not tell: depending on the window system the popup's opening
    // arrives as a popup, a window deactivation or the popup's list taking the focus.
    return BelongsTo(QApplication::activePopupWidget(), editor) ||
           BelongsTo(QApplication::focusWidget(), editor);
}

bool ChannelEditors::OnEditorShortcut(QWidget* editor, QKeyEvent* event) {
    // The box's own undo and redo come first; with nothing of its own to undo (or redo) the
    // key goes on to the window, which undoes the last change to the image.
    if (editor != frequencyEdit_) {
        return false;
    }
    const bool own = (IsUndoKey(event) && frequencyEdit_->isUndoAvailable()) ||
                     (IsRedoKey(event) && frequencyEdit_->isRedoAvailable());
    if (own) {
        event->accept();
        return true;
    }
    return IsUndoKey(event) || IsRedoKey(event);  // not taken: the window's shortcut runs
}

bool ChannelEditors::OnEditorKey(QWidget* editor, QKeyEvent* event) {
    const int key = event->key();
    const bool frequency = editor == frequencyEdit_;
    if (frequency && (IsUndoKey(event) || IsRedoKey(event))) {
        IsUndoKey(event) ? frequencyEdit_->undo() : frequencyEdit_->redo();
        return true;
    }
    if (IsMenuKey(event)) {
        // The row menu, as from the grid: a cell editor is the grid's cell for the keyboard.
        ReturnToGrid();
        QKeyEvent forwarded(event->type(), key, event->modifiers(), event->text());
        QCoreApplication::sendEvent(&grid_, &forwarded);
        return true;
    }
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            ReturnToGrid();
            return true;
        case Qt::Key_Escape:
            if (frequency) {
                frequencyEdit_->setText(grid_.GetItemText(target_.row, target_.col));
                frequencyEdit_->setModified(false);
            }
            ReturnToGrid();
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (!frequency) {
                return false;  // the drop-down's own way of choosing
            }
            [[fallthrough]];
        case Qt::Key_Tab:
        case Qt::Key_Backtab: {
            ReturnToGrid();
            // The grid moves on from the edit target and opens the next cell's editor.
            QKeyEvent forwarded(event->type(), key, event->modifiers(), event->text());
            QCoreApplication::sendEvent(&grid_, &forwarded);
            return true;
        }
        default:
            return false;
    }
}

bool ChannelEditors::OnGridKey(QKeyEvent* event) {
    const int key = event->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_F2) {
        return false;
    }
    const CCellID focus = grid_.GetFocusCell();
    if (!focus.IsValid()) {
        return false;
    }
    OnGridCell(focus.row, focus.col);  // opens the focus cell's editor, as a click would
    return true;
}

void ChannelEditors::OnGridFocusIn(Qt::FocusReason reason) {
    // Tabbing into the grid lands on its first channel cell, so the arrow keys work at once.
    if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) &&
        !grid_.GetFocusCell().IsValid()) {
        grid_.SetFocusCell(1, kRxFrequency);
    }
}

bool ChannelEditors::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == &grid_) {
        if (type == QEvent::KeyPress) {
            return OnGridKey(static_cast<QKeyEvent*>(event));
        }
        if (type == QEvent::FocusIn) {
            OnGridFocusIn(static_cast<QFocusEvent*>(event)->reason());
        }
        return false;
    }
    auto* editor = static_cast<QWidget*>(watched);
    if (type == QEvent::ShortcutOverride) {
        return OnEditorShortcut(editor, static_cast<QKeyEvent*>(event));
    }
    if (type == QEvent::KeyPress) {
        return OnEditorKey(editor, static_cast<QKeyEvent*>(event));
    }
    if (type == QEvent::FocusOut) {
        if (KeepsFocusOut(editor)) {
            return false;
        }
        if (editor == frequencyEdit_) {
            CommitFrequency();
        } else {
            HideChoice();
        }
    }
    return false;
}

}  // namespace halyx
