#include "ui/grid/grid_ctrl.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPointer>
#include <QStyledItemDelegate>

#include <algorithm>
#include <vector>

#include "ui/grid/grid_accessible.h"
#include "ui/grid/grid_cell_model.h"

namespace halyx {

namespace {
// Qt's text editor, except that Enter stores at once rather than after the event loop has run,
// so that whoever pressed it finds the text in the cell.
class GridTextDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* editor = qobject_cast<QWidget*>(watched);
        if (editor != nullptr && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                emit commitData(editor);
                emit closeEditor(editor, SubmitModelCache);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(watched, event);
    }
};
}  // namespace

CGridCtrl::CGridCtrl(QWidget* parent) : CGridCtrl(0, 0, 0, 0, parent) {}

CGridCtrl::CGridCtrl(int rows, int columns, int fixedRows, int fixedColumns, QWidget* parent)
    : QTableView(parent), cells_(new CGridCellModel(this)) {
    InstallGridAccessibility();
    QTableView::setModel(cells_);
    setItemDelegate(new GridTextDelegate(this));
    // The fixed rows and columns are cells of the model, drawn by the grid; Qt's own headers
    // only keep the sizes.
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        header->hide();
        header->setMinimumSectionSize(0);
        header->setSectionResizeMode(QHeaderView::Fixed);
    }
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollMode(ScrollPerItem);
    setAutoScroll(false);  // moving the focus cell does not scroll; callers ask for it
    setTabKeyNavigation(true);
    SetEditable(editable_);
    setShowGrid(false);
    viewport()->setMouseTracking(true);  // the sizing cursor follows the pointer over dividers
    ApplyFont(font());
    SetRowCount(rows);
    SetColumnCount(columns);
    SetFixedRowCount(fixedRows);
    SetFixedColumnCount(fixedColumns);
}

CGridCtrl::~CGridCtrl() = default;

void CGridCtrl::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model != nullptr ? model : cells_);
    fixedRows_ = std::min(fixedRows_, GetRowCount());
    fixedColumns_ = std::min(fixedColumns_, GetColumnCount());
    NotifyStructureChanged();
    UpdateScrollBars();
}

QModelIndex CGridCtrl::IndexOf(int row, int column) const {
    return IsValid(row, column) ? model()->index(row, column) : QModelIndex();
}

CCellID CGridCtrl::CellOf(const QModelIndex& index) const {
    return index.isValid() ? CCellID(index.row(), index.column()) : CCellID();
}

int CGridCtrl::GetRowCount() const {
    return model()->rowCount();
}

int CGridCtrl::GetColumnCount() const {
    return model()->columnCount();
}

bool CGridCtrl::SetRowCount(int count) {
    if (count < 0) {
        return false;
    }
    if (model() != cells_ || count == GetRowCount()) {
        return count == GetRowCount();
    }
    if (GetFocusCell().row >= count) {
        SetFocusCell(-1, -1);  // Qt would move it to a neighbour; the grid has none then
    }
    if (!cells_->Resize(count, GetColumnCount())) {
        return false;
    }
    fixedRows_ = std::min(fixedRows_, count);
    NotifyStructureChanged();
    UpdateScrollBars();
    return true;
}

bool CGridCtrl::SetColumnCount(int count) {
    if (count < 0) {
        return false;
    }
    if (model() != cells_ || count == GetColumnCount()) {
        return count == GetColumnCount();
    }
    if (GetFocusCell().col >= count) {
        SetFocusCell(-1, -1);
    }
    if (!cells_->Resize(GetRowCount(), count)) {
        return false;
    }
    fixedColumns_ = std::min(fixedColumns_, count);
    NotifyStructureChanged();
    UpdateScrollBars();
    return true;
}

bool CGridCtrl::SetFixedRowCount(int count) {
    if (count < 0) {
        return false;
    }
    if (count == fixedRows_) {
        return true;
    }
    if (count > GetRowCount() && !SetRowCount(count)) {
        return false;
    }
    ResetSelectedRange();
    fixedRows_ = count;
    NotifyStructureChanged();
    UpdateScrollBars();
    viewport()->update();
    return true;
}

bool CGridCtrl::SetFixedColumnCount(int count) {
    if (count < 0) {
        return false;
    }
    if (count == fixedColumns_) {
        return true;
    }
    if (count > GetColumnCount() && !SetColumnCount(count)) {
        return false;
    }
    ResetSelectedRange();
    fixedColumns_ = count;
    NotifyStructureChanged();
    UpdateScrollBars();
    viewport()->update();
    return true;
}

int CGridCtrl::GetRowHeight(int row) const {
    return row >= 0 && row < GetRowCount() ? verticalHeader()->sectionSize(row) : -1;
}

