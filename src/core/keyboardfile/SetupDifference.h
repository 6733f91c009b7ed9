#pragma once
// What changes from one keyboard setup to another, one line per change in the window's words
// ("Profile 1, Caps Lock: Key (Esc) -> Disabled"), and which areas of the keyboard's memory that touches.

#include "keyboardfile/ChangeWords.h"
#include "keyboardfile/KeyboardSetup.h"
#include "keyboardfile/SetupNames.h"

#include <array>
#include <string>
#include <vector>

namespace ombrel {

struct SetupDifference {
    std::vector<std::string> lines;
    bool macros = false;
    std::array<bool, kProfileCount> keys{};
    std::array<bool, kProfileCount> lighting{};
    std::array<bool, kProfileCount> colors{};

    bool empty() const { return lines.empty(); }
};

// `to` is compared with `from` where both name something; what only one of them names is no change. The lines
// are in `words`, English unless the caller shows another language.
SetupDifference CompareSetups(const KeyboardSetup& from, const KeyboardSetup& to, const SetupNames& names,
                              const ChangeWords& words = ChangeWords());

} // namespace ombrel
