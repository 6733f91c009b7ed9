#include "device/DeviceState.h"

namespace ombrel {

std::array<std::uint8_t, 2> DeviceState::bankStatus() const {
    return {kBankByte0, m_bankStatus.load()};
}

std::array<std::uint8_t, 2> DeviceState::flipBank() {
    const std::uint8_t now = static_cast<std::uint8_t>(m_bankStatus.fetch_xor(1) ^ 1);
    return {kBankByte0, now};
}

KeymapBytes DeviceState::defaultKeymap() const {
    std::lock_guard lock(m_keymapMutex);
    return m_defaultKeymap;
}

void DeviceState::setDefaultKeymap(const KeymapBytes& block) {
    std::lock_guard lock(m_keymapMutex);
    m_defaultKeymap = block;
}

} // namespace ombrel
