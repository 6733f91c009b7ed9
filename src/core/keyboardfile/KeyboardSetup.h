#pragma once
// The keyboard's whole setup as one value: the macros, and per profile the key functions, the lighting fields and
// the user patterns with their per-key colours. A value read from a file may name only part of the keyboard;
// whatever it leaves out (an empty map, an unset optional, no macro list) stays as the keyboard has it.

#include "device/DeviceCommands.h"
#include "keyboard/KeyTable.h"
#include "keys/KeyRecord.h"
#include "keys/MacroRecord.h"
#include "lighting/ColorFile.h"
#include "lighting/LightingBlock.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ombrel {

// The version written as `format`; a reader refuses files of another.
inline constexpr int kKeyboardFileFormat = 1;

struct SetupMacro {
    std::uint16_t id = 0;
    std::string name; // UTF-8
    std::uint8_t cycles = 1;
    std::vector<MacroAction> steps;
    bool operator==(const SetupMacro&) const = default;
};

// The lighting fields a file can set, in the order they are shown.
enum class LightingItem {
    Effect,
    Brightness,
    Speed,
    Direction,
    Colorful,
    Color,
    FourColor,
    ReportRate,
    Trigger,
    Color2,
    Flag2,
    Color3,
    Flag3,
};
inline constexpr int kLightingItemCount = 13;

enum class ItemKind { Number, Switch, Color, FourColor };

struct LightingItemInfo {
    LightingItem item;
    const char* name; // the name in the file
    ItemKind kind;
    int max; // for numbers
};
const std::array<LightingItemInfo, kLightingItemCount>& LightingItems();
const LightingItemInfo* FindLightingItem(std::string_view name);
// A field's value as a number: switches 0/1, colours 0xRRGGBB.
std::uint32_t LightingItemValue(const LightingFields& fields, LightingItem item);
void SetLightingItem(LightingFields& fields, LightingItem item, std::uint32_t value);

struct PatternSetup {
    std::optional<std::string> name;
    std::optional<PaintTool> tool;
    std::optional<Rgb> baseColor;
    std::optional<Rgb> brushColor;
    std::map<int, Rgb> colors; // colour slot -> colour
    bool operator==(const PatternSetup&) const = default;
};

struct ProfileSetup {
    std::map<KeyIndex, KeyRecord> keys;
    std::array<std::optional<std::uint32_t>, kLightingItemCount> lighting{};
    std::optional<int> currentPattern; // 0..2
    std::array<PatternSetup, kPatternCount> patterns;
    bool operator==(const ProfileSetup&) const = default;
};

struct KeyboardSetup {
    std::optional<std::vector<SetupMacro>> macros; // when set, the whole list
    std::array<ProfileSetup, kProfileCount> profiles;
    bool operator==(const KeyboardSetup&) const = default;
};

// The keys a profile's table names: the 105 keys of the map, then G1..G9 of bank A and of bank B.
const std::vector<KeyIndex>& SetupKeys();

// The colour slots a file names, each with the key it belongs to: the 105 map keys, Fn and the G keys (one slot).
struct ColorSlotKey {
    int slot;
    std::optional<KeyIndex> key; // none for Fn and the G keys, named by kFnSlotName / kGKeysSlotName
};
const std::vector<ColorSlotKey>& SetupColorSlots();
inline constexpr const char* kFnSlotName = "Fn";
inline constexpr const char* kGKeysSlotName = "G keys";

// `base` with everything `change` names put over it.
KeyboardSetup MergeSetup(const KeyboardSetup& base, const KeyboardSetup& change);

// Macro records from setup macros and back; a setup macro's steps beyond 4000 are cut (the reader refuses them).
MacroRecord ToMacroRecord(const SetupMacro& macro);
SetupMacro FromMacroRecord(const MacroRecord& record);

} // namespace ombrel
