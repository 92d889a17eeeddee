// The grid's side of accessibility: telling assistive technology what changed.
#include <QAccessible>
#include <QMetaObject>

#include <algorithm>

#include "ui/grid/grid_accessible.h"
#include "ui/grid/grid_ctrl.h"

namespace halyx {

void CGridCtrl::QueueTextChange(int row, int column) {
    if (!changedTexts_.IsValid()) {
        changedTexts_ = {row, column, row, column};
    } else {
        changedTexts_ = {
            std::min(changedTexts_.minRow, row), std::min(changedTexts_.minCol, column),
            std::max(changedTexts_.maxRow, row), std::max(changedTexts_.maxCol, column)};
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
    const int tableRows = GetRowCount() - fixedRows_;
    const int tableColumns = GetColumnCount() - fixedColumns_;
    if (tableRows > 0 && tableColumns > 0) {
        // A header text describes every cell of its row or column.
        const bool headers = changed.minRow < fixedRows_ || changed.minCol < fixedColumns_;
        QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::DataChanged);
        event.setFirstRow(headers ? 0 : changed.minRow - fixedRows_);
        event.setLastRow(headers ? tableRows - 1 : changed.maxRow - fixedRows_);
        event.setFirstColumn(headers ? 0 : changed.minCol - fixedColumns_);
        event.setLastColumn(headers ? tableColumns - 1 : changed.maxCol - fixedColumns_);
        SendGridAccessibleEvent(&event);
    }
    if (hasFocus() && changed.InRange(focus_.row, focus_.col)) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        event.setChild(AccessibleChildIndex(focus_.row, focus_.col));
        SendGridAccessibleEvent(&event);
    }
}

void CGridCtrl::NotifyStructureChanged() {
    changedTexts_ = CCellRange();  // the reset below covers them
    QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::ModelReset);
    SendGridAccessibleEvent(&event);
}

void CGridCtrl::NotifyAccessibleFocus() {
    if (!hasFocus() || !IsValid(focus_) || editor_) {
        return;
    }
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(AccessibleChildIndex(focus_.row, focus_.col));
    SendGridAccessibleEvent(&event);
}

}  // namespace halyx
