#include "emulator/FactoryMemory.h"

#include "emulator/FactoryKeyFunctionBlock.h"
#include "keyboard/LightingEffect.h"
#include "util/Bytes.h"

#include <algorithm>

namespace ombrel::emu {

namespace {

constexpr std::uint16_t kFirmwareVersion = 0x0110;
constexpr std::uint8_t kMacroUnits = 0x40;
constexpr std::uint16_t kMacroImageMagic = 0x55AA;
constexpr std::uint16_t kMacroHeaderSize = 16;

void fillConfig(KeyboardMemory& m) {
    constexpr std::array<std::uint8_t, 8> kIdentification{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
    std::copy(kIdentification.begin(), kIdentification.end(), m.config.begin());
    putLe16(&m.config[8], kFirmwareVersion);
    m.config[10] = 0;
    m.config[KeyboardMemory::kMacroUnitsOffset] = kMacroUnits;
    std::size_t slot = 12;
    // Every effect from Wave to Radiate, then the user effect (there is no effect 19).
    for (auto effect = EffectNumber(LightingEffect::Wave); effect <= EffectNumber(LightingEffect::Radiate); ++effect)
        m.config[slot++] = static_cast<std::uint8_t>(effect);
    m.config[slot] = EffectNumber(LightingEffect::User);
}

struct LightingDefaults {
    LightingEffect effect;
    std::uint8_t brightness, speed, direction, colorful, red, green, blue;
};

void fillLighting(KeyboardMemory& m) {
    constexpr std::array<LightingDefaults, 3> kProfiles{{
        {LightingEffect::Wave, 5, 2, 0, 0xFF, 0xFF, 0xFF, 0xFF},
        {LightingEffect::User, 5, 2, 0, 0, 0xFF, 0xFF, 0xFF},
        {LightingEffect::Breathing, 5, 2, 0, 0, 0xFF, 0x00, 0x00},
    }};
    for (std::size_t p = 0; p < kProfiles.size(); ++p) {
        const LightingDefaults& d = kProfiles[p];
        std::uint8_t* block = &m.lighting[p * KeyboardMemory::kLightingBlockSize];
        const std::array<std::uint8_t, 8> head{static_cast<std::uint8_t>(d.effect),
                                               d.brightness,
                                               d.speed,
                                               d.direction,
                                               d.colorful,
                                               d.red,
                                               d.green,
                                               d.blue};
        std::copy(head.begin(), head.end(), block);
    }
}

void fillKeyColors(KeyboardMemory& m) {
    constexpr std::size_t kSlots = 126;
    for (std::size_t p = 0; p < 3; ++p) {
        for (std::size_t s = 0; s < kSlots; ++s)
            m.keyColors[p * KeyboardMemory::kKeyColorProfileSize + s * 3 + p] = 0xFF;
    }
}

void fillMacros(KeyboardMemory& m) {
    putLe16(&m.macros[0], kMacroImageMagic);
    putLe16(&m.macros[2], kMacroHeaderSize);
}

void fillKeymaps(KeyboardMemory& m) {
    const auto& block = FactoryKeyFunctionBlock();
    std::copy(block.begin(), block.end(), m.defaultKeymap.begin());
    for (std::size_t p = 0; p < 3; ++p)
        std::copy(block.begin(), block.end(), m.keymaps.begin() + static_cast<long>(p * block.size()));
}

} // namespace

KeyboardMemory FactoryMemory() {
    KeyboardMemory m;
    fillConfig(m);
    fillLighting(m);
    fillKeyColors(m);
    fillMacros(m);
    fillKeymaps(m);
    return m;
}

} // namespace ombrel::emu
