#pragma once
// The media functions a key can be given (value of a media assignment = row): the consumer usage the keyboard
// sends, and the key code whose key-table row names the function.

#include "keyboard/KeyTable.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace ombrel {

struct MediaRow {
    std::uint16_t usage;
    KeyCode code;
    std::string_view nameKey;
};

namespace detail {
inline constexpr std::array<MediaRow, 18> kMediaRows{{
    {0x0183, 0x16D, "MEDIA_PALYER_1"},
    {0x00CD, 0x122, "MEDIA_PALY_PAUSE_2"},
    {0x00B7, 0x124, "MEDIA_STOP_PALY_3"},
    {0x00B6, 0x110, "MEDIA_PREV_TRACK_4"},
    {0x00B5, 0x119, "MEDIA_Next_TRACK_5"},
    {0x00EA, 0x12E, "MEDIA_V_LOW_6"},
    {0x00E9, 0x130, "MEDIA_V_ADD_7"},
    {0x00E2, 0x120, "MEDIA_MUTE_8"},
    {0x0223, 0x132, "MEDIA_WWW_HOME_9"},
    {0x0227, 0x167, "MEDIA_WWW_REFRESH_10"},
    {0x0226, 0x168, "MEDIA_WWW_STOP_11"},
    {0x0224, 0x16A, "MEDIA_WWW_BACK_12"},
    {0x0225, 0x169, "MEDIA_WWW_FORWARD_13"},
    {0x022A, 0x166, "MEDIA_WWW_FAVORITE_14"},
    {0x0221, 0x165, "MEDIA_WWW_SEARCH_15"},
    {0x0194, 0x16B, "MEDIA_MY_PC_16"},
    {0x0192, 0x121, "MEDIA_CALC_17"},
    {0x018A, 0x16C, "MEDIA_MAIL_18"},
}};
} // namespace detail

constexpr const std::array<MediaRow, 18>& MediaTable() {
    return detail::kMediaRows;
}

constexpr std::optional<int> MediaRowOfUsage(std::uint16_t usage) {
    for (std::size_t r = 0; r < MediaTable().size(); ++r)
        if (MediaTable()[r].usage == usage) return static_cast<int>(r);
    return std::nullopt;
}

constexpr bool IsMediaKey(KeyCode code) {
    for (const MediaRow& row : MediaTable())
        if (row.code == code) return true;
    return false;
}

} // namespace ombrel
