#pragma once
// Restoring a backup (a profile file with the key functions and macros of all three profiles): the checks and the
// write that ombrelctl restore and the program's bus service share, with the messages both give.

#include "device/DeviceCommands.h"
#include "device/DeviceState.h"
#include "device/ScreenPort.h"
#include "keys/AssignmentStore.h"
#include "profiles/StoreContentCheck.h"
#include "profiles/StoreFile.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ombrel::cli {

inline constexpr const char* kWritingKeysWhat = "writing the key functions and macros";

// "NAME is not a valid profile file: WHY".
std::string NotAProfileFileText(const std::string& name, const std::string& why);
// "NAME: what is damaged", one line for each problem.
std::string DamageText(const std::string& name, const std::vector<ContentProblem>& problems);
// The refusal of a damaged backup; `forceHint` tells of --force, which only the command line has.
std::string DamagedRefusalText(const std::string& name, bool forceHint);

// A backup is far smaller: the key blocks, at most 100 macros of at most 4000 steps, and their strings.
inline constexpr std::size_t kMaxBackupUpload = 16 * 1024 * 1024;

// A backup that came as bytes (over the bus), checked as ombrelctl restore checks a file, under `name` in the
// messages. Without --force there, a damaged backup is refused as well.
struct BackupUpload {
    enum class Verdict {
        Usable,
        TooLarge,
        NotAProfileFile, // malformed or truncated: nothing can be loaded
        Damaged,         // well formed, but values in its body are out of their ranges
    };
    Verdict verdict = Verdict::Usable;
    std::string refusal;                       // the messages of ombrelctl restore, "" when usable
    std::optional<StoreFileContents> contents; // what to load, when usable
};
BackupUpload ReadBackupUpload(std::span<const std::uint8_t> bytes, const std::string& name);
std::string BackupTooLargeText(const std::string& name);

struct StoreWriteOutcome {
    enum class Stage {
        Done,
        MacrosDoNotFit, // nothing was written; `message` says so
        WriteFailed,    // the keyboard's `result`
        StoreNotSaved,  // the keyboard took it, the profile store file did not; `message` says so
    };
    Stage stage = Stage::Done;
    int result = 0;
    std::string message;
};

// Writes the working store's macros and the blocks of `profiles` to the keyboard, then saves the store into the
// profile store file at `storePath` ("" leaves it alone). The keyboard goes first: the store file must never hold
// what the keyboard did not take. The caller holds the working store's lock.
StoreWriteOutcome WriteStoreThrough(KeyStores& stores, DeviceCommands& commands, DeviceState& state, ScreenPort& screen,
                                    std::span<const int> profiles, const std::string& storePath);

} // namespace ombrel::cli
