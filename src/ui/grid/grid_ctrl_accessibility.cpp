// The grid's side of accessibility: telling assistive technology what changed, in the numbering
// of the grid's own table (fixed cells included), which Qt's item views do not use.
#include <QAccessible>
#include <QMetaObject>

#include <algorithm>

#include "ui/grid/grid_accessible.h"
#include "ui/grid/grid_ctrl.h"

namespace halyx {

void CGridCtrl::QueueTextChange(int firstRow, int firstColumn, int lastRow, int lastColumn) {
    if (!changedTexts_.IsValid()) {
        changedTexts_ = {firstRow, firstColumn, lastRow, lastColumn};
    } else {
        changedTexts_ = {
            std::min(changedTexts_.minRow, firstRow), std::min(changedTexts_.minCol, firstColumn),
            std::max(changedTexts_.maxRow, lastRow), std::max(changedTexts_.maxCol, lastColumn)};
    }
    // Callers set many texts in a row; they are reported together once control returns.
    if (!textFlushQueued_) {
        textFlushQueued_ = true;
        QMetaObject::invokeMethod(this, &CGridCtrl::NotifyTextsChanged, Qt::QueuedConnection);
    }
}

void CGridCtrl::NotifyTextsChanged() {
    textFlushQueued_ = false;
    if (!changedTexts_.IsValid()) {
        return;
    }
    const CCellRange changed = changedTexts_;
    changedTexts_ = CCellRange();
    if (!QAccessible::isActive() && !GridAccessibilityObserved()) {
        return;  // nobody listens: skip building the events
    }
    if (GetRowCount() > 0 && GetColumnCount() > 0) {
        // Table coordinates are grid coordinates. A header text describes every cell of its row
        // or column, so a changed header reports the whole table.
        const bool headers = changed.minRow < fixedRows_ || changed.minCol < fixedColumns_;
        QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::DataChanged);
        event.setFirstRow(headers ? 0 : changed.minRow);
        event.setLastRow(headers ? GetRowCount() - 1 : changed.maxRow);
        event.setFirstColumn(headers ? 0 : changed.minCol);
        event.setLastColumn(headers ? GetColumnCount() - 1 : changed.maxCol);
        SendGridAccessibleEvent(&event);
    }
    const CCellID focus = GetFocusCell();
    if (hasFocus() && changed.InRange(focus.row, focus.col)) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        event.setChild(AccessibleChildIndex(focus.row, focus.col));
        SendGridAccessibleEvent(&event);
    }
}

void CGridCtrl::NotifyStructureChanged() {
    changedTexts_ = CCellRange();  // the reset below covers them
    QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::ModelReset);
    SendGridAccessibleEvent(&event);
}

void CGridCtrl::NotifyAccessibleFocus() {
    const CCellID focus = GetFocusCell();
    if (!hasFocus() || !IsValid(focus) || state() == EditingState) {
        return;
    }
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(AccessibleChildIndex(focus.row, focus.col));
    SendGridAccessibleEvent(&event);
}

}  // namespace halyx
