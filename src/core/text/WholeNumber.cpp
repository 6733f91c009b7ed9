#include "text/WholeNumber.h"

#include <charconv>

namespace ombrel {

std::optional<long long> ParseWholeNumber(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    // from_chars takes a minus sign for a signed type: "-0" and "0x-1" are no whole numbers.
    if (text.empty() || text[0] == '-' || text[0] == '+') return std::nullopt;
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<unsigned long> ParseDecimal(std::string_view text) {
    unsigned long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

} // namespace ombrel
