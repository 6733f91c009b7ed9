#include "keys/KeymapBlock.h"

#include <cstddef>

namespace ombrel {

KeymapEntry KeymapBlock::entry(int slot) const {
    if (slot < 0 || slot >= kSlots) return {};
    const std::size_t at = 3 * static_cast<std::size_t>(slot);
    return {m_bytes[at], m_bytes[at + 1], m_bytes[at + 2]};
}

void KeymapBlock::setEntry(int slot, const KeymapEntry& entry) {
    if (slot < 0 || slot >= kSlots) return;
    const std::size_t at = 3 * static_cast<std::size_t>(slot);
    m_bytes[at] = entry.kind;
    m_bytes[at + 1] = entry.b1;
    m_bytes[at + 2] = entry.b2;
}

} // namespace ombrel
