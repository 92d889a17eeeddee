#pragma once

#include <QIcon>
#include <QPixmap>
#include <vector>

namespace halyx {

// Size of one toolbar image.
inline constexpr int kToolbarImageWidth = 16;
inline constexpr int kToolbarImageHeight = 15;

// The six toolbar images in button order: New, Open, Save, Read, Write, About. Drawn rather
// than shipped, so that they stay crisp and need no resource files.
std::vector<QPixmap> ToolbarImages();

// The application's icon: a hand-held radio, at 16, 32 and 48 pixels.
QIcon AppIcon();

}  // namespace halyx
