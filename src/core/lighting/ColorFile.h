#pragma once
// A user colour file: the three named per-key colour patterns of one profile, an INI file.
//
//   [PRESENTMODE]  mode=N              the pattern in use, 0..2
//   [MODENAME]     0=NAME 1=... 2=...  the patterns' names
//   [ModeN]        SLOT=R,G,B,F        colour slot SLOT (0..125): red, green, blue 0..255 and the base flag
//                  tool=T              0 brush, 1 base colour
//                  jcolor=R,G,B        the base colour
//                  color=R,G,B         the brush colour
//
// Whatever is missing or malformed reads as its default: pattern 0, names "0", every slot red carrying the base
// colour, the brush tool, both colours black.

#include "lighting/KeySlots.h"
#include "text/IniDocument.h"
#include "util/Rgb.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace ombrel {

inline constexpr int kPatternCount = 3;
inline constexpr std::size_t kMaxPatternNameChars = 260;

enum class PaintTool { Brush = 0, Base = 1 };

struct ColorEntry {
    Rgb color{255, 0, 0};
    bool base = true; // the slot carries the base colour (a base-colour change repaints it)

    bool operator==(const ColorEntry&) const = default;
};

struct PatternSettings {
    PaintTool tool = PaintTool::Brush;
    Rgb baseColor;
    Rgb brushColor;

    bool operator==(const PatternSettings&) const = default;
};

// "R,G,B,F": four whole numbers, the colours 0..255; a flag other than 0 counts as set.
std::optional<ColorEntry> ParseColorEntry(std::string_view text);
// "R,G,B", each 0..255.
std::optional<Rgb> ParseColor(std::string_view text);
std::string FormatColorEntry(const ColorEntry& entry);
std::string FormatColor(Rgb color);

// Looks up a parsed colour file; a missing file is an empty document.
class ColorFileView {
public:
    explicit ColorFileView(const IniDocument& doc) : m_doc(doc) {}

    int currentPattern() const;
    std::string patternName(int pattern) const;
    PatternSettings settings(int pattern) const;
    ColorEntry entry(int pattern, int slot) const;
    std::array<ColorEntry, kColorSlotCount> entries(int pattern) const;

private:
    const IniDocument& m_doc;
};

// Why the colour file at `path` cannot serve as one (it cannot be read, or holds no colour pattern), for a
// warning; empty when it is sound or missing (a missing file is seeded, not damaged).
std::string ColorFileDamage(const std::string& path);

// Section and key names.
std::string PatternSection(int pattern);
inline constexpr std::string_view kCurrentPatternSection = "PRESENTMODE";
inline constexpr std::string_view kCurrentPatternKey = "mode";
inline constexpr std::string_view kPatternNameSection = "MODENAME";

} // namespace ombrel
