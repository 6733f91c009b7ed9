// The factory key-function block must name every key of the keyboard map and every G-key entry exactly once,
// and agree with the partial table the program falls back on. The key data below is an independent copy of
// the program's key tables, so a slip in the emulator's own table shows up here.

#include "emulator/FactoryKeyFunctionBlock.h"
#include "emulator/FactoryMemory.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <sstream>
#include <string>

namespace ombrel::emu {
namespace {

// Key table usage column, indexed by key index.
constexpr std::array<std::uint8_t, 256> kUsageByIndex{
    0x00, 0x29, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x2D, 0x2E, 0x2A, 0x2B, 0x14, 0x1A, 0x08,
    0x15, 0x17, 0x1C, 0x18, 0x0C, 0x12, 0x13, 0x2F, 0x30, 0x28, 0xE0, 0x04, 0x16, 0x07, 0x09, 0x0A, 0x0B, 0x0D, 0x0E,
    0x0F, 0x33, 0x34, 0x35, 0xE1, 0x31, 0x1D, 0x1B, 0x06, 0x19, 0x05, 0x11, 0x10, 0x36, 0x37, 0x38, 0xE5, 0x55, 0xE2,
    0x2C, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42, 0x43, 0x48, 0x47, 0x5F, 0x60, 0x61, 0x56, 0x5C,
    0x5D, 0x5E, 0x57, 0x59, 0x5A, 0x5B, 0x62, 0x63, 0x00, 0x00, 0x64, 0x44, 0x45, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x88, 0x91,
    0x90, 0x87, 0x00, 0x00, 0x00, 0x00, 0x00, 0x8A, 0x00, 0x8B, 0x00, 0x89, 0x85, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xD0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0xD1, 0x00, 0x00, 0x58, 0xE4, 0x00, 0x00, 0xCD, 0xC4, 0xCE, 0x00, 0xCF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0xC1, 0x00, 0xC0, 0x00, 0xC7, 0x00, 0x00, 0x54, 0xE5, 0x46, 0xE6, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x53, 0x48, 0x4A, 0x52, 0x4B, 0x00, 0x50, 0x00, 0x4F, 0x00, 0x4D, 0x51,
    0x4E, 0x49, 0x4C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE3, 0xE7, 0x65, 0x81, 0x82, 0x00, 0xF4, 0xF5, 0x83,
    0x00, 0xC6, 0xCC, 0xCB, 0xCA, 0xC9, 0xC8, 0xC5, 0xC3, 0xC2, 0x00, 0x00, 0x00, 0xF1, 0xF2, 0xF3, 0xD2, 0xD3, 0x00,
    0x00, 0x00, 0x00, 0x00, 0xD4, 0xD5, 0x00, 0x00, 0x00};

// Key codes of the 105 keys of the keyboard map.
constexpr std::array<std::uint16_t, 105> kMapKeyCodes{
    0x01E, 0x030, 0x02E, 0x020, 0x012, 0x021, 0x022, 0x023, 0x017, 0x024, 0x025, 0x026, 0x032, 0x031, 0x018,
    0x019, 0x010, 0x013, 0x01F, 0x014, 0x016, 0x02F, 0x011, 0x02D, 0x015, 0x02C, 0x002, 0x003, 0x004, 0x005,
    0x006, 0x007, 0x008, 0x009, 0x00A, 0x00B, 0x01C, 0x001, 0x00E, 0x00F, 0x039, 0x00C, 0x00D, 0x01A, 0x01B,
    0x02B, 0x027, 0x028, 0x029, 0x033, 0x034, 0x035, 0x03B, 0x03C, 0x03D, 0x03E, 0x03F, 0x040, 0x041, 0x042,
    0x043, 0x044, 0x057, 0x058, 0x137, 0x045, 0x152, 0x153, 0x147, 0x14F, 0x149, 0x151, 0x148, 0x150, 0x14B,
    0x14D, 0x046, 0x03A, 0x15D, 0x01D, 0x11D, 0x02A, 0x036, 0x038, 0x138, 0x15B, 0x15C, 0x04F, 0x050, 0x051,
    0x04B, 0x04C, 0x04D, 0x047, 0x048, 0x049, 0x052, 0x145, 0x11C, 0x053, 0x135, 0x037, 0x04A, 0x04E, 0x056};

// Modifier bit -> key code, lowest bit first.
constexpr std::array<std::uint16_t, 8> kModifierKeys{0x01D, 0x02A, 0x038, 0x15B, 0x11D, 0x036, 0x138, 0x15C};

// The partial table the program uses until it has read the keyboard's block, in its usual notation.
constexpr const char* kPartialTable =
    "0..5: 05 00 00; 8: 02 02 29; 9: 02 02 35; 10: 02 02 2B; 11: 02 02 39; 12: 02 01 02; 13: 02 01 01; "
    "16: 02 02 3A; 17: 02 02 1E; 18: 02 02 14; 19: 02 02 04; 20: 02 02 1D; 21: 02 01 08; 24: 02 02 3B; "
    "25: 02 02 1F; 26: 02 02 1A; 27: 02 02 16; 28: 02 02 1B; 29: 02 01 04; 32: 02 02 3C; 33: 02 02 20; "
    "34: 02 02 08; 35: 02 02 07; 36: 02 02 06; 37: 02 02 2C; 38: 02 02 46; 40: 02 02 3D; 41: 02 02 21; "
    "42: 02 02 15; 43: 02 02 09; 44: 02 02 19; 45: 02 01 40; 46: 02 02 47; 48: 02 02 3E; 49: 02 02 22; "
    "50: 02 02 17; 51: 02 02 0A; 52: 02 02 05; 53: 05 02 02; 54: 02 02 2E; 56: 02 02 3F; 57: 02 02 23; "
    "58: 02 02 1C; 59: 02 02 0B; 60: 02 02 11; 61: 02 02 65; 62: 02 02 48";

std::uint16_t keyCodeOfIndex(unsigned index) {
    return static_cast<std::uint16_t>(index < 0x80 ? index : index + 0x80);
}

// The key an entry names, as the program resolves it: the lowest key-table row with the usage, or the key of
// the lowest set modifier bit. G keys come back as 0x200 + n - 1.
std::uint16_t keyOfEntry(std::uint8_t kind, std::uint8_t b1, std::uint8_t b2) {
    if (kind == 0x06 && b1 == 0xA2) return static_cast<std::uint16_t>(0x1FF + b2);
    if (kind != 0x02) return 0;
    if (b1 == 0x02) {
        for (unsigned i = 0; i < kUsageByIndex.size(); ++i)
            if (b2 != 0 && kUsageByIndex[i] == b2) return keyCodeOfIndex(i);
        return 0;
    }
    for (unsigned bit = 0; bit < 8; ++bit)
        if (b2 & (1u << bit)) return kModifierKeys[bit];
    return 0;
}

std::map<unsigned, std::array<std::uint8_t, 3>> parsePartialTable() {
    std::map<unsigned, std::array<std::uint8_t, 3>> slots;
    std::stringstream all(kPartialTable);
    std::string item;
    while (std::getline(all, item, ';')) {
        std::stringstream in(item);
        unsigned first = 0;
        unsigned last = 0;
        char sep = 0;
        in >> first >> sep;
        if (sep == '.')
            in >> sep >> last >> sep;
        else
            last = first;
        std::array<std::uint8_t, 3> entry{};
        for (auto& b : entry) {
            unsigned v = 0;
            in >> std::hex >> v >> std::dec;
            b = static_cast<std::uint8_t>(v);
        }
        for (unsigned s = first; s <= last; ++s)
            slots[s] = entry;
    }
    return slots;
}

TEST(FactoryKeyFunctionBlock, NamesEveryMapKeyAndEveryGKeyExactlyOnce) {
    const auto& block = FactoryKeyFunctionBlock();
    std::map<std::uint16_t, int> named;
    for (std::size_t slot = 0; slot < kKeymapSlots; ++slot) {
        const std::uint16_t key = keyOfEntry(block[slot * 3], block[slot * 3 + 1], block[slot * 3 + 2]);
        if (key != 0) ++named[key];
    }
    for (std::uint16_t code : kMapKeyCodes)
        EXPECT_EQ(named[code], 1) << "map key 0x" << std::hex << code;
    for (int g = 1; g <= 18; ++g)
        EXPECT_EQ(named[static_cast<std::uint16_t>(0x1FF + g)], 1) << "G key " << g;
    EXPECT_EQ(named.size(), kMapKeyCodes.size() + 18) << "the block names keys that are not on the map";
}

TEST(FactoryKeyFunctionBlock, AgreesWithThePartialTableAndPutsG1ToG6FirstBesidesIt) {
    const auto& block = FactoryKeyFunctionBlock();
    const auto partial = parsePartialTable();
    ASSERT_EQ(partial.size(), 52u);
    for (const auto& [slot, entry] : partial) {
        const std::array<std::uint8_t, 3> actual{block[slot * 3], block[slot * 3 + 1], block[slot * 3 + 2]};
        if (slot <= 5) {
            const std::array<std::uint8_t, 3> gKey{0x06, 0xA2, static_cast<std::uint8_t>(slot + 1)};
            EXPECT_EQ(actual, gKey) << "slot " << slot;
        } else {
            EXPECT_EQ(actual, entry) << "slot " << slot;
        }
    }
}

TEST(FactoryMemory, DescribesItselfAndStartsEveryProfileFromTheFactoryBlock) {
    const KeyboardMemory m = FactoryMemory();
    for (int i = 0; i < 8; ++i)
        EXPECT_NE(m.config[static_cast<std::size_t>(i)], 0) << "config byte " << i;
    EXPECT_EQ(m.config[8], 0x10);
    EXPECT_EQ(m.config[9], 0x01);
    EXPECT_EQ(m.config[10], 0);
    EXPECT_EQ(m.config[11], 0x40);
    const std::array<std::uint8_t, 32> modes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20};
    EXPECT_TRUE(std::equal(modes.begin(), modes.end(), m.config.begin() + 12));

    const auto& block = FactoryKeyFunctionBlock();
    EXPECT_TRUE(std::equal(block.begin(), block.end(), m.defaultKeymap.begin()));
    for (std::size_t p = 0; p < 3; ++p)
        EXPECT_TRUE(std::equal(block.begin(), block.end(), m.keymaps.begin() + static_cast<long>(p * 378)));

    // An empty macro image: the program reads "no macros".
    EXPECT_EQ(m.macros[0] | (m.macros[1] << 8), 0x55AA);
    EXPECT_EQ(m.macros[4] | (m.macros[5] << 8), 0);
}

} // namespace
} // namespace ombrel::emu
