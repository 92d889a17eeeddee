#include "ui/grid/grid_colours.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace halyx {
namespace {

double Linear(double channel) {
    // The sRGB transfer curve, undone.
    return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

// Strongest first: the first that leaves the text readable is taken.
constexpr std::array<double, 5> kTintOpacities{0.40, 0.30, 0.22, 0.15, 0.08};

}  // namespace

double RelativeLuminance(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return 0.2126 * Linear(rgb.redF()) + 0.7152 * Linear(rgb.greenF()) +
           0.0722 * Linear(rgb.blueF());
}

double ContrastRatio(const QColor& first, const QColor& second) {
    const double a = RelativeLuminance(first);
    const double b = RelativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor Blend(const QColor& over, const QColor& under, double opacity) {
    const QColor top = over.toRgb();
    const QColor bottom = under.toRgb();
    const auto mix = [opacity](double a, double b) { return a * opacity + b * (1.0 - opacity); };
    return QColor::fromRgbF(static_cast<float>(mix(top.redF(), bottom.redF())),
                            static_cast<float>(mix(top.greenF(), bottom.greenF())),
                            static_cast<float>(mix(top.blueF(), bottom.blueF())));
}

CellColours TintedCell(const QPalette& palette, const QColor& tint) {
    const QColor base = palette.color(QPalette::Base);
    const QColor text = palette.color(QPalette::Text);
    for (const double opacity : kTintOpacities) {
        const QColor tinted = Blend(tint, base, opacity);
        if (ContrastRatio(tinted, text) >= kReadableContrast) {
            return {tinted, text};
        }
    }
    return {base, text};
}

QColor ReadableTextOn(const QColor& background, const QColor& preferred) {
    if (ContrastRatio(background, preferred) >= kReadableContrast) {
        return preferred;
    }
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return ContrastRatio(background, black) >= ContrastRatio(background, white) ? black : white;
}

CellColours HighlightCell(const QPalette& palette) {
    const QColor back = palette.color(QPalette::Highlight);
    return {back, ReadableTextOn(back, palette.color(QPalette::HighlightedText))};
}

CellColours ChosenCell(const QPalette& palette) {
    return TintedCell(palette, palette.color(QPalette::Highlight));
}

QColor MarkColour(const QPalette& palette) {
    return palette.color(QPalette::Link);
}

CellColours MarkedCell(const QPalette& palette) {
    return TintedCell(palette, MarkColour(palette));
}

QColor GridLineColour(const QPalette& palette) {
    return Blend(palette.color(QPalette::Text), palette.color(QPalette::Base), 0.25);
}

}  // namespace halyx
