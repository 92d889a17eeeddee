#pragma once

#include <QString>
#include <string_view>

namespace halyx {

// A text field as a radio or an image file holds it (GBK bytes up to the first zero byte), ready
// to show: control bytes appear as \x1b and the like, so a hostile serial number cannot pass for
// another or hide in a label; bytes that are not GBK show as the replacement character.
QString ShownRadioText(std::string_view fieldBytes);

}  // namespace halyx
