#include "ui/grid/grid_accessible_cell.h"

#include <QWidget>
#include <QWindow>

#include "ui/grid/grid_accessible.h"
#include "ui/grid/grid_ctrl.h"

namespace halyx {

GridAccessibleCell::GridAccessibleCell(CGridCtrl* grid, int row, int column)
    : grid_(grid), row_(row), column_(column) {}

bool GridAccessibleCell::isValid() const {
    return grid_ && grid_->IsValid(row_, column_);
}

bool GridAccessibleCell::isHeader() const {
    return row_ < grid_->GetFixedRowCount() || column_ < grid_->GetFixedColumnCount();
}

QWindow* GridAccessibleCell::window() const {
    return grid_ ? grid_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* GridAccessibleCell::parent() const {
    return grid_ ? QAccessible::queryAccessibleInterface(grid_) : nullptr;
}

QAccessibleInterface* GridAccessibleCell::table() const {
    return parent();
}

QString GridAccessibleCell::headerText(bool columnHeader) const {
    QStringList texts;
    const int count = columnHeader ? grid_->GetFixedRowCount() : grid_->GetFixedColumnCount();
    for (int i = 0; i < count; ++i) {
        const QString text =
            columnHeader ? grid_->GetItemText(i, column_) : grid_->GetItemText(row_, i);
        if (!text.isEmpty()) {
            texts.append(text);
        }
    }
    return texts.join(QLatin1Char(' '));
}

QString GridAccessibleCell::text(QAccessible::Text t) const {
    if (!isValid()) {
        return {};
    }
    switch (t) {
        case QAccessible::Name:
            return grid_->GetItemText(row_, column_);
        case QAccessible::Description:
            // A data cell says which column it is in, for readers that do not speak headers.
            return isHeader() ? QString() : headerText(true);
        default:
            return {};
    }
}

QRect GridAccessibleCell::rect() const {
    if (!isValid()) {
        return {};
    }
    const QRect local = grid_->visualRect(grid_->IndexOf(row_, column_));
    return {grid_->viewport()->mapToGlobal(local.topLeft()), local.size()};
}

QAccessible::Role GridAccessibleCell::role() const {
    if (!isValid()) {
        return QAccessible::Cell;
    }
    if (row_ < grid_->GetFixedRowCount()) {
        return QAccessible::ColumnHeader;
    }
    return column_ < grid_->GetFixedColumnCount() ? QAccessible::RowHeader : QAccessible::Cell;
}

QAccessible::State GridAccessibleCell::state() const {
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    if (!grid_->isVisible() || !grid_->IsCellVisible(row_, column_)) {
        state.invisible = true;
        state.offscreen = true;
    }
    if (isHeader()) {
        return state;
    }
    state.focusable = true;
    state.focused = grid_->hasFocus() && grid_->GetFocusCell() == CCellID(row_, column_);
    state.selectable = grid_->IsSelectable();
    state.selected = grid_->IsCellSelected(row_, column_);
    state.readOnly = !grid_->IsCellEditable(row_, column_);
    return state;
}

void* GridAccessibleCell::interface_cast(QAccessible::InterfaceType type) {
    if (!isValid() || isHeader()) {
        return nullptr;
    }
    if (type == QAccessible::TableCellInterface) {
        return static_cast<QAccessibleTableCellInterface*>(this);
    }
    if (type == QAccessible::ActionInterface) {
        return static_cast<QAccessibleActionInterface*>(this);
    }
    return nullptr;
}

bool GridAccessibleCell::isSelected() const {
    return isValid() && grid_->IsCellSelected(row_, column_);
}

QList<QAccessibleInterface*> GridAccessibleCell::columnHeaderCells() const {
    QList<QAccessibleInterface*> headers;
    auto* table = dynamic_cast<GridAccessible*>(parent());
    for (int row = 0; table != nullptr && isValid() && row < grid_->GetFixedRowCount(); ++row) {
        headers.append(table->cellInterface(row, column_));
    }
    return headers;
}

QList<QAccessibleInterface*> GridAccessibleCell::rowHeaderCells() const {
    QList<QAccessibleInterface*> headers;
    auto* table = dynamic_cast<GridAccessible*>(parent());
    for (int column = 0; table != nullptr && isValid() && column < grid_->GetFixedColumnCount();
         ++column) {
        headers.append(table->cellInterface(row_, column));
    }
    return headers;
}

int GridAccessibleCell::columnIndex() const {
    return isValid() ? column_ : -1;
}

int GridAccessibleCell::rowIndex() const {
    return isValid() ? row_ : -1;
}

QStringList GridAccessibleCell::actionNames() const {
    return {setFocusAction(), pressAction()};
}

void GridAccessibleCell::doAction(const QString& actionName) {
    if (!isValid() || isHeader()) {
        return;
    }
    const CCellID cell(row_, column_);
    if (actionName == setFocusAction()) {
        grid_->setFocus(Qt::OtherFocusReason);
        grid_->MoveFocusByKeyboard(cell, false);
    } else if (actionName == pressAction()) {
        grid_->setFocus(Qt::OtherFocusReason);
        grid_->ClickCell(cell, Qt::NoModifier);
    }
}

}  // namespace halyx
