#include "keyboardfile/UnfinishedWrite.h"

#include "device/LinkResult.h"
#include "keyboardfile/KeyCodeNames.h"
#include "keyboardfile/KeyboardFileReader.h"
#include "keyboardfile/SetupDifference.h"
#include "text/FileBytes.h"

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace ombrel {

namespace {

std::optional<KeyboardSetup> readFile(const std::string& path) {
    const FileBytes file = ReadFileBytes(path);
    if (file.status != FileBytes::Status::Ok) return std::nullopt;
    return ReadKeyboardFile(file.bytes, KeyCodeNames()).setup;
}

// Whether the write from `before` to `intended` changes the per-key colours of some profile. The keyboard cannot
// give those back, so reading it cannot tell whether they reached it.
bool changesColors(const KeyboardSetup& before, const KeyboardSetup& intended) {
    for (std::size_t p = 0; p < before.profiles.size(); ++p)
        if (before.profiles[p].patterns != intended.profiles[p].patterns ||
            before.profiles[p].currentPattern != intended.profiles[p].currentPattern)
            return true;
    return false;
}

} // namespace

std::optional<bool> SetupHoldsFile(const KeyboardSetup& now, const std::string& path) {
    const FileBytes file = ReadFileBytes(path);
    if (file.status != FileBytes::Status::Ok) return std::nullopt;
    const KeyCodeNames names;
    const KeyboardFileRead read = ReadKeyboardFile(file.bytes, names);
    if (!read.setup) return std::nullopt;
    // Compared as an apply of the file would compare it: what an apply would not write counts as held.
    KeyboardSetup wanted = MergeSetup(now, *read.setup);
    std::string why;
    if (!RenumberMacros(wanted, &why)) return std::nullopt;
    return CompareSetups(now, wanted, names).empty();
}

UnfinishedWrite CheckUnfinishedWrite(SetupPlaces& places, WriteHistory& history) {
    UnfinishedWrite out;
    // Only the newest write counts: one that went through after a cut-off write replaced what that one left, and
    // finishing the older one now would undo the newer.
    const auto all = history.list();
    if (all.empty() || !all.back().interrupted) return out;
    const HistorySnapshot* record = &all.back();
    // Another program's write under way is no write cut off (its mark goes when it ends).
    if (record->writerProcess > 0 && record->writerProcess != ::getpid() &&
        (::kill(record->writerProcess, 0) == 0 || errno == EPERM))
        return out;
    out.snapshot = *record;
    out.canFinish = !record->intendedPath.empty();
    KeyboardSetup now;
    std::string what;
    if (const int r = ReadKeyboardSetup(places, now, &what); r != LINK_OK) {
        out.state = UnfinishedWrite::State::Unknown;
        out.why = what + ": " + LinkResultDescription(r);
        return out;
    }
    // The intended state first: a write meant to change nothing has gone through as well as not started. Colour
    // files that hold the new colours do not say the keyboard got them; they do say it did not when they hold the
    // old ones (they are saved first).
    const auto before = readFile(record->path);
    const auto intended = out.canFinish ? readFile(record->intendedPath) : std::nullopt;
    if (intended && before && !changesColors(*before, *intended) &&
        SetupHoldsFile(now, record->intendedPath).value_or(false)) {
        history.finish(record->number);
        out.state = UnfinishedWrite::State::Done;
        return out;
    }
    const auto holdsBefore = before ? SetupHoldsFile(now, record->path) : std::nullopt;
    if (!holdsBefore) {
        out.state = UnfinishedWrite::State::Unknown;
        out.why = "the snapshot " + record->path + " cannot be read";
        return out;
    }
    if (*holdsBefore) {
        // The keyboard never took any of it: the snapshot holds nothing the history needs.
        history.discard(record->number);
        out.state = UnfinishedWrite::State::NeverStarted;
        return out;
    }
    out.state = UnfinishedWrite::State::Partial;
    return out;
}

int PlanFinishingWrite(SetupPlaces& places, const HistorySnapshot& record, const SetupNames& names, ApplyPlan& plan,
                       std::string* why) {
    const KeyboardFileRead read = ReadKeyboardFile(ReadFileBytes(record.intendedPath).bytes, KeyCodeNames());
    if (const int r = PlanSetupApply(places, read, names, plan, why); r != LINK_OK) return r;
    const auto before = readFile(record.path);
    if (!plan.problems.empty() || !before) return LINK_OK;
    // The colours as the snapshot has them stand for the keyboard's: where the write changes them, they are
    // written whatever the files hold now.
    for (std::size_t p = 0; p < plan.current.profiles.size(); ++p) {
        const ProfileSetup& old = before->profiles[p];
        const ProfileSetup& wanted = plan.wanted.profiles[p];
        if (old.patterns == wanted.patterns && old.currentPattern == wanted.currentPattern) continue;
        plan.current.profiles[p].patterns = old.patterns;
        plan.current.profiles[p].currentPattern = old.currentPattern;
    }
    plan.difference = CompareSetups(plan.current, plan.wanted, names);
    return LINK_OK;
}

} // namespace ombrel
