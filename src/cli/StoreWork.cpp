#include "StoreWork.h"

#include "device/ActiveProfile.h"

namespace ombrel::cli {

std::vector<KeyIndex> ProfileKeys() {
    std::vector<KeyIndex> keys;
    for (const KeyButton& b : KeyButtonTable())
        keys.push_back(KeyIndexOf(b.code));
    for (int m = 0; m < kGKeySlots; ++m)
        keys.push_back(static_cast<KeyIndex>(kFirstGKeyIndex + m));
    return keys;
}

int ProfileOrActive(StoreWork& work, const Args& args, int& profile) {
    if (!args.empty()) {
        const auto p = parseProfile(args[0]);
        if (!p) return kExitUsage;
        profile = *p;
        return kExitOk;
    }
    profile = GetActiveProfile(work.commands(), work.state());
    return profile >= 0 && profile < kProfileCount ? kExitOk
                                                   : ReportResult("reading the active profile", LINK_NO_REPLY);
}

} // namespace ombrel::cli
