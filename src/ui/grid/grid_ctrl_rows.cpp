// Chosen rows and the context menu requests: a range of whole rows for row commands, kept apart
// from the cell selection so that a grid with selection switched off can still offer it.
#include <QContextMenuEvent>
#include <QKeyEvent>

#include <algorithm>

#include "ui/grid/grid_ctrl.h"

namespace halyx {

CCellRange CGridCtrl::GetChosenRows() const {
    if (chosenAnchor_ < 0 || chosenOther_ < 0) {
        return {};
    }
    return {std::min(chosenAnchor_, chosenOther_), 0, std::max(chosenAnchor_, chosenOther_),
            GetColumnCount() - 1};
}

bool CGridCtrl::IsRowChosen(int row) const {
    const CCellRange chosen = GetChosenRows();
    return chosen.IsValid() && row >= chosen.minRow && row <= chosen.maxRow;
}

void CGridCtrl::ChooseRows(int anchorRow, int row) {
    const auto inside = [this](int r) { return r >= fixedRows_ && r < GetRowCount(); };
    if (!inside(anchorRow) || !inside(row)) {
        return;
    }
    if (anchorRow == chosenAnchor_ && row == chosenOther_) {
        return;
    }
    chosenAnchor_ = anchorRow;
    chosenOther_ = row;
    viewport()->update();
    emit chosenRowsChanged();
}

void CGridCtrl::ClearChosenRows() {
    if (chosenAnchor_ < 0) {
        return;
    }
    chosenAnchor_ = -1;
    chosenOther_ = -1;
    viewport()->update();
    emit chosenRowsChanged();
}

bool CGridCtrl::ChooseRowsOnClick(const CCellID& cell, Qt::KeyboardModifiers modifiers) {
    const bool rowLabel = cell.col < fixedColumns_ && cell.row >= fixedRows_;
    if (!rowLabel || !modifiers.testFlag(Qt::ShiftModifier)) {
        ClearChosenRows();
        return false;
    }
    // The range runs from where it began, or from the focus row, to the clicked label.
    const CCellID focus = GetFocusCell();
    int anchor = chosenAnchor_;
    if (anchor < 0) {
        anchor = IsValid(focus) ? focus.row : cell.row;
    }
    ChooseRows(anchor, cell.row);
    SetFocusCell(cell.row, IsValid(focus) ? focus.col : fixedColumns_);
    return true;
}

bool CGridCtrl::HandleRowKey(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    const CCellID focus = GetFocusCell();
    if ((key == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
        (key == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
        QRect cell;
        QPoint point(0, 0);
        if (IsValid(focus) && GetCellRect(focus.row, focus.col, cell)) {
            point = cell.bottomLeft();
        }
        emit contextMenuRequested(IsValid(focus) ? focus.row : -1, viewport()->mapToGlobal(point));
        return true;
    }
    const bool vertical = key == Qt::Key_Up || key == Qt::Key_Down;
    if (!vertical || modifiers != Qt::ShiftModifier || selectable_ || !IsValid(focus)) {
        return false;
    }
    bool leaveGrid = false;
    const CCellID target = KeyTarget(key, event->modifiers(), &leaveGrid);
    if (!target.IsValid() || target == focus) {
        return true;
    }
    ChooseRows(chosenAnchor_ >= 0 ? chosenAnchor_ : focus.row, target.row);
    MoveFocusByKeyboard(target, true);
    return true;
}

void CGridCtrl::RequestContextMenuAt(const QPoint& point) {
    const CCellID cell = GetCellFromPt(point);
    if (!cell.IsValid()) {
        return;
    }
    const CCellID focus = GetFocusCell();
    int row = IsValid(focus) ? focus.row : -1;
    if (cell.row >= fixedRows_) {
        row = cell.row;
        // A row outside the chosen ones lets go of them and becomes the focus row.
        if (!IsRowChosen(row)) {
            ClearChosenRows();
        }
        const int column =
            cell.col >= fixedColumns_ ? cell.col : (IsValid(focus) ? focus.col : fixedColumns_);
        SetFocusCell(row, column);
    }
    emit contextMenuRequested(row, viewport()->mapToGlobal(point));
}

void CGridCtrl::contextMenuEvent(QContextMenuEvent* event) {
    // The right button's release and the menu keys ask for the menu themselves (platforms send
    // this event on the press, or not at all): taking it here keeps one menu per request.
    event->accept();
}

}  // namespace halyx
