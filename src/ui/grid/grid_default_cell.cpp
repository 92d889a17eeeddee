#include "ui/grid/grid_default_cell.h"

#include <QFontMetrics>
#include <QGuiApplication>

namespace halyx {

namespace {
// The sample text whose extent gives the default cell size: wide enough for a typical value.
const QString kGridSizingSample = QStringLiteral(" XXXXXXXXXXXX ");
}  // namespace

void CGridDefaultCell::SetFont(const QFont& font) {
    font_ = font;
    // Font metrics need a running GUI application; without one keep fixed sizes.
    if (qGuiApp == nullptr) {
        width_ = kFallbackWidth;
        height_ = kFallbackHeight;
        margin_ = kFallbackMargin;
        return;
    }
    const QFontMetrics metrics(font_);
    width_ = metrics.horizontalAdvance(kGridSizingSample);
    height_ = metrics.height() * 3 / 2;
    margin_ = metrics.horizontalAdvance(QLatin1Char(' '));
}

}  // namespace halyx
