#include "StoreWork.h"

#include "device/ActiveProfile.h"

namespace ombrel::cli {

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
