#pragma once
// All key assignments of the three profiles: a 64-byte header area (the profile file's two headers) followed by
// four layers of 512 key records, one layer per profile (layer 3 is carried but never used). Record n lies at
// byte 64 + 16 n; a key's record in profile L is number L x 512 + its key index.

#include "keyboard/KeyTable.h"
#include "keys/KeyRecord.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace ombrel {

inline constexpr std::size_t kKeyImageSize = 32832;
inline constexpr std::size_t kKeyImageHeaderSize = 64;
inline constexpr int kKeyRecordCount = 2048;
inline constexpr int kRecordsPerLayer = 512;
inline constexpr int kKeyLayerCount = 4;
// The 18 G keys: m = 0..8 are G1..G9 of bank A, m = 9..17 the same keys in bank B; G key m has key index 256 + m.
inline constexpr int kGKeySlots = 18;
inline constexpr KeyIndex kFirstGKeyIndex = 256;

constexpr int RecordNumber(int layer, KeyIndex index) {
    return layer * kRecordsPerLayer + index;
}

// The tag a G-key record carries in its extra field: 0x0301..0x0309 for bank A, 0x1301..0x1309 for bank B.
std::uint16_t GKeyTag(int m);

class KeyImage {
public:
    KeyImage(); // every byte zero

    // Record numbers outside 0..2047 read as an all-zero record and are not written.
    KeyRecord record(int n) const;
    void setRecord(int n, const KeyRecord& record);

    std::span<std::uint8_t, kKeyImageSize> bytes() { return std::span<std::uint8_t, kKeyImageSize>(m_bytes); }
    std::span<const std::uint8_t, kKeyImageSize> bytes() const {
        return std::span<const std::uint8_t, kKeyImageSize>(m_bytes);
    }

    bool operator==(const KeyImage&) const = default;

private:
    std::vector<std::uint8_t> m_bytes; // always kKeyImageSize bytes
};

// Every record zero, then the 18 G-key records of layer 0 get their tags; layers 1..3 keep zero tags.
void InitKeyImage(KeyImage& image);

// The 512 records of one layer back to zero, with the G-key tags set.
void ResetLayer(KeyImage& image, int layer);

} // namespace ombrel
