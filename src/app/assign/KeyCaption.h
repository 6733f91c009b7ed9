#pragma once
// What a key's assignment reads as in the language of the screen: "A: Volume up", "G3: Macro 'Build'". The map
// shows it as the key's tooltip; the key assignment dialog shows it for the key it edits.

#include "keys/AssignmentCaption.h"
#include "keys/KeyImage.h"

#include <QString>

namespace ombrel {

QString KeyCaption(const KeyImage& image, int layer, KeyIndex key, const MacroNameLookup& macroName, int languageIndex);

} // namespace ombrel
