// Painting: cells, grid lines, header shading, the focus frame and the title tips.
#include <QFontMetrics>
#include <QHelpEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include "ui/grid/grid_ctrl.h"

namespace halyx {

namespace {
QColor FirstValid(const QColor& own, const QColor& fallback, const QColor& palette) {
    if (own.isValid()) {
        return own;
    }
    return fallback.isValid() ? fallback : palette;
}

// Indices of the fixed entries and of the scrolled ones that start inside `extent`.
std::vector<int> ShownIndices(const std::vector<int>& sizes, int fixedCount, int first,
                              qint64 fixedExtent, int extent) {
    std::vector<int> shown;
    for (int i = 0; i < fixedCount; ++i) {
        shown.push_back(i);
    }
    qint64 edge = fixedExtent;
    for (int i = first; i < static_cast<int>(sizes.size()) && edge < extent; ++i) {
        shown.push_back(i);
        edge += sizes[static_cast<std::size_t>(i)];
    }
    return shown;
}
}  // namespace

void CGridCtrl::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QColor outside =
        gridBkColour_.isValid() ? gridBkColour_ : palette().color(QPalette::Dark);
    painter.fillRect(event->rect(), outside);
    const std::vector<int> rows =
        ShownIndices(rowHeights_, fixedRows_, TopRow(), GetFixedRowHeight(), viewport()->height());
    const std::vector<int> columns = ShownIndices(columnWidths_, fixedColumns_, LeftColumn(),
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
    const CGridCell& cell = cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    const CGridDefaultCell* defaults = cell.GetDefaultCell();
    const QPalette& colours = palette();
    const bool fixed = IsCellFixed(row, column);
    QColor back = FirstValid(cell.GetBackClr(), defaults->GetBackClr(),
                             colours.color(fixed ? QPalette::Button : QPalette::Base));
    QColor text = FirstValid(cell.GetTextClr(), defaults->GetTextClr(),
                             colours.color(fixed ? QPalette::ButtonText : QPalette::Text));
    if (!fixed && IsCellSelected(row, column)) {
        back = colours.color(QPalette::Highlight);
        text = colours.color(QPalette::HighlightedText);
    }
    if (row >= fixedRows_ && IsRowChosen(row)) {
        // The labels of chosen rows stand out; their cells are tinted so the range reads as one.
        const bool label = column < fixedColumns_;
        back = label ? colours.color(QPalette::Highlight)
                     : colours.color(QPalette::Highlight).lighter(170);
        text = colours.color(label ? QPalette::HighlightedText : QPalette::Text);
    }
    // Headers of the focus cell's row and column are shown pressed in, to guide the eye.
    const bool tracked = fixed && trackFocusCell_ && IsValid(focus_) &&
                         ((row < fixedRows_ && column == focus_.col) ||
                          (column < fixedColumns_ && row == focus_.row));
    painter.fillRect(rect, tracked ? back.darker(112) : back);

    const QColor line = fixed ? colours.color(QPalette::Mid) : gridLineColour_;
    painter.setPen(line);
    painter.drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
    painter.drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
    if (fixed && !tracked) {
        painter.setPen(colours.color(QPalette::Light));
        painter.drawLine(rect.left(), rect.top(), rect.right() - 1, rect.top());
        painter.drawLine(rect.left(), rect.top(), rect.left(), rect.bottom() - 1);
    }

    const int margin = defaults->GetMargin();
    const QRect textRect = rect.adjusted(margin, 0, -margin, -1);
    if (textRect.width() <= 0 || cell.GetText().isEmpty()) {
        return;
    }
    const QFont font = cell.GetFont();
    painter.setFont(font);
    painter.setPen(text);
    const QString shown =
        QFontMetrics(font).elidedText(cell.GetText(), Qt::ElideRight, textRect.width());
    painter.drawText(textRect, static_cast<int>(cell.GetFormat()) | Qt::TextSingleLine, shown);
}

void CGridCtrl::DrawFocusFrame(QPainter& painter) const {
    QRect rect;
    if (!frameFocusCell_ || !GetCellRect(focus_.row, focus_.col, rect) || rect.isEmpty()) {
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
    const CGridCell* cell = GetCell(row, column);
    if (cell == nullptr || cell->GetText().isEmpty()) {
        return false;
    }
    const int room = GetColumnWidth(column) - 2 * cell->GetDefaultCell()->GetMargin();
    return QFontMetrics(cell->GetFont()).horizontalAdvance(cell->GetText()) > room;
}

bool CGridCtrl::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // Title tips: a cell too narrow for its text shows the whole text on hover.
        auto* help = static_cast<QHelpEvent*>(event);
        const CCellID cell = GetCellFromPt(help->pos());
        QRect rect;
        if (titleTips_ && IsTextTruncated(cell.row, cell.col) &&
            GetCellRect(cell.row, cell.col, rect)) {
            QToolTip::showText(help->globalPos(), GetItemText(cell.row, cell.col), viewport(),
                               rect);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void CGridCtrl::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    NotifyAccessibleFocus();
}

void CGridCtrl::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

}  // namespace halyx
