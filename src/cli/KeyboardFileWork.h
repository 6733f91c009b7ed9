#pragma once
// The whole keyboard as a keyboard file, and a keyboard file applied to it: what ombrelctl export and apply and
// the program's bus service share, so the text and the refusals are the same whichever way a script goes.

#include "keyboardfile/KeyboardFileReader.h"
#include "keyboardfile/KeyboardSetupIo.h"
#include "keyboardfile/SetupNames.h"

#include <optional>
#include <string>
#include <vector>

namespace ombrel::cli {

// The keyboard file of `setup`, or of profile `profile` (0..2) alone, as ombrelctl export writes it.
std::string ExportKeyboardText(const KeyboardSetup& setup, std::optional<int> profile, const SetupNames& names);

struct ApplyOutcome {
    enum class Stage {
        ReadFailed,  // the keyboard could not be read: `result`, what failed in `why`
        Refused,     // the file cannot be applied (`problems`); nothing was written
        WriteFailed, // `result`, with what failed in `why`
        Done,        // written, or with a dry run only worked out
    };
    Stage stage = Stage::Done;
    int result = 0;
    std::string why;
    std::vector<FileProblem> problems;
    std::vector<std::string> difference; // what changed (or would): empty when the keyboard already matched
};

// Makes the keyboard match `read`, writing only what differs, in one write group; with `dryRun` nothing is
// written and `difference` says what would change.
ApplyOutcome ApplyKeyboardSetup(SetupPlaces& places, const KeyboardFileRead& read, const SetupNames& names,
                                bool dryRun);

// "LINE:COLUMN: what is wrong", one line for each problem.
std::string DescribeProblems(const std::vector<FileProblem>& problems, const std::string& prefix = {});

} // namespace ombrel::cli
