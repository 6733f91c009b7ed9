#include "keyboard/KeyTable.h"

namespace ombrel {
namespace {

// Consumer-page usages (page 0x0C) of the media functions; row n belongs to key-table usage 0xC0 + n. The rows
// from 18 on (among them the zoom and office rows 0xD2..0xD5) have no consumer usage.
constexpr std::array<std::uint16_t, 32> kConsumerTable = {
    0x00E9, // 0: Volume Increment
    0x00EA, // 1: Volume Decrement
    0x0183, // 2: AL Consumer Control Configuration (media player)
    0x018A, // 3: AL Email Reader
    0x0192, // 4: AL Calculator
    0x0194, // 5: AL Local Machine Browser
    0x0221, // 6: AC Search
    0x0223, // 7: AC Home
    0x0224, // 8: AC Back
    0x0225, // 9: AC Forward
    0x0226, // 10: AC Stop
    0x0227, // 11: AC Refresh
    0x022A, // 12: AC Bookmarks
    0x00E2, // 13: Mute
    0x00CD, // 14: Play/Pause
    0x00B7, // 15: Stop
    0x00B6, // 16: Scan Previous Track
    0x00B5, // 17: Scan Next Track
};

} // namespace

const std::array<std::uint16_t, 32>& ConsumerTable() {
    return kConsumerTable;
}

} // namespace ombrel
