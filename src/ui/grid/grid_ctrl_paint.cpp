// Painting: cells, grid lines, header shading, the focus frame and the title tips.
#include <QFontMetrics>
#include <QHeaderView>
#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <array>

#include "ui/grid/grid_colours.h"
#include "ui/grid/grid_ctrl.h"

namespace halyx {

namespace {
// Indices of the fixed entries and of the scrolled ones that start inside `extent`.
std::vector<int> ShownGridIndices(const QHeaderView* header, int count, int fixedCount, int first,
                                  qint64 fixedExtent, int extent) {
    std::vector<int> shown;
    for (int i = 0; i < fixedCount; ++i) {
        shown.push_back(i);
    }
    qint64 edge = fixedExtent;
    for (int i = first; i < count && edge < extent; ++i) {
        shown.push_back(i);
        edge += header->sectionSize(i);
    }
    return shown;
}
}  // namespace

void CGridCtrl::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Dark));
    const std::vector<int> rows =
        ShownGridIndices(verticalHeader(), GetRowCount(), fixedRows_, TopRow(), GetFixedRowHeight(),
                         viewport()->height());
    const std::vector<int> columns =
        ShownGridIndices(horizontalHeader(), GetColumnCount(), fixedColumns_, LeftColumn(),
                         GetFixedColumnWidth(), viewport()->width());
    for (int row : rows) {
        for (int column : columns) {
            const QRect rect = CellGeometry(row, column);
            if (!rect.isEmpty() && rect.intersects(event->rect())) {
                DrawCell(painter, row, column, rect);
            }
        }
    }
    DrawFocusFrame(painter);
}

void CGridCtrl::DrawCell(QPainter& painter, int row, int column, const QRect& rect) const {
    const bool fixedRow = row < fixedRows_;
    const bool fixedColumn = column < fixedColumns_;
    const CGridDefaultCell* defaults = GetDefaultCell(fixedRow, fixedColumn);
    const QPalette& colours = palette();
    const bool fixed = fixedRow || fixedColumn;
    QColor back = colours.color(fixed ? QPalette::Button : QPalette::Base);
    QColor text = colours.color(fixed ? QPalette::ButtonText : QPalette::Text);
    if (!fixed && IsCellSelected(row, column)) {
        const CellColours selected = HighlightCell(colours);
        back = selected.background;
        text = selected.text;
    }
    const QString mark =
        fixed ? QString() : model()->data(IndexOf(row, column), kCellMarkRole).toString();
    if (!fixed && !mark.isEmpty() && !IsCellSelected(row, column)) {
        const CellColours marked = MarkedCell(colours);
        back = marked.background;
        text = marked.text;
    }
    if (row >= fixedRows_ && IsRowChosen(row)) {
        // The labels of chosen rows stand out; their cells are tinted so the range reads as one,
        // never so far that their text stops being readable.
        const bool label = column < fixedColumns_;
        const CellColours chosen = label ? HighlightCell(colours) : ChosenCell(colours);
        back = chosen.background;
        text = chosen.text;
    }
    // Headers of the focus cell's row and column are shown pressed in, to guide the eye.
    const CCellID focus = GetFocusCell();
    const bool tracked =
        fixed && IsValid(focus) &&
        ((row < fixedRows_ && column == focus.col) || (column < fixedColumns_ && row == focus.row));
    painter.fillRect(rect, tracked ? back.darker(112) : back);

    const QColor line = fixed ? colours.color(QPalette::Mid) : GridLineColour(colours);
    painter.setPen(line);
    painter.drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
    painter.drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
    if (fixed && !tracked) {
        painter.setPen(colours.color(QPalette::Light));
        painter.drawLine(rect.left(), rect.top(), rect.right() - 1, rect.top());
        painter.drawLine(rect.left(), rect.top(), rect.left(), rect.bottom() - 1);
    }

    if (!mark.isEmpty()) {
        // A flag in the top right corner, so the mark shows even where colours do not.
        constexpr int kFlagSize = 7;
        const QPoint corner(rect.right() - 1, rect.top() + 1);
        const std::array<QPoint, 3> flag{corner, corner - QPoint(kFlagSize, 0),
                                         corner + QPoint(0, kFlagSize)};
        painter.setPen(Qt::NoPen);
        painter.setBrush(MarkColour(colours));
        painter.drawPolygon(flag.data(), static_cast<int>(flag.size()));
        painter.setBrush(Qt::NoBrush);
    }

    const int margin = defaults->GetMargin();
    const QRect textRect = rect.adjusted(margin, 0, -margin, -1);
    const QString cellText = GetItemText(row, column);
    if (textRect.width() <= 0 || cellText.isEmpty()) {
        return;
    }
    const QFont font = defaults->GetFont();
    painter.setFont(font);
    painter.setPen(text);
    const QString shown = QFontMetrics(font).elidedText(cellText, Qt::ElideRight, textRect.width());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

void CGridCtrl::DrawFocusFrame(QPainter& painter) const {
    QRect rect;
    const CCellID focus = GetFocusCell();
    if (!GetCellRect(focus.row, focus.col, rect) || rect.isEmpty()) {
        return;
    }
    const bool active = hasFocus();
    QPen pen(palette().color(active ? QPalette::Highlight : QPalette::Text));
    pen.setWidth(active ? 2 : 1);
    pen.setStyle(active ? Qt::SolidLine : Qt::DotLine);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // Inside the cell, clear of its grid lines.
    painter.drawRect(active ? rect.adjusted(1, 1, -2, -2) : rect.adjusted(0, 0, -2, -2));
}

bool CGridCtrl::IsTextTruncated(int row, int column) const {
    const QString cellText = GetItemText(row, column);
    if (cellText.isEmpty()) {
        return false;
    }
    const CGridDefaultCell* defaults = GetDefaultCell(row < fixedRows_, column < fixedColumns_);
    const int room = GetColumnWidth(column) - 2 * defaults->GetMargin();
    return QFontMetrics(defaults->GetFont()).horizontalAdvance(cellText) > room;
}

bool CGridCtrl::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // Title tips: a cell too narrow for its text shows the whole text on hover.
        auto* help = static_cast<QHelpEvent*>(event);
        const CCellID cell = GetCellFromPt(help->pos());
        QRect rect;
        if (IsTextTruncated(cell.row, cell.col) && GetCellRect(cell.row, cell.col, rect)) {
            QToolTip::showText(help->globalPos(), GetItemText(cell.row, cell.col), viewport(),
                               rect);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QTableView::viewportEvent(event);
}

void CGridCtrl::focusInEvent(QFocusEvent* event) {
    // Not QAbstractItemView's: it would make the first cell the focus cell on any keyboard
    // focus, and a grid without a focus cell lets the arrow keys scroll.
    QAbstractScrollArea::focusInEvent(event);  // NOLINT(bugprone-parent-virtual-call)
    viewport()->update();
    NotifyAccessibleFocus();
}

void CGridCtrl::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    viewport()->update();
}

}  // namespace halyx
