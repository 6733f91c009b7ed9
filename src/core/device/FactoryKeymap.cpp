#include "device/FactoryKeymap.h"

#include <cstddef>

namespace ombrel {

namespace {

struct SlotEntry {
    std::uint8_t slot, kind, b1, b2;
};

// Slots 0..5 are placeholders of the special kind; the rest name ordinary keys (02 02 usage) or modifiers
// (02 01 bit), and slot 53 is the keyboard's stop-macro key.
constexpr SlotEntry kPartialTable[] = {
    {0, 5, 0, 0},     {1, 5, 0, 0},     {2, 5, 0, 0},     {3, 5, 0, 0},     {4, 5, 0, 0},     {5, 5, 0, 0},
    {8, 2, 2, 0x29},  {9, 2, 2, 0x35},  {10, 2, 2, 0x2B}, {11, 2, 2, 0x39}, {12, 2, 1, 0x02}, {13, 2, 1, 0x01},
    {16, 2, 2, 0x3A}, {17, 2, 2, 0x1E}, {18, 2, 2, 0x14}, {19, 2, 2, 0x04}, {20, 2, 2, 0x1D}, {21, 2, 1, 0x08},
    {24, 2, 2, 0x3B}, {25, 2, 2, 0x1F}, {26, 2, 2, 0x1A}, {27, 2, 2, 0x16}, {28, 2, 2, 0x1B}, {29, 2, 1, 0x04},
    {32, 2, 2, 0x3C}, {33, 2, 2, 0x20}, {34, 2, 2, 0x08}, {35, 2, 2, 0x07}, {36, 2, 2, 0x06}, {37, 2, 2, 0x2C},
    {38, 2, 2, 0x46}, {40, 2, 2, 0x3D}, {41, 2, 2, 0x21}, {42, 2, 2, 0x15}, {43, 2, 2, 0x09}, {44, 2, 2, 0x19},
    {45, 2, 1, 0x40}, {46, 2, 2, 0x47}, {48, 2, 2, 0x3E}, {49, 2, 2, 0x22}, {50, 2, 2, 0x17}, {51, 2, 2, 0x0A},
    {52, 2, 2, 0x05}, {53, 5, 2, 2},    {54, 2, 2, 0x2E}, {56, 2, 2, 0x3F}, {57, 2, 2, 0x23}, {58, 2, 2, 0x1C},
    {59, 2, 2, 0x0B}, {60, 2, 2, 0x11}, {61, 2, 2, 0x65}, {62, 2, 2, 0x48},
};

KeymapBytes build() {
    KeymapBytes block{};
    for (const SlotEntry& e : kPartialTable) {
        const std::size_t at = static_cast<std::size_t>(e.slot) * 3;
        block[at] = e.kind;
        block[at + 1] = e.b1;
        block[at + 2] = e.b2;
    }
    return block;
}

} // namespace

const KeymapBytes& BuiltInDefaultKeymap() {
    static const KeymapBytes block = build();
    return block;
}

} // namespace ombrel
