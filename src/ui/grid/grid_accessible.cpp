#include "ui/grid/grid_accessible.h"

#include <algorithm>

#include "ui/grid/grid_accessible_cell.h"
#include "ui/grid/grid_ctrl.h"

namespace halyx {

namespace {
GridAccessibilityObserver g_observer = nullptr;

quint64 CellKey(int row, int column) {
    return (static_cast<quint64>(static_cast<quint32>(row)) << 32) | static_cast<quint32>(column);
}
}  // namespace

QAccessibleInterface* GridAccessibleFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(CGridCtrl::staticMetaObject.className())) {
        if (auto* grid = qobject_cast<CGridCtrl*>(object)) {
            return new GridAccessible(grid);
        }
    }
    return nullptr;
}

void InstallGridAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&GridAccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void SetGridAccessibilityObserver(GridAccessibilityObserver observer) {
    g_observer = observer;
}

bool GridAccessibilityObserved() {
    return g_observer != nullptr;
}

void SendGridAccessibleEvent(QAccessibleEvent* event) {
    if (g_observer != nullptr) {
        g_observer(event);
    }
    QAccessible::updateAccessibility(event);
}

GridAccessible::GridAccessible(CGridCtrl* grid) : QAccessibleWidget(grid, QAccessible::Table) {}

GridAccessible::~GridAccessible() {
    forgetCells();
}

CGridCtrl* GridAccessible::grid() const {
    return static_cast<CGridCtrl*>(widget());
}

void GridAccessible::forgetCells() const {
    for (QAccessible::Id id : std::as_const(cellIds_)) {
        QAccessible::deleteAccessibleInterface(id);
    }
    cellIds_.clear();
}

QAccessibleInterface* GridAccessible::cellInterface(int row, int column) const {
    if (!grid()->IsValid(row, column)) {
        return nullptr;
    }
    const quint64 key = CellKey(row, column);
    const auto found = cellIds_.constFind(key);
    if (found != cellIds_.constEnd()) {
        if (QAccessibleInterface* existing = QAccessible::accessibleInterface(*found)) {
            return existing;
        }
    }
    auto* cell = new GridAccessibleCell(grid(), row, column);
    cellIds_.insert(key, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

int GridAccessible::childCount() const {
    return grid()->GetRowCount() * grid()->GetColumnCount();
}

QAccessibleInterface* GridAccessible::child(int index) const {
    const int columns = grid()->GetColumnCount();
    if (index < 0 || columns == 0 || index >= childCount()) {
        return nullptr;
    }
    return cellInterface(index / columns, index % columns);
}

int GridAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const auto* cell = dynamic_cast<const GridAccessibleCell*>(child);
    if (cell == nullptr || cell->grid() != grid() || !cell->isValid()) {
        return -1;
    }
    return grid()->AccessibleChildIndex(cell->gridRow(), cell->gridColumn());
}

QAccessibleInterface* GridAccessible::childAt(int x, int y) const {
    const QPoint local = grid()->viewport()->mapFromGlobal(QPoint(x, y));
    if (!grid()->viewport()->rect().contains(local)) {
        return nullptr;
    }
    const CCellID cell = grid()->GetCellFromPt(local);
    return cellInterface(cell.row, cell.col);
}

QAccessibleInterface* GridAccessible::focusChild() const {
    const CCellID focus = grid()->GetFocusCell();
    if (!grid()->hasFocus() || !grid()->IsValid(focus)) {
        return QAccessibleWidget::focusChild();
    }
    return cellInterface(focus.row, focus.col);
}

void* GridAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface) {
        return static_cast<QAccessibleTableInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

// The table is the whole grid, header row and label column included, so a screen reader walking
// a row hears its channel label first ("CH03, 446.02500, ...") and a column its header.
int GridAccessible::rowCount() const {
    return grid()->GetRowCount();
}

int GridAccessible::columnCount() const {
    return grid()->GetColumnCount();
}

QAccessibleInterface* GridAccessible::cellAt(int row, int column) const {
    if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount()) {
        return nullptr;
    }
    return cellInterface(row, column);
}

