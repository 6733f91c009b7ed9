#include "KeyboardFileWork.h"

#include "device/LinkResult.h"
#include "keyboardfile/KeyboardFileWriter.h"
#include "keyboardfile/SetupApply.h"

namespace ombrel::cli {

std::string ExportKeyboardText(const KeyboardSetup& setup, std::optional<int> profile, const SetupNames& names) {
    constexpr const char* kHeader = "The keyboard's setup, written by ombrelctl export; see ombrel-keyboard(5).\n"
                                    "Apply it with: ombrelctl apply FILE";
    if (!profile) return WriteKeyboardFile(setup, names, kHeader);
    // One profile alone: the macros stay with the keyboard, as the other profiles may play them.
    KeyboardSetup one;
    one.profiles[static_cast<std::size_t>(*profile)] = setup.profiles[static_cast<std::size_t>(*profile)];
    return WriteKeyboardFile(one, names, kHeader);
}

ApplyOutcome ApplyKeyboardSetup(SetupPlaces& places, const KeyboardFileRead& read, const SetupNames& names,
                                bool dryRun) {
    ApplyOutcome out;
    ApplyPlan plan;
    if (const int r = PlanSetupApply(places, read, names, plan, &out.why); r != LINK_OK) {
        out.stage = ApplyOutcome::Stage::ReadFailed;
        out.result = r;
        return out;
    }
    if (!plan.problems.empty()) {
        out.stage = ApplyOutcome::Stage::Refused;
        out.problems = plan.problems;
        return out;
    }
    out.difference = plan.difference.lines;
    if (dryRun || plan.difference.empty()) return out;
    if (const int r = CarryOutApply(places, plan, &out.why); r != LINK_OK) {
        out.stage = ApplyOutcome::Stage::WriteFailed;
        out.result = r;
    }
    return out;
}

std::string DescribeProblems(const std::vector<FileProblem>& problems, const std::string& prefix) {
    std::string text;
    for (const FileProblem& p : problems)
        text += (text.empty() ? "" : "\n") + prefix + DescribeProblem(p);
    return text;
}

} // namespace ombrel::cli
