#pragma once

#include <QColor>
#include <QImage>
#include <QPalette>
#include <QRect>
#include <algorithm>

#include "ui/grid/grid_colours.h"

namespace halyx::test {

// The contrast of what was drawn in `area` of a rendered widget: its background (the colour at
// the area's left edge, clear of any text) against the pixel that stands out most from it, which
// for text is the core of its strokes.
inline double DrawnTextContrast(const QImage& image, const QRect& area) {
    const QColor background = image.pixelColor(area.left() + 2, area.center().y());
    double best = 1.0;
    for (int y = area.top() + 1; y < area.bottom(); ++y) {
        for (int x = area.left() + 1; x < area.right() - 8; ++x) {  // clear of a corner flag
            best = std::max(best, ContrastRatio(background, image.pixelColor(x, y)));
        }
    }
    return best;
}

// A dark theme that pairs a light highlight with white text, as some desktop themes do.
inline QPalette DarkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::AlternateBase, QColor(0x2a, 0x2a, 0x2a));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Highlight, QColor(0x9c, 0xd0, 0xf5));
    dark.setColor(QPalette::HighlightedText, QColor(0xff, 0xff, 0xff));
    dark.setColor(QPalette::Link, QColor(0x6c, 0xb4, 0xff));
    dark.setColor(QPalette::Light, QColor(0x50, 0x50, 0x50));
    dark.setColor(QPalette::Mid, QColor(0x40, 0x40, 0x40));
    dark.setColor(QPalette::Dark, QColor(0x20, 0x20, 0x20));
    return dark;
}

}  // namespace halyx::test
