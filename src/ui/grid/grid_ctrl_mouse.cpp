// Clicks, divider drags and click selection.
#include <QMouseEvent>
#include <QPointer>

#include <algorithm>

#include "ui/grid/grid_ctrl.h"

namespace halyx {

int CGridCtrl::ColumnDividerAt(const QPoint& point) const {
    if (point.y() >= GetFixedRowHeight()) {
        return -1;
    }
    const CCellID cell = GetCellFromPt(point);
    if (!cell.IsValid()) {
        return -1;
    }
    const qint64 left = ColumnLeft(cell.col);
    if (left + GetColumnWidth(cell.col) - point.x() <= kResizeCaptureRange) {
        return cell.col;
    }
    if (point.x() - left <= kResizeCaptureRange) {
        // The column shown just before this one: across the scrolled-out ones to the fixed part.
        const int previous = cell.col == LeftColumn() ? fixedColumns_ - 1 : cell.col - 1;
        return previous;  // -1 at the grid's left edge, which is no divider
    }
    return -1;
}

int CGridCtrl::RowDividerAt(const QPoint& point) const {
    if (point.x() >= GetFixedColumnWidth()) {
        return -1;
    }
    const CCellID cell = GetCellFromPt(point);
    if (!cell.IsValid()) {
        return -1;
    }
    const qint64 top = RowTop(cell.row);
    if (top + GetRowHeight(cell.row) - point.y() <= kResizeCaptureRange) {
        return cell.row;
    }
    if (point.y() - top <= kResizeCaptureRange) {
        return cell.row == TopRow() ? fixedRows_ - 1 : cell.row - 1;
    }
    return -1;
}

void CGridCtrl::UpdateCursor(const QPoint& point) {
    if (ColumnDividerAt(point) >= 0) {
        viewport()->setCursor(Qt::SplitHCursor);
    } else if (RowDividerAt(point) >= 0) {
        viewport()->setCursor(Qt::SplitVCursor);
    } else {
        viewport()->unsetCursor();
    }
}

void CGridCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;  // the right button reports on release
    }
    // Focus first: an editor the parent placed over a cell commits before it hears of this click.
    setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    const CCellID cell = GetCellFromPt(point);
    pressedCell_ = cell;
    mouseMode_ = MouseMode::None;
    if (!cell.IsValid()) {
        return;
    }
    if (cell == GetFocusCell() && IsCellEditable(cell.row, cell.col) &&
        !event->modifiers().testFlag(Qt::ControlModifier)) {
        mouseMode_ = MouseMode::PreparingEdit;  // editing starts on release
        return;
    }
    const int column = ColumnDividerAt(point);
    const int row = column < 0 ? RowDividerAt(point) : -1;
    if (column >= 0 || row >= 0) {
        mouseMode_ = column >= 0 ? MouseMode::SizingColumn : MouseMode::SizingRow;
        sizingIndex_ = column >= 0 ? column : row;
        sizingStartPos_ = column >= 0 ? point.x() : point.y();
        sizingStartSize_ = column >= 0 ? GetColumnWidth(column) : GetRowHeight(row);
        viewport()->setCursor(column >= 0 ? Qt::SplitHCursor : Qt::SplitVCursor);
        return;
    }
    ClickCell(cell, event->modifiers());
}

void CGridCtrl::ClickCell(const CCellID& cell, Qt::KeyboardModifiers modifiers) {
    if (ChooseRowsOnClick(cell, modifiers)) {
        return;  // Shift on a row label chooses rows; it opens nothing
    }
    QPointer<CGridCtrl> alive(this);
    SetFocusCell(IsCellFixed(cell.row, cell.col) ? CCellID() : cell);
    SendNotify(GN_SELCHANGING, cell);
    if (!alive) {
        return;
    }
    SelectOnClick(cell, modifiers);
    mouseMode_ = selectable_ && !IsCellFixed(cell.row, cell.col) ? MouseMode::SelectingCells
                                                                 : MouseMode::None;
}

void CGridCtrl::SelectOnClick(const CCellID& cell, Qt::KeyboardModifiers modifiers) {
    if (!selectable_) {
        SetSelectedRange(CCellRange());
        return;
    }
    const int lastRow = GetRowCount() - 1;
    const int lastColumn = GetColumnCount() - 1;
    const bool inFixedRow = cell.row < fixedRows_;
    const bool inFixedColumn = cell.col < fixedColumns_;
    if (inFixedRow && inFixedColumn) {
        SelectAllCells();
    } else if (inFixedRow) {
        SetSelectedRange({fixedRows_, cell.col, lastRow, cell.col});
    } else if (inFixedColumn) {
        SetSelectedRange({cell.row, fixedColumns_, cell.row, lastColumn});
    } else {
        if (!modifiers.testFlag(Qt::ShiftModifier) || !IsValid(selectionAnchor_)) {
            selectionAnchor_ = cell;
        }
        SetSelectedRange(
            {std::min(selectionAnchor_.row, cell.row), std::min(selectionAnchor_.col, cell.col),
             std::max(selectionAnchor_.row, cell.row), std::max(selectionAnchor_.col, cell.col)});
    }
}

void CGridCtrl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    switch (mouseMode_) {
        case MouseMode::SizingColumn: {
            const int width = std::max(0, sizingStartSize_ + point.x() - sizingStartPos_);
            SetColumnWidth(sizingIndex_, width);
            return;
        }
        case MouseMode::SizingRow: {
            const int height = std::max(0, sizingStartSize_ + point.y() - sizingStartPos_);
            SetRowHeight(sizingIndex_, height);
            return;
        }
        case MouseMode::SelectingCells: {
            const CCellID cell = GetCellFromPt(point);
            if (event->buttons().testFlag(Qt::LeftButton) && cell.IsValid() &&
                !IsCellFixed(cell.row, cell.col)) {
                SelectOnClick(cell, Qt::ShiftModifier);
            }
            return;
        }
        case MouseMode::PreparingEdit:
            return;
        case MouseMode::None:
            UpdateCursor(point);
            return;
    }
}

void CGridCtrl::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        QPointer<CGridCtrl> alive(this);
        SendNotify(GN_RCLICK, GetCellFromPt(point));
        if (alive) {
            RequestContextMenuAt(point);
        }
        return;
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const MouseMode mode = mouseMode_;
    mouseMode_ = MouseMode::None;
    switch (mode) {
        case MouseMode::SizingColumn:
        case MouseMode::SizingRow:
            UpdateCursor(point);
            return;
        case MouseMode::PreparingEdit: {
            const CCellID focus = GetFocusCell();
            if (GetCellFromPt(point) == focus) {
                edit(IndexOf(focus.row, focus.col), AllEditTriggers, event);
            }
            SendNotify(GN_CLICK, pressedCell_);
            return;
        }
        case MouseMode::SelectingCells:
            SendNotify(GN_SELCHANGED, GetFocusCell());
            SendNotify(GN_CLICK, pressedCell_);
            return;
        case MouseMode::None:
            if (pressedCell_.IsValid()) {
                SendNotify(GN_CLICK, pressedCell_);
            }
            return;
    }
}

void CGridCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    // The second press of a double click is a press like the first, then the double click.
    mousePressEvent(event);
    const MouseMode mode = mouseMode_;
    if (mode == MouseMode::SizingColumn || mode == MouseMode::SizingRow ||
        !pressedCell_.IsValid()) {
        return;
    }
    SendNotify(GN_DBLCLK, pressedCell_);
}

}  // namespace halyx
