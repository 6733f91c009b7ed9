#pragma once
// The text of a language key as the screens show it.

#include "text/LanguageTexts.h"

#include <QString>

#include <string_view>

namespace ombrel {

inline QString UiText(std::string_view key, int languageIndex) {
    return QString::fromStdString(lookupText(key, languageIndex));
}

} // namespace ombrel
