#pragma once
// The write history: before every write to the keyboard, the state it replaces is kept as a keyboard file in one
// folder ($XDG_STATE_HOME/ombrel/history), numbered upwards, with the time and the program that wrote. A snapshot
// stays marked as interrupted until its write has gone through, so a write that failed or was cut off (a crash,
// the cable pulled) can be undone at the next start. Beside a snapshot lies the state the write means to leave
// (NNNNNN.toml.intended), when the writer said it, so a cut-off write can also be finished. Everything is on the
// disk (file, then folder) before the first report goes out. Only the newest snapshots are kept: at most 100,
// together at most 20 MB.

#include "device/DeviceCommands.h"
#include "device/DeviceState.h"
#include "keys/TextSources.h"
#include "platform/AppPaths.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ombrel {

inline constexpr std::size_t kHistoryMaxSnapshots = 100;
inline constexpr std::uintmax_t kHistoryMaxBytes = 20u * 1024u * 1024u;

struct HistorySnapshot {
    int number = 0;
    std::string path;
    std::string time;   // "2026-12-11 06:40:12 UTC"
    std::string writer; // "ombrelctl", "Ombrel" ...
    bool interrupted = false;
    std::string intendedPath; // the state the write meant to leave; empty when the writer did not say
    int writerProcess = 0;    // the process that marked it, when the mark says (0: a mark of old)
    std::uintmax_t bytes = 0;
};

class WriteHistory {
public:
    explicit WriteHistory(std::string folder, std::size_t maxSnapshots = kHistoryMaxSnapshots,
                          std::uintmax_t maxBytes = kHistoryMaxBytes);

    const std::string& folder() const { return m_folder; }
    // Oldest first.
    std::vector<HistorySnapshot> list() const;
    std::optional<HistorySnapshot> find(int number) const;
    // The newest snapshot still marked as interrupted, if any.
    std::optional<HistorySnapshot> interrupted() const;

    // Keeps `setupText` (a keyboard file) as a new snapshot marked as interrupted, then lets the oldest go beyond
    // the bounds. The same state as the newest snapshot is not kept twice: that one is marked again. Its number,
    // or nothing with the reason in `why`.
    // `isNew` says whether a snapshot was added (false when the newest one was marked again). `intendedText` (a
    // keyboard file), when given, is kept beside it as the state the write means to leave.
    std::optional<int> keep(std::string_view setupText, const std::string& writer, std::string* why = nullptr,
                            bool* isNew = nullptr, std::optional<std::string_view> intendedText = std::nullopt);
    // The write snapshot `number` was kept for went through (or was settled otherwise): its mark goes, on the disk.
    void finish(int number);
    // Takes back snapshot `number` whole, for a write that turned out to change nothing.
    void discard(int number);
    // Whether snapshot `number` holds the same state as `setupText`.
    bool holds(int number, std::string_view setupText) const;

private:
    std::string pathOf(int number) const;
    std::string markerOf(int number) const;
    std::string intendedOf(int number) const;
    void prune(int keepNumber);

    std::string m_folder;
    std::size_t m_maxSnapshots;
    std::uintmax_t m_maxBytes;
};

// The folder of the history: $XDG_STATE_HOME/ombrel/history, by default ~/.local/state/ombrel/history.
std::string DefaultHistoryFolder();

// What a program's links record. Set once at start-up; every link started afterwards keeps its history there.
struct HistorySettings {
    std::string folder;
    std::string writer;
    std::string colorPrefix; // the colour files, whose per-key colours the keyboard cannot give back
    TextLookup text;         // for the names of macros the keyboard keeps without one
};
void SetProcessHistory(std::optional<HistorySettings> settings);
// The settings of a program with `paths`: on the emulator its history lies with its other per-user data, apart
// from the real keyboard's.
HistorySettings HistorySettingsFor(const AppPaths& paths, bool emulator, std::string writer, TextLookup text = {});
std::optional<HistorySettings> ProcessHistory();

// Makes `commands` keep a snapshot before every write sequence and mark it done when the sequence succeeds.
void RecordWriteHistory(DeviceCommands& commands, DeviceState& state, const HistorySettings& settings);

} // namespace ombrel
