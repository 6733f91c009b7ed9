#include "keyboardfile/UnfinishedWrite.h"

#include "device/LinkResult.h"
#include "keyboardfile/KeyCodeNames.h"
#include "keyboardfile/KeyboardFileReader.h"
#include "keyboardfile/SetupDifference.h"
#include "text/FileBytes.h"

namespace ombrel {

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
    out.snapshot = *record;
    out.canFinish = !record->intendedPath.empty();
    KeyboardSetup now;
    std::string what;
    if (const int r = ReadKeyboardSetup(places, now, &what); r != LINK_OK) {
        out.state = UnfinishedWrite::State::Unknown;
        out.why = what + ": " + LinkResultDescription(r);
        return out;
    }
    // The intended state first: a write meant to change nothing has gone through as well as not started.
    if (out.canFinish && SetupHoldsFile(now, record->intendedPath).value_or(false)) {
        history.finish(record->number);
        out.state = UnfinishedWrite::State::Done;
        return out;
    }
    const auto before = SetupHoldsFile(now, record->path);
    if (!before) {
        out.state = UnfinishedWrite::State::Unknown;
        out.why = "the snapshot " + record->path + " cannot be read";
        return out;
    }
    if (*before) {
        // The keyboard never took any of it: the snapshot holds nothing the history needs.
        history.discard(record->number);
        out.state = UnfinishedWrite::State::NeverStarted;
        return out;
    }
    out.state = UnfinishedWrite::State::Partial;
    return out;
}

} // namespace ombrel
