#include "ui/common/text_source.h"

namespace halyx {

std::string TextSource::textOr(std::string_view key, std::string_view builtinEnglish) const {
    std::string found = text(key);
    return found.empty() ? std::string(builtinEnglish) : found;
}

QString TextSource::qtext(std::string_view key) const {
    return QString::fromStdString(text(key));
}

QString TextSource::qtext(const TextKey& key) const {
    return QString::fromStdString(textOr(key));
}

PortTextLookup PortLookupOf(const TextSource& texts) {
    return [&texts](std::string_view key, std::string_view english) {
        return texts.textOr(key, english);
    };
}

}  // namespace halyx
