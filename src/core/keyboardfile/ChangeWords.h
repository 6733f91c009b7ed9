#pragma once
// The words of a change between two keyboard setups ("Profile 1, Caps Lock: Key (Esc) -> Disabled"), with
// named fields (see text/NamedFields.h). The defaults are the English ones; the window and ombrelctl take them
// from the language file of the language they show.

#include "keyboardfile/KeyboardSetup.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace ombrel {

struct ChangeWords {
    std::string profile = "Profile {profile}, {change}";
    std::string macroRemoved = "Macro {macro} ({name}) removed";
    std::string macroAdded = "Macro {macro} ({name}) added: {steps} steps, {cycles} cycles";
    std::string macroRenamed = "Macro {macro} ({name}): name {from} -> {to}";
    std::string macroCycles = "Macro {macro} ({name}): cycles {from} -> {to}";
    std::string macroSteps = "Macro {macro} ({name}): steps changed ({from} -> {to} steps)";
    std::string macroOrder = "Macros: order changed";
    std::string key = "{key}: {from} -> {to}";
    std::string lighting = "lighting {item}: {from} -> {to}";
    std::string patternInUse = "pattern in use: {from} -> {to}";
    std::string patternName = "pattern {pattern} name: {from} -> {to}";
    std::string patternTool = "pattern {pattern} tool: {from} -> {to}";
    std::string patternBase = "pattern {pattern} base colour: {from} -> {to}";
    std::string patternBrush = "pattern {pattern} brush colour: {from} -> {to}";
    std::string patternKeyColor = "pattern {pattern} colour of {key}: {from} -> {to}";
    std::string toolBase = "base";
    std::string toolBrush = "brush";
    std::string on = "on";
    std::string off = "off";
    std::array<std::string, 4> fourColors{"red", "yellow", "green", "blue"};
    std::array<std::string, kLightingItemCount> items = defaultItemNames();

    static std::array<std::string, kLightingItemCount> defaultItemNames();
};

// The words of a language file: each text key is looked up with `text` (an empty answer keeps the English
// default); the lighting items are named CHANGE_ITEM_ and the item's name in the file, upper-cased.
ChangeWords LoadChangeWords(const std::function<std::string(std::string_view key)>& text);

} // namespace ombrel
