#pragma once
// Everything the emulated keyboard remembers: the six memory areas, each as one fixed-size byte array.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace ombrel::emu {

// The memory areas, numbered as the control interface numbers them.
enum class Area : int { Config = 0, Lighting = 1, Keymap = 2, Macros = 3, DefaultKeymap = 4, KeyColors = 5 };
inline constexpr int kAreaCount = 6;

std::optional<Area> areaFromInt(int value);

struct KeyboardMemory {
    static constexpr std::size_t kConfigSize = 44;
    static constexpr std::size_t kLightingBlockSize = 42;
    static constexpr std::size_t kLightingSize = 3 * kLightingBlockSize;
    static constexpr std::size_t kKeymapBlockSize = 378;
    static constexpr std::size_t kKeymapSize = 3 * kKeymapBlockSize;
    static constexpr std::size_t kMacroUnitSize = 128;
    // Macro memory is sized by configuration byte 11 (units of 128 bytes); room is kept for the largest value.
    static constexpr std::size_t kMacroStorageSize = 255 * kMacroUnitSize;
    static constexpr std::size_t kKeyColorProfileSize = 512;
    static constexpr std::size_t kKeyColorSize = 3 * kKeyColorProfileSize;

    static constexpr std::size_t kMacroUnitsOffset = 11;

    std::array<std::uint8_t, kConfigSize> config{};
    std::array<std::uint8_t, kLightingSize> lighting{};
    std::array<std::uint8_t, kKeymapSize> keymaps{};
    std::array<std::uint8_t, kMacroStorageSize> macros{};
    std::array<std::uint8_t, kKeymapBlockSize> defaultKeymap{};
    std::array<std::uint8_t, kKeyColorSize> keyColors{};

    // The whole storage of an area.
    std::span<std::uint8_t> storage(Area area);
    std::span<const std::uint8_t> storage(Area area) const;
    // The part of an area that commands may address. All of the storage, except for macro memory, whose size
    // follows the macro units the configuration announces.
    std::size_t addressableSize(Area area) const;

    bool operator==(const KeyboardMemory&) const = default;
};

} // namespace ombrel::emu
