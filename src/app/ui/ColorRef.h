#pragma once
// Colours as the skin and the lighting code store them: a 32-bit value with red in the low byte (0x00BBGGRR).

#include <QColor>

#include <cstdint>

namespace ombrel {

inline QColor ColorFromRef(std::uint32_t ref) {
    return QColor(static_cast<int>(ref & 0xFFu), static_cast<int>((ref >> 8) & 0xFFu),
                  static_cast<int>((ref >> 16) & 0xFFu));
}

inline std::uint32_t RefFromColor(const QColor& c) {
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
           (static_cast<std::uint32_t>(c.blue()) << 16);
}

} // namespace ombrel
