#pragma once
// A control's rectangle in a skin layout file: "x,y,w,h" in the dialog's client pixels. Plain functions, no Qt, so
// the reading rules are tested and fuzzed on their own.

#include <string>
#include <string_view>

namespace ombrel {

// What a missing layout key reads as: the control lands at (1, 1), one pixel square.
inline constexpr std::string_view kDefaultSkinRectText = "1,1,1,1,x";
inline constexpr int kSkinTextLimit = 259; // the longest value the layout reader hands back

struct SkinRect {
    int x = 1;
    int y = 1;
    int w = 1;
    int h = 1;
    int fields = 0; // how many integers the value held (0..4)

    // Fewer than four integers, or the default position (1, 1) of a missing key: the control is placed at (1, 1)
    // and an image button is disabled.
    bool usable() const { return fields == 4 && !(x == 1 && y == 1); }
    bool operator==(const SkinRect&) const = default;
};

// Scans up to four integers separated by single commas, as "%d,%d,%d,%d" does: blanks may precede a number, a
// sign is allowed, anything after the fourth number is ignored. A value with fewer than four integers gives the
// default rectangle (1, 1, 1, 1) with `fields` telling how many were read; numbers out of the int range stop the
// scan there. Negative sizes are kept as read; callers clamp when they size a window.
SkinRect ParseSkinRect(std::string_view text);

// Reads `key` of `section` from the layout file at `layoutPath` (default "1,1,1,1,x") and parses it.
SkinRect ReadSkinRect(const std::string& layoutPath, std::string_view section, std::string_view key);

} // namespace ombrel
