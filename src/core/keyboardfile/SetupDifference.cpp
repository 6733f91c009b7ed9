#include "keyboardfile/SetupDifference.h"

#include "keyboardfile/KeyboardFileWriter.h"

#include <algorithm>

namespace ombrel {

namespace {

const char* const kArrow = " -> ";

std::string profileHead(std::size_t p) {
    return "Profile " + std::to_string(p + 1) + ", ";
}

std::string macroName(const KeyboardSetup& setup, std::uint32_t id) {
    if (setup.macros)
        for (const SetupMacro& m : *setup.macros)
            if (m.id == id) return m.name;
    return std::to_string(id);
}

std::string itemText(const LightingItemInfo& info, std::uint32_t v) {
    static const char* const fourColors[] = {"red", "yellow", "green", "blue"};
    switch (info.kind) {
    case ItemKind::Number:
        return std::to_string(v);
    case ItemKind::Switch:
        return v ? "on" : "off";
    case ItemKind::Color:
        return SetupColorText(Rgb{std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)});
    case ItemKind::FourColor:
        return fourColors[v & 3];
    }
    return {};
}

void compareMacros(const KeyboardSetup& from, const KeyboardSetup& to, SetupDifference& d) {
    if (!from.macros || !to.macros || *from.macros == *to.macros) return;
    d.macros = true;
    auto find = [](const std::vector<SetupMacro>& list, std::uint16_t id) -> const SetupMacro* {
        const auto at = std::find_if(list.begin(), list.end(), [&](const SetupMacro& m) { return m.id == id; });
        return at == list.end() ? nullptr : &*at;
    };
    for (const SetupMacro& m : *from.macros)
        if (!find(*to.macros, m.id)) d.lines.push_back("Macro " + std::to_string(m.id) + " (" + m.name + ") removed");
    for (const SetupMacro& m : *to.macros) {
        const SetupMacro* old = find(*from.macros, m.id);
        const std::string head = "Macro " + std::to_string(m.id) + " (" + m.name + ")";
        if (!old) {
            d.lines.push_back(head + " added: " + std::to_string(m.steps.size()) + " steps, " +
                              std::to_string(m.cycles) + " cycles");
            continue;
        }
        if (old->name != m.name) d.lines.push_back(head + ": name " + old->name + kArrow + m.name);
        if (old->cycles != m.cycles)
            d.lines.push_back(head + ": cycles " + std::to_string(old->cycles) + kArrow + std::to_string(m.cycles));
        if (old->steps != m.steps)
            d.lines.push_back(head + ": steps changed (" + std::to_string(old->steps.size()) + kArrow +
                              std::to_string(m.steps.size()) + " steps)");
    }
    // Only the order differs: the keyboard's memory changes all the same.
    if (d.lines.empty()) d.lines.push_back("Macros: order changed");
}

void compareProfile(std::size_t p, const KeyboardSetup& fromSetup, const KeyboardSetup& toSetup,
                    const SetupNames& names, SetupDifference& d) {
    const ProfileSetup& from = fromSetup.profiles[p];
    const ProfileSetup& to = toSetup.profiles[p];
    for (KeyIndex index : SetupKeys()) {
        const auto a = from.keys.find(index);
        const auto b = to.keys.find(index);
        if (a == from.keys.end() || b == to.keys.end()) continue;
        // A macro key's cycles follow its macro; only what the key plays is the key's own.
        const bool same = a->second.type == b->second.type && a->second.value == b->second.value;
        if (same && !(d.macros && a->second.type == KF_MACRO)) continue;
        if (!same)
            d.lines.push_back(profileHead(p) + names.keyName(index) + ": " +
                              names.describe(a->second, macroName(fromSetup, a->second.value)) + kArrow +
                              names.describe(b->second, macroName(toSetup, b->second.value)));
        d.keys[p] = true;
    }
    for (const LightingItemInfo& info : LightingItems()) {
        const auto& a = from.lighting[static_cast<std::size_t>(info.item)];
        const auto& b = to.lighting[static_cast<std::size_t>(info.item)];
        if (!a || !b || *a == *b) continue;
        d.lines.push_back(profileHead(p) + "lighting " + info.name + ": " + itemText(info, *a) + kArrow +
                          itemText(info, *b));
        d.lighting[p] = true;
    }
    if (from.currentPattern && to.currentPattern && from.currentPattern != to.currentPattern) {
        d.lines.push_back(profileHead(p) + "pattern in use: " + std::to_string(*from.currentPattern + 1) + kArrow +
                          std::to_string(*to.currentPattern + 1));
        d.colors[p] = true;
    }
    for (std::size_t n = 0; n < from.patterns.size(); ++n) {
        const PatternSetup& a = from.patterns[n];
        const PatternSetup& b = to.patterns[n];
        const std::string head = profileHead(p) + "pattern " + std::to_string(n + 1) + " ";
        auto note = [&](const std::string& line) {
            d.lines.push_back(head + line);
            d.colors[p] = true;
        };
        if (a.name && b.name && a.name != b.name) note("name: " + *a.name + kArrow + *b.name);
        if (a.tool && b.tool && a.tool != b.tool)
            note(std::string("tool: ") + (*a.tool == PaintTool::Base ? "base" : "brush") + kArrow +
                 (*b.tool == PaintTool::Base ? "base" : "brush"));
        if (a.baseColor && b.baseColor && a.baseColor != b.baseColor)
            note("base colour: " + SetupColorText(*a.baseColor) + kArrow + SetupColorText(*b.baseColor));
        if (a.brushColor && b.brushColor && a.brushColor != b.brushColor)
            note("brush colour: " + SetupColorText(*a.brushColor) + kArrow + SetupColorText(*b.brushColor));
        for (const ColorSlotKey& s : SetupColorSlots()) {
            const auto ca = a.colors.find(s.slot);
            const auto cb = b.colors.find(s.slot);
            if (ca == a.colors.end() || cb == b.colors.end() || ca->second == cb->second) continue;
            const std::string key = s.key ? names.keyName(*s.key) : s.slot == kFnSlot ? kFnSlotName : kGKeysSlotName;
            note("colour of " + key + ": " + SetupColorText(ca->second) + kArrow + SetupColorText(cb->second));
        }
    }
}

} // namespace

SetupDifference CompareSetups(const KeyboardSetup& from, const KeyboardSetup& to, const SetupNames& names) {
    SetupDifference d;
    compareMacros(from, to, d);
    for (std::size_t p = 0; p < from.profiles.size(); ++p)
        compareProfile(p, from, to, names, d);
    return d;
}

} // namespace ombrel
