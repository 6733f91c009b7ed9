#include "keyboardfile/SetupDifference.h"

#include "keyboardfile/KeyboardFileWriter.h"
#include "text/NamedFields.h"

#include <algorithm>

namespace ombrel {

namespace {

std::string macroName(const KeyboardSetup& setup, std::uint32_t id) {
    if (setup.macros)
        for (const SetupMacro& m : *setup.macros)
            if (m.id == id) return m.name;
    return std::to_string(id);
}

std::string itemText(const ChangeWords& words, const LightingItemInfo& info, std::uint32_t v) {
    switch (info.kind) {
    case ItemKind::Number:
        return std::to_string(v);
    case ItemKind::Switch:
        return v ? words.on : words.off;
    case ItemKind::Color:
        return SetupColorText(Rgb{std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)});
    case ItemKind::FourColor:
        return words.fourColors[v & 3];
    }
    return {};
}

void compareMacros(const KeyboardSetup& from, const KeyboardSetup& to, const ChangeWords& words, SetupDifference& d) {
    if (!from.macros || !to.macros || *from.macros == *to.macros) return;
    d.macros = true;
    auto find = [](const std::vector<SetupMacro>& list, std::uint16_t id) -> const SetupMacro* {
        const auto at = std::find_if(list.begin(), list.end(), [&](const SetupMacro& m) { return m.id == id; });
        return at == list.end() ? nullptr : &*at;
    };
    for (const SetupMacro& m : *from.macros)
        if (!find(*to.macros, m.id))
            d.lines.push_back(FillNamedFields(words.macroRemoved, {{"macro", std::to_string(m.id)}, {"name", m.name}}));
    for (const SetupMacro& m : *to.macros) {
        const SetupMacro* old = find(*from.macros, m.id);
        const std::string id = std::to_string(m.id);
        if (!old) {
            d.lines.push_back(FillNamedFields(words.macroAdded, {{"macro", id},
                                                                 {"name", m.name},
                                                                 {"steps", std::to_string(m.steps.size())},
                                                                 {"cycles", std::to_string(m.cycles)}}));
            continue;
        }
        auto change = [&](const std::string& text, const std::string& a, const std::string& b) {
            d.lines.push_back(FillNamedFields(text, {{"macro", id}, {"name", m.name}, {"from", a}, {"to", b}}));
        };
        if (old->name != m.name) change(words.macroRenamed, old->name, m.name);
        if (old->cycles != m.cycles) change(words.macroCycles, std::to_string(old->cycles), std::to_string(m.cycles));
        if (old->steps != m.steps)
            change(words.macroSteps, std::to_string(old->steps.size()), std::to_string(m.steps.size()));
    }
    // Only the order differs: the keyboard's memory changes all the same.
    if (d.lines.empty()) d.lines.push_back(words.macroOrder);
}

void compareProfile(std::size_t p, const KeyboardSetup& fromSetup, const KeyboardSetup& toSetup,
                    const SetupNames& names, const ChangeWords& words, SetupDifference& d) {
    const ProfileSetup& from = fromSetup.profiles[p];
    const ProfileSetup& to = toSetup.profiles[p];
    const std::string profile = std::to_string(p + 1);
    auto add = [&](const std::string& change) {
        d.lines.push_back(FillNamedFields(words.profile, {{"profile", profile}, {"change", change}}));
    };
    auto fromTo = [](const std::string& text, const std::string& a, const std::string& b) {
        return FillNamedFields(text, {{"from", a}, {"to", b}});
    };
    for (KeyIndex index : SetupKeys()) {
        const auto a = from.keys.find(index);
        const auto b = to.keys.find(index);
        if (a == from.keys.end() || b == to.keys.end()) continue;
        // A macro key's cycles follow its macro; only what the key plays is the key's own.
        const bool same = a->second.type == b->second.type && a->second.value == b->second.value;
        if (same && !(d.macros && a->second.type == KF_MACRO)) continue;
        if (!same)
            add(FillNamedFields(words.key, {{"key", names.keyName(index)},
                                            {"from", names.describe(a->second, macroName(fromSetup, a->second.value))},
                                            {"to", names.describe(b->second, macroName(toSetup, b->second.value))}}));
        d.keys[p] = true;
    }
    for (const LightingItemInfo& info : LightingItems()) {
        const auto& a = from.lighting[static_cast<std::size_t>(info.item)];
        const auto& b = to.lighting[static_cast<std::size_t>(info.item)];
        if (!a || !b || *a == *b) continue;
        add(FillNamedFields(words.lighting, {{"item", words.items[static_cast<std::size_t>(info.item)]},
                                             {"from", itemText(words, info, *a)},
                                             {"to", itemText(words, info, *b)}}));
        d.lighting[p] = true;
    }
    if (from.currentPattern && to.currentPattern && from.currentPattern != to.currentPattern) {
        add(fromTo(words.patternInUse, std::to_string(*from.currentPattern + 1),
                   std::to_string(*to.currentPattern + 1)));
        d.colors[p] = true;
    }
    for (std::size_t n = 0; n < from.patterns.size(); ++n) {
        const PatternSetup& a = from.patterns[n];
        const PatternSetup& b = to.patterns[n];
        const std::string pattern = std::to_string(n + 1);
        auto note = [&](const std::string& text, const std::string& before, const std::string& after,
                        const std::string& key = {}) {
            add(FillNamedFields(text, {{"pattern", pattern}, {"key", key}, {"from", before}, {"to", after}}));
            d.colors[p] = true;
        };
        auto toolText = [&](PaintTool tool) { return tool == PaintTool::Base ? words.toolBase : words.toolBrush; };
        if (a.name && b.name && a.name != b.name) note(words.patternName, *a.name, *b.name);
        if (a.tool && b.tool && a.tool != b.tool) note(words.patternTool, toolText(*a.tool), toolText(*b.tool));
        if (a.baseColor && b.baseColor && a.baseColor != b.baseColor)
            note(words.patternBase, SetupColorText(*a.baseColor), SetupColorText(*b.baseColor));
        if (a.brushColor && b.brushColor && a.brushColor != b.brushColor)
            note(words.patternBrush, SetupColorText(*a.brushColor), SetupColorText(*b.brushColor));
        for (const ColorSlotKey& s : SetupColorSlots()) {
            const auto ca = a.colors.find(s.slot);
            const auto cb = b.colors.find(s.slot);
            if (ca == a.colors.end() || cb == b.colors.end() || ca->second == cb->second) continue;
            const std::string key = s.key ? names.keyName(*s.key) : s.slot == kFnSlot ? kFnSlotName : kGKeysSlotName;
            note(words.patternKeyColor, SetupColorText(ca->second), SetupColorText(cb->second), key);
        }
    }
}

} // namespace

SetupDifference CompareSetups(const KeyboardSetup& from, const KeyboardSetup& to, const SetupNames& names,
                              const ChangeWords& words) {
    SetupDifference d;
    compareMacros(from, to, words, d);
    for (std::size_t p = 0; p < from.profiles.size(); ++p)
        compareProfile(p, from, to, names, words, d);
    return d;
}

} // namespace ombrel
