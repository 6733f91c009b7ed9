#pragma once
// Other spellings people use for keys: the short captions printed on the keyboard map ("Ctrl", "Win", "Del"),
// where the key's name says which side it is on, and common long forms of abbreviated names ("Escape").
// A caption that stands for two keys means the left-hand one, the key a person usually means.

#include "keyboard/KeyTable.h"

#include <string_view>
#include <utility>

namespace ombrel {

inline constexpr std::pair<std::string_view, KeyCode> kKeyAliases[] = {
    {"Ctrl", 0x01D},          {"Control", 0x01D},    {"LCtrl", 0x01D},  {"Left Control", 0x01D}, {"RCtrl", 0x11D},
    {"Right Control", 0x11D}, {"Shift", 0x02A},      {"LShift", 0x02A}, {"RShift", 0x036},       {"Alt", 0x038},
    {"LAlt", 0x038},          {"RAlt", 0x138},       {"AltGr", 0x138},  {"Win", 0x15B},          {"Windows", 0x15B},
    {"Super", 0x15B},         {"LWin", 0x15B},       {"RWin", 0x15C},   {"Escape", 0x001},       {"Return", 0x01C},
    {"Bksp", 0x00E},          {"Back Space", 0x00E}, {"Caps", 0x03A},   {"Del", 0x153},          {"Ins", 0x152},
    {"PgUp", 0x149},          {"PgDn", 0x151},       {"PrtSc", 0x137},  {"PrtScn", 0x137},       {"Print", 0x137},
    {"ScrLk", 0x046},         {"NumLk", 0x145},      {"Up", 0x148},     {"Down", 0x150},         {"Left", 0x14B},
    {"Right", 0x14D},         {"App", 0x15D},        {"Apps", 0x15D},   {"Context Menu", 0x15D}, {"Spacebar", 0x039},
};

} // namespace ombrel
