#pragma once
// Where rotated button text goes: the rule centres the text's rotated extent in the button.

namespace ombrel {

struct TextBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// `escapement` in tenths of a degree, (cx, cy) the unrotated text extent. When the rotated horizontal extent
// cx*cos is narrower than the box, the left edge moves to centre it; when the vertical extent cx*sin is lower than
// the box, the bottom edge moves up by the spare half and down by half the text height. Results are truncated.
TextBox PlaceRotatedText(const TextBox& box, int escapement, int cx, int cy);

} // namespace ombrel
