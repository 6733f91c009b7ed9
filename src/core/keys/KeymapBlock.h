#pragma once
// The keyboard's own record of what each key does in one profile: 126 entries of 3 bytes. Which key an entry
// belongs to is not stored; slot i belongs to the key that the keyboard's factory block names at slot i.

#include "device/FactoryKeymap.h"

#include <cstdint>

namespace ombrel {

enum EntryKind : std::uint8_t {
    EK_NONE = 0x00,     // nothing
    EK_MOUSE = 0x01,    // b1 0x01: button mask in b2; b1 0x05: wheel step 0x01 up, 0xFF down
    EK_KEYBOARD = 0x02, // b1 0x01: modifier bit in b2; b1 0x02: keyboard usage in b2
    EK_CONSUMER = 0x03, // consumer usage, low byte first
    EK_SYSTEM = 0x04,   // generic-desktop usage, low byte first
    EK_SPECIAL = 0x05,  // b1 0x01: play macro at position b2; 0x02: stop macro; 0x05: keyboard function b2
    EK_GKEY = 0x06,     // b1 0xA2: G key number b2 (1-based)
};

inline constexpr std::uint8_t kMouseButton = 0x01;
inline constexpr std::uint8_t kMouseWheel = 0x05;
inline constexpr std::uint8_t kKeyboardModifier = 0x01;
inline constexpr std::uint8_t kKeyboardUsage = 0x02;
inline constexpr std::uint8_t kSpecialPlayMacro = 0x01;
inline constexpr std::uint8_t kSpecialStopMacro = 0x02;
inline constexpr std::uint8_t kSpecialFunction = 0x05;
inline constexpr std::uint8_t kGKeyMarker = 0xA2;

struct KeymapEntry {
    std::uint8_t kind = EK_NONE;
    std::uint8_t b1 = 0;
    std::uint8_t b2 = 0;

    bool operator==(const KeymapEntry&) const = default;
};

class KeymapBlock {
public:
    static constexpr int kSlots = 126;

    KeymapBlock() = default;
    explicit KeymapBlock(const KeymapBytes& bytes) : m_bytes(bytes) {}

    // Slots outside 0..125 read as an empty entry and are not written.
    KeymapEntry entry(int slot) const;
    void setEntry(int slot, const KeymapEntry& entry);

    const KeymapBytes& bytes() const { return m_bytes; }

    bool operator==(const KeymapBlock&) const = default;

private:
    KeymapBytes m_bytes{};
};

} // namespace ombrel
