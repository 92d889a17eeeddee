#pragma once

#include <QFont>

namespace halyx {

// The font and the size new rows and columns get, for one kind of cell (normal, fixed row,
// fixed column, corner). Setting the font works the size out from it.
class CGridDefaultCell {
public:
    static constexpr int kFallbackWidth = 40;
    static constexpr int kFallbackHeight = 16;
    static constexpr int kFallbackMargin = 3;

    // Copies the font and recomputes width, height and margin from it.
    void SetFont(const QFont& font);
    QFont GetFont() const { return font_; }

    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    int GetMargin() const { return margin_; }

private:
    QFont font_;
    int width_ = kFallbackWidth;
    int height_ = kFallbackHeight;
    int margin_ = kFallbackMargin;
};

}  // namespace halyx
