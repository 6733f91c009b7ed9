#include "WholeNumber.h"

#include <charconv>
#include <string_view>

namespace ombrel::cli {

std::optional<long> ParseWholeNumber(const std::string& text) {
    int base = 10;
    std::string_view digits(text);
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
    }
    // No sign: "-0" and "+1" are no forms of a count, and hexadecimal digits after 0x only.
    if (digits.empty() || digits[0] == '-' || digits[0] == '+') return std::nullopt;
    long value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (ec != std::errc() || end != digits.data() + digits.size() || value < 0) return std::nullopt;
    return value;
}

} // namespace ombrel::cli
