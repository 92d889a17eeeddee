#pragma once

#include <QAccessible>
#include <QPointer>

namespace halyx {

class CGridCtrl;

// One grid cell as assistive technology sees it. Everything is read live from the grid, so a
// cell interface stays right across text changes; it becomes invalid when its cell goes away.
class GridAccessibleCell : public QAccessibleInterface,
                           public QAccessibleTableCellInterface,
                           public QAccessibleActionInterface {
public:
    GridAccessibleCell(CGridCtrl* grid, int row, int column);

    CGridCtrl* grid() const { return grid_; }
    int gridRow() const { return row_; }
    int gridColumn() const { return column_; }
    bool isHeader() const;

    // QAccessibleInterface
    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableCellInterface (data cells only)
    bool isSelected() const override;
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override;
    int columnIndex() const override;
    int rowIndex() const override;
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override;

    // QAccessibleActionInterface: focusing a cell moves to it as a key would, pressing it acts
    // as a click, so an owner that opens editors on notifications serves these users too.
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QString headerText(bool columnHeader) const;

    QPointer<CGridCtrl> grid_;
    int row_;
    int column_;
};

}  // namespace halyx
