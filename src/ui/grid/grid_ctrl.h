#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QTableView>

#include <array>
#include <cstdint>

#include "ui/grid/grid_default_cell.h"
#include "ui/grid/grid_types.h"

namespace halyx {

class CGridCellModel;

// A table of text cells with fixed header rows and columns that do not scroll, on Qt's
// model/view. Its owner either fills the grid's own cells (SetItemText) or gives it a model of its
// own whose rows and columns are the grid's, fixed ones included; the grid reports clicks and
// keyboard moves through gridNotify(), and an owner that edits cells itself switches the grid's
// editing off and opens its delegate's editors with edit().
//
// Scrolling is by whole rows and columns, and the first non-fixed row and column shown always
// start right after the fixed ones. "Client coordinates" are those of viewport(), which holds
// the fixed cells too: map them with viewport()->mapTo(...).
class CGridCtrl : public QTableView {
    Q_OBJECT

public:
    explicit CGridCtrl(QWidget* parent = nullptr);
    CGridCtrl(int rows, int columns, int fixedRows, int fixedColumns, QWidget* parent = nullptr);
    ~CGridCtrl() override;

    CGridCtrl(const CGridCtrl&) = delete;
    CGridCtrl& operator=(const CGridCtrl&) = delete;

    // The id every notification carries, so one handler can serve several grids.
    void SetDlgCtrlID(int id) { controlId_ = id; }
    int GetDlgCtrlID() const { return controlId_; }

    using QTableView::edit;  // edit(index): opens the delegate's editor on a cell

    // Uses the owner's model instead of the grid's own cells.
    void setModel(QAbstractItemModel* model) override;

    // Dimensions. Negative counts are refused (false, nothing changes). A model the owner gave
    // keeps its own shape: setting its counts succeeds only when they are already so.
    int GetRowCount() const;
    int GetColumnCount() const;
    int GetFixedRowCount() const { return fixedRows_; }
    int GetFixedColumnCount() const { return fixedColumns_; }
    bool SetRowCount(int count);
    bool SetColumnCount(int count);
    bool SetFixedRowCount(int count);
    bool SetFixedColumnCount(int count);

    // Sizes in pixels; getters give -1 out of range, setters refuse out of range or negative.
    int GetRowHeight(int row) const;
    int GetColumnWidth(int column) const;
    bool SetRowHeight(int row, int height);
    bool SetColumnWidth(int column, int width);
    int GetFixedRowHeight() const;
    int GetFixedColumnWidth() const;

    // Cells.
    bool IsValid(int row, int column) const;
    bool IsValid(const CCellID& cell) const { return IsValid(cell.row, cell.col); }
    bool SetItemText(int row, int column, const QString& text);   // no repaint: see Invalidate()
    QString GetItemText(int row, int column) const;               // "" out of range
    std::uint32_t GetItemState(int row, int column) const;        // 0 out of range
    bool SetItemState(int row, int column, std::uint32_t state);  // keeps kGridManagedStateBits
    bool IsCellFixed(int row, int column) const;
    bool IsCellEditable(int row, int column) const;
    bool IsCellVisible(int row, int column) const;
    QFont GetCellFont(int row, int column) const;

    // The defaults for normal, fixed-row, fixed-column and corner cells.
    const CGridDefaultCell* GetDefaultCell(bool fixedRow, bool fixedColumn) const;

    // Geometry in client coordinates. GetCellRect is false for an invalid cell and for a
    // non-fixed cell scrolled out above or to the left; right/bottom are inclusive.
    bool GetCellRect(int row, int column, QRect& rect) const;
    CCellID GetCellFromPt(const QPoint& point) const;  // (-1, -1) where there is no cell
    void EnsureVisible(int row, int column);

    // Focus and selection. The focus cell is the view's current index.
    CCellID SetFocusCell(int row, int column);  // returns the previous focus cell
    CCellID SetFocusCell(const CCellID& cell) { return SetFocusCell(cell.row, cell.col); }
    CCellID GetFocusCell() const;
    void ResetSelectedRange();  // no selection and no focus cell
    CCellRange GetSelectedRange() const;
    void SetSelectedRange(const CCellRange& range);  // ignored while selection is disabled
    void SelectAllCells();
    bool IsCellSelected(int row, int column) const;

    // Chosen rows: a range of whole rows the user picked by Shift+clicking row labels or with
    // Shift+Up/Down, kept apart from the cell selection (which a caller may have switched off).
    // A plain click or keyboard move lets go of them. Invalid when none are chosen.
    CCellRange GetChosenRows() const;
    bool IsRowChosen(int row) const;
    void ChooseRows(int anchorRow, int row);  // rows between the two, both included
    void ClearChosenRows();

    // In-place editing by the grid itself (typing, F2, Enter, a click on the focus cell).
    void SetEditable(bool editable = true);
    bool IsEditable() const { return editable_; }
    // Whether a delegate's editor is open over a cell.
    bool IsEditing() const { return state() == EditingState; }
    void EnableSelection(bool enable = true);
    bool IsSelectable() const { return selectable_; }

