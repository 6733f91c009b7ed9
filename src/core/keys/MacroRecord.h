#pragma once
// A named list of key presses and releases with a pause after each, as stores and profile files hold it: a fixed
// 32512-byte record, kept as its bytes so that what a file holds comes back unchanged; the accessors read and
// write the fields in place (little-endian) and never go outside the record.

#include "keyboard/KeyTable.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace ombrel {

inline constexpr std::size_t kMacroRecordSize = 32512;
inline constexpr int kMaxMacros = 100;
inline constexpr int kMaxMacroActions = 4000;
inline constexpr int kMacroNameUnits = 250; // the field, terminating zero included
inline constexpr int kMaxMacroNameLength = kMacroNameUnits - 1;
inline constexpr int kMinMacroCycles = 1;
inline constexpr int kMaxMacroCycles = 255;

enum MacroKeyState : std::uint16_t { MACRO_PRESS = 0, MACRO_RELEASE = 1 };

struct MacroAction {
    static constexpr std::size_t kSize = 8;
    std::uint32_t delayMs = 0; // pause after this step
    KeyCode keyCode = 0;
    std::uint16_t state = MACRO_PRESS;

    bool operator==(const MacroAction&) const = default;
};

// The part of `name` a macro record keeps: up to its first zero, at most 249 units, one fewer when the cut would
// split a surrogate pair.
std::u16string_view StoredMacroName(std::u16string_view name);

class MacroRecord {
public:
    MacroRecord() = default; // every byte zero

    // The name up to its terminating zero, at most 250 units (a name without its zero stops at the field's end).
    std::u16string name() const;
    // True when the name field holds its terminating zero.
    bool nameTerminated() const;
    // Stores StoredMacroName(name) and clears the rest of the field.
    void setName(std::u16string_view name);

    std::uint8_t cycles() const { return m_bytes[kCyclesOffset]; }
    void setCycles(std::uint8_t cycles) { m_bytes[kCyclesOffset] = cycles; }
    bool isNew() const;
    void setIsNew(bool isNew);
    std::uint16_t macroId() const;
    void setMacroId(std::uint16_t id);
    // The count as stored; may exceed 4000 in a damaged file.
    std::uint16_t actionCount() const;
    void setActionCount(std::uint16_t count);
    // The steps that can be used: the stored count, at most 4000.
    int stepCount() const;

    // Step i (0..3999); outside that range a zero step is read and nothing is written.
    MacroAction action(int i) const;
    void setAction(int i, const MacroAction& action);

    std::span<std::uint8_t, kMacroRecordSize> bytes() { return m_bytes; }
    std::span<const std::uint8_t, kMacroRecordSize> bytes() const { return m_bytes; }

    bool operator==(const MacroRecord&) const = default;

private:
    static constexpr std::size_t kCyclesOffset = 500;
    static constexpr std::size_t kIsNewOffset = 502;
    static constexpr std::size_t kIdOffset = 506;
    static constexpr std::size_t kCountOffset = 508;
    static constexpr std::size_t kActionsOffset = 512;

    std::array<std::uint8_t, kMacroRecordSize> m_bytes{};
};

} // namespace ombrel
