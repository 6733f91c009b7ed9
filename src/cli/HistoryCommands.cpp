#include "HistoryCommands.h"

#include "CliSetupNames.h"
#include "CliTexts.h"
#include "KeyboardFileCommands.h"
#include "device/LinkResult.h"
#include "keyboardfile/KeyCodeNames.h"
#include "keyboardfile/SetupDifference.h"
#include "keyboardfile/UnfinishedWrite.h"
#include "keyboardfile/WriteHistory.h"
#include "platform/AppPaths.h"
#include "profiles/ProfileStore.h"
#include "text/FileBytes.h"
#include "text/WholeNumber.h"

#include <cstdio>
#include <cstring>
#include <limits>

namespace ombrel::cli {

namespace {

WriteHistory historyOf(const CliSession& s) {
    return WriteHistory(HistorySettingsFor(s.paths(), s.options().emulator, "ombrelctl").folder);
}

// The newest write's record, looked at against the keyboard (see CheckUnfinishedWrite).
UnfinishedWrite checkUnfinished(CliSession& s, WriteHistory& history) {
    NullScreen quiet;
    // Read as the history reads before a write, so a snapshot and the keyboard name unnamed macros alike.
    const auto settings = ProcessHistory();
    SetupPlaces places{s.commands(), s.link().state(),         quiet, settings ? settings->text : TextLookup(),
                       "",           s.paths().userColorPrefix};
    return CheckUnfinishedWrite(places, history);
}

void describeUnfinished(const UnfinishedWrite& u) {
    const HistorySnapshot& h = u.snapshot;
    if (u.state == UnfinishedWrite::State::Unknown) {
        std::fprintf(stderr,
                     "ombrelctl: the write of %s (%s, history %d) was not seen through, and it cannot be checked now "
                     "(%s)\n",
                     h.time.c_str(), h.writer.c_str(), h.number, u.why.c_str());
    } else {
        std::fprintf(stderr, "ombrelctl: the write of %s (%s, history %d) was cut off: the keyboard holds part of it\n",
                     h.time.c_str(), h.writer.c_str(), h.number);
    }
    if (u.canFinish) std::fprintf(stderr, "  finish it:               ombrelctl history finish\n");
    std::fprintf(stderr, "  go back to before it:    ombrelctl history restore %d\n", h.number);
    std::fprintf(stderr, "  keep the keyboard as is: ombrelctl history dismiss\n");
}

std::optional<KeyboardSetup> readSnapshot(const HistorySnapshot& snapshot) {
    const KeyboardFileRead read = ReadKeyboardFile(ReadFileBytes(snapshot.path).bytes, KeyCodeNames());
    if (!read.setup) {
        std::fprintf(stderr, "snapshot %d (%s) is damaged: %s\n", snapshot.number, snapshot.path.c_str(),
                     read.problems.empty() ? "unreadable" : DescribeProblem(read.problems.front()).c_str());
        return std::nullopt;
    }
    return read.setup;
}

std::optional<HistorySnapshot> snapshotArgument(const WriteHistory& history, const std::string& text) {
    const auto n = ParseWholeNumber(text);
    if (!n || *n < 1 || *n > std::numeric_limits<int>::max()) {
        std::fprintf(stderr, "'%s' is not a snapshot number: give N as 'ombrelctl history list' shows it\n",
                     text.c_str());
        return std::nullopt;
    }
    const auto found = history.find(static_cast<int>(*n));
    if (!found)
        std::fprintf(stderr, "there is no snapshot %lld in %s (see ombrelctl history list)\n", *n,
                     history.folder().c_str());
    return found;
}

// What the write after `snapshot` changed: the next snapshot, or the keyboard now for the newest.
std::optional<SetupDifference> changesAfter(CliSession& s, const std::vector<HistorySnapshot>& all, std::size_t i,
                                            const SetupNames& names, int* exitCode) {
    const auto before = readSnapshot(all[i]);
    if (!before) return *exitCode = kExitFailed, std::nullopt;
    KeyboardSetup after;
    if (i + 1 < all.size()) {
        const auto next = readSnapshot(all[i + 1]);
        if (!next) return *exitCode = kExitFailed, std::nullopt;
        after = *next;
    } else if (const int r = ReadKeyboardNow(s, after); r != kExitOk) {
        return *exitCode = r, std::nullopt;
    }
    return CompareSetups(*before, after, names);
}

int cmdHistoryList(CliSession& s, const Args&) {
    const WriteHistory history = historyOf(s);
    const auto all = history.list();
    if (all.empty()) {
        std::printf("no writes kept yet in %s\n", history.folder().c_str());
        return kExitOk;
    }
    const CliTexts texts = LoadCliTexts();
    const CliSetupNames names(texts);
    int code = kExitOk;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const HistorySnapshot& h = all[i];
        const auto changes = changesAfter(s, all, i, names, &code);
        std::string what =
            !changes ? "(unreadable)"
            : changes->empty()
                ? "no change"
                : changes->lines.front() + (changes->lines.size() > 1
                                                ? " (and " + std::to_string(changes->lines.size() - 1) + " more)"
                                                : "");
        std::printf("%4d  %s  %-10s %s%s\n", h.number, h.time.c_str(), h.writer.c_str(),
                    h.interrupted ? "[write failed or cut off] " : "", what.c_str());
    }
    return code;
}

int cmdHistoryShow(CliSession& s, const Args& args) {
    const WriteHistory history = historyOf(s);
    const auto snapshot = snapshotArgument(history, args[0]);
    if (!snapshot) return kExitUsage;
    const FileBytes file = ReadFileBytes(snapshot->path);
    if (file.status != FileBytes::Status::Ok) {
        std::fprintf(stderr, "cannot read snapshot %d (%s)\n", snapshot->number, snapshot->path.c_str());
        return kExitFailed;
    }
    std::fwrite(file.bytes.data(), 1, file.bytes.size(), stdout);
    return kExitOk;
}

int cmdHistoryDiff(CliSession& s, const Args& args) {
    const WriteHistory history = historyOf(s);
    const auto snapshot = snapshotArgument(history, args[0]);
    if (!snapshot) return kExitUsage;
    const auto all = history.list();
    std::size_t i = 0;
    while (all[i].number != snapshot->number)
        ++i;
    const CliTexts texts = LoadCliTexts();
    const CliSetupNames names(texts);
    int code = kExitOk;
    const auto changes = changesAfter(s, all, i, names, &code);
    if (!changes) return code;
    for (const std::string& line : changes->lines)
        std::printf("%s\n", line.c_str());
    return kExitOk;
}

int cmdHistoryRestore(CliSession& s, const Args& args) {
    WriteHistory history = historyOf(s);
    const auto snapshot = snapshotArgument(history, args[0]);
    if (!snapshot) return kExitUsage;
    const KeyboardFileRead read = ReadKeyboardFile(ReadFileBytes(snapshot->path).bytes, KeyCodeNames());
    const int r = ApplyKeyboardFile(s, read, snapshot->path, false);
    // The snapshot's own mark goes once it has been put back: the write it stood for is undone.
    if (r == kExitOk && snapshot->interrupted) history.finish(snapshot->number);
    return r;
}

int cmdHistoryFinish(CliSession& s, const Args&) {
    WriteHistory history = historyOf(s);
    const UnfinishedWrite u = checkUnfinished(s, history);
    switch (u.state) {
    case UnfinishedWrite::State::None:
        std::printf("no write was left unfinished\n");
        return kExitOk;
    case UnfinishedWrite::State::Done:
        std::printf("the keyboard already holds the write of %s; nothing was written\n", u.snapshot.time.c_str());
        return kExitOk;
    case UnfinishedWrite::State::NeverStarted:
        std::printf("the write of %s never reached the keyboard, which holds what it held before; nothing was "
                    "written\n",
                    u.snapshot.time.c_str());
        return kExitOk;
    case UnfinishedWrite::State::Unknown:
    case UnfinishedWrite::State::Partial:
        break;
    }
    if (!u.canFinish) {
        std::fprintf(stderr,
                     "the write of %s (history %d) did not keep what it meant to write, so it cannot be finished; go "
                     "back with 'ombrelctl history restore %d' or keep the keyboard as it is with 'ombrelctl history "
                     "dismiss'\n",
                     u.snapshot.time.c_str(), u.snapshot.number, u.snapshot.number);
        return kExitFailed;
    }
    if (u.state == UnfinishedWrite::State::Unknown) {
        describeUnfinished(u);
        return kExitFailed;
    }
    if (!EnsureUserFolder(s.paths())) return kExitFailed;
    const CliTexts texts = LoadCliTexts();
    const CliSetupNames names(texts);
    NullScreen quiet;
    SetupPlaces places{
        s.commands(), s.link().state(), quiet, texts.text, StorePath(s.paths().userDir), s.paths().userColorPrefix};
    ApplyPlan plan;
    std::string why;
    if (const int r = PlanFinishingWrite(places, u.snapshot, names, plan, &why); r != LINK_OK)
        return ReportResult(why.c_str(), r);
    if (!plan.problems.empty()) {
        std::fprintf(stderr, "%s\n%s cannot be written; nothing was written\n",
                     DescribeProblem(plan.problems.front()).c_str(), u.snapshot.intendedPath.c_str());
        return kExitFailed;
    }
    if (const int r = CarryOutApply(places, plan, &why); r != LINK_OK) {
        ReportResult(why.c_str(), r);
        std::fprintf(stderr, "the write is still unfinished: try again, or see ombrelctl history list\n");
        return kExitFailed;
    }
    history.finish(u.snapshot.number);
    for (const std::string& line : plan.difference.lines)
        std::printf("%s\n", line.c_str());
    return kExitOk;
}

int cmdHistoryDismiss(CliSession& s, const Args&) {
    WriteHistory history = historyOf(s);
    const auto all = history.list();
    if (all.empty() || !all.back().interrupted) {
        std::printf("no write was left unfinished\n");
        return kExitOk;
    }
    history.finish(all.back().number);
    std::printf("the keyboard stays as it is; the write of %s is no longer offered for finishing (history %d still "
                "puts back what was there before it)\n",
                all.back().time.c_str(), all.back().number);
    return kExitOk;
}

// The commands that only read the keyboard; every other one that opens it may write.
bool onlyReads(const CommandInfo& command) {
    static constexpr const char* kReaders[] = {
        "info",        "profile get",         "profile list", "read-config", "read-lighting", "read-keymap",
        "read-macros", "read-default-keymap", "export",       "backup",      "keymap show",   "lighting show",
        "colors show", "macro list",          "names",        "validate",
    };
    for (const char* name : kReaders)
        if (std::strcmp(command.name, name) == 0) return true;
    return false;
}

} // namespace

