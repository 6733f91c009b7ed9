#include "HistoryCommands.h"

#include "CliSetupNames.h"
#include "CliTexts.h"
#include "KeyboardFileCommands.h"
#include "keyboardfile/KeyCodeNames.h"
#include "keyboardfile/SetupDifference.h"
#include "keyboardfile/WriteHistory.h"
#include "text/FileBytes.h"
#include "text/WholeNumber.h"

#include <cstdio>
#include <limits>

namespace ombrel::cli {

namespace {

WriteHistory historyOf(const CliSession& s) {
    return WriteHistory(HistorySettingsFor(s.paths(), s.options().emulator, "ombrelctl").folder);
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

} // namespace

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
    };
    return commands;
}

} // namespace ombrel::cli
