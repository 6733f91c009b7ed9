#include "emulator/FactoryKeyFunctionBlock.h"

#include <algorithm>
#include <vector>

namespace ombrel::emu {

namespace {

struct Entry {
    std::uint8_t kind, b1, b2;
    bool operator==(const Entry&) const = default;
};

constexpr std::uint8_t kKindKeyboard = 0x02;
constexpr std::uint8_t kModifier = 0x01;
constexpr std::uint8_t kUsage = 0x02;
constexpr std::uint8_t kKindGKey = 0x06;
constexpr std::uint8_t kGKeyTag = 0xA2;
constexpr int kGKeyCount = 18;
constexpr int kGKeysInFirstSlots = 6;

// The slots the program's built-in partial table fills (slots 0..5 excepted, see the header).
struct KnownSlot {
    std::uint8_t slot;
    Entry entry;
};
constexpr std::array<KnownSlot, 46> kKnownSlots{{
    {8, {2, 2, 0x29}},  {9, {2, 2, 0x35}},  {10, {2, 2, 0x2B}}, {11, {2, 2, 0x39}}, {12, {2, 1, 0x02}},
    {13, {2, 1, 0x01}}, {16, {2, 2, 0x3A}}, {17, {2, 2, 0x1E}}, {18, {2, 2, 0x14}}, {19, {2, 2, 0x04}},
    {20, {2, 2, 0x1D}}, {21, {2, 1, 0x08}}, {24, {2, 2, 0x3B}}, {25, {2, 2, 0x1F}}, {26, {2, 2, 0x1A}},
    {27, {2, 2, 0x16}}, {28, {2, 2, 0x1B}}, {29, {2, 1, 0x04}}, {32, {2, 2, 0x3C}}, {33, {2, 2, 0x20}},
    {34, {2, 2, 0x08}}, {35, {2, 2, 0x07}}, {36, {2, 2, 0x06}}, {37, {2, 2, 0x2C}}, {38, {2, 2, 0x46}},
    {40, {2, 2, 0x3D}}, {41, {2, 2, 0x21}}, {42, {2, 2, 0x15}}, {43, {2, 2, 0x09}}, {44, {2, 2, 0x19}},
    {45, {2, 1, 0x40}}, {46, {2, 2, 0x47}}, {48, {2, 2, 0x3E}}, {49, {2, 2, 0x22}}, {50, {2, 2, 0x17}},
    {51, {2, 2, 0x0A}}, {52, {2, 2, 0x05}}, {53, {5, 2, 0x02}}, {54, {2, 2, 0x2E}}, {56, {2, 2, 0x3F}},
    {57, {2, 2, 0x23}}, {58, {2, 2, 0x1C}}, {59, {2, 2, 0x0B}}, {60, {2, 2, 0x11}}, {61, {2, 2, 0x65}},
    {62, {2, 2, 0x48}},
}};

// The entry of each of the 105 keys drawn on the keyboard map, in the map's order: the modifier bit for the
// eight modifiers, the keyboard usage for every other key.
struct MapKey {
    std::uint16_t code;
    bool modifier;
    std::uint8_t value;
};
constexpr std::array<MapKey, 105> kMapKeys{{
    {0x01E, false, 0x04}, {0x030, false, 0x05}, {0x02E, false, 0x06}, {0x020, false, 0x07}, {0x012, false, 0x08},
    {0x021, false, 0x09}, {0x022, false, 0x0A}, {0x023, false, 0x0B}, {0x017, false, 0x0C}, {0x024, false, 0x0D},
    {0x025, false, 0x0E}, {0x026, false, 0x0F}, {0x032, false, 0x10}, {0x031, false, 0x11}, {0x018, false, 0x12},
    {0x019, false, 0x13}, {0x010, false, 0x14}, {0x013, false, 0x15}, {0x01F, false, 0x16}, {0x014, false, 0x17},
    {0x016, false, 0x18}, {0x02F, false, 0x19}, {0x011, false, 0x1A}, {0x02D, false, 0x1B}, {0x015, false, 0x1C},
    {0x02C, false, 0x1D}, {0x002, false, 0x1E}, {0x003, false, 0x1F}, {0x004, false, 0x20}, {0x005, false, 0x21},
    {0x006, false, 0x22}, {0x007, false, 0x23}, {0x008, false, 0x24}, {0x009, false, 0x25}, {0x00A, false, 0x26},
    {0x00B, false, 0x27}, {0x01C, false, 0x28}, {0x001, false, 0x29}, {0x00E, false, 0x2A}, {0x00F, false, 0x2B},
    {0x039, false, 0x2C}, {0x00C, false, 0x2D}, {0x00D, false, 0x2E}, {0x01A, false, 0x2F}, {0x01B, false, 0x30},
    {0x02B, false, 0x31}, {0x027, false, 0x33}, {0x028, false, 0x34}, {0x029, false, 0x35}, {0x033, false, 0x36},
    {0x034, false, 0x37}, {0x035, false, 0x38}, {0x03B, false, 0x3A}, {0x03C, false, 0x3B}, {0x03D, false, 0x3C},
    {0x03E, false, 0x3D}, {0x03F, false, 0x3E}, {0x040, false, 0x3F}, {0x041, false, 0x40}, {0x042, false, 0x41},
    {0x043, false, 0x42}, {0x044, false, 0x43}, {0x057, false, 0x44}, {0x058, false, 0x45}, {0x137, false, 0x46},
    {0x045, false, 0x48}, {0x152, false, 0x49}, {0x153, false, 0x4C}, {0x147, false, 0x4A}, {0x14F, false, 0x4D},
    {0x149, false, 0x4B}, {0x151, false, 0x4E}, {0x148, false, 0x52}, {0x150, false, 0x51}, {0x14B, false, 0x50},
    {0x14D, false, 0x4F}, {0x046, false, 0x47}, {0x03A, false, 0x39}, {0x15D, false, 0x65}, {0x01D, true, 0x01},
    {0x11D, true, 0x10},  {0x02A, true, 0x02},  {0x036, true, 0x20},  {0x038, true, 0x04},  {0x138, true, 0x40},
    {0x15B, true, 0x08},  {0x15C, true, 0x80},  {0x04F, false, 0x59}, {0x050, false, 0x5A}, {0x051, false, 0x5B},
    {0x04B, false, 0x5C}, {0x04C, false, 0x5D}, {0x04D, false, 0x5E}, {0x047, false, 0x5F}, {0x048, false, 0x60},
    {0x049, false, 0x61}, {0x052, false, 0x62}, {0x145, false, 0x53}, {0x11C, false, 0x58}, {0x053, false, 0x63},
    {0x135, false, 0x54}, {0x037, false, 0x55}, {0x04A, false, 0x56}, {0x04E, false, 0x57}, {0x056, false, 0x64},
}};

Entry entryOf(const MapKey& key) {
    return {kKindKeyboard, key.modifier ? kModifier : kUsage, key.value};
}

Entry gKeyEntry(int number) {
    return {kKindGKey, kGKeyTag, static_cast<std::uint8_t>(number)};
}

KeymapBlockBytes buildBlock() {
    std::array<Entry, kKeymapSlots> slots{};
    std::array<bool, kKeymapSlots> used{};
    auto place = [&](std::size_t slot, Entry entry) {
        slots[slot] = entry;
        used[slot] = true;
    };
    for (int g = 1; g <= kGKeysInFirstSlots; ++g)
        place(static_cast<std::size_t>(g - 1), gKeyEntry(g));
    for (const KnownSlot& known : kKnownSlots)
        place(known.slot, known.entry);

    std::vector<Entry> rest;
    for (const MapKey& key : kMapKeys) {
        const Entry e = entryOf(key);
        if (std::find(slots.begin(), slots.end(), e) == slots.end()) rest.push_back(e);
    }
    for (int g = kGKeysInFirstSlots + 1; g <= kGKeyCount; ++g)
        rest.push_back(gKeyEntry(g));

    std::size_t next = 0;
    for (const Entry& e : rest) {
        while (next < kKeymapSlots && used[next])
            ++next;
        if (next == kKeymapSlots) break; // cannot happen: 74 free slots for 72 entries
        place(next, e);
    }

    KeymapBlockBytes bytes{};
    for (std::size_t i = 0; i < kKeymapSlots; ++i) {
        bytes[i * 3] = slots[i].kind;
        bytes[i * 3 + 1] = slots[i].b1;
        bytes[i * 3 + 2] = slots[i].b2;
    }
    return bytes;
}

} // namespace

const KeymapBlockBytes& FactoryKeyFunctionBlock() {
    static const KeymapBlockBytes block = buildBlock();
    return block;
}

} // namespace ombrel::emu
