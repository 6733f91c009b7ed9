#include "keyboardfile/KeyboardFileWriter.h"

#include <toml++/toml.h>

#include <cstdio>
#include <sstream>

namespace ombrel {

namespace {

const char* kFourColorNames[] = {"red", "yellow", "green", "blue"};

toml::table macroTable(const SetupMacro& m, const SetupNames& names) {
    toml::array steps;
    for (const MacroAction& a : m.steps) {
        toml::table step;
        step.insert(a.state == MACRO_RELEASE ? "release" : "press", names.keyCodeName(a.keyCode));
        step.insert("delay", static_cast<std::int64_t>(a.delayMs));
        step.is_inline(true);
        steps.push_back(std::move(step));
    }
    return toml::table{{"id", m.id}, {"name", m.name}, {"cycles", m.cycles}, {"steps", std::move(steps)}};
}

toml::table lightingTable(const ProfileSetup& p) {
    toml::table t;
    for (const LightingItemInfo& info : LightingItems()) {
        const auto& value = p.lighting[static_cast<std::size_t>(info.item)];
        if (!value) continue;
        switch (info.kind) {
        case ItemKind::Number:
            t.insert(info.name, static_cast<std::int64_t>(*value));
            break;
        case ItemKind::Switch:
            t.insert(info.name, *value != 0);
            break;
        case ItemKind::Color:
            t.insert(info.name,
                     SetupColorText(Rgb{std::uint8_t(*value >> 16), std::uint8_t(*value >> 8), std::uint8_t(*value)}));
            break;
        case ItemKind::FourColor:
            t.insert(info.name, kFourColorNames[*value & 3]);
            break;
        }
    }
    return t;
}

toml::table patternTable(const PatternSetup& pattern, const SetupNames& names) {
    toml::table t;
    if (pattern.name) t.insert("name", *pattern.name);
    if (pattern.tool) t.insert("tool", *pattern.tool == PaintTool::Base ? "base" : "brush");
    if (pattern.baseColor) t.insert("base_color", SetupColorText(*pattern.baseColor));
    if (pattern.brushColor) t.insert("brush_color", SetupColorText(*pattern.brushColor));
    toml::table colors;
    for (const ColorSlotKey& s : SetupColorSlots()) {
        const auto at = pattern.colors.find(s.slot);
        if (at == pattern.colors.end()) continue;
        const std::string name = s.key ? names.keyName(*s.key) : s.slot == kFnSlot ? kFnSlotName : kGKeysSlotName;
        colors.insert(name, SetupColorText(at->second));
    }
    if (!colors.empty()) t.insert("colors", std::move(colors));
    return t;
}

toml::table profileTable(const ProfileSetup& p, const SetupNames& names) {
    toml::table t;
    toml::table keys;
    for (KeyIndex index : SetupKeys())
        if (const auto at = p.keys.find(index); at != p.keys.end())
            keys.insert(names.keyName(index), names.functionName(at->second));
    if (!keys.empty()) t.insert("keys", std::move(keys));
    if (toml::table lighting = lightingTable(p); !lighting.empty()) t.insert("lighting", std::move(lighting));
    if (p.currentPattern) t.insert("pattern", *p.currentPattern + 1);
    toml::table patterns;
    for (std::size_t n = 0; n < p.patterns.size(); ++n)
        if (toml::table pattern = patternTable(p.patterns[n], names); !pattern.empty())
            patterns.insert(std::to_string(n + 1), std::move(pattern));
    if (!patterns.empty()) t.insert("patterns", std::move(patterns));
    return t;
}

} // namespace

std::string SetupColorText(Rgb color) {
    char s[8];
    std::snprintf(s, sizeof s, "%02X%02X%02X", color.r, color.g, color.b);
    return s;
}

std::string WriteKeyboardFile(const KeyboardSetup& setup, const SetupNames& names, const std::string& comment) {
    toml::table root{{"format", kKeyboardFileFormat}};
    if (setup.macros) {
        toml::array macros;
        for (const SetupMacro& m : *setup.macros)
            macros.push_back(macroTable(m, names));
        root.insert("macros", std::move(macros));
    }
    toml::table profiles;
    for (std::size_t p = 0; p < setup.profiles.size(); ++p)
        if (toml::table t = profileTable(setup.profiles[p], names); !t.empty())
            profiles.insert(std::to_string(p + 1), std::move(t));
    if (!profiles.empty()) root.insert("profile", std::move(profiles));

    std::ostringstream out;
    std::istringstream lines(comment);
    for (std::string line; std::getline(lines, line);)
        out << (line.empty() ? "#" : "# " + line) << '\n';
    if (!comment.empty()) out << '\n';
    // Basic strings only: toml++ 3.3 writes a key holding an apostrophe as a broken literal string. Sub-tables are
    // not indented, so a hand edit does not have to guess the depth.
    constexpr auto flags = toml::format_flags::allow_unicode_strings | toml::format_flags::indent_array_elements;
    out << toml::toml_formatter(root, flags) << '\n';
    return out.str();
}

} // namespace ombrel
