#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace halyx {

// Dialog layouts are given in dialog units, the font-relative measure the radio tools' dialogs
// were drawn in. With their 12-pixel UI font one unit is 1.5 px across and 1.625 px down at
// 96 DPI; Qt's device-independent pixels take care of higher-density screens.
inline constexpr double kDialogUnitWidthPx = 1.5;
inline constexpr double kDialogUnitHeightPx = 1.625;

QRect DialogRect(int x, int y, int width, int height);
QSize DialogSize(int width, int height);

// Places `control` at the dialog-unit rectangle, relative to its parent.
void PlaceControl(QWidget* control, int x, int y, int width, int height);

}  // namespace halyx
