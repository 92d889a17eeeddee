#pragma once

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

namespace halyx {

class CGridCtrl;

// Registers the accessibility factory for CGridCtrl. Every grid calls it; only the first call
// does anything.
void InstallGridAccessibility();

// Every accessibility event a grid sends also goes to this observer (nullptr for none), so tests
// and diagnostics can see what a screen reader is told even where no screen reader can run
// (Qt drops the events while no assistive technology is active).
using GridAccessibilityObserver = void (*)(QAccessibleEvent* event);
void SetGridAccessibilityObserver(GridAccessibilityObserver observer);

bool GridAccessibilityObserved();

// Hands an event to the observer and to Qt's accessibility layer.
void SendGridAccessibleEvent(QAccessibleEvent* event);

// The factory itself, for callers that manage factories explicitly.
QAccessibleInterface* GridAccessibleFactory(const QString& className, QObject* object);

// The grid as an accessible table. The table's rows and columns are the grid's, fixed ones
// included; fixed rows give the column headers and fixed columns the row headers. The children are
// all cells, fixed ones included, row by row: child index = row * column count + column.
class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit GridAccessible(CGridCtrl* grid);
    ~GridAccessible() override;

    GridAccessible(const GridAccessible&) = delete;
    GridAccessible& operator=(const GridAccessible&) = delete;

    CGridCtrl* grid() const;

    // The interface of a grid cell (grid coordinates), or nullptr outside the grid.
    QAccessibleInterface* cellInterface(int row, int column) const;

    // QAccessibleInterface
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTableInterface (table coordinates are grid coordinates)
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return static_cast<int>(selectedColumns().size()); }
    int selectedRowCount() const override { return static_cast<int>(selectedRows().size()); }
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override;
    QList<int> selectedRows() const override;
    bool isColumnSelected(int column) const override;
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int column) override;
    bool unselectRow(int row) override;
    bool unselectColumn(int column) override;
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

private:
    void forgetCells() const;

    // Cell interfaces live in Qt's registry; this maps a grid position to its registered id.
    mutable QHash<quint64, QAccessible::Id> cellIds_;
};

}  // namespace halyx
