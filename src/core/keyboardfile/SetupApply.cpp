#include "keyboardfile/SetupApply.h"

#include "device/LinkResult.h"

#include <algorithm>

namespace ombrel {

int PlanSetupApply(SetupPlaces& places, const KeyboardFileRead& read, const SetupNames& names, ApplyPlan& plan,
                   std::string* what) {
    plan = ApplyPlan();
    if (!read.setup) {
        plan.problems = read.problems;
        return LINK_OK;
    }
    if (const int r = ReadKeyboardSetup(places, plan.current, what); r != LINK_OK) return r;
    // Macro keys of a file without macros play what the keyboard holds.
    if (!read.setup->macros)
        for (const MacroReference& ref : read.macroReferences) {
            const auto& held = *plan.current.macros;
            if (std::none_of(held.begin(), held.end(), [&](const SetupMacro& m) { return m.id == ref.id; }))
                plan.problems.push_back(
                    {ref.line, ref.column,
                     "the keyboard holds no macro with id " + std::to_string(ref.id) + " (see ombrelctl macro list)"});
        }
    plan.wanted = MergeSetup(plan.current, *read.setup);
    std::string why;
    if (!RenumberMacros(plan.wanted, &why)) plan.problems.push_back({read.macrosAt.line, read.macrosAt.column, why});
    const unsigned capacity = places.state.macroCapacity.load();
    if (const std::size_t needed = MacroBytesNeeded(plan.wanted); capacity != 0 && needed > capacity)
        plan.problems.push_back({read.macrosAt.line, read.macrosAt.column,
                                 "the macros need " + std::to_string(needed) +
                                     " bytes but the keyboard's macro memory holds " + std::to_string(capacity) +
                                     "; shorten or delete some macros"});
    if (plan.problems.empty()) plan.difference = CompareSetups(plan.current, plan.wanted, names);
    return LINK_OK;
}

int CarryOutApply(SetupPlaces& places, const ApplyPlan& plan, std::string* why) {
    return WriteKeyboardSetup(places, plan.current, plan.wanted, plan.difference, why);
}

} // namespace ombrel
