#include "KeyPaint.h"

#include "device/LinkResult.h"
#include "keyboard/KeyTable.h"
#include "text/NameMatcher.h"

namespace ombrel::cli {

std::optional<int> PaintableControl(const std::string& text, const KeyNames& names, std::string* error) {
    if (NormaliseName(text) == "fn") return kFnControl;
    const KeyArgumentLookup found = LookupKeyArgument(text, names);
    const auto index = found.index;
    if (index && *index >= kFirstGKeyIndex) {
        *error = "the G keys cannot be painted one by one: they show the base colour (change it with 'colors base')";
        return std::nullopt;
    }
    if (index)
        for (const KeyButton& b : KeyButtonTable())
            if (b.code == KeyCodeOf(*index)) return b.control;
    *error = "'" + text + "' is not a key of the keyboard map (a key name, a hexadecimal key code or Fn)" +
             (found.hint.empty() ? "" : "; ") + found.hint;
    return std::nullopt;
}

int PaintControl(UserPatterns& patterns, int control, Rgb color, bool base) {
    // The colours and the tool saved, and the key painted: one change to take back.
    const WriteGroup group(patterns.commands(), WriteGroup::Observe::Now);
    int r = LINK_OK;
    if (base) {
        r = patterns.setBaseColor(color);
        patterns.setTool(PaintTool::Base);
    } else {
        patterns.setBrushColor(color);
        patterns.setTool(PaintTool::Brush);
    }
    const int painted = patterns.paintControl(control);
    return r == LINK_OK ? painted : r;
}

} // namespace ombrel::cli