int GuardUnfinishedWrite(CliSession& session, const CommandInfo& command) {
    // The history's own commands show the record or settle it themselves.
    if (std::strncmp(command.name, "history ", 8) == 0 || std::strcmp(command.name, "firmware boot") == 0)
        return kExitOk;
    WriteHistory history = historyOf(session);
    const UnfinishedWrite u = checkUnfinished(session, history);
    if (u.state != UnfinishedWrite::State::Partial && u.state != UnfinishedWrite::State::Unknown) return kExitOk;
    describeUnfinished(u);
    if (onlyReads(command)) return kExitOk;
    // Another write over the mix would make it the state its own snapshot keeps, and the cut-off write could
    // then be neither finished nor cleanly undone.
    std::fprintf(stderr, "%s was not run; nothing was written: choose one of the above first\n", command.name);
    return kExitFailed;
}

const std::vector<CommandInfo>& HistoryCommands() {
    static const std::vector<CommandInfo> commands = {
        {"history list", "", "the snapshots kept before each write, with what the write changed", 0, 0, cmdHistoryList,
         "Before every write to the keyboard (from the window, ombrelctl or any other part of the program) the\n"
         "state it replaces is kept as a keyboard file in $XDG_STATE_HOME/ombrel/history: the last 100, at\n"
         "most 20 MB together. Lists them, oldest first, with time, writer and what the write changed; a write\n"
         "that failed or was cut off is marked."},
        {"history show", "N", "print snapshot N (a keyboard file)", 1, 1, cmdHistoryShow},
        {"history diff", "N", "what the write after snapshot N changed", 1, 1, cmdHistoryDiff},
        {"history restore", "N", "put the keyboard back as snapshot N holds it", 1, 1, cmdHistoryRestore,
         "Applies snapshot N: only what differs is written. The restore is a write too, so it is kept in the\n"
         "history and can be undone in turn."},
        {"history finish", "", "finish a write that was cut off: write what it meant to leave", 0, 0, cmdHistoryFinish,
         "A write cut off halfway (the program killed, the machine suspended, the cable pulled) leaves the keyboard\n"
         "holding part of it. Before every write, the state it means to leave is kept beside its snapshot; this\n"
         "writes that state, only what differs. 'ombrelctl history restore N' goes back instead, 'ombrelctl\n"
         "history dismiss' keeps the keyboard as it is. Until one of them is run, the commands that write refuse to."},
        {"history dismiss", "", "keep the keyboard as a cut-off write left it and stop offering to finish it", 0, 0,
         cmdHistoryDismiss},
    };
    return commands;
}

} // namespace ombrel::cli
