#include "keyboardfile/ChangeWords.h"

namespace ombrel {

std::array<std::string, kLightingItemCount> ChangeWords::defaultItemNames() {
    std::array<std::string, kLightingItemCount> names;
    for (const LightingItemInfo& info : LightingItems())
        names[static_cast<std::size_t>(info.item)] = info.name;
    return names;
}

ChangeWords LoadChangeWords(const std::function<std::string(std::string_view key)>& text) {
    ChangeWords w;
    auto take = [&](std::string& into, const std::string& key) {
        std::string found = text(key);
        if (!found.empty() && found != key) into = std::move(found);
    };
    take(w.profile, "CHANGE_PROFILE");
    take(w.macroRemoved, "CHANGE_MACRO_REMOVED");
    take(w.macroAdded, "CHANGE_MACRO_ADDED");
    take(w.macroRenamed, "CHANGE_MACRO_RENAMED");
    take(w.macroCycles, "CHANGE_MACRO_CYCLES");
    take(w.macroSteps, "CHANGE_MACRO_STEPS");
    take(w.macroOrder, "CHANGE_MACRO_ORDER");
    take(w.key, "CHANGE_KEY");
    take(w.lighting, "CHANGE_LIGHTING");
    take(w.patternInUse, "CHANGE_PATTERN_IN_USE");
    take(w.patternName, "CHANGE_PATTERN_NAME");
    take(w.patternTool, "CHANGE_PATTERN_TOOL");
    take(w.patternBase, "CHANGE_PATTERN_BASE");
    take(w.patternBrush, "CHANGE_PATTERN_BRUSH");
    take(w.patternKeyColor, "CHANGE_PATTERN_KEY_COLOR");
    take(w.toolBase, "CHANGE_TOOL_BASE");
    take(w.toolBrush, "CHANGE_TOOL_BRUSH");
    take(w.on, "CHANGE_ON");
    take(w.off, "CHANGE_OFF");
    for (std::size_t i = 0; i < w.fourColors.size(); ++i)
        take(w.fourColors[i], "CHANGE_FOUR_COLOR_" + std::to_string(i + 1));
    for (const LightingItemInfo& info : LightingItems()) {
        std::string key = "CHANGE_ITEM_";
        for (const char* c = info.name; *c; ++c)
            key.push_back(*c >= 'a' && *c <= 'z' ? static_cast<char>(*c - 'a' + 'A') : *c);
        take(w.items[static_cast<std::size_t>(info.item)], key);
    }
    return w;
}

} // namespace ombrel