QString GridAccessible::columnDescription(int column) const {
    QStringList texts;
    for (int row = 0; row < grid()->GetFixedRowCount(); ++row) {
        const QString text = grid()->GetItemText(row, column);
        if (!text.isEmpty()) {
            texts.append(text);
        }
    }
    return texts.join(QLatin1Char(' '));
}

QString GridAccessible::rowDescription(int row) const {
    QStringList texts;
    for (int column = 0; column < grid()->GetFixedColumnCount(); ++column) {
        const QString text = grid()->GetItemText(row, column);
        if (!text.isEmpty()) {
            texts.append(text);
        }
    }
    return texts.join(QLatin1Char(' '));
}

int GridAccessible::selectedCellCount() const {
    const CCellRange range = grid()->GetSelectedRange();
    if (!grid()->IsSelectable() || !range.IsValid()) {
        return 0;
    }
    return (range.maxRow - range.minRow + 1) * (range.maxCol - range.minCol + 1);
}

QList<QAccessibleInterface*> GridAccessible::selectedCells() const {
    QList<QAccessibleInterface*> cells;
    const CCellRange range = grid()->GetSelectedRange();
    for (int row = range.minRow; grid()->IsSelectable() && range.IsValid() && row <= range.maxRow;
         ++row) {
        for (int column = range.minCol; column <= range.maxCol; ++column) {
            cells.append(cellInterface(row, column));
        }
    }
    return cells;
}

bool GridAccessible::isColumnSelected(int column) const {
    const CCellRange range = grid()->GetSelectedRange();
    return grid()->IsSelectable() && rowCount() > 0 && range.IsValid() &&
           range.minRow == grid()->GetFixedRowCount() &&
           range.maxRow == grid()->GetRowCount() - 1 && column >= range.minCol &&
           column <= range.maxCol;
}

bool GridAccessible::isRowSelected(int row) const {
    const CCellRange range = grid()->GetSelectedRange();
    return grid()->IsSelectable() && columnCount() > 0 && range.IsValid() &&
           range.minCol == grid()->GetFixedColumnCount() &&
           range.maxCol == grid()->GetColumnCount() - 1 && row >= range.minRow &&
           row <= range.maxRow;
}

QList<int> GridAccessible::selectedColumns() const {
    QList<int> columns;
    for (int column = 0; column < columnCount(); ++column) {
        if (isColumnSelected(column)) {
            columns.append(column);
        }
    }
    return columns;
}

QList<int> GridAccessible::selectedRows() const {
    QList<int> rows;
    for (int row = 0; row < rowCount(); ++row) {
        if (isRowSelected(row)) {
            rows.append(row);
        }
    }
    return rows;
}

bool GridAccessible::selectRow(int row) {
    if (!grid()->IsSelectable() || row < 0 || row >= rowCount()) {
        return false;
    }
    grid()->SetSelectedRange(
        {row, grid()->GetFixedColumnCount(), row, grid()->GetColumnCount() - 1});
    return true;
}

bool GridAccessible::selectColumn(int column) {
    if (!grid()->IsSelectable() || column < 0 || column >= columnCount()) {
        return false;
    }
    grid()->SetSelectedRange(
        {grid()->GetFixedRowCount(), column, grid()->GetRowCount() - 1, column});
    return true;
}

// The grid holds one rectangular selection, so unselecting part of it clears all of it.
bool GridAccessible::unselectRow(int row) {
    const CCellRange range = grid()->GetSelectedRange();
    if (!range.IsValid() || row < range.minRow || row > range.maxRow) {
        return false;
    }
    grid()->SetSelectedRange(CCellRange());
    return true;
}

bool GridAccessible::unselectColumn(int column) {
    const CCellRange range = grid()->GetSelectedRange();
    if (!range.IsValid() || column < range.minCol || column > range.maxCol) {
        return false;
    }
    grid()->SetSelectedRange(CCellRange());
    return true;
}

void GridAccessible::modelChange(QAccessibleTableModelChangeEvent* event) {
    // Text changes keep every cell where it was; any change of shape renumbers the children.
    if (event->modelChangeType() != QAccessibleTableModelChangeEvent::DataChanged) {
        forgetCells();
    }
}

}  // namespace halyx
