#include "ui/common/ui_font.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QWidget>
#include <optional>

namespace halyx {
namespace {

std::optional<QFont>& CreatedFont() {
    static std::optional<QFont> font;
    return font;
}

const QFont& SystemGuiFont() {
    // Fetched on first use and kept, like the stock object it stands for.
    static const QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    return font;
}

}  // namespace

bool CreateUiFont() {
    QFont font = SystemGuiFont();
    font.setFamily(QString::fromLatin1(kUiFontFamily));
    font.setPixelSize(kUiFontPixelSize);
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    // Where Arial itself is missing the font matcher picks a metric-compatible face; only a
    // font that resolves to nothing at all counts as a failure.
    if (QFontInfo(font).family().isEmpty()) {
        return false;
    }
    CreatedFont() = font;
    return true;
}

const QFont& UiFont() {
    const auto& font = CreatedFont();
    return font ? *font : SystemGuiFont();
}

void ApplyUiFont(QWidget* window) {
    window->setFont(UiFont());
    const auto children = window->findChildren<QWidget*>();
    for (QWidget* child : children) {
        // A control that already shows the font (from its window) is left alone: setting it
        // again sends a font change that makes it measure itself and a list build its popup.
        if (child->font() != UiFont()) {
            child->setFont(UiFont());
        }
    }
}

}  // namespace halyx
