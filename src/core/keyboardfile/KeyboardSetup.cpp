#include "keyboardfile/KeyboardSetup.h"

#include "keys/KeyImage.h"
#include "keys/Utf16Text.h"
#include "lighting/KeySlots.h"

#include <algorithm>

namespace ombrel {

namespace {

std::uint32_t packColor(Rgb c) {
    return (std::uint32_t(c.r) << 16) | (std::uint32_t(c.g) << 8) | c.b;
}

Rgb unpackColor(std::uint32_t v) {
    return Rgb{std::uint8_t(v >> 16), std::uint8_t(v >> 8), std::uint8_t(v)};
}

} // namespace

const std::array<LightingItemInfo, kLightingItemCount>& LightingItems() {
    static const std::array<LightingItemInfo, kLightingItemCount> items = {{
        {LightingItem::Effect, "effect", ItemKind::Number, 255},
        {LightingItem::Brightness, "brightness", ItemKind::Number, kMaxBrightness},
        {LightingItem::Speed, "speed", ItemKind::Number, kMaxSpeed},
        {LightingItem::Direction, "direction", ItemKind::Number, 255},
        {LightingItem::Colorful, "colorful", ItemKind::Switch, 1},
        {LightingItem::Color, "color", ItemKind::Color, 0xFFFFFF},
        {LightingItem::FourColor, "four_color", ItemKind::FourColor, kMaxColorChoice},
        {LightingItem::ReportRate, "report_rate", ItemKind::Number, kMaxReportRate},
        {LightingItem::Trigger, "trigger", ItemKind::Number, 255},
        {LightingItem::Color2, "color2", ItemKind::Color, 0xFFFFFF},
        {LightingItem::Flag2, "flag2", ItemKind::Switch, 1},
        {LightingItem::Color3, "color3", ItemKind::Color, 0xFFFFFF},
        {LightingItem::Flag3, "flag3", ItemKind::Switch, 1},
    }};
    return items;
}

const LightingItemInfo* FindLightingItem(std::string_view name) {
    for (const LightingItemInfo& i : LightingItems())
        if (name == i.name) return &i;
    return nullptr;
}

std::uint32_t LightingItemValue(const LightingFields& f, LightingItem item) {
    switch (item) {
    case LightingItem::Effect:
        return EffectNumber(f.effect);
    case LightingItem::Brightness:
        return f.brightness;
    case LightingItem::Speed:
        return f.speed;
    case LightingItem::Direction:
        return f.direction;
    case LightingItem::Colorful:
        return f.colorful;
    case LightingItem::Color:
        return packColor(f.color);
    case LightingItem::FourColor:
        return f.colorChoice;
    case LightingItem::ReportRate:
        return f.reportRate;
    case LightingItem::Trigger:
        return f.trigger;
    case LightingItem::Color2:
        return packColor(f.color2);
    case LightingItem::Flag2:
        return f.flag2;
    case LightingItem::Color3:
        return packColor(f.color3);
    case LightingItem::Flag3:
        return f.flag3;
    }
    return 0;
}

void SetLightingItem(LightingFields& f, LightingItem item, std::uint32_t v) {
    const auto byte = static_cast<std::uint8_t>(v);
    switch (item) {
    case LightingItem::Effect:
        f.effect = static_cast<LightingEffect>(byte); // a byte outside the named effects is kept as it is
        break;
    case LightingItem::Brightness:
        f.brightness = byte;
        break;
    case LightingItem::Speed:
        f.speed = byte;
        break;
    case LightingItem::Direction:
        f.direction = byte;
        break;
    case LightingItem::Colorful:
        f.colorful = v != 0;
        break;
    case LightingItem::Color:
        f.color = unpackColor(v);
        break;
    case LightingItem::FourColor:
        f.colorChoice = byte;
        break;
    case LightingItem::ReportRate:
        f.reportRate = byte;
        break;
    case LightingItem::Trigger:
        f.trigger = byte;
        break;
    case LightingItem::Color2:
        f.color2 = unpackColor(v);
        break;
    case LightingItem::Flag2:
        f.flag2 = v != 0;
        break;
    case LightingItem::Color3:
        f.color3 = unpackColor(v);
        break;
    case LightingItem::Flag3:
        f.flag3 = v != 0;
        break;
    }
}

const std::vector<KeyIndex>& SetupKeys() {
    static const std::vector<KeyIndex> keys = [] {
        std::vector<KeyIndex> v;
        for (const KeyButton& b : KeyButtonTable())
            v.push_back(KeyIndexOf(b.code));
        for (int m = 0; m < kGKeySlots; ++m)
            v.push_back(static_cast<KeyIndex>(kFirstGKeyIndex + m));
        return v;
    }();
    return keys;
}

const std::vector<ColorSlotKey>& SetupColorSlots() {
    static const std::vector<ColorSlotKey> slots = [] {
        std::vector<ColorSlotKey> v;
        const auto& buttons = KeyButtonTable();
        for (std::size_t i = 0; i < buttons.size(); ++i)
            v.push_back({KeyButtonSlots()[i], KeyIndexOf(buttons[i].code)});
        v.push_back({kFnSlot, std::nullopt});
        v.push_back({kGKeySlot, std::nullopt});
        return v;
    }();
    return slots;
}

KeyboardSetup MergeSetup(const KeyboardSetup& base, const KeyboardSetup& change) {
    KeyboardSetup out = base;
    if (change.macros) out.macros = change.macros;
    for (std::size_t p = 0; p < out.profiles.size(); ++p) {
        ProfileSetup& to = out.profiles[p];
        const ProfileSetup& from = change.profiles[p];
        for (const auto& [key, record] : from.keys)
            to.keys[key] = record;
        for (std::size_t i = 0; i < to.lighting.size(); ++i)
            if (from.lighting[i]) to.lighting[i] = from.lighting[i];
        if (from.currentPattern) to.currentPattern = from.currentPattern;
        for (std::size_t n = 0; n < to.patterns.size(); ++n) {
            PatternSetup& t = to.patterns[n];
            const PatternSetup& f = from.patterns[n];
            if (f.name) t.name = f.name;
            if (f.tool) t.tool = f.tool;
            if (f.baseColor) t.baseColor = f.baseColor;
            if (f.brushColor) t.brushColor = f.brushColor;
            for (const auto& [slot, color] : f.colors)
                t.colors[slot] = color;
        }
    }
    return out;
}

MacroRecord ToMacroRecord(const SetupMacro& macro) {
    MacroRecord r;
    r.setName(Utf8ToUtf16(macro.name));
    r.setCycles(macro.cycles);
    r.setMacroId(macro.id);
    const int n = std::min<int>(static_cast<int>(macro.steps.size()), kMaxMacroActions);
    r.setActionCount(static_cast<std::uint16_t>(n));
    for (int i = 0; i < n; ++i)
        r.setAction(i, macro.steps[static_cast<std::size_t>(i)]);
    return r;
}

SetupMacro FromMacroRecord(const MacroRecord& record) {
    SetupMacro m;
    m.id = record.macroId();
    m.name = Utf16ToUtf8(record.name());
    m.cycles = record.cycles();
    for (int i = 0; i < record.stepCount(); ++i)
        m.steps.push_back(record.action(i));
    return m;
}

} // namespace ombrel
