#include "ui/common/dialog_units.h"

#include <QWidget>
#include <cmath>

namespace halyx {
namespace {

int Across(int units) {
    return static_cast<int>(std::lround(units * kDialogUnitWidthPx));
}

int Down(int units) {
    return static_cast<int>(std::lround(units * kDialogUnitHeightPx));
}

}  // namespace

QRect DialogRect(int x, int y, int width, int height) {
    // Convert the edges, not the size, so that controls that touch in units touch in pixels too.
    const int left = Across(x);
    const int top = Down(y);
    return QRect(left, top, Across(x + width) - left, Down(y + height) - top);
}

QSize DialogSize(int width, int height) {
    return QSize(Across(width), Down(height));
}

void PlaceControl(QWidget* control, int x, int y, int width, int height) {
    control->setGeometry(DialogRect(x, y, width, height));
}

}  // namespace halyx
