#include "lighting/ColorFile.h"

#include "platform/IniFile.h"

#include <sys/stat.h>

#include <charconv>
#include <cstdio>
#include <vector>

namespace ombrel {

namespace {

// The whole numbers of a comma-separated list, blanks around each allowed; nothing when any is malformed or the
// count differs.
std::optional<std::vector<long>> parseNumbers(std::string_view text, std::size_t count) {
    std::vector<long> numbers;
    while (true) {
        const std::size_t comma = text.find(',');
        std::string_view field = text.substr(0, comma);
        while (!field.empty() && (field.front() == ' ' || field.front() == '\t'))
            field.remove_prefix(1);
        while (!field.empty() && (field.back() == ' ' || field.back() == '\t'))
            field.remove_suffix(1);
        if (!field.empty() && field.front() == '+') field.remove_prefix(1);
        long value = 0;
        const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
        if (field.empty() || ec != std::errc() || end != field.data() + field.size()) return std::nullopt;
        numbers.push_back(value);
        if (numbers.size() > count) return std::nullopt;
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    if (numbers.size() != count) return std::nullopt;
    return numbers;
}

bool isByte(long v) {
    return v >= 0 && v <= 255;
}

std::optional<Rgb> colorOf(const std::vector<long>& n) {
    if (!isByte(n[0]) || !isByte(n[1]) || !isByte(n[2])) return std::nullopt;
    return Rgb{static_cast<std::uint8_t>(n[0]), static_cast<std::uint8_t>(n[1]), static_cast<std::uint8_t>(n[2])};
}

} // namespace

std::optional<ColorEntry> ParseColorEntry(std::string_view text) {
    const auto numbers = parseNumbers(text, 4);
    if (!numbers) return std::nullopt;
    const auto color = colorOf(*numbers);
    if (!color) return std::nullopt;
    return ColorEntry{*color, (*numbers)[3] != 0};
}

std::optional<Rgb> ParseColor(std::string_view text) {
    const auto numbers = parseNumbers(text, 3);
    return numbers ? colorOf(*numbers) : std::nullopt;
}

std::string FormatColorEntry(const ColorEntry& e) {
    char s[32];
    std::snprintf(s, sizeof s, "%d,%d,%d,%d", e.color.r, e.color.g, e.color.b, e.base ? 1 : 0);
    return s;
}

std::string FormatColor(Rgb c) {
    char s[24];
    std::snprintf(s, sizeof s, "%d,%d,%d", c.r, c.g, c.b);
    return s;
}

std::string PatternSection(int pattern) {
    return "Mode" + std::to_string(pattern);
}

int ColorFileView::currentPattern() const {
    const std::string text = m_doc.readString(kCurrentPatternSection, kCurrentPatternKey, "0");
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 0 || value >= kPatternCount) return 0;
    return value;
}

std::string ColorFileView::patternName(int pattern) const {
    return m_doc.readString(kPatternNameSection, std::to_string(pattern), "0");
}

PatternSettings ColorFileView::settings(int pattern) const {
    const std::string section = PatternSection(pattern);
    PatternSettings s;
    if (m_doc.readString(section, "tool", "0") == "1") s.tool = PaintTool::Base;
    s.baseColor = ParseColor(m_doc.readString(section, "jcolor", "0,0,0")).value_or(kBlack);
    s.brushColor = ParseColor(m_doc.readString(section, "color", "0,0,0")).value_or(kBlack);
    return s;
}

ColorEntry ColorFileView::entry(int pattern, int slot) const {
    const auto text = m_doc.find(PatternSection(pattern), std::to_string(slot));
    return text ? ParseColorEntry(*text).value_or(ColorEntry{}) : ColorEntry{};
}

std::array<ColorEntry, kColorSlotCount> ColorFileView::entries(int pattern) const {
    std::array<ColorEntry, kColorSlotCount> all{};
    for (int s = 0; s < kColorSlotCount; ++s)
        all[static_cast<std::size_t>(s)] = entry(pattern, s);
    return all;
}

std::string ColorFileDamage(const std::string& path) {
    struct stat info {};
    // Missing, or empty as a folder seeded without a template leaves it: nothing there yet, nothing damaged.
    if (::stat(path.c_str(), &info) != 0 || (S_ISREG(info.st_mode) && info.st_size == 0)) return {};
    const auto doc = ReadIniDocument(path);
    if (!doc) return "it cannot be read";
    for (int p = 0; p < kPatternCount; ++p)
        if (doc->find(kPatternNameSection, std::to_string(p)) || doc->find(PatternSection(p), "0")) return {};
    return "it holds no colour pattern";
}

} // namespace ombrel
