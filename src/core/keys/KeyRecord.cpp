#include "keys/KeyRecord.h"

#include "util/Bytes.h"

namespace ombrel {

KeyRecord KeyRecord::readFrom(std::span<const std::uint8_t, kSize> bytes) {
    const std::uint8_t* p = bytes.data();
    KeyRecord r;
    r.type = getLe16(p);
    r.extra = getLe16(p + 2);
    r.value = getLe32(p + 4);
    r.mark = getLe32(p + 8);
    r.reserved = getLe32(p + 12);
    return r;
}

void KeyRecord::writeTo(std::span<std::uint8_t, kSize> bytes) const {
    std::uint8_t* p = bytes.data();
    putLe16(p, type);
    putLe16(p + 2, extra);
    putLe32(p + 4, value);
    putLe32(p + 8, mark);
    putLe32(p + 12, reserved);
}

} // namespace ombrel
