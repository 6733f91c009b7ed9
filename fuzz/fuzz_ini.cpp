// INI documents from hostile bytes: parsing, lookups of names taken from the input, and an edit that must read
// back as written and leave a document that parses again.
#include "text/IniDocument.h"
#include "text/Utf8.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size); // NOLINT: bytes viewed as chars
    const ombrel::IniDocument doc = ombrel::IniDocument::fromBytes(bytes);

    // Names and a value cut from the input, so they sometimes match what the document holds.
    const std::string_view section = bytes.substr(0, bytes.size() / 8);
    const std::string_view key = bytes.substr(bytes.size() / 8, bytes.size() / 8);
    const std::string_view value = bytes.substr(bytes.size() / 4, bytes.size() / 4);

    const std::string read = doc.readString(section, key, value);
    if (read.size() > 4 * ombrel::IniDocument::kMaxValueChars) std::abort();
    (void)doc.find("TEXT", "MAIN_CAPTION");

    ombrel::IniDocument edited = doc;
    if (edited.setValue(section, key, value)) {
        const ombrel::IniDocument again = ombrel::IniDocument::fromBytes(edited.toBytes());
        const auto stored = again.find(section, key);
        if (!stored) std::abort();
        // The value reads back as written, up to the replacement of bytes that are not UTF-8.
        if (*stored != ombrel::Utf8Sanitize(value)) std::abort();
    }
    return 0;
}
