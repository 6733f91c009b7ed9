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

} // namespace ombrel
