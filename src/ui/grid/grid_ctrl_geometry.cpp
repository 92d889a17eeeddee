// Where cells are: positions under scrolling, hit testing, scroll bars. Scrolling is by whole
// rows and columns, so the first visible non-fixed cell always starts right after the fixed ones.
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <vector>

#include "ui/grid/grid_ctrl.h"

namespace halyx {

namespace {
// Far enough outside any screen that clamping never shows, small enough that right/bottom
// arithmetic in QRect cannot overflow.
constexpr qint64 kCoordinateLimit = qint64{1} << 28;

int ClampCoordinate(qint64 value) {
    return static_cast<int>(std::clamp(value, -kCoordinateLimit, kCoordinateLimit));
}

std::vector<int> SectionSizes(const QHeaderView* header, int count) {
    std::vector<int> sizes(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        sizes[static_cast<std::size_t>(i)] = header->sectionSize(i);
    }
    return sizes;
}
}  // namespace

int CGridCtrl::TopRow() const {
    return std::min(fixedRows_ + verticalScrollBar()->value(), GetRowCount());
}

int CGridCtrl::LeftColumn() const {
    return std::min(fixedColumns_ + horizontalScrollBar()->value(), GetColumnCount());
}

int CGridCtrl::GetFixedRowHeight() const {
    qint64 height = 0;
    for (int row = 0; row < fixedRows_; ++row) {
        height += GetRowHeight(row);
    }
    return ClampCoordinate(height);
}

int CGridCtrl::GetFixedColumnWidth() const {
    qint64 width = 0;
    for (int column = 0; column < fixedColumns_; ++column) {
        width += GetColumnWidth(column);
    }
    return ClampCoordinate(width);
}

qint64 CGridCtrl::RowTop(int row) const {
    qint64 y = 0;
    if (row < fixedRows_) {
        for (int r = 0; r < row; ++r) {
            y += GetRowHeight(r);
        }
        return y;
    }
    y = GetFixedRowHeight();
    const int top = TopRow();
    for (int r = top; r < row; ++r) {
        y += GetRowHeight(r);
    }
    for (int r = row; r < top; ++r) {
        y -= GetRowHeight(r);
    }
    return y;
}

qint64 CGridCtrl::ColumnLeft(int column) const {
    qint64 x = 0;
    if (column < fixedColumns_) {
        for (int c = 0; c < column; ++c) {
            x += GetColumnWidth(c);
        }
        return x;
    }
    x = GetFixedColumnWidth();
    const int left = LeftColumn();
    for (int c = left; c < column; ++c) {
        x += GetColumnWidth(c);
    }
    for (int c = column; c < left; ++c) {
        x -= GetColumnWidth(c);
    }
    return x;
}

QRect CGridCtrl::CellGeometry(int row, int column) const {
    return QRect(ClampCoordinate(ColumnLeft(column)), ClampCoordinate(RowTop(row)),
                 GetColumnWidth(column), GetRowHeight(row));
}

bool CGridCtrl::GetCellRect(int row, int column, QRect& rect) const {
    if (!IsValid(row, column)) {
        return false;
    }
    if ((row >= fixedRows_ && row < TopRow()) ||
        (column >= fixedColumns_ && column < LeftColumn())) {
        return false;
    }
    rect = CellGeometry(row, column);
    return true;
}

bool CGridCtrl::IsCellVisible(int row, int column) const {
    QRect rect;
    return GetCellRect(row, column, rect) && rect.intersects(viewport()->rect());
}

CCellID CGridCtrl::GetCellFromPt(const QPoint& point) const {
    auto find = [](int pos, int fixedCount, int first, const std::vector<int>& sizes) {
        qint64 edge = 0;
        for (int i = 0; i < fixedCount; ++i) {
            edge += sizes[static_cast<std::size_t>(i)];
            if (pos < edge) {
                return i;
            }
        }
        for (int i = first; i < static_cast<int>(sizes.size()); ++i) {
            edge += sizes[static_cast<std::size_t>(i)];
            if (pos < edge) {
                return i;
            }
        }
        return -1;
    };
    if (point.x() < 0 || point.y() < 0) {
        return {};
    }
    const int row =
        find(point.y(), fixedRows_, TopRow(), SectionSizes(verticalHeader(), GetRowCount()));
    const int column = find(point.x(), fixedColumns_, LeftColumn(),
                            SectionSizes(horizontalHeader(), GetColumnCount()));
    return row >= 0 && column >= 0 ? CCellID(row, column) : CCellID();
}

namespace {
// The first index from which the remaining sizes fit into `room`; shows the tail completely.
int LastFirstIndex(const std::vector<int>& sizes, int fixedCount, qint64 room) {
    int first = static_cast<int>(sizes.size());
    qint64 used = 0;
    while (first > fixedCount && used + sizes[static_cast<std::size_t>(first - 1)] <= room) {
        used += sizes[static_cast<std::size_t>(first - 1)];
        --first;
    }
    if (first == static_cast<int>(sizes.size()) && first > fixedCount) {
        --first;  // even the last one alone does not fit: let it be the first shown
    }
    return first;
}

int FullyVisibleCount(const std::vector<int>& sizes, int first, qint64 room) {
    int count = 0;
    qint64 used = 0;
    for (int i = first; i < static_cast<int>(sizes.size()); ++i) {
        used += sizes[static_cast<std::size_t>(i)];
        if (used > room) {
            break;
        }
        ++count;
    }
    return std::max(count, 1);
}
}  // namespace

int CGridCtrl::LastTopRow() const {
    return LastFirstIndex(SectionSizes(verticalHeader(), GetRowCount()), fixedRows_,
                          viewport()->height() - GetFixedRowHeight());
}

int CGridCtrl::LastLeftColumn() const {
    return LastFirstIndex(SectionSizes(horizontalHeader(), GetColumnCount()), fixedColumns_,
                          viewport()->width() - GetFixedColumnWidth());
}

int CGridCtrl::PageRowCount() const {
    return FullyVisibleCount(SectionSizes(verticalHeader(), GetRowCount()), TopRow(),
                             viewport()->height() - GetFixedRowHeight());
}

void CGridCtrl::UpdateScrollBars() {
    // Judged against the room the cells would have without any scroll bar: otherwise a grid that
    // fits exactly keeps both bars once each has made room for the other.
    const QSize room = maximumViewportSize();
    const qint64 width = horizontalHeader()->length();
    const qint64 height = verticalHeader()->length();
    if (width <= room.width() && height <= room.height()) {
        verticalScrollBar()->setRange(0, 0);
        horizontalScrollBar()->setRange(0, 0);
        return;
    }
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, LastTopRow() - fixedRows_));
    vertical->setPageStep(PageRowCount());
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, LastLeftColumn() - fixedColumns_));
    horizontal->setPageStep(FullyVisibleCount(SectionSizes(horizontalHeader(), GetColumnCount()),
                                              LeftColumn(),
                                              viewport()->width() - GetFixedColumnWidth()));
}

