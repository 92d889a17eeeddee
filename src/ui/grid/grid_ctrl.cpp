#include "ui/grid/grid_ctrl.h"

#include <QEvent>
#include <QKeyEvent>
#include <QScrollBar>

#include <algorithm>
#include <new>

#include "ui/grid/grid_accessible.h"

namespace halyx {

CGridCtrl::CGridCtrl(QWidget* parent) : CGridCtrl(0, 0, 0, 0, parent) {}

CGridCtrl::CGridCtrl(int rows, int columns, int fixedRows, int fixedColumns, QWidget* parent)
    : QAbstractScrollArea(parent) {
    Construct(rows, columns, fixedRows, fixedColumns);
}

CGridCtrl::~CGridCtrl() = default;

void CGridCtrl::Construct(int rows, int columns, int fixedRows, int fixedColumns) {
    InstallGridAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    viewport()->setMouseTracking(true);  // the sizing cursor follows the pointer over dividers
    viewport()->setAutoFillBackground(false);
    // Scrolling is by whole rows and columns, so a step is one cell.
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(1);
    ApplyFont(font());
    SetRowCount(rows);
    SetColumnCount(columns);
    SetFixedRowCount(fixedRows);
    SetFixedColumnCount(fixedColumns);
}

bool CGridCtrl::SetRowCount(int count) {
    if (count < 0) {
        return false;
    }
    const int oldCount = GetRowCount();
    if (count == oldCount) {
        return true;
    }
    if (editCell_.row >= count) {
        EndEdit(false);
    }
    // Allocate everything first so that running out of memory leaves the grid as it was.
    try {
        std::vector<std::vector<CGridCell>> added;
        if (count > oldCount) {
            added.reserve(static_cast<std::size_t>(count - oldCount));
            for (int row = oldCount; row < count; ++row) {
                added.emplace_back(columnWidths_.size(), CGridCell(&defaults_[kNormal]));
            }
        }
        rowHeights_.reserve(static_cast<std::size_t>(count));
        cells_.reserve(static_cast<std::size_t>(count));
        for (auto& row : added) {
            cells_.push_back(std::move(row));
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    rowHeights_.resize(static_cast<std::size_t>(count), defaults_[kNormal].GetHeight());
    cells_.resize(static_cast<std::size_t>(count));
    fixedRows_ = std::min(fixedRows_, count);
    for (int row = oldCount; row < count; ++row) {
        for (int column = 0; column < GetColumnCount(); ++column) {
            RefreshCellKind(row, column);
        }
    }
    if (focus_.row >= count) {
        focus_ = CCellID();
    }
    if (selection_.IsValid()) {
        CCellRange clipped = selection_;
        clipped.maxRow = std::min(clipped.maxRow, count - 1);
        SetSelectedRange(clipped);
    }
    NotifyStructureChanged();
    Relayout();
    return true;
}

bool CGridCtrl::SetColumnCount(int count) {
    if (count < 0) {
        return false;
    }
    const int oldCount = GetColumnCount();
    if (count == oldCount) {
        return true;
    }
    if (editCell_.col >= count) {
        EndEdit(false);
    }
    try {
        columnWidths_.reserve(static_cast<std::size_t>(count));
        for (auto& row : cells_) {
            row.reserve(static_cast<std::size_t>(count));
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    columnWidths_.resize(static_cast<std::size_t>(count), defaults_[kNormal].GetWidth());
    for (auto& row : cells_) {
        row.resize(static_cast<std::size_t>(count), CGridCell(&defaults_[kNormal]));
    }
    fixedColumns_ = std::min(fixedColumns_, count);
    for (int row = 0; row < GetRowCount(); ++row) {
        for (int column = oldCount; column < count; ++column) {
            RefreshCellKind(row, column);
        }
    }
    if (focus_.col >= count) {
        focus_ = CCellID();
    }
    if (selection_.IsValid()) {
        CCellRange clipped = selection_;
        clipped.maxCol = std::min(clipped.maxCol, count - 1);
        SetSelectedRange(clipped);
    }
    NotifyStructureChanged();
    Relayout();
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
    RefreshAllCellKinds();
    NotifyStructureChanged();
    Relayout();
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
    RefreshAllCellKinds();
    NotifyStructureChanged();
    Relayout();
    return true;
}

int CGridCtrl::GetRowHeight(int row) const {
    return row >= 0 && row < GetRowCount() ? rowHeights_[static_cast<std::size_t>(row)] : -1;
}

int CGridCtrl::GetColumnWidth(int column) const {
    return column >= 0 && column < GetColumnCount()
               ? columnWidths_[static_cast<std::size_t>(column)]
               : -1;
}

bool CGridCtrl::SetRowHeight(int row, int height) {
    if (row < 0 || row >= GetRowCount() || height < 0) {
        return false;
    }
    rowHeights_[static_cast<std::size_t>(row)] = height;
    Relayout();
    return true;
}

bool CGridCtrl::SetColumnWidth(int column, int width) {
    if (column < 0 || column >= GetColumnCount() || width < 0) {
        return false;
    }
    columnWidths_[static_cast<std::size_t>(column)] = width;
    Relayout();
    return true;
}

bool CGridCtrl::IsValid(int row, int column) const {
    return row >= 0 && row < GetRowCount() && column >= 0 && column < GetColumnCount();
}

CGridCell* CGridCtrl::GetCell(int row, int column) {
    if (!IsValid(row, column)) {
        return nullptr;
    }
    return &cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

const CGridCell* CGridCtrl::GetCell(int row, int column) const {
    return const_cast<CGridCtrl*>(this)->GetCell(row, column);
}

bool CGridCtrl::SetItemText(int row, int column, const QString& text) {
    CGridCell* cell = GetCell(row, column);
    if (cell == nullptr) {
        return false;
    }
    cell->SetText(text);
    cell->SetModified(true);
    QueueTextChange(row, column);
    viewport()->update();  // only scheduled: a batch of texts still paints once
    return true;
}

QString CGridCtrl::GetItemText(int row, int column) const {
    const CGridCell* cell = GetCell(row, column);
    return cell != nullptr ? cell->GetText() : QString();
}

std::uint32_t CGridCtrl::GetItemState(int row, int column) const {
    const CGridCell* cell = GetCell(row, column);
    return cell != nullptr ? cell->GetState() : 0U;
}

bool CGridCtrl::SetItemState(int row, int column, std::uint32_t state) {
    CGridCell* cell = GetCell(row, column);
    if (cell == nullptr) {
        return false;
    }
    const std::uint32_t managed = cell->GetState() & kGridManagedStateBits;
    cell->SetState((state & ~kGridManagedStateBits) | managed);
    viewport()->update();
    return true;
}

bool CGridCtrl::IsCellFixed(int row, int column) const {
    return IsValid(row, column) && (row < fixedRows_ || column < fixedColumns_);
}

bool CGridCtrl::IsCellEditable(int row, int column) const {
    return editable_ && IsValid(row, column) && !IsCellFixed(row, column) &&
           (GetItemState(row, column) & CELL_READONLY) == 0;
}

CGridDefaultCell* CGridCtrl::GetDefaultCell(bool fixedRow, bool fixedColumn) {
    return &defaults_[(fixedRow ? kFixedRowKind : 0) | (fixedColumn ? kFixedColumnKind : 0)];
}

const CGridDefaultCell* CGridCtrl::GetDefaultCell(bool fixedRow, bool fixedColumn) const {
    return &defaults_[(fixedRow ? kFixedRowKind : 0) | (fixedColumn ? kFixedColumnKind : 0)];
}

void CGridCtrl::RefreshCellKind(int row, int column) {
    CGridCell& cell = cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    const bool fixedRow = row < fixedRows_;
    const bool fixedColumn = column < fixedColumns_;
    std::uint32_t state = cell.GetState() & ~(CELL_FIXED | CELL_FIXEDROW | CELL_FIXEDCOL);
    if (fixedRow) {
        state |= CELL_FIXED | CELL_FIXEDROW;
    }
    if (fixedColumn) {
        state |= CELL_FIXED | CELL_FIXEDCOL;
    }
    cell.SetState(state);
    cell.SetDefaultCell(GetDefaultCell(fixedRow, fixedColumn));
}

void CGridCtrl::RefreshAllCellKinds() {
    for (int row = 0; row < GetRowCount(); ++row) {
        for (int column = 0; column < GetColumnCount(); ++column) {
            RefreshCellKind(row, column);
        }
    }
}

void CGridCtrl::SetEditable(bool editable) {
    if (!editable) {
        EndEdit(true);
    }
    editable_ = editable;
}

void CGridCtrl::SetTrackFocusCell(bool track) {
    trackFocusCell_ = track;
    viewport()->update();
}

void CGridCtrl::SetFrameFocusCell(bool frame) {
    frameFocusCell_ = frame;
    viewport()->update();
}

void CGridCtrl::SetListMode(bool listMode) {
    listMode_ = listMode;
    SetSelectedRange(CCellRange());
}

void CGridCtrl::SetGridLineColor(const QColor& colour) {
    gridLineColour_ = colour;
    viewport()->update();
}

void CGridCtrl::SetGridBkColor(const QColor& colour) {
    gridBkColour_ = colour;
    viewport()->update();
}

void CGridCtrl::SetGridFont(const QFont& font) {
    setFont(font);  // arrives in changeEvent like any other font change
}

void CGridCtrl::ApplyFont(const QFont& font) {
    for (CGridDefaultCell& defaults : defaults_) {
        defaults.SetFont(font);
    }
    Relayout();
}

void CGridCtrl::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        ApplyFont(font());
    } else if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) {
        viewport()->update();
    }
}

void CGridCtrl::Relayout() {
    UpdateScrollBars();
    viewport()->update();
}

void CGridCtrl::Invalidate() {
    NotifyTextsChanged();
    viewport()->update();
}

void CGridCtrl::SendNotify(int code, const CCellID& cell) {
    emit gridNotify(GridCellNotify{this, controlId_, code, cell.row, cell.col});
}

bool CGridCtrl::event(QEvent* event) {
    // Tab moves between cells while there is a focus cell; otherwise it moves between widgets.
    if (event->type() == QEvent::KeyPress) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        if ((keyEvent->key() == Qt::Key_Tab || keyEvent->key() == Qt::Key_Backtab) &&
            handleTabKey_ && IsValid(focus_) && !editor_) {
            keyPressEvent(keyEvent);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

}  // namespace halyx
