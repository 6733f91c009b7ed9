#include "keys/KeyCodeText.h"

#include "text/WholeNumber.h"

#include <cstdio>

namespace ombrel {

std::optional<KeyCode> ParseHexKeyCode(std::string_view text) {
    if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return std::nullopt;
    const auto value = ParseWholeNumber(text);
    if (!value || *value > 0xFFFF) return std::nullopt;
    return static_cast<KeyCode>(*value);
}

std::string HexKeyCode(unsigned code) {
    char s[16];
    std::snprintf(s, sizeof s, "0x%03X", code);
    return s;
}

std::string KeyIndexText(KeyIndex index) {
    if (index >= kFirstGKeyIndex && index < kFirstGKeyIndex + kGKeySlots) {
        const int m = index - kFirstGKeyIndex;
        return "G" + std::to_string(m % kGKeysPerBank + 1) + (m >= kGKeysPerBank ? "B" : "");
    }
    return HexKeyCode(KeyCodeOf(index));
}

} // namespace ombrel
