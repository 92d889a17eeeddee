#include "ui/form/channel_editors.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>

#include "ui/form/channel_grid.h"
#include "ui/form/channel_table_model.h"
#include "ui/form/form_ids.h"
#include "ui/form/frequency_edit.h"
#include "ui/grid/grid_ctrl.h"

namespace halyx {
namespace {

using namespace channel_grid;

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

ChannelEditors::ChannelEditors(CGridCtrl& grid, QWidget& form)
    : QStyledItemDelegate(&form), grid_(grid) {
    frequencyEdit_ = new FrequencyEdit(grid.viewport());
    frequencyEdit_->setObjectName(QString::number(form::kFrequencyEditor));
    frequencyEdit_->setMaxLength(FrequencyEdit::kMaxCharacters);
    frequencyEdit_->hide();
    choiceList_ = new QComboBox(grid.viewport());
    choiceList_->setObjectName(QString::number(form::kChoiceEditor));
    choiceList_->setMaxVisibleItems(kVisibleEntries);
    choiceList_->hide();
    // Shown only over a cell: the Tab key moves between cells while they are open.
    frequencyEdit_->setFocusPolicy(Qt::ClickFocus);
    choiceList_->setFocusPolicy(Qt::ClickFocus);
    // Only a choice the user makes is stored; filling and preselecting the list are not.
    connect(choiceList_, &QComboBox::activated, this, &ChannelEditors::OnChoiceActivated);
    grid_.installEventFilter(this);
}

CCellID ChannelEditors::target() const {
    return target_.isValid() ? CCellID(target_.row(), target_.column()) : CCellID();
}

void ChannelEditors::OnGridCell(int row, int column) {
    // Normally the grid's taking the focus has committed the old target already.
    EndEditing();
    if (row < 1 || column < 1) {
        target_ = QPersistentModelIndex();
        grid_.SetFocusCell(row, column);  // a header: no editor, the focus stays usable
        return;
    }
    if ((grid_.GetItemState(row, column) & CELL_READONLY) != 0) {
        return;
    }
    // A cell at the grid's edge is scrolled fully into view first, so that its editor neither
    // sticks out of the grid nor covers the settings beside it.
    grid_.EnsureVisible(row, column);
    grid_.edit(grid_.model()->index(row, column));
}

QWidget* ChannelEditors::createEditor(QWidget* /*parent*/, const QStyleOptionViewItem& /*option*/,
                                      const QModelIndex& index) const {
    target_ = index;
    if (IsFrequencyColumn(index.column())) {
        return frequencyEdit_;
    }
    return IsChoiceColumn(index.column()) ? choiceList_ : nullptr;
}

void ChannelEditors::destroyEditor(QWidget* editor, const QModelIndex& /*index*/) const {
    // The two editors are the form's for good; Qt has hidden this one already.
    if (editor == choiceList_) {
        choiceList_->hidePopup();
    }
    editor->hide();
}

void ChannelEditors::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QString text = index.data(Qt::DisplayRole).toString();
    // "RX Freq (MHz) CH03": what the cell is, as the grid's headers say it.
    const QAbstractItemModel* model = index.model();
    editor->setAccessibleName(model->index(0, index.column()).data().toString() + QLatin1Char(' ') +
                              model->index(index.row(), 0).data().toString());
    if (editor == frequencyEdit_) {
        frequencyEdit_->setText(text);
        frequencyEdit_->setModified(false);
        frequencyEdit_->selectAll();
        return;
    }
    const auto* channels = dynamic_cast<const ChannelTableModel*>(model);
    const QStringList entries =
        channels != nullptr ? channels->ChoicesFor(index.column()) : QStringList{};
    choiceList_->clear();
    choiceList_->addItems(entries);
    choiceList_->setCurrentIndex(ChoicePositionFor(entries, text));
    const_cast<ChannelEditors*>(this)->pickedChoice_ = -1;
}

void ChannelEditors::setModelData(QWidget* editor, QAbstractItemModel* model,
                                  const QModelIndex& index) const {
    if (editor == frequencyEdit_) {
        // Leaving an untouched editor stores nothing: re-reading the shown text would turn an
        // erased channel's FF bytes into zeros and snap off-step or out-of-band frequencies.
        if (!frequencyEdit_->isModified()) {
            return;
        }
        frequencyEdit_->setModified(false);
        model->setData(index, frequencyEdit_->text(), Qt::EditRole);
        return;
    }
    const int picked = pickedChoice_;
    const_cast<ChannelEditors*>(this)->pickedChoice_ = -1;
    if (editor == choiceList_ && picked >= 0) {
        model->setData(index, picked, Qt::EditRole);
    }
}

void ChannelEditors::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                          const QModelIndex& /*index*/) const {
    editor->setGeometry(option.rect);  // exactly over the cell
}

void ChannelEditors::OnChoiceActivated(int position) {
    pickedChoice_ = position;
    // Stored at once; the drop-down stays open until it loses the focus.
    emit commitData(choiceList_);
}

QWidget* ChannelEditors::OpenEditor() const {
    if (!grid_.IsEditing()) {
        return nullptr;
    }
    if (frequencyEdit_->isVisible()) {
        return frequencyEdit_;
    }
    return choiceList_->isVisible() ? choiceList_ : nullptr;
}

void ChannelEditors::Close(QWidget* editor, bool commit, EndEditHint hint) {
    if (commit) {
        emit commitData(editor);
    }
    emit closeEditor(editor, hint);
}

void ChannelEditors::EndEditing() {
    if (QWidget* editor = OpenEditor()) {
        Close(editor, true, NoHint);
    }
}

void ChannelEditors::CancelEditing() {
    frequencyEdit_->setModified(false);
    pickedChoice_ = -1;
    if (QWidget* editor = OpenEditor()) {
        Close(editor, false, RevertModelCache);
    }
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
    // Kept from the box, which would claim the key for itself: the window's shortcut runs.
    return IsUndoKey(event) || IsRedoKey(event);
}

bool ChannelEditors::OnEditorKey(QWidget* editor, QKeyEvent* event) {
    const int key = event->key();
    const bool frequency = editor == frequencyEdit_;
    if (frequency && (IsUndoKey(event) || IsRedoKey(event))) {
        IsUndoKey(event) ? frequencyEdit_->undo() : frequencyEdit_->redo();
        return true;
    }
    const auto forwardToGrid = [this, event] {
        QKeyEvent forwarded(event->type(), event->key(), event->modifiers(), event->text());
        QCoreApplication::sendEvent(&grid_, &forwarded);
    };
    if (IsMenuKey(event)) {
        // The row menu, as from the grid: a cell editor is the grid's cell for the keyboard.
        Close(editor, true, NoHint);
        forwardToGrid();
        return true;
    }
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Close(editor, true, SubmitModelCache);
            return true;
        case Qt::Key_Escape:
            CancelEditing();
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (!frequency) {
                return false;  // the drop-down's own way of choosing
            }
            [[fallthrough]];
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            // The grid moves on from the edit target and opens the next cell's editor.
            Close(editor, true, NoHint);
            forwardToGrid();
            return true;
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
    auto* editor = qobject_cast<QWidget*>(watched);
    if (editor == nullptr) {
        return false;
    }
    if (type == QEvent::ShortcutOverride) {
        return OnEditorShortcut(editor, static_cast<QKeyEvent*>(event));
    }
    if (type == QEvent::KeyPress) {
        return OnEditorKey(editor, static_cast<QKeyEvent*>(event));
    }
    // Focus loss commits and closes, unless the editor's own list or menu took the focus.
    return QStyledItemDelegate::eventFilter(watched, event);
}

}  // namespace halyx
