#pragma once
// A colour as red, green and blue bytes: the keyboard, the colour files and the program's palette all carry it so.

#include <cstdint>

namespace ombrel {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    // The 32-bit form the screen code uses, red in the low byte (0x00BBGGRR).
    constexpr std::uint32_t ref() const {
        return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) |
               (static_cast<std::uint32_t>(b) << 16);
    }
    static constexpr Rgb fromRef(std::uint32_t ref) {
        return {static_cast<std::uint8_t>(ref & 0xFF), static_cast<std::uint8_t>((ref >> 8) & 0xFF),
                static_cast<std::uint8_t>((ref >> 16) & 0xFF)};
    }
    // Each component times level / 255, rounded towards zero.
    constexpr Rgb scaled(std::uint8_t level) const {
        return {static_cast<std::uint8_t>(r * level / 255), static_cast<std::uint8_t>(g * level / 255),
                static_cast<std::uint8_t>(b * level / 255)};
    }

    constexpr bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kBlack{0, 0, 0};

} // namespace ombrel