    // Same as setFont(): the font goes into the four default cells and sets the default size.
    void SetGridFont(const QFont& font);

    // Reports a batch of text changes to assistive technology at once (otherwise this happens
    // when control returns to the event loop). Invalidate() also repaints.
    void NotifyTextsChanged();
    void Invalidate();

    static constexpr int kResizeCaptureRange = 3;  // pixels either side of a divider

signals:
    void gridNotify(const halyx::GridCellNotify& notify);
    void chosenRowsChanged();
    // Right-click on a cell, the Menu key or Shift+F10: a menu for `row` (the focus row for the
    // keys; -1 when there is none) at `globalPos`.
    void contextMenuRequested(int row, const QPoint& globalPos);

protected:
    // Qt's view machinery (editor placement, hit tests, scrolling to a cell, Tab between
    // editors) goes through these, so it follows the fixed cells.
    QRect visualRect(const QModelIndex& index) const override;
    QModelIndex indexAt(const QPoint& point) const override;
    void scrollTo(const QModelIndex& index,
                  ScrollHint hint = QAbstractItemView::EnsureVisible) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = {}) override;

    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    QSize sizeHint() const override;

private:
    friend class GridAccessible;
    friend class GridAccessibleCell;

    enum class MouseMode { None, SizingColumn, SizingRow, SelectingCells, PreparingEdit };
    enum DefaultKind { kNormal = 0, kFixedRowKind = 1, kFixedColumnKind = 2, kCornerKind = 3 };

    QModelIndex IndexOf(int row, int column) const;
    CCellID CellOf(const QModelIndex& index) const;
    void SendNotify(int code, const CCellID& cell);
    void ApplyFont(const QFont& font);

    // Geometry (grid_ctrl_geometry.cpp). Positions are 64-bit so huge sizes cannot overflow.
    int TopRow() const;
    int LeftColumn() const;
    qint64 RowTop(int row) const;
    qint64 ColumnLeft(int column) const;
    QRect CellGeometry(int row, int column) const;  // also for cells scrolled out of view
    int LastTopRow() const;
    int LastLeftColumn() const;
    void UpdateScrollBars();
    int PageRowCount() const;

    // Mouse (grid_ctrl_mouse.cpp).
    int ColumnDividerAt(const QPoint& point) const;
    int RowDividerAt(const QPoint& point) const;
    void UpdateCursor(const QPoint& point);
    void ClickCell(const CCellID& cell, Qt::KeyboardModifiers modifiers);
    void SelectOnClick(const CCellID& cell, Qt::KeyboardModifiers modifiers);
    bool ChooseRowsOnClick(const CCellID& cell, Qt::KeyboardModifiers modifiers);
    void RequestContextMenuAt(const QPoint& point);

    // Chosen rows and the context menu keys (grid_ctrl_rows.cpp).
    bool HandleRowKey(QKeyEvent* event);

    // Keyboard and clipboard (grid_ctrl_keys.cpp).
    CCellID KeyTarget(int key, Qt::KeyboardModifiers modifiers, bool* leaveGrid) const;
    int NextVisibleRow(int row, int step) const;
    int NextVisibleColumn(int column, int step) const;
    void MoveFocusByKeyboard(const CCellID& target, bool extendSelection);
    bool HandleEditingKey(QKeyEvent* event);
    void CopySelection() const;
    void ClearSelectedTexts();
    void PasteAtFocus();
    CCellRange SelectionOrFocus() const;

    // Painting (grid_ctrl_paint.cpp).
    void DrawCell(QPainter& painter, int row, int column, const QRect& rect) const;
    void DrawFocusFrame(QPainter& painter) const;
    bool IsTextTruncated(int row, int column) const;

    // Assistive technology (grid_ctrl_accessibility.cpp).
    void QueueTextChange(int firstRow, int firstColumn, int lastRow, int lastColumn);
    void NotifyStructureChanged();
    void NotifyAccessibleFocus();
    int AccessibleChildIndex(int row, int column) const { return row * GetColumnCount() + column; }

    CGridCellModel* cells_ = nullptr;  // the grid's own model, used unless the owner sets one
    int controlId_ = 0;
    int fixedRows_ = 0;
    int fixedColumns_ = 0;
    std::array<CGridDefaultCell, 4> defaults_;

    CCellID selectionAnchor_;
    int chosenAnchor_ = -1;
    int chosenOther_ = -1;
    bool editable_ = true;
    bool selectable_ = true;

    MouseMode mouseMode_ = MouseMode::None;
    int sizingIndex_ = -1;
    int sizingStartPos_ = 0;
    int sizingStartSize_ = 0;
    CCellID pressedCell_;

    CCellRange changedTexts_;
    bool textFlushQueued_ = false;
};

}  // namespace halyx
