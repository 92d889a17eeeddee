#include "ui/common/radio_text.h"

#include "image/visible_text.h"
#include "settings/text_encoding.h"

namespace halyx {

QString ShownRadioText(std::string_view fieldBytes) {
    return QString::fromStdString(VisibleText(GbkToUtf8(fieldBytes)));
}

}  // namespace halyx
