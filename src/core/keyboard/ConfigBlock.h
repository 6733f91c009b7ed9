#pragma once
// The keyboard's 44-byte description of itself: firmware version, active profile, macro memory size and the
// lighting effects its firmware offers.

#include "keyboard/LightingEffect.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace ombrel {

struct ConfigBlock {
    static constexpr std::size_t kSize = 44;
    static constexpr std::size_t kModeListOffset = 12;
    static constexpr std::size_t kModeListSize = 32;
    // The lowest firmware the program works with without asking for an update.
    static constexpr std::uint16_t kMinimumFirmware = 0x0110;
    static constexpr unsigned kMacroUnitBytes = 128;

    std::array<std::uint8_t, kSize> bytes{};

    static ConfigBlock fromBytes(std::span<const std::uint8_t, kSize> data);

    std::uint16_t firmwareVersion() const { return static_cast<std::uint16_t>(bytes[8] | (bytes[9] << 8)); }
    std::uint8_t activeProfile() const { return bytes[10]; }
    std::uint8_t macroUnits() const { return bytes[11]; }
    unsigned macroCapacity() const { return static_cast<unsigned>(macroUnits()) << 7; }
    // The offered effects in display order: the non-zero entries of the mode list.
    std::vector<LightingEffect> offeredEffects() const;
    bool offersEffect(LightingEffect effect) const;
    bool needsFirmwareUpdate() const { return firmwareVersion() < kMinimumFirmware; }

    void setActiveProfile(std::uint8_t profile) { bytes[10] = profile; }
};

} // namespace ombrel