int CGridCtrl::GetColumnWidth(int column) const {
    return column >= 0 && column < GetColumnCount() ? horizontalHeader()->sectionSize(column) : -1;
}

bool CGridCtrl::SetRowHeight(int row, int height) {
    if (row < 0 || row >= GetRowCount() || height < 0) {
        return false;
    }
    verticalHeader()->resizeSection(row, height);
    UpdateScrollBars();
    viewport()->update();
    return true;
}

bool CGridCtrl::SetColumnWidth(int column, int width) {
    if (column < 0 || column >= GetColumnCount() || width < 0) {
        return false;
    }
    horizontalHeader()->resizeSection(column, width);
    UpdateScrollBars();
    viewport()->update();
    return true;
}

bool CGridCtrl::IsValid(int row, int column) const {
    return row >= 0 && row < GetRowCount() && column >= 0 && column < GetColumnCount();
}

bool CGridCtrl::SetItemText(int row, int column, const QString& text) {
    // Painting and the report to assistive technology follow from the model's dataChanged.
    return IsValid(row, column) && model()->setData(IndexOf(row, column), text, Qt::EditRole);
}

QString CGridCtrl::GetItemText(int row, int column) const {
    return IsValid(row, column) ? IndexOf(row, column).data(Qt::DisplayRole).toString() : QString();
}

std::uint32_t CGridCtrl::GetItemState(int row, int column) const {
    if (!IsValid(row, column)) {
        return 0U;
    }
    std::uint32_t state = IndexOf(row, column).data(kGridStateRole).toUInt();
    state &= ~kGridManagedStateBits;
    if (row < fixedRows_) {
        state |= CELL_FIXED | CELL_FIXEDROW;
    }
    if (column < fixedColumns_) {
        state |= CELL_FIXED | CELL_FIXEDCOL;
    }
    if (GetFocusCell() == CCellID(row, column)) {
        state |= CELL_FOCUSED;
    }
    if (IsCellSelected(row, column)) {
        state |= CELL_SELECTED;
    }
    return state;
}

bool CGridCtrl::SetItemState(int row, int column, std::uint32_t state) {
    if (!IsValid(row, column)) {
        return false;
    }
    const bool stored = model()->setData(
        IndexOf(row, column), static_cast<uint>(state & ~kGridManagedStateBits), kGridStateRole);
    viewport()->update();
    return stored;
}

bool CGridCtrl::IsCellFixed(int row, int column) const {
    return IsValid(row, column) && (row < fixedRows_ || column < fixedColumns_);
}

bool CGridCtrl::IsCellEditable(int row, int column) const {
    return editable_ && IsValid(row, column) && !IsCellFixed(row, column) &&
           IndexOf(row, column).flags().testFlag(Qt::ItemIsEditable);
}

QFont CGridCtrl::GetCellFont(int row, int column) const {
    return GetDefaultCell(row >= 0 && row < fixedRows_, column >= 0 && column < fixedColumns_)
        ->GetFont();
}

const CGridDefaultCell* CGridCtrl::GetDefaultCell(bool fixedRow, bool fixedColumn) const {
    return &defaults_[(fixedRow ? kFixedRowKind : 0) | (fixedColumn ? kFixedColumnKind : 0)];
}

CCellID CGridCtrl::GetFocusCell() const {
    return CellOf(currentIndex());
}

CCellID CGridCtrl::SetFocusCell(int row, int column) {
    const CCellID previous = GetFocusCell();
    if (CCellID(row, column) == previous) {
        return previous;
    }
    if (row != -1 && row < fixedRows_) {
        row = fixedRows_;
    }
    if (column != -1 && column < fixedColumns_) {
        column = fixedColumns_;
    }
    CCellID target(row, column);
    if (row == -1 || column == -1) {
        target = CCellID();  // half a cell is no cell
    } else if (!IsValid(target)) {
        return previous;  // nothing there: the focus stays where it is
    }
    if (target != previous) {
        // Qt's current index is the focus cell; moving it commits an editor open elsewhere.
        selectionModel()->setCurrentIndex(IndexOf(target.row, target.col),
                                          QItemSelectionModel::NoUpdate);
        viewport()->update();  // the old and new cell and their headers
    }
    return previous;
}

void CGridCtrl::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // QTableView's own version numbers accessibility children with Qt's header cells; the
    // grid's table has none, so it reports the focus itself.
    QAbstractItemView::currentChanged(current, previous);  // NOLINT(bugprone-parent-virtual-call)
    viewport()->update();
    NotifyAccessibleFocus();
}

CCellRange CGridCtrl::GetSelectedRange() const {
    if (!selectable_) {
        return {};
    }
    const QItemSelection selection = selectionModel()->selection();
    if (selection.isEmpty()) {
        return {};
    }
    const QItemSelectionRange& range = selection.first();
    return {range.top(), range.left(), range.bottom(), range.right()};
}

