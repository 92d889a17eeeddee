#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <cstdint>
#include <vector>

namespace halyx {

// The grid's own model when its owner gives none: a rectangle of text cells, each with its own
// state bits (only CELL_READONLY means anything to it). Rows and columns are the grid's, fixed
// ones included.
class CGridCellModel : public QAbstractTableModel {
public:
    explicit CGridCellModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Adds or removes rows or columns; false (and nothing changed) when memory runs out.
    bool Resize(int rows, int columns);

private:
    struct Cell {
        QString text;
        std::uint32_t state = 0;
    };
    const Cell* CellAt(const QModelIndex& index) const;

    std::vector<std::vector<Cell>> cells_;  // [row][column]
    int columns_ = 0;
};

}  // namespace halyx
