#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <optional>

#include "ui/grid/grid_types.h"

namespace halyx {

// What every cell has: a state word, an alignment and optional colours. An invalid colour means
// "use the default cell's colour", and a default cell's invalid colour means "use the palette",
// so palette and theme changes show up without the grid copying colours around.
class CGridCellBase {
public:
    static constexpr Qt::Alignment kDefaultFormat = Qt::AlignLeft | Qt::AlignVCenter;

    CGridCellBase() = default;
    CGridCellBase(const CGridCellBase&) = default;
    CGridCellBase& operator=(const CGridCellBase&) = default;
    virtual ~CGridCellBase() = default;

    virtual QString GetText() const = 0;
    virtual void SetText(const QString& text) = 0;
    virtual QFont GetFont() const = 0;

    std::uint32_t GetState() const { return state_; }
    void SetState(std::uint32_t state) { state_ = state; }
    Qt::Alignment GetFormat() const { return format_; }
    void SetFormat(Qt::Alignment format) { format_ = format; }
    QColor GetTextClr() const { return textClr_; }
    void SetTextClr(const QColor& colour) { textClr_ = colour; }
    QColor GetBackClr() const { return backClr_; }
    void SetBackClr(const QColor& colour) { backClr_ = colour; }

    bool IsFocused() const { return (state_ & CELL_FOCUSED) != 0; }
    bool IsSelected() const { return (state_ & CELL_SELECTED) != 0; }
    bool IsReadOnly() const { return (state_ & CELL_READONLY) != 0; }
    bool IsFixed() const { return (state_ & CELL_FIXED) != 0; }
    bool IsFixedRow() const { return (state_ & CELL_FIXEDROW) != 0; }
    bool IsFixedCol() const { return (state_ & CELL_FIXEDCOL) != 0; }

private:
    std::uint32_t state_ = 0;
    Qt::Alignment format_ = kDefaultFormat;
    QColor textClr_;
    QColor backClr_;
};

// Holds the font, colours and size for one kind of cell (normal, fixed row, fixed column, both).
// Setting the font works out the size that new rows and columns get.
class CGridDefaultCell : public CGridCellBase {
public:
    static constexpr int kFallbackWidth = 40;
    static constexpr int kFallbackHeight = 16;
    static constexpr int kFallbackMargin = 3;

    QString GetText() const override { return {}; }
    void SetText(const QString&) override {}
    QFont GetFont() const override { return font_; }

    // Copies the font and recomputes width, height and margin from it.
    void SetFont(const QFont& font);

    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    int GetMargin() const { return margin_; }
    void SetWidth(int width) { width_ = width; }
    void SetHeight(int height) { height_ = height; }
    void SetMargin(int margin) { margin_ = margin; }

private:
    QFont font_;
    int width_ = kFallbackWidth;
    int height_ = kFallbackHeight;
    int margin_ = kFallbackMargin;
};

// A plain text cell. Its font and colours fall back to the default cell it is bound to.
class CGridCell : public CGridCellBase {
public:
    explicit CGridCell(const CGridDefaultCell* defaults = nullptr) : defaults_(defaults) {}

    QString GetText() const override { return text_; }
    void SetText(const QString& text) override { text_ = text; }
    QFont GetFont() const override;
    void SetFont(const QFont& font) { font_ = font; }

    const CGridDefaultCell* GetDefaultCell() const { return defaults_; }
    void SetDefaultCell(const CGridDefaultCell* defaults) { defaults_ = defaults; }

    bool IsModified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    int GetImage() const { return image_; }
    void SetImage(int image) { image_ = image; }
    quintptr GetData() const { return data_; }
    void SetData(quintptr data) { data_ = data; }

private:
    const CGridDefaultCell* defaults_ = nullptr;
    QString text_;
    std::optional<QFont> font_;
    bool modified_ = false;
    int image_ = -1;
    quintptr data_ = 0;
};

}  // namespace halyx
