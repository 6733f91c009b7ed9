#pragma once
// The firmware dialog's work: the updater the user chose, the update itself and the backups. The program does not
// flash firmware: it sends the keyboard into its boot loader and starts the chosen updater, which does the rest.
// A failed update must never cost the user their assignments, so every update first writes a backup of the
// current store to the per-user folder (named with the date and time); when that backup cannot be written
// nothing is sent to the keyboard.

#include "device/DeviceCommands.h"
#include "firmware/UpdaterCommand.h"
#include "keys/AssignmentStore.h"
#include "keys/TextSources.h"
#include "platform/AppPaths.h"
#include "platform/UserQuestions.h"

#include <sys/types.h>

#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace ombrel {

// Where the update's pieces come from; tests replace the starter and the clock.
struct FirmwareSetup {
    AppPaths paths;         // the per-user folder takes the automatic backups; the updater starts in packageDir
    std::string searchPath; // where wine is looked for, as $PATH
    std::function<pid_t(const std::vector<std::string>& argv, const std::string& workingDir, std::string* why)> start;
    std::function<std::time_t()> clock;

    // The running program's: $PATH, StartDetached and the system clock.
    static FirmwareSetup ForProgram(const AppPaths& paths);
};

enum class UpdateOutcome {
    Started,      // the keyboard is in its boot loader and the updater runs
    NoUpdater,    // no file chosen, or it is gone
    NeedsWine,    // a Windows updater without wine
    NotRunnable,  // the chosen file cannot be run
    Declined,     // the user did not confirm
    BackupFailed, // the automatic backup could not be written; nothing was sent
    BootRefused,  // the keyboard did not take the boot request
    StartFailed,  // the keyboard is in its boot loader but the updater did not start
};

class FirmwareUpdate {
public:
    // `commands` may be null when no keyboard is bound: the boot request then fails.
    FirmwareUpdate(DeviceCommands* commands, AssignmentStore& working, FirmwareSetup setup, TextLookup text);

    // The updater chosen with Open; it is kept after the dialog closes. An empty path (Open cancelled) clears it.
    const std::string& updaterPath() const { return m_updaterPath; }
    void chooseUpdater(const std::string& path) { m_updaterPath = path; }
    // Cancel update.
    void cancel() { m_updaterPath.clear(); }
    void setCommands(DeviceCommands* commands) { m_commands = commands; }

    // Checks the updater, asks for confirmation, backs up the store, sends the boot request and starts the
    // updater, asking and telling through `questions`. The chosen updater is cleared once it was started or the
    // start failed.
    UpdateOutcome update(UserQuestions& questions);
    // The automatic backup every update starts with (also before the vendor's updater is started for a keyboard
    // with old firmware). False, after telling the user where it failed and why, when it could not be written.
    bool backupBeforeUpdate(UserQuestions& questions);
    // The user's own backup of the store to `path` (chosen with an overwrite prompt); tells how it went.
    bool backup(const std::string& path, UserQuestions& questions);

    // The automatic backup's file: per-user folder + "firmware-backup-YYYY-MM-DD-HHMMSS.obp" in local time, with
    // "-2", "-3" ... added when such a file exists already.
    std::string automaticBackupPath() const;
    // The path of the last automatic backup written, "" when none.
    const std::string& lastAutomaticBackup() const { return m_lastAutomaticBackup; }

private:
    bool writeBackup(const std::string& path, std::string* why);

    DeviceCommands* m_commands;
    AssignmentStore& m_working;
    FirmwareSetup m_setup;
    TextLookup m_text;
    std::string m_updaterPath;
    std::string m_lastAutomaticBackup;
};

} // namespace ombrel
