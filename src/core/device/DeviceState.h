#pragma once
// The process-wide values the device link keeps about the attached keyboard. Each is read and written whole
// (atomics); the factory key-function block, which is larger, sits behind its own lock.

#include "device/FactoryKeymap.h"

#include <atomic>
#include <cstdint>
#include <mutex>

namespace ombrel {

class DeviceState {
public:
    // Last known active profile; -1 = unknown (at start and after the keyboard left).
    std::atomic<int> cachedProfile{-1};
    // The count the last presence worker handled.
    std::atomic<int> lastDeviceCount{0};
    // Macro memory size in bytes; 0 until the keyboard's arrival has been handled.
    std::atomic<unsigned> macroCapacity{0};
    // The single automatic showing of the main window happened or is not wanted.
    std::atomic<bool> autoShowDone{false};
    // How often the keyboard came and went since the start, as the presence workers saw it (for hot-plug checks).
    std::atomic<unsigned> arrivals{0};
    std::atomic<unsigned> departures{0};

    bool devicePresent() const { return lastDeviceCount.load() != 0; }

    // The two status bytes sent to the keyboard at each bank switch: byte 0 = 0x05, byte 1 = 0x02 | bank.
    std::array<std::uint8_t, 2> bankStatus() const;
    // 0 = bank A, 1 = bank B.
    int bank() const { return m_bankStatus.load() & 1; }
    // Flips the bank bit and returns the new status bytes.
    std::array<std::uint8_t, 2> flipBank();
    void resetBank() { m_bankStatus.store(kInitialBankByte1); }

    KeymapBytes defaultKeymap() const;
    void setDefaultKeymap(const KeymapBytes& block);

private:
    static constexpr std::uint8_t kBankByte0 = 0x05;
    static constexpr std::uint8_t kInitialBankByte1 = 0x02;
    std::atomic<std::uint8_t> m_bankStatus{kInitialBankByte1}; // byte 1; bit 0 is the bank

    mutable std::mutex m_keymapMutex; // guards m_defaultKeymap
    KeymapBytes m_defaultKeymap = BuiltInDefaultKeymap();
};

} // namespace ombrel
