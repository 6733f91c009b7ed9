#include "text/SafeFormat.h"

#include "text/Utf8.h"

#include <cstdint>
#include <optional>

namespace ombrel {

namespace {

// One '%' sequence of a text as it was written.
struct Conversion {
    std::size_t length = 1; // bytes from the '%' on, including the conversion character when there is one
    ConversionKind kind = ConversionKind::Other;
    bool isPercent = false; // "%%"
    bool leftAlign = false;
    bool plus = false;
    bool space = false;
    bool alternate = false;
    bool zeroPad = false;
    std::size_t width = 0;
    std::optional<std::size_t> precision;
    unsigned bits = 32; // integer conversions: how many bits of the value are shown
    char type = 0;
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads a run of digits at `pos`; nothing when the number exceeds kMaxFieldWidth.
std::optional<std::size_t> readNumber(std::string_view text, std::size_t& pos) {
    std::size_t number = 0;
    bool tooLarge = false;
    while (pos < text.size() && isDigit(text[pos])) {
        number = number * 10 + static_cast<std::size_t>(text[pos] - '0');
        if (number > kMaxFieldWidth) {
            tooLarge = true;
            number = kMaxFieldWidth + 1;
        }
        ++pos;
    }
    if (tooLarge) return std::nullopt;
    return number;
}

// Parses the sequence that starts with the '%' at `start`.
Conversion parseConversion(std::string_view text, std::size_t start) {
    Conversion conv;
    std::size_t pos = start + 1;
    if (pos < text.size() && text[pos] == '%') {
        conv.isPercent = true;
        conv.length = 2;
        return conv;
    }
    bool valid = true;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '-')
            conv.leftAlign = true;
        else if (c == '+')
            conv.plus = true;
        else if (c == ' ')
            conv.space = true;
        else if (c == '#')
            conv.alternate = true;
        else if (c == '0')
            conv.zeroPad = true;
        else
            break;
    }
    if (const auto width = readNumber(text, pos))
        conv.width = *width;
    else
        valid = false;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        if (const auto precision = readNumber(text, pos))
            conv.precision = *precision;
        else
            valid = false;
    }
    std::string_view modifier;
    for (const std::string_view candidate : {"hh", "h", "ll", "l", "j", "z", "t"}) {
        if (text.substr(pos).starts_with(candidate)) {
            modifier = candidate;
            pos += candidate.size();
            break;
        }
    }
    if (pos >= text.size()) {
        conv.length = pos - start;
        return conv; // cut off: shown as written
    }
    conv.type = text[pos];
    conv.length = pos - start + 1;
    if (!valid) return conv;
    switch (conv.type) {
    case 'd':
    case 'i':
    case 'u':
    case 'x':
    case 'X':
    case 'o':
        conv.kind = ConversionKind::Integer;
        conv.bits = modifier == "hh" ? 8 : modifier == "h" ? 16 : modifier.empty() ? 32 : 64;
        break;
    case 's':
        if (modifier.empty() || modifier == "l") conv.kind = ConversionKind::String;
        break;
    default:
        break;
    }
    return conv;
}

void pad(std::string& out, std::size_t count, char c) {
    out.append(count, c);
}

std::string formatInteger(const Conversion& conv, long long value) {
    const bool isSigned = conv.type == 'd' || conv.type == 'i';
    const std::uint64_t mask = conv.bits >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << conv.bits) - 1;
    std::uint64_t magnitude = static_cast<std::uint64_t>(value) & mask;
    bool negative = false;
    if (isSigned && conv.bits < 64 && (magnitude >> (conv.bits - 1)) != 0) {
        negative = true;
        magnitude = ((~magnitude) & mask) + 1; // two's complement within the shown width
    } else if (isSigned && conv.bits >= 64 && value < 0) {
        negative = true;
        magnitude = ~static_cast<std::uint64_t>(value) + 1;
    }

    const unsigned base = conv.type == 'o' ? 8 : (conv.type == 'x' || conv.type == 'X') ? 16 : 10;
    const char* digitChars = conv.type == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string digits;
    for (std::uint64_t rest = magnitude; rest != 0; rest /= base)
        digits.insert(digits.begin(), digitChars[rest % base]);
    if (magnitude == 0 && !(conv.precision && *conv.precision == 0)) digits = "0";
    if (conv.precision && digits.size() < *conv.precision) digits.insert(0, *conv.precision - digits.size(), '0');
    if (conv.alternate && base == 8 && (digits.empty() || digits.front() != '0')) digits.insert(digits.begin(), '0');

    std::string prefix;
    if (isSigned) {
        if (negative)
            prefix = "-";
        else if (conv.plus)
            prefix = "+";
        else if (conv.space)
            prefix = " ";
    }
    if (conv.alternate && base == 16 && magnitude != 0) prefix += conv.type == 'X' ? "0X" : "0x";

    const std::size_t used = prefix.size() + digits.size();
    const std::size_t fill = conv.width > used ? conv.width - used : 0;
    std::string out;
    if (conv.leftAlign) {
        out = prefix + digits;
        pad(out, fill, ' ');
    } else if (conv.zeroPad && !conv.precision) {
        out = prefix;
        pad(out, fill, '0');
        out += digits;
    } else {
        pad(out, fill, ' ');
        out += prefix + digits;
    }
    return out;
}

std::string formatString(const Conversion& conv, std::string_view value) {
    const std::string clean = Utf8Sanitize(value);
    std::string_view shown = clean;
    if (conv.precision) shown = Utf8Prefix(shown, *conv.precision);
    const std::size_t chars = Utf8CharCount(shown);
    const std::size_t fill = conv.width > chars ? conv.width - chars : 0;
    std::string out;
    if (!conv.leftAlign) pad(out, fill, ' ');
    out += shown;
    if (conv.leftAlign) pad(out, fill, ' ');
    return out;
}

// Copies `text`, replacing the first conversion of kind `wanted` by what `fill` makes of it.
template <typename Fill>
std::string fillText(std::string_view text, ConversionKind wanted, Fill fill) {
    std::string out;
    out.reserve(text.size() + 16);
    bool filled = false;
    for (std::size_t pos = 0; pos < text.size();) {
        const auto percent = text.find('%', pos);
        if (percent == std::string_view::npos) {
            out += text.substr(pos);
            break;
        }
        out += text.substr(pos, percent - pos);
        const Conversion conv = parseConversion(text, percent);
        if (conv.isPercent) {
            out += '%';
        } else if (!filled && conv.kind == wanted) {
            out += fill(conv);
            filled = true;
        } else {
            out += text.substr(percent, conv.length);
        }
        pos = percent + conv.length;
    }
    return out;
}

} // namespace

std::vector<ConversionKind> ListConversions(std::string_view text) {
    std::vector<ConversionKind> kinds;
    for (std::size_t pos = text.find('%'); pos != std::string_view::npos;) {
        const Conversion conv = parseConversion(text, pos);
        if (!conv.isPercent) kinds.push_back(conv.kind);
        pos = text.find('%', pos + conv.length);
    }
    return kinds;
}

std::string FormatTextInt(std::string_view text, long long value) {
    return fillText(text, ConversionKind::Integer,
                    [value](const Conversion& conv) { return formatInteger(conv, value); });
}

std::string FormatTextString(std::string_view text, std::string_view value) {
    return fillText(text, ConversionKind::String,
                    [value](const Conversion& conv) { return formatString(conv, value); });
}

} // namespace ombrel
