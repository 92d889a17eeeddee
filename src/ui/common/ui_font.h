#pragma once

#include <QFont>

class QWidget;

namespace halyx {

inline constexpr const char* kUiFontFamily = "Arial";
inline constexpr int kUiFontPixelSize = 12;

// Creates the one UI font of the run ("Arial", 12 px, other attributes from the system's GUI
// font). Called once at start-up; returns false when no usable font came out of it.
bool CreateUiFont();

// The UI font; the system's GUI font when creation failed or has not happened.
const QFont& UiFont();

// Gives every child control of `window` the UI font, as the dialogs do when they open.
void ApplyUiFont(QWidget* window);

}  // namespace halyx
