#pragma once
// Where the key assignment dialog opens: beside the key that was clicked, on the side of the screen that has room,
// so the key stays visible.

namespace ombrel {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0; // exclusive
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// The top-left corner of a `width` x `height` dialog for a key button at `button` on `screen`: below right of the
// key when there is room there, else above right, else below left, else above left. When no side has room the
// dialog goes below right and is then moved back onto the screen as far as it fits.
ScreenPoint PlaceBesideKey(const ScreenRect& screen, const ScreenRect& button, int width, int height);

} // namespace ombrel
