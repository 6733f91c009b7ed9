#pragma once
// Shared test data of the key and profile suites: a factory key-function block with G keys, a consumer key and a
// system key besides the built-in partial table, and texts that show which key they were looked up by.

#include "device/FactoryKeymap.h"
#include "keys/KeymapBlock.h"
#include "keys/MacroRecord.h"
#include "keys/TextSources.h"

#include <cstdio>
#include <string>

namespace ombrel::test {

// Slots 0..5 hold G1..G6, slot 6 Mute (consumer 0xE2), slot 7 Power (system 0x81); slot 53 stops macros; the
// other slots are the built-in table's (slot 8 Escape, slot 11 Caps Lock, slot 12 Left Shift, slot 19 A ...).
inline KeymapBlock TestFactoryBlock() {
    KeymapBlock block(BuiltInDefaultKeymap());
    for (int g = 1; g <= 6; ++g)
        block.setEntry(g - 1, {EK_GKEY, kGKeyMarker, static_cast<std::uint8_t>(g)});
    block.setEntry(6, {EK_CONSUMER, 0xE2, 0x00});
    block.setEntry(7, {EK_SYSTEM, 0x81, 0x00});
    return block;
}

inline constexpr KeyCode kEscape = 0x001;
inline constexpr KeyCode kCapsLock = 0x03A;
inline constexpr KeyCode kKeyA = 0x01E;
inline constexpr KeyCode kLeftShift = 0x02A;
inline constexpr KeyCode kTab = 0x00F;
inline constexpr int kEscapeSlot = 8;
inline constexpr int kCapsLockSlot = 11;

// "[KEY]" for every text key, so a test sees which texts were used and in what order.
inline std::string FakeText(std::string_view key) {
    return "[" + std::string(key) + "]";
}
inline std::string FakeKeyName(KeyCode code) {
    char name[16];
    std::snprintf(name, sizeof name, "k%03X", static_cast<unsigned>(code));
    return name;
}

inline MacroRecord MakeMacro(std::uint16_t id, std::u16string_view name, int steps, std::uint8_t cycles = 1) {
    MacroRecord m;
    m.setMacroId(id);
    m.setName(name);
    m.setCycles(cycles);
    for (int i = 0; i < steps; ++i)
        m.setAction(i, {static_cast<std::uint32_t>(10 * (i % 4096)), i % 2 ? kKeyA : kLeftShift,
                        static_cast<std::uint16_t>(i % 2)});
    m.setActionCount(static_cast<std::uint16_t>(steps));
    return m;
}

} // namespace ombrel::test
