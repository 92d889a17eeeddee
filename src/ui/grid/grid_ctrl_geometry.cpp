// Where cells are: positions under scrolling, hit testing, scroll bars. Scrolling is by whole
// rows and columns, so the first visible non-fixed cell always starts right after the fixed ones.
#include <QLineEdit>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <numeric>

#include <algorithm>

#include "ui/grid/grid_ctrl.h"

namespace halyx {

namespace {
// Far enough outside any screen that clamping never shows, small enough that right/bottom
// arithmetic in QRect cannot overflow.
constexpr qint64 kCoordinateLimit = qint64{1} << 28;

int ClampCoordinate(qint64 value) {
    return static_cast<int>(std::clamp(value, -kCoordinateLimit, kCoordinateLimit));
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
        height += rowHeights_[static_cast<std::size_t>(row)];
    }
    return ClampCoordinate(height);
}

int CGridCtrl::GetFixedColumnWidth() const {
    qint64 width = 0;
    for (int column = 0; column < fixedColumns_; ++column) {
        width += columnWidths_[static_cast<std::size_t>(column)];
    }
    return ClampCoordinate(width);
}

qint64 CGridCtrl::RowTop(int row) const {
    qint64 y = 0;
    if (row < fixedRows_) {
        for (int r = 0; r < row; ++r) {
            y += rowHeights_[static_cast<std::size_t>(r)];
        }
        return y;
    }
    y = GetFixedRowHeight();
    const int top = TopRow();
    for (int r = top; r < row; ++r) {
        y += rowHeights_[static_cast<std::size_t>(r)];
    }
    for (int r = row; r < top; ++r) {
        y -= rowHeights_[static_cast<std::size_t>(r)];
    }
    return y;
}

qint64 CGridCtrl::ColumnLeft(int column) const {
    qint64 x = 0;
    if (column < fixedColumns_) {
        for (int c = 0; c < column; ++c) {
            x += columnWidths_[static_cast<std::size_t>(c)];
        }
        return x;
    }
    x = GetFixedColumnWidth();
    const int left = LeftColumn();
    for (int c = left; c < column; ++c) {
        x += columnWidths_[static_cast<std::size_t>(c)];
    }
    for (int c = column; c < left; ++c) {
        x -= columnWidths_[static_cast<std::size_t>(c)];
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
    const int row = find(point.y(), fixedRows_, TopRow(), rowHeights_);
    const int column = find(point.x(), fixedColumns_, LeftColumn(), columnWidths_);
    return row >= 0 && column >= 0 ? CCellID(row, column) : CCellID();
}

CCellID CGridCtrl::GetTopleftNonFixedCell() const {
    return {TopRow(), LeftColumn()};
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
    return LastFirstIndex(rowHeights_, fixedRows_, viewport()->height() - GetFixedRowHeight());
}

int CGridCtrl::LastLeftColumn() const {
    return LastFirstIndex(columnWidths_, fixedColumns_,
                          viewport()->width() - GetFixedColumnWidth());
}

int CGridCtrl::PageRowCount() const {
    return FullyVisibleCount(rowHeights_, TopRow(), viewport()->height() - GetFixedRowHeight());
}

void CGridCtrl::UpdateScrollBars() {
    // Judged against the room the cells would have without any scroll bar: otherwise a grid that
    // fits exactly keeps both bars once each has made room for the other.
    const QSize room = maximumViewportSize();
    const qint64 width = std::accumulate(columnWidths_.begin(), columnWidths_.end(), qint64{0});
    const qint64 height = std::accumulate(rowHeights_.begin(), rowHeights_.end(), qint64{0});
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
    horizontal->setPageStep(FullyVisibleCount(columnWidths_, LeftColumn(),
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

void CGridCtrl::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void CGridCtrl::scrollContentsBy(int /*dx*/, int /*dy*/) {
    // Positions are recomputed from the scroll bars, so a repaint is all that is needed.
    if (editor_) {
        QRect rect;
        if (GetCellRect(editCell_.row, editCell_.col, rect)) {
            editor_->setGeometry(rect.adjusted(0, 0, -1, -1));
        } else {
            EndEdit(true);
        }
    }
    viewport()->update();
}

QSize CGridCtrl::sizeHint() const {
    constexpr int kMaxHintExtent = 640;
    qint64 width = 0;
    qint64 height = 0;
    for (int size : columnWidths_) {
        width += size;
    }
    for (int size : rowHeights_) {
        height += size;
    }
    const int frame = 2 * frameWidth();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return {static_cast<int>(std::min<qint64>(width, kMaxHintExtent)) + frame + bar,
            static_cast<int>(std::min<qint64>(height, kMaxHintExtent)) + frame + bar};
}

}  // namespace halyx
