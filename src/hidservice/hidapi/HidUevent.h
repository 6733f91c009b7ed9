#pragma once
// The bus, vendor and product of a HID device from its sysfs "uevent" text: the line
// "HID_ID=0003:00000C45:00005204" (hexadecimal; the ids are 32 bits wide there, of which USB uses 16).
// Header-only so the fuzz target can use it without linking the service library.

#include <cstdint>
#include <optional>
#include <string_view>

namespace ombrel::hid {

struct HidId {
    std::uint32_t bus = 0;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

namespace detail {
// One hexadecimal field of at most 8 digits; nullopt when empty, too long or not hexadecimal.
inline std::optional<std::uint32_t> hexField(std::string_view text) {
    if (text.empty() || text.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return std::nullopt;
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return value;
}
} // namespace detail

inline std::optional<HidId> parseHidUevent(std::string_view uevent) {
    constexpr std::string_view kKey = "HID_ID=";
    while (!uevent.empty()) {
        const std::size_t end = uevent.find('\n');
        const std::string_view line = uevent.substr(0, end);
        uevent = end == std::string_view::npos ? std::string_view() : uevent.substr(end + 1);
        if (line.substr(0, kKey.size()) != kKey) continue;
        const std::string_view fields = line.substr(kKey.size());
        const std::size_t first = fields.find(':');
        const std::size_t second = first == std::string_view::npos ? first : fields.find(':', first + 1);
        if (second == std::string_view::npos) return std::nullopt;
        const auto bus = detail::hexField(fields.substr(0, first));
        const auto vendor = detail::hexField(fields.substr(first + 1, second - first - 1));
        const auto product = detail::hexField(fields.substr(second + 1));
        if (!bus || !vendor || !product || *vendor > 0xFFFF || *product > 0xFFFF) return std::nullopt;
        return HidId{*bus, static_cast<std::uint16_t>(*vendor), static_cast<std::uint16_t>(*product)};
    }
    return std::nullopt;
}

} // namespace ombrel::hid
