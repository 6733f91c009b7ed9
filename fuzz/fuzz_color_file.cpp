// User colour files from hostile bytes: every lookup stays in range, and an entry that parses writes back to
// the same text's meaning.
#include "lighting/ColorFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ombrel;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size); // NOLINT: bytes viewed as chars
    const IniDocument doc = IniDocument::fromBytes(bytes);
    const ColorFileView file(doc);
    const int current = file.currentPattern();
    if (current < 0 || current >= kPatternCount) std::abort();
    for (int p = 0; p < kPatternCount; ++p) {
        (void)file.patternName(p);
        const PatternSettings s = file.settings(p);
        if (s.tool != PaintTool::Brush && s.tool != PaintTool::Base) std::abort();
        (void)file.entries(p);
    }
    if (const auto entry = ParseColorEntry(bytes)) {
        if (ParseColorEntry(FormatColorEntry(*entry)) != entry) std::abort();
    }
    if (const auto color = ParseColor(bytes)) {
        if (ParseColor(FormatColor(*color)) != color) std::abort();
    }
    return 0;
}