void CGridCtrl::EnsureVisible(int row, int column) {
    if (!IsValid(row, column)) {
        return;
    }
    if (row >= fixedRows_) {
        const qint64 room = viewport()->height() - GetFixedRowHeight();
        int top = std::min(TopRow(), row);
        while (top < row && RowTop(row) - RowTop(top) + GetRowHeight(row) > room) {
            ++top;
        }
        verticalScrollBar()->setValue(top - fixedRows_);
    }
    if (column >= fixedColumns_) {
        const qint64 room = viewport()->width() - GetFixedColumnWidth();
        int left = std::min(LeftColumn(), column);
        while (left < column &&
               ColumnLeft(column) - ColumnLeft(left) + GetColumnWidth(column) > room) {
            ++left;
        }
        horizontalScrollBar()->setValue(left - fixedColumns_);
    }
}

void CGridCtrl::updateGeometries() {
    QTableView::updateGeometries();
    UpdateScrollBars();  // Qt's ranges do not know the fixed cells
}

void CGridCtrl::scrollContentsBy(int /*dx*/, int /*dy*/) {
    // Positions are worked out from the scroll bars, so a repaint and the open editor's new
    // place are all that is needed.
    updateEditorGeometries();
    viewport()->update();
}

QRect CGridCtrl::visualRect(const QModelIndex& index) const {
    return index.isValid() ? CellGeometry(index.row(), index.column()) : QRect();
}

QModelIndex CGridCtrl::indexAt(const QPoint& point) const {
    const CCellID cell = GetCellFromPt(point);
    return IndexOf(cell.row, cell.col);
}

void CGridCtrl::scrollTo(const QModelIndex& index, ScrollHint /*hint*/) {
    EnsureVisible(index.row(), index.column());
}

int CGridCtrl::horizontalOffset() const {
    return ClampCoordinate(GetFixedColumnWidth() - ColumnLeft(fixedColumns_));
}

int CGridCtrl::verticalOffset() const {
    return ClampCoordinate(GetFixedRowHeight() - RowTop(fixedRows_));
}

QSize CGridCtrl::sizeHint() const {
    constexpr int kMaxHintExtent = 640;
    const qint64 width = horizontalHeader()->length();
    const qint64 height = verticalHeader()->length();
    const int frame = 2 * frameWidth();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return {static_cast<int>(std::min<qint64>(width, kMaxHintExtent)) + frame + bar,
            static_cast<int>(std::min<qint64>(height, kMaxHintExtent)) + frame + bar};
}

}  // namespace halyx
