#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QLineEdit>
#include <QPointer>
#include <QRect>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

#include "ui/grid/grid_cell.h"
#include "ui/grid/grid_types.h"

namespace halyx {

// A scrollable table of text cells with fixed header rows and columns. It paints itself and
// reports clicks and keyboard moves through gridNotify(); callers that edit cells themselves
// switch its own editing off and place their editors over GetCellRect().
//
// "Client coordinates" are those of viewport(): map them with viewport()->mapTo(...).
class CGridCtrl : public QAbstractScrollArea {
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

    // Dimensions. Negative counts are refused (false, nothing changes).
    int GetRowCount() const { return static_cast<int>(rowHeights_.size()); }
    int GetColumnCount() const { return static_cast<int>(columnWidths_.size()); }
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
    CGridCell* GetCell(int row, int column);
    const CGridCell* GetCell(int row, int column) const;
    bool SetItemText(int row, int column, const QString& text);   // no repaint: see Invalidate()
    QString GetItemText(int row, int column) const;               // "" out of range
    std::uint32_t GetItemState(int row, int column) const;        // 0 out of range
    bool SetItemState(int row, int column, std::uint32_t state);  // keeps kGridManagedStateBits
    bool IsCellFixed(int row, int column) const;
    bool IsCellEditable(int row, int column) const;
    bool IsCellVisible(int row, int column) const;

    // The defaults for normal, fixed-row, fixed-column and corner cells.
    CGridDefaultCell* GetDefaultCell(bool fixedRow, bool fixedColumn);
    const CGridDefaultCell* GetDefaultCell(bool fixedRow, bool fixedColumn) const;

    // Geometry in client coordinates. GetCellRect is false for an invalid cell and for a
    // non-fixed cell scrolled out above or to the left; right/bottom are inclusive.
    bool GetCellRect(int row, int column, QRect& rect) const;
    CCellID GetCellFromPt(const QPoint& point) const;  // (-1, -1) where there is no cell
    CCellID GetTopleftNonFixedCell() const;
    void EnsureVisible(int row, int column);

    // Focus and selection.
    CCellID SetFocusCell(int row, int column);  // returns the previous focus cell
    CCellID SetFocusCell(const CCellID& cell) { return SetFocusCell(cell.row, cell.col); }
    CCellID GetFocusCell() const { return focus_; }
    void ResetSelectedRange();  // no selection and no focus cell
    CCellRange GetSelectedRange() const { return selection_; }
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

    // Behaviour flags.
    void SetEditable(bool editable = true);
    bool IsEditable() const { return editable_; }
    void EnableSelection(bool enable = true);
    bool IsSelectable() const { return selectable_; }
    void SetRowResize(bool allow = true) { rowResize_ = allow; }
    bool GetRowResize() const { return rowResize_; }
    void SetColumnResize(bool allow = true) { columnResize_ = allow; }
    bool GetColumnResize() const { return columnResize_; }
    void SetHandleTabKey(bool handle = true) { handleTabKey_ = handle; }
    bool GetHandleTabKey() const { return handleTabKey_; }
    void EnableTitleTips(bool enable = true) { titleTips_ = enable; }
    bool GetTitleTips() const { return titleTips_; }
    void SetTrackFocusCell(bool track = true);
    bool GetTrackFocusCell() const { return trackFocusCell_; }
    void SetFrameFocusCell(bool frame = true);
    bool GetFrameFocusCell() const { return frameFocusCell_; }
    void SetListMode(bool listMode = true);
    bool GetListMode() const { return listMode_; }
    // Kept for callers that set them; the grid offers no drag-and-drop or sorting.
    void EnableDragAndDrop(bool enable = true) { dragAndDrop_ = enable; }
    bool GetDragAndDrop() const { return dragAndDrop_; }
    void SetHeaderSort(bool sort = true) { headerSort_ = sort; }
    bool GetHeaderSort() const { return headerSort_; }

    // Colours; an invalid outside colour follows the palette's dark colour.
    void SetGridLineColor(const QColor& colour);
    QColor GetGridLineColor() const { return gridLineColour_; }
    void SetGridBkColor(const QColor& colour);
    QColor GetGridBkColor() const { return gridBkColour_; }

    // Same as setFont(): the font goes into the four default cells and sets the default size.
    void SetGridFont(const QFont& font);

    // Reports a batch of SetItemText calls to assistive technology at once (otherwise this
    // happens when control returns to the event loop). Invalidate() also repaints.
    void NotifyTextsChanged();
    void Invalidate();

    static constexpr int kResizeCaptureRange = 3;  // pixels either side of a divider
    static constexpr int kDefaultGridLineRgb = 192;

signals:
    void gridNotify(const halyx::GridCellNotify& notify);
    void chosenRowsChanged();
    // Right-click on a cell, the Menu key or Shift+F10: a menu for `row` (the focus row for the
    // keys; -1 when there is none) at `globalPos`.
    void contextMenuRequested(int row, const QPoint& globalPos);

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
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

    void Construct(int rows, int columns, int fixedRows, int fixedColumns);
    void SendNotify(int code, const CCellID& cell);
    void RefreshCellKind(int row, int column);
    void RefreshAllCellKinds();
    void ApplyFont(const QFont& font);
    void Relayout();

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
    void FinishSizing(const QPoint& point);
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

    // In-place editing while editing is on (grid_ctrl_edit.cpp).
    void StartEdit(const CCellID& cell, const QString& initialText, bool replaceText);
    void EndEdit(bool commit);

    // Painting (grid_ctrl_paint.cpp).
    void DrawCell(QPainter& painter, int row, int column, const QRect& rect) const;
    void DrawFocusFrame(QPainter& painter) const;
    bool IsTextTruncated(int row, int column) const;

    // Assistive technology.
    void QueueTextChange(int row, int column);
    void NotifyStructureChanged();
    void NotifyAccessibleFocus();
    int AccessibleChildIndex(int row, int column) const { return row * GetColumnCount() + column; }

    int controlId_ = 0;
    std::vector<std::vector<CGridCell>> cells_;  // [row][column]
    std::vector<int> rowHeights_;
    std::vector<int> columnWidths_;
    int fixedRows_ = 0;
    int fixedColumns_ = 0;
    std::array<CGridDefaultCell, 4> defaults_;

    CCellID focus_;
    CCellRange selection_;
    CCellID selectionAnchor_;
    int chosenAnchor_ = -1;
    int chosenOther_ = -1;

    bool editable_ = true;
    bool selectable_ = true;
    bool rowResize_ = true;
    bool columnResize_ = true;
    bool handleTabKey_ = true;
    bool titleTips_ = true;
    bool trackFocusCell_ = true;
    bool frameFocusCell_ = true;
    bool listMode_ = false;
    bool dragAndDrop_ = false;
    bool headerSort_ = false;

    QColor gridLineColour_{kDefaultGridLineRgb, kDefaultGridLineRgb, kDefaultGridLineRgb};
    QColor gridBkColour_;

    MouseMode mouseMode_ = MouseMode::None;
    int sizingIndex_ = -1;
    int sizingStartPos_ = 0;
    int sizingStartSize_ = 0;
    CCellID pressedCell_;

    CCellRange changedTexts_;
    bool textFlushQueued_ = false;

    QPointer<QLineEdit> editor_;
    CCellID editCell_;
};

}  // namespace halyx
