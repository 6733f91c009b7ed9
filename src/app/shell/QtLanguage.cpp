#include "QtLanguage.h"

#include "UserPrompts.h"

#include "text/LanguageTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <array>

namespace ombrel {

QString QtTranslationName(int languageIndex) {
    // In the order of the language table.
    constexpr std::array<const char*, kLanguageTable.size()> kNames{"en", "de", "fr", "es", "zh_CN", "ja"};
    if (languageIndex < 0 || languageIndex >= static_cast<int>(kNames.size())) return QStringLiteral("en");
    return QString::fromLatin1(kNames[static_cast<std::size_t>(languageIndex)]);
}

bool ApplyLanguageToQt(int languageIndex) {
    UserPrompts::setLanguage(languageIndex);
    static QTranslator* translator = nullptr;
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
    const QString name = QtTranslationName(languageIndex);
    QLocale::setDefault(QLocale(name));
    if (name == QLatin1String("en")) return false;
    auto* loaded = new QTranslator;
    if (!loaded->load(QStringLiteral("qtbase_") + name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete loaded;
        return false;
    }
    QCoreApplication::installTranslator(loaded);
    translator = loaded;
    return true;
}

} // namespace ombrel
