#include "keys/Utf16Text.h"

#include "text/Utf8.h"

namespace ombrel {

// The stored formats hold UTF-16 in little-endian order, which is what the shared converters work on.

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(2 * text.size());
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return Utf16LeToUtf8(bytes);
}

std::u16string Utf8ToUtf16(std::string_view text) {
    const std::string bytes = Utf8ToUtf16Le(text);
    std::u16string out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return out;
}

} // namespace ombrel
