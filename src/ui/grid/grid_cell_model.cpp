#include "ui/grid/grid_cell_model.h"

#include <new>

#include "ui/grid/grid_types.h"

namespace halyx {

int CGridCellModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(cells_.size());
}

int CGridCellModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

const CGridCellModel::Cell* CGridCellModel::CellAt(const QModelIndex& index) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columns_) {
        return nullptr;
    }
    return &cells_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())];
}

QVariant CGridCellModel::data(const QModelIndex& index, int role) const {
    const Cell* cell = CellAt(index);
    if (cell == nullptr) {
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        return cell->text;
    }
    if (role == kGridStateRole) {
        return cell->state;
    }
    return {};
}

bool CGridCellModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    auto* cell = const_cast<Cell*>(CellAt(index));
    if (cell == nullptr) {
        return false;
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        cell->text = value.toString();
    } else if (role == kGridStateRole) {
        cell->state = value.toUInt();
    } else {
        return false;
    }
    emit dataChanged(index, index, {role});
    return true;
}

Qt::ItemFlags CGridCellModel::flags(const QModelIndex& index) const {
    const Cell* cell = CellAt(index);
    if (cell == nullptr) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if ((cell->state & CELL_READONLY) == 0) {
        flags |= Qt::ItemIsEditable;
    }
    return flags;
}

bool CGridCellModel::Resize(int rows, int columns) {
    const int oldRows = rowCount();
    // Allocate first, so that running out of memory leaves the cells as they were.
    std::vector<std::vector<Cell>> resized;
    try {
        resized = cells_;
        resized.resize(static_cast<std::size_t>(rows));
        for (auto& row : resized) {
            row.resize(static_cast<std::size_t>(columns));
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (columns < columns_) {
        beginRemoveColumns({}, columns, columns_ - 1);
    } else if (columns > columns_) {
        beginInsertColumns({}, columns_, columns - 1);
    }
    const bool columnsChanged = columns != columns_;
    const bool columnsRemoved = columns < columns_;
    if (columnsChanged) {
        for (auto& row : cells_) {
            row.resize(static_cast<std::size_t>(columns));
        }
        columns_ = columns;
        columnsRemoved ? endRemoveColumns() : endInsertColumns();
    }
    if (rows < oldRows) {
        beginRemoveRows({}, rows, oldRows - 1);
        cells_ = std::move(resized);
        endRemoveRows();
    } else if (rows > oldRows) {
        beginInsertRows({}, oldRows, rows - 1);
        cells_ = std::move(resized);
        endInsertRows();
    }
    return true;
}

}  // namespace halyx
