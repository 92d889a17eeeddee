#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <array>
#include <memory>
#include <vector>

#include "settings/setting_file.h"

namespace halyx {
namespace {

// The catalogues of the Qt modules the programs use; qtbase holds the widgets' texts.
constexpr std::array<const char*, 2> kCatalogues{"qtbase", "qtserialport"};

// Installed for the whole run, as QCoreApplication keeps only pointers to them.
std::vector<std::unique_ptr<QTranslator>>& Installed() {
    static std::vector<std::unique_ptr<QTranslator>> translators;
    return translators;
}

}  // namespace

QString QtTranslationLocale(std::string_view languageValue) {
    return IsEnglishLanguageValue(languageValue) ? QString() : QStringLiteral("zh_CN");
}

bool ApplyQtTranslations(std::string_view languageValue) {
    auto& installed = Installed();
    for (const auto& translator : installed) {
        QCoreApplication::removeTranslator(translator.get());
    }
    installed.clear();
    const QString locale = QtTranslationLocale(languageValue);
    if (locale.isEmpty()) {
        return true;
    }
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool found = false;
    for (const char* catalogue : kCatalogues) {
        auto translator = std::make_unique<QTranslator>();
        const QString name = QString::fromLatin1(catalogue) + QLatin1Char('_') + locale;
        if (translator->load(name, folder) &&
            QCoreApplication::installTranslator(translator.get())) {
            installed.push_back(std::move(translator));
            found = true;
        }
    }
    return found;
}

}  // namespace halyx
