#include "app/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace halyx {
namespace {

const QColor kInk(32, 32, 32);
const QColor kPaper(255, 255, 255);
const QColor kFolder(230, 190, 80);
const QColor kDisk(40, 80, 160);
const QColor kRadio(70, 70, 70);
const QColor kArrowIn(0, 140, 60);
const QColor kArrowOut(200, 60, 30);
const QColor kHelp(30, 90, 200);

QPixmap BlankImage() {
    QPixmap image(kToolbarImageWidth, kToolbarImageHeight);
    image.fill(Qt::transparent);
    return image;
}

void DrawPage(QPainter& p) {
    const QPolygon page(
        {QPoint(3, 1), QPoint(10, 1), QPoint(13, 4), QPoint(13, 14), QPoint(3, 14)});
    p.setPen(kInk);
    p.setBrush(kPaper);
    p.drawPolygon(page);
    p.drawLine(10, 1, 10, 4);
    p.drawLine(10, 4, 13, 4);
}

void DrawFolder(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(kFolder.darker(115));
    p.drawRect(1, 3, 12, 10);
    p.setBrush(kFolder);
    p.drawPolygon(QPolygon({QPoint(3, 6), QPoint(15, 6), QPoint(13, 13), QPoint(1, 13)}));
}

void DrawDisk(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(kDisk);
    p.drawRect(1, 1, 13, 13);
    p.setBrush(kPaper);
    p.drawRect(4, 1, 7, 5);
    p.setBrush(kDisk.lighter(150));
    p.drawRect(4, 9, 7, 5);
}

// A hand-held radio on the left with an arrow pointing away from it (read) or towards it (write).
void DrawRadioTransfer(QPainter& p, bool towardsRadio) {
    p.setPen(kInk);
    p.setBrush(kRadio);
    p.drawRect(1, 4, 5, 10);
    p.drawLine(2, 4, 2, 0);
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    p.drawRect(2, 6, 3, 2);

    const QColor color = towardsRadio ? kArrowOut : kArrowIn;
    p.setPen(QPen(color, 2));
    p.drawLine(8, 9, 14, 9);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    if (towardsRadio) {
        p.drawPolygon(QPolygon({QPoint(7, 9), QPoint(11, 5), QPoint(11, 13)}));
    } else {
        p.drawPolygon(QPolygon({QPoint(15, 9), QPoint(11, 5), QPoint(11, 13)}));
    }
}

void DrawHelp(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(kHelp);
    p.drawEllipse(1, 0, 13, 13);
    QFont font;
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kPaper);
    p.drawText(QRect(1, 0, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
}

template <typename Draw>
QPixmap Paint(Draw draw) {
    QPixmap image = BlankImage();
    QPainter painter(&image);
    draw(painter);
    return image;
}

QPixmap RadioIcon(int size) {
    QPixmap image(size, size);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    p.setPen(QPen(kInk, 1.5));
    p.drawLine(QPointF(11, 9), QPointF(11, 1));
    p.setBrush(kRadio);
    p.drawRoundedRect(QRectF(7, 8, 18, 23), 3, 3);
    p.setBrush(QColor(150, 210, 150));
    p.drawRect(QRectF(10, 11, 12, 6));
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            p.drawEllipse(QPointF(12 + 4 * column, 21 + 3.2 * row), 1.1, 1.1);
        }
    }
    return image;
}

}  // namespace

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 32, 48}) {
        icon.addPixmap(RadioIcon(size));
    }
    return icon;
}

std::vector<QPixmap> ToolbarImages() {
    return {
        Paint(DrawPage),
        Paint(DrawFolder),
        Paint(DrawDisk),
        Paint([](QPainter& p) { DrawRadioTransfer(p, false); }),
        Paint([](QPainter& p) { DrawRadioTransfer(p, true); }),
        Paint(DrawHelp),
    };
}

}  // namespace halyx
