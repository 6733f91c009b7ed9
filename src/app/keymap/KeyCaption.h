#pragma once
// What a key's assignment reads as in the language of the screen: "A: Volume up", "G3: Macro 'Build'". The map
// shows it as the key's tooltip; the key assignment dialog shows it for the key it edits.

#include "assign/AssignmentCaption.h"
#include "keys/KeyImage.h"

#include <QString>

namespace ombrel {

QString KeyCaption(const KeyImage& image, int layer, KeyIndex key, const MacroNameLookup& macroName, int languageIndex);

// A key as a screen reader says it: its name, and what it does now (the assignment after the name, or that it has
// its factory function).
struct SpokenKey {
    QString name;
    QString assignment;
};
SpokenKey SpokenKeyOf(const KeyImage& image, int layer, KeyIndex key, const MacroNameLookup& macroName,
                      int languageIndex);

} // namespace ombrel
