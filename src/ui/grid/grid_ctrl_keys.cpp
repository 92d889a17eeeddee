// Keyboard movement between cells and the clipboard keys.
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>

#include <algorithm>
#include <utility>

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
    const CCellID focus = GetFocusCell();
    CCellID target = focus;
    switch (key) {
        case Qt::Key_Down:
            target.row = NextVisibleRow(focus.row, 1);
            break;
        case Qt::Key_Up:
            target.row = NextVisibleRow(focus.row, -1);
            break;
        case Qt::Key_Right:
            target.col = NextVisibleColumn(focus.col, 1);
            break;
        case Qt::Key_Left:
            target.col = NextVisibleColumn(focus.col, -1);
            break;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: {
            const int step = backwards ? -1 : 1;
            target.col = NextVisibleColumn(focus.col, step);
            if (target.col == focus.col) {
                target.row = NextVisibleRow(focus.row, step);
                target.col = backwards ? lastColumn : firstColumn;
                // Past the last (or first) cell Tab leaves the grid, so keyboard users are not
                // trapped.
                *leaveGrid = target.row == focus.row;
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
            target = control ? CCellID(firstRow, firstColumn) : CCellID(focus.row, firstColumn);
            break;
        case Qt::Key_End:
            target = control ? CCellID(lastRow, lastColumn) : CCellID(focus.row, lastColumn);
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
    const bool isTab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (!IsValid(GetFocusCell())) {
        if (isTab) {
            event->ignore();  // no focus cell: Tab moves on to the next control
            return;
        }
        QAbstractScrollArea::keyPressEvent(event);  // NOLINT(bugprone-parent-virtual-call)
        return;
    }
    bool leaveGrid = false;
    const CCellID target = KeyTarget(event->key(), event->modifiers(), &leaveGrid);
    if (leaveGrid) {
        event->ignore();  // Qt's focus chain takes the grid's refusal as "move on"
        return;
    }
    if (!target.IsValid()) {
        // Keys the grid does not use (and no keyboard search): they scroll or go to the window.
        QAbstractScrollArea::keyPressEvent(event);  // NOLINT(bugprone-parent-virtual-call)
        return;
    }
    ClearChosenRows();
    MoveFocusByKeyboard(target, !isTab && event->modifiers().testFlag(Qt::ShiftModifier));
}

QModelIndex CGridCtrl::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    // Qt asks this when an editor closes with "edit the next (or previous) cell": the same move
    // as the Tab keys, so typing and tabbing fills a row and then the next.
    static constexpr std::pair<CursorAction, int> kKeys[] = {
        {MoveUp, Qt::Key_Up},           {MoveDown, Qt::Key_Down},         {MoveLeft, Qt::Key_Left},
        {MoveRight, Qt::Key_Right},     {MoveHome, Qt::Key_Home},         {MoveEnd, Qt::Key_End},
        {MovePageUp, Qt::Key_PageUp},   {MovePageDown, Qt::Key_PageDown}, {MoveNext, Qt::Key_Tab},
        {MovePrevious, Qt::Key_Backtab}};
    for (const auto& [cursorAction, key] : kKeys) {
        if (cursorAction == action) {
            bool leaveGrid = false;
            const CCellID target = KeyTarget(key, modifiers, &leaveGrid);
            return leaveGrid ? QModelIndex() : IndexOf(target.row, target.col);
        }
    }
    return {};
}

void CGridCtrl::MoveFocusByKeyboard(const CCellID& target, bool extendSelection) {
    if (target == GetFocusCell()) {
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
    const CCellID focus = GetFocusCell();
    if (!IsCellEditable(focus.row, focus.col)) {
        return false;
    }
    const QModelIndex index = IndexOf(focus.row, focus.col);
    if (event->key() == Qt::Key_F2 || event->key() == Qt::Key_Return ||
        event->key() == Qt::Key_Enter) {
        return edit(index, EditKeyPressed, event);
    }
    const Qt::KeyboardModifiers commandKeys =
        Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    if (!event->text().isEmpty() && event->text().at(0).isPrint() &&
        (event->modifiers() & commandKeys) == 0) {
        // Qt's editor takes the key, so typing replaces the text as in a spreadsheet.
        return edit(index, AnyKeyPressed, event);
    }
    return false;
}

CCellRange CGridCtrl::SelectionOrFocus() const {
    if (const CCellRange selection = GetSelectedRange(); selection.IsValid()) {
        return selection;
    }
    const CCellID focus = GetFocusCell();
    if (IsValid(focus)) {
        return {focus.row, focus.col, focus.row, focus.col};
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
    const CCellID focus = GetFocusCell();
    if (!IsValid(focus)) {
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
            const int row = focus.row + line;
            const int column = focus.col + field;
            if (IsCellEditable(row, column)) {
                SetItemText(row, column, fields.at(field));
            }
        }
    }
}

}  // namespace halyx
