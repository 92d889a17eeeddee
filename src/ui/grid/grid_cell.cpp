#include "ui/grid/grid_cell.h"

#include <QFontMetrics>
#include <QGuiApplication>

namespace halyx {

namespace {
// The sample text whose extent gives the default cell size: wide enough for a typical value.
const QString kSizingSample = QStringLiteral(" XXXXXXXXXXXX ");
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
    width_ = metrics.horizontalAdvance(kSizingSample);
    height_ = metrics.height() * 3 / 2;
    margin_ = metrics.horizontalAdvance(QLatin1Char(' '));
}

QFont CGridCell::GetFont() const {
    if (font_) {
        return *font_;
    }
    return defaults_ != nullptr ? defaults_->GetFont() : QFont();
}

}  // namespace halyx
