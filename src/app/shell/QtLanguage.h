#pragma once
// Qt's own words (the file dialog's buttons and columns, the context menus of text fields) follow the language
// chosen in the window, from Qt's translations (Debian's qt6-translations-l10n), and the message boxes' buttons
// take their captions from the language file.

#include <QString>

namespace ombrel {

// The Qt translation file's language for a language index: "de", "zh_CN", ...; "en" for English and any index
// outside the table.
QString QtTranslationName(int languageIndex);

// Installs Qt's translation for the language (none for English, or when the file is not installed) and gives the
// message boxes' buttons that language's captions. Returns whether a Qt translation is in use.
bool ApplyLanguageToQt(int languageIndex);

} // namespace ombrel
