#include "ui/form/text_refusal_texts.h"

#include "image/visible_text.h"
#include "ui/common/text_source.h"

namespace halyx {

QString TextRefusalText(const TextSource& texts, const QString& boxName, std::string_view refused,
                        int limit) {
    // A label's mnemonic marker is no part of its name.
    QString name = boxName;
    name.remove(QLatin1Char('&'));
    if (HasControlCharacters(refused)) {
        return texts.qtext(text_refusal_text::kControlCharacters).arg(name);
    }
    return texts.qtext(text_refusal_text::kTooLong).arg(name).arg(limit);
}

}  // namespace halyx
