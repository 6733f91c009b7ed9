#include "KeyCaption.h"

#include "text/KeyText.h"
#include "text/LanguageTexts.h"

namespace ombrel {

QString KeyCaption(const KeyImage& image, int layer, KeyIndex key, const MacroNameLookup& macroName,
                   int languageIndex) {
    const TextLookup text = [languageIndex](std::string_view k) { return lookupText(k, languageIndex); };
    const KeyNameLookup keyNames = [languageIndex](KeyCode code) { return KeyText(code, languageIndex); };
    const KeyRecord record = image.record(RecordNumber(layer, key));
    return QString::fromStdString(AssignmentCaption(KeyDisplayName(key, keyNames), record, text, keyNames, macroName));
}

SpokenKey SpokenKeyOf(const KeyImage& image, int layer, KeyIndex key, const MacroNameLookup& macroName,
                      int languageIndex) {
    const KeyNameLookup keyNames = [languageIndex](KeyCode code) { return KeyText(code, languageIndex); };
    SpokenKey spoken;
    spoken.name = QString::fromStdString(KeyDisplayName(key, keyNames));
    // The caption says nothing after the name for these two, so they have texts of their own.
    const std::uint16_t type = image.record(RecordNumber(layer, key)).type;
    if (type == KF_DEFAULT || type == KF_DISABLED) {
        spoken.assignment =
            QString::fromStdString(lookupText(type == KF_DEFAULT ? "ACC_KEY_FACTORY" : "ACC_KEY_OFF", languageIndex));
        return spoken;
    }
    // The caption reads "<name><separator><assignment>": the part after the name is what the key does.
    const QString caption = KeyCaption(image, layer, key, macroName, languageIndex);
    const QString prefix = spoken.name + QString::fromStdString(lookupText("KEY_PROMPT_SET", languageIndex));
    spoken.assignment = caption.startsWith(prefix) ? caption.mid(prefix.size()).trimmed() : caption;
    return spoken;
}

} // namespace ombrel
