#include "text/KeyText.h"

#include "text/SafeFormat.h"
#include "text/Utf8.h"

namespace ombrel {

std::string KeyText(const LanguageTexts& texts, KeyCode code, int languageIndex, std::size_t capacity) {
    if (capacity == 0) return {};
    const std::string_view textKey = KeyRowOf(code).textKey;
    std::string name = textKey.empty() ? std::string() : texts.lookupText(textKey, languageIndex);
    if (name.empty()) name = FormatTextInt(texts.lookupText("UNKNOWN_KEY", languageIndex), code);
    return std::string(Utf8Prefix(name, capacity - 1));
}

std::string KeyText(KeyCode code, int languageIndex, std::size_t capacity) {
    return KeyText(SharedLanguageTexts(), code, languageIndex, capacity);
}

std::string PickerText(const LanguageTexts& texts, std::uint16_t position, int languageIndex) {
    const std::string_view textKey = PickerTextKey(position);
    return textKey.empty() ? std::string() : texts.lookupText(textKey, languageIndex);
}

std::string PickerText(std::uint16_t position, int languageIndex) {
    return PickerText(SharedLanguageTexts(), position, languageIndex);
}

} // namespace ombrel
