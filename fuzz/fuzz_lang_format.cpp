// Language texts used as formats, from hostile bytes: whatever the text says, the formatter fills at most one
// conversion and never writes more than the text, the argument and the padding it asks for; a text with named
// fields grows by at most the values, once per field it names.
#include "text/NamedFields.h"
#include "text/SafeFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view format(reinterpret_cast<const char*>(data + 1), size - 1); // NOLINT: bytes as chars
    // Values across the whole range: the first byte repeated, inverted for odd bytes (negative numbers).
    const std::uint64_t pattern = data[0] * 0x0101010101010101ULL;
    const auto value = static_cast<long long>((data[0] & 1) ? ~pattern : pattern);

    const std::size_t conversions = ombrel::ListConversions(format).size();
    // Each filled conversion adds at most the field limit (or the argument) plus a sign and a prefix.
    const std::size_t bound = format.size() + 3 * ombrel::kMaxFieldWidth + 64;
    if (ombrel::FormatTextInt(format, value).size() > bound) std::abort();
    if (ombrel::FormatTextString(format, format).size() > bound + format.size() * 3) std::abort();
    (void)conversions;

    // Each "{a}" is at least three bytes and takes at most the longest value (4 bytes) in their place.
    const std::string filled = ombrel::FillNamedFields(format, {{"a", "four"}, {"", "v"}, {"to", "{to}"}});
    if (filled.size() > format.size() * 2 + 1) std::abort();
    return 0;
}