void CGridCtrl::SetSelectedRange(const CCellRange& range) {
    selectionModel()->clearSelection();
    // Only non-fixed cells are selectable; fixed ones only ever select their rows or columns.
    const CCellRange clipped{
        std::max(range.minRow, fixedRows_), std::max(range.minCol, fixedColumns_),
        std::min(range.maxRow, GetRowCount() - 1), std::min(range.maxCol, GetColumnCount() - 1)};
    if (selectable_ && range.IsValid() && clipped.IsValid()) {
        selectionModel()->select(QItemSelection(IndexOf(clipped.minRow, clipped.minCol),
                                                IndexOf(clipped.maxRow, clipped.maxCol)),
                                 QItemSelectionModel::ClearAndSelect);
    }
    viewport()->update();
}

void CGridCtrl::ResetSelectedRange() {
    SetSelectedRange(CCellRange());
    SetFocusCell(-1, -1);
}

void CGridCtrl::SelectAllCells() {
    SetSelectedRange({fixedRows_, fixedColumns_, GetRowCount() - 1, GetColumnCount() - 1});
}

bool CGridCtrl::IsCellSelected(int row, int column) const {
    return selectable_ && IsValid(row, column) &&
           selectionModel()->isSelected(IndexOf(row, column));
}

void CGridCtrl::EnableSelection(bool enable) {
    ResetSelectedRange();
    selectable_ = enable;
    setSelectionMode(enable ? ContiguousSelection : NoSelection);
    ResetSelectedRange();
}

void CGridCtrl::SetEditable(bool editable) {
    if (!editable && state() == EditingState) {
        // Leaving the editor commits it, as a click elsewhere would.
        setFocus(Qt::OtherFocusReason);
    }
    editable_ = editable;
    // Qt forwards the typed key into the editor only for these triggers; the grid's own key and
    // mouse handling decides when they apply.
    setEditTriggers(editable ? EditKeyPressed | AnyKeyPressed | SelectedClicked : NoEditTriggers);
}

bool CGridCtrl::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const CCellID cell = CellOf(index);
    if (IsCellFixed(cell.row, cell.col)) {
        return false;
    }
    if (!QTableView::edit(index, trigger, event)) {
        return false;
    }
    SendNotify(GN_BEGINLABELEDIT, cell);
    return true;
}

void CGridCtrl::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    const CCellID cell = GetFocusCell();
    QTableView::closeEditor(editor, hint);
    SendNotify(GN_ENDLABELEDIT, cell);
}

void CGridCtrl::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                            const QList<int>& roles) {
    QTableView::dataChanged(topLeft, bottomRight, roles);
    if (topLeft.isValid() && bottomRight.isValid() &&
        (roles.isEmpty() || roles.contains(Qt::DisplayRole) || roles.contains(Qt::EditRole))) {
        QueueTextChange(topLeft.row(), topLeft.column(), bottomRight.row(), bottomRight.column());
    }
    viewport()->update();
}

void CGridCtrl::SetGridFont(const QFont& font) {
    setFont(font);  // arrives in changeEvent like any other font change
}

void CGridCtrl::ApplyFont(const QFont& font) {
    for (CGridDefaultCell& defaults : defaults_) {
        defaults.SetFont(font);
    }
    // Qt resizes every section to a new default size; only new rows and columns take it.
    std::vector<int> heights;
    std::vector<int> widths;
    for (int row = 0; row < GetRowCount(); ++row) {
        heights.push_back(GetRowHeight(row));
    }
    for (int column = 0; column < GetColumnCount(); ++column) {
        widths.push_back(GetColumnWidth(column));
    }
    verticalHeader()->setDefaultSectionSize(defaults_[kNormal].GetHeight());
    horizontalHeader()->setDefaultSectionSize(defaults_[kNormal].GetWidth());
    for (std::size_t row = 0; row < heights.size(); ++row) {
        verticalHeader()->resizeSection(static_cast<int>(row), heights[row]);
    }
    for (std::size_t column = 0; column < widths.size(); ++column) {
        horizontalHeader()->resizeSection(static_cast<int>(column), widths[column]);
    }
    UpdateScrollBars();
    viewport()->update();
}

void CGridCtrl::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        ApplyFont(font());
    } else if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
        viewport()->update();
    }
}

void CGridCtrl::Invalidate() {
    NotifyTextsChanged();
    viewport()->update();
}

void CGridCtrl::SendNotify(int code, const CCellID& cell) {
    emit gridNotify(GridCellNotify{this, controlId_, code, cell.row, cell.col});
}

}  // namespace halyx
