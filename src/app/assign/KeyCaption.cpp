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
    if (image.record(RecordNumber(layer, key)).type == KF_DEFAULT) {
        spoken.assignment = QString::fromStdString(lookupText("ACC_KEY_FACTORY", languageIndex));
        return spoken;
    }
    // The caption reads "<name><separator><assignment>": the part after the name is what the key does.
    const QString caption = KeyCaption(image, layer, key, macroName, languageIndex);
    const QString prefix = spoken.name + QString::fromStdString(lookupText("KEY_PROMPT_SET", languageIndex));
    spoken.assignment = caption.startsWith(prefix) ? caption.mid(prefix.size()) : caption;
    return spoken;
}

} // namespace ombrel
