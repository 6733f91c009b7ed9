#include "emulator/KeyboardMemory.h"

namespace ombrel::emu {

std::optional<Area> areaFromInt(int value) {
    if (value < 0 || value >= kAreaCount) return std::nullopt;
    return static_cast<Area>(value);
}

std::span<std::uint8_t> KeyboardMemory::storage(Area area) {
    switch (area) {
    case Area::Config:
        return config;
    case Area::Lighting:
        return lighting;
    case Area::Keymap:
        return keymaps;
    case Area::Macros:
        return macros;
    case Area::DefaultKeymap:
        return defaultKeymap;
    case Area::KeyColors:
        return keyColors;
    }
    return {};
}

std::span<const std::uint8_t> KeyboardMemory::storage(Area area) const {
    return const_cast<KeyboardMemory*>(this)->storage(area);
}

std::size_t KeyboardMemory::addressableSize(Area area) const {
    if (area == Area::Macros) return static_cast<std::size_t>(config[kMacroUnitsOffset]) * kMacroUnitSize;
    return storage(area).size();
}

} // namespace ombrel::emu
