// Keyboard movement between cells and the clipboard keys.
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>

#include <algorithm>

#include "ui/grid/grid_ctrl.h"

namespace halyx {

int CGridCtrl::NextVisibleRow(int row, int step) const {
    for (int candidate = row + step; candidate >= fixedRows_ && candidate < GetRowCount();
         candidate += step) {
        if (GetRowHeight(candidate) > 0) {
            return candidate;
        }
    }
    return row;
}

int CGridCtrl::NextVisibleColumn(int column, int step) const {
    for (int candidate = column + step; candidate >= fixedColumns_ && candidate < GetColumnCount();
         candidate += step) {
        if (GetColumnWidth(candidate) > 0) {
            return candidate;
        }
    }
    return column;
}

CCellID CGridCtrl::KeyTarget(int key, Qt::KeyboardModifiers modifiers, bool* leaveGrid) const {
    const bool control = modifiers.testFlag(Qt::ControlModifier);
    const bool backwards = key == Qt::Key_Backtab || modifiers.testFlag(Qt::ShiftModifier);
    const int firstRow = NextVisibleRow(fixedRows_ - 1, 1);
    const int lastRow = NextVisibleRow(GetRowCount(), -1);
    const int firstColumn = NextVisibleColumn(fixedColumns_ - 1, 1);
    const int lastColumn = NextVisibleColumn(GetColumnCount(), -1);
    CCellID target = focus_;
    switch (key) {
        case Qt::Key_Down:
            target.row = NextVisibleRow(focus_.row, 1);
            break;
        case Qt::Key_Up:
            target.row = NextVisibleRow(focus_.row, -1);
            break;
        case Qt::Key_Right:
            target.col = NextVisibleColumn(focus_.col, 1);
            break;
        case Qt::Key_Left:
            target.col = NextVisibleColumn(focus_.col, -1);
            break;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: {
            const int step = backwards ? -1 : 1;
            target.col = NextVisibleColumn(focus_.col, step);
            if (target.col == focus_.col) {
                target.row = NextVisibleRow(focus_.row, step);
                target.col = backwards ? lastColumn : firstColumn;
                // Past the last (or first) cell Tab leaves the grid, so keyboard users are not
                // trapped.
                *leaveGrid = target.row == focus_.row;
            }
            break;
        }
        case Qt::Key_PageDown:
        case Qt::Key_PageUp: {
            const int step = key == Qt::Key_PageDown ? 1 : -1;
            for (int moved = 0; moved < PageRowCount(); ++moved) {
                target.row = NextVisibleRow(target.row, step);
            }
            break;
        }
        case Qt::Key_Home:
            target = control ? CCellID(firstRow, firstColumn) : CCellID(focus_.row, firstColumn);
            break;
        case Qt::Key_End:
            target = control ? CCellID(lastRow, lastColumn) : CCellID(focus_.row, lastColumn);
            break;
        default:
            return {};
    }
    return IsValid(target) ? target : CCellID();
}

void CGridCtrl::keyPressEvent(QKeyEvent* event) {
    if (HandleEditingKey(event) || HandleRowKey(event)) {
        return;
    }
    if (!IsValid(focus_)) {
        QAbstractScrollArea::keyPressEvent(event);  // no focus cell: keys just scroll
        return;
    }
    bool leaveGrid = false;
    const CCellID target = KeyTarget(event->key(), event->modifiers(), &leaveGrid);
    if (leaveGrid) {
        focusNextPrevChild(event->key() == Qt::Key_Tab &&
                           !event->modifiers().testFlag(Qt::ShiftModifier));
        return;
    }
    if (!target.IsValid()) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const bool isTab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    ClearChosenRows();
    MoveFocusByKeyboard(target, !isTab && event->modifiers().testFlag(Qt::ShiftModifier));
}

void CGridCtrl::MoveFocusByKeyboard(const CCellID& target, bool extendSelection) {
    if (target == focus_) {
        return;
    }
    QPointer<CGridCtrl> alive(this);
    // Scroll first: whoever opens an editor on this notification needs the cell's real place.
    EnsureVisible(target.row, target.col);
    SendNotify(GN_SELCHANGING, target);
    if (!alive) {
        return;
    }
    if (selectable_) {
        if (!extendSelection || !IsValid(selectionAnchor_)) {
            selectionAnchor_ = target;
        }
        SelectOnClick(target, Qt::ShiftModifier);
    }
    SendNotify(GN_SELCHANGED, target);
    if (!alive) {
        return;
    }
    SetFocusCell(target);
    EnsureVisible(target.row, target.col);
}

bool CGridCtrl::HandleEditingKey(QKeyEvent* event) {
    if (editor_) {
        return false;
    }
    if (event->matches(QKeySequence::Copy)) {
        CopySelection();
        return true;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        if (selectable_) {
            SelectAllCells();
        }
        return true;
    }
    // With editing off these keys must change nothing, so they are swallowed either way.
    if (event->matches(QKeySequence::Cut)) {
        if (editable_) {
            CopySelection();
            ClearSelectedTexts();
        }
        return true;
    }
    if (event->matches(QKeySequence::Paste)) {
        if (editable_) {
            PasteAtFocus();
        }
        return true;
    }
    if (event->key() == Qt::Key_Delete) {
        if (editable_) {
            ClearSelectedTexts();
        }
        return true;
    }
    if (!IsCellEditable(focus_.row, focus_.col)) {
        return false;
    }
    if (event->key() == Qt::Key_F2 || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        StartEdit(focus_, GetItemText(focus_.row, focus_.col), false);
        return true;
    }
    const Qt::KeyboardModifiers commandKeys =
        Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (!event->text().isEmpty() && event->text().at(0).isPrint() &&
        (event->modifiers() & commandKeys) == 0) {
        StartEdit(focus_, event->text(), true);  // typing replaces the text, as in a spreadsheet
        return true;
    }
    return false;
}

CCellRange CGridCtrl::SelectionOrFocus() const {
    if (selectable_ && selection_.IsValid()) {
        return selection_;
    }
    if (IsValid(focus_)) {
        return {focus_.row, focus_.col, focus_.row, focus_.col};
    }
    return {};
}

void CGridCtrl::CopySelection() const {
    const CCellRange range = SelectionOrFocus();
    if (!range.IsValid()) {
        return;
    }
    QStringList lines;
    for (int row = range.minRow; row <= range.maxRow; ++row) {
        QStringList fields;
        for (int column = range.minCol; column <= range.maxCol; ++column) {
            fields.append(GetItemText(row, column));
        }
        lines.append(fields.join(QLatin1Char('\t')));
    }
    QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

void CGridCtrl::ClearSelectedTexts() {
    const CCellRange range = SelectionOrFocus();
    for (int row = range.minRow; range.IsValid() && row <= range.maxRow; ++row) {
        for (int column = range.minCol; column <= range.maxCol; ++column) {
            if (IsCellEditable(row, column)) {
                SetItemText(row, column, QString());
            }
        }
    }
}

void CGridCtrl::PasteAtFocus() {
    if (!IsValid(focus_)) {
        return;
    }
    QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();  // text copied elsewhere usually ends with a line break
    }
    for (int line = 0; line < lines.size(); ++line) {
        QString text = lines.at(line);
        text.remove(QLatin1Char('\r'));
        const QStringList fields = text.split(QLatin1Char('\t'));
        for (int field = 0; field < fields.size(); ++field) {
            const int row = focus_.row + line;
            const int column = focus_.col + field;
            if (IsCellEditable(row, column)) {
                SetItemText(row, column, fields.at(field));
            }
        }
    }
}

}  // namespace halyx
