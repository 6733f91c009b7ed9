#pragma once
// A write the last run did not see through (killed, the machine suspended, the cable pulled), found again at the
// next start: the keyboard is read and put beside the state before the write and the state the write meant to
// leave. A keyboard that holds either one needs nobody's word and its record is settled at once; one that holds
// a mix is left for the user to finish or go back, since nothing is written to it unasked.

#include "keyboardfile/KeyboardSetupIo.h"
#include "keyboardfile/SetupApply.h"
#include "keyboardfile/WriteHistory.h"

#include <optional>
#include <string>

namespace ombrel {

struct UnfinishedWrite {
    enum class State {
        None,         // no write left unfinished
        Done,         // the keyboard holds what the write meant: it went through, only its end was not seen
        NeverStarted, // the keyboard holds what it held before: the write changed nothing
        Partial,      // the keyboard holds a mix: the user decides
        Unknown,      // the keyboard or the record could not be read; the record stays for another try
    };
    State state = State::None;
    HistorySnapshot snapshot; // the write's record (its snapshot, time and writer)
    bool canFinish = false;   // the record says what the write meant to leave
    std::string why;          // for Unknown
};

// Looks at the newest unfinished write of `history` and settles it when the keyboard holds either end of it.
UnfinishedWrite CheckUnfinishedWrite(SetupPlaces& places, WriteHistory& history);

// The plan that finishes the write of `record`: its intended state applied. The per-key colours the write changes
// are written again whatever the colour files say: the files are saved before the keyboard, so they may hold what
// the keyboard never got. LINK_OK with the plan (which may list problems), else what failed in `why`.
int PlanFinishingWrite(SetupPlaces& places, const HistorySnapshot& record, const SetupNames& names, ApplyPlan& plan,
                       std::string* why);

// Whether the keyboard `now` holds what the keyboard file at `path` names (nothing when it cannot be read).
std::optional<bool> SetupHoldsFile(const KeyboardSetup& now, const std::string& path);

} // namespace ombrel
