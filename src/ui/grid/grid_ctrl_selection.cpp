// The focus cell and the selected range, with the state bits that mirror them.
#include <algorithm>

#include "ui/grid/grid_ctrl.h"

namespace halyx {

CCellID CGridCtrl::SetFocusCell(int row, int column) {
    const CCellID previous = focus_;
    if (CCellID(row, column) == focus_) {
        return previous;
    }
    if (row != -1 && row < fixedRows_) {
        row = fixedRows_;
    }
    if (column != -1 && column < fixedColumns_) {
        column = fixedColumns_;
    }
    CCellID target(row, column);
    if (row == -1 || column == -1) {
        target = CCellID();  // half a cell is no cell
    } else if (!IsValid(target)) {
        return previous;  // nothing there: the focus stays where it is
    }
    if (target == focus_) {
        return previous;
    }
    if (editor_ && editCell_ != target) {
        EndEdit(true);
    }
    if (CGridCell* old = GetCell(focus_.row, focus_.col)) {
        old->SetState(old->GetState() & ~CELL_FOCUSED);
    }
    focus_ = target;
    if (CGridCell* current = GetCell(focus_.row, focus_.col)) {
        current->SetState(current->GetState() | CELL_FOCUSED);
    }
    viewport()->update();  // the old and new cell and, when tracking, their headers
    NotifyAccessibleFocus();
    return previous;
}

void CGridCtrl::SetSelectedRange(const CCellRange& range) {
    for (int row = std::max(selection_.minRow, 0); row <= selection_.maxRow; ++row) {
        for (int column = std::max(selection_.minCol, 0); column <= selection_.maxCol; ++column) {
            if (CGridCell* cell = GetCell(row, column)) {
                cell->SetState(cell->GetState() & ~CELL_SELECTED);
            }
        }
    }
    selection_ = CCellRange();
    // Only non-fixed cells are selectable; fixed ones only ever select their rows or columns.
    CCellRange clipped{std::max(range.minRow, fixedRows_), std::max(range.minCol, fixedColumns_),
                       std::min(range.maxRow, GetRowCount() - 1),
                       std::min(range.maxCol, GetColumnCount() - 1)};
    if (selectable_ && range.IsValid() && clipped.IsValid()) {
        selection_ = clipped;
        for (int row = clipped.minRow; row <= clipped.maxRow; ++row) {
            for (int column = clipped.minCol; column <= clipped.maxCol; ++column) {
                CGridCell* cell = GetCell(row, column);
                cell->SetState(cell->GetState() | CELL_SELECTED);
            }
        }
    }
    viewport()->update();
}

void CGridCtrl::ResetSelectedRange() {
    SetSelectedRange(CCellRange());
    SetFocusCell(-1, -1);
}

void CGridCtrl::SelectAllCells() {
    SetSelectedRange({fixedRows_, fixedColumns_, GetRowCount() - 1, GetColumnCount() - 1});
}

bool CGridCtrl::IsCellSelected(int row, int column) const {
    return selectable_ && (GetItemState(row, column) & CELL_SELECTED) != 0;
}

void CGridCtrl::EnableSelection(bool enable) {
    ResetSelectedRange();
    selectable_ = enable;
    ResetSelectedRange();
}

}  // namespace halyx
