#include "firmware/FirmwareUpdate.h"

#include "firmware/FirmwareTexts.h"
#include "platform/DetachedProcess.h"
#include "platform/PerUserFolder.h"
#include "profiles/BinaryFile.h"
#include "profiles/ProfileStore.h"
#include "text/SafeFormat.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

namespace ombrel {

namespace {

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The updater starts in the program's Package folder, where the shipped updater and its firmware images lie;
// without one, in the updater's own folder.
std::string updaterFolder(const std::string& packageDir, const std::string& updaterPath) {
    if (isFolder(packageDir)) return packageDir;
    return std::filesystem::path(updaterPath).parent_path().string();
}

} // namespace

FirmwareSetup FirmwareSetup::ForProgram(const AppPaths& paths) {
    const char* searchPath = std::getenv("PATH");
    return {paths, searchPath ? searchPath : "/usr/local/bin:/usr/bin:/bin",
            [](const std::vector<std::string>& argv, const std::string& workingDir, std::string* why) {
                return StartDetached(argv, workingDir, why);
            },
            [] { return std::time(nullptr); }};
}

FirmwareUpdate::FirmwareUpdate(DeviceCommands* commands, AssignmentStore& working, FirmwareSetup setup, TextLookup text)
    : m_commands(commands), m_working(working), m_setup(std::move(setup)), m_text(std::move(text)) {}

UpdateOutcome FirmwareUpdate::update(UserQuestions& questions) {
    const UpdaterCommand command = PlanUpdaterCommand(m_updaterPath, m_setup.searchPath);
    switch (command.kind) {
    case UpdaterCommand::Kind::NoFile:
        questions.tell(FixedTextOf(m_text, kUpdateNoFile));
        return UpdateOutcome::NoUpdater;
    case UpdaterCommand::Kind::NeedsWine:
        questions.tell(FixedTextOf(m_text, kUpdateNeedsWine));
        return UpdateOutcome::NeedsWine;
    case UpdaterCommand::Kind::NotRunnable:
        questions.tell(FixedTextOf(m_text, kUpdateCannotRun));
        return UpdateOutcome::NotRunnable;
    case UpdaterCommand::Kind::Native:
    case UpdaterCommand::Kind::ThroughWine:
        break;
    }
    if (!questions.askYesNo(FixedTextOf(m_text, kUpdateConfirm))) return UpdateOutcome::Declined;

    if (!backupBeforeUpdate(questions)) return UpdateOutcome::BackupFailed;
    const std::string where = FormatTextString(FixedTextOf(m_text, kUpdateAutoBackupWhere), m_lastAutomaticBackup);

    if (!m_commands || m_commands->EnterBoot() != 1) {
        questions.tell(FixedTextOf(m_text, kUpdateBootRefused) + "\n" + where);
        return UpdateOutcome::BootRefused;
    }
    const std::string updater = m_updaterPath;
    m_updaterPath.clear();
    std::string why;
    if (m_setup.start(command.argv, updaterFolder(m_setup.paths.packageDir, updater), &why) <= 0) {
        questions.tell(FixedTextOf(m_text, kUpdateCannotRun) + "\n" + why + "\n" + where);
        return UpdateOutcome::StartFailed;
    }
    questions.tell(where);
    return UpdateOutcome::Started;
}

bool FirmwareUpdate::backupBeforeUpdate(UserQuestions& questions) {
    const std::string path = automaticBackupPath();
    std::string why;
    if (!writeBackup(path, &why)) {
        questions.tell(FormatTextString(FixedTextOf(m_text, kUpdateAutoBackupFailed), path) + "\n" + why);
        return false;
    }
    m_lastAutomaticBackup = path;
    return true;
}

bool FirmwareUpdate::backup(const std::string& path, UserQuestions& questions) {
    std::string why;
    const bool written = writeBackup(path, &why);
    questions.tell(written ? FixedTextOf(m_text, kUpdateBackupDone)
                           : FixedTextOf(m_text, kUpdateBackupFailed) + "\n" + why);
    return written;
}

std::string FirmwareUpdate::automaticBackupPath() const {
    const std::time_t now = m_setup.clock();
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", &local);
    const std::string base = m_setup.paths.userDir + "/firmware-backup-" + stamp;
    std::string path = base + ".obp";
    for (int n = 2; FileExists(path); ++n)
        path = base + "-" + std::to_string(n) + ".obp";
    return path;
}

bool FirmwareUpdate::writeBackup(const std::string& path, std::string* why) {
    if (m_setup.paths.userDir.size() && path.rfind(m_setup.paths.userDir, 0) == 0) EnsurePerUserFolder(m_setup.paths);
    return ExportStore(m_working, path, true, why) == 1;
}

} // namespace ombrel
