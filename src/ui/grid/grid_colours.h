#pragma once

#include <QColor>
#include <QPalette>

namespace halyx {

// The colours the grid and the dialogs that show results draw with, all worked out from the
// widget's palette so that a dark or high-contrast desktop theme reads as well as the default
// one. Tints are mixed towards the base colour only as far as the text on them stays readable.

// The model role a cell answers with a non-empty text when it is to be marked (a value that was
// corrected, a failed radio); the text says why.
inline constexpr int kCellMarkRole = Qt::UserRole + 40;

// The least contrast between text and its background that normal-sized text needs (WCAG AA).
inline constexpr double kReadableContrast = 4.5;

struct CellColours {
    QColor background;
    QColor text;
};

// WCAG relative luminance and contrast ratio (1 to 21).
double RelativeLuminance(const QColor& colour);
double ContrastRatio(const QColor& first, const QColor& second);

// `over` laid on `under` with the given opacity (0 to 1).
QColor Blend(const QColor& over, const QColor& under, double opacity);

// The base colour tinted with `tint`, as strongly as keeps the palette's text readable on it;
// with no tint strong enough, the plain base colour.
CellColours TintedCell(const QPalette& palette, const QColor& tint);

// `preferred` when it is readable on `background`; otherwise black or white, whichever is more.
QColor ReadableTextOn(const QColor& background, const QColor& preferred);
// A cell drawn in the highlight colour (a selected cell, a chosen row's label), with text that
// stays readable on it even where a theme pairs a light highlight with white text.
CellColours HighlightCell(const QPalette& palette);

// Cells of rows the user chose: tinted with the highlight colour.
CellColours ChosenCell(const QPalette& palette);
// A marked cell: tinted with the mark colour.
CellColours MarkedCell(const QPalette& palette);
// The mark itself (a corner flag, a failed row's icon tint): the palette's link colour, which
// themes keep readable on the base colour.
QColor MarkColour(const QPalette& palette);
// Lines between the cells: between the base and the text colour, so they show in any theme.
QColor GridLineColour(const QPalette& palette);

}  // namespace halyx
