// The firmware update: which updaters can be started and how, the backup before the boot request, and that a
// failure before the request leaves the keyboard alone.
#include "firmware/FirmwareUpdate.h"
#include "device/DeviceFixture.h"
#include "firmware/FirmwareTexts.h"
#include "keys/KeysTestData.h"
#include "profiles/BinaryFile.h"
#include "profiles/ProfileStore.h"
#include "support/TestPaths.h"
#include "text/LanguageTexts.h"

#include <deque>
#include <filesystem>
#include <fstream>

namespace ombrel::test {
namespace {

namespace fs = std::filesystem;

class QueuedQuestions : public UserQuestions {
public:
    bool askYesNo(const std::string& text) override {
        log.push_back("ask " + text);
        const bool yes = !answers.empty() && answers.front();
        if (!answers.empty()) answers.pop_front();
        return yes;
    }
    void tell(const std::string& text) override { log.push_back("tell " + text); }

    std::deque<bool> answers;
    std::vector<std::string> log;
};

void writeFile(const std::string& path, const std::string& contents, fs::perms perms) {
    std::ofstream(path) << contents;
    fs::permissions(path, perms);
}

constexpr auto kExecutable = fs::perms::owner_all;
constexpr auto kPlain = fs::perms::owner_read | fs::perms::owner_write;

TEST(UpdaterCommand, WindowsUpdatersNeedWineAndOthersMustBeExecutable) {
    const std::string dir = makeTempDir("updater");
    const std::string withWine = dir + "/bin";
    fs::create_directories(withWine);
    writeFile(withWine + "/wine", "#!/bin/sh\n", kExecutable);
    writeFile(dir + "/Update.EXE", "MZ", kPlain);
    writeFile(dir + "/update.sh", "#!/bin/sh\n", kExecutable);
    writeFile(dir + "/notes.txt", "", kPlain);
    using Kind = UpdaterCommand::Kind;
    const struct {
        std::string path;
        std::string searchPath;
        Kind kind;
        std::vector<std::string> argv;
    } cases[] = {
        {dir + "/Update.EXE",
         ":/nonexistent:" + withWine,
         Kind::ThroughWine,
         {withWine + "/wine", dir + "/Update.EXE"}},
        {dir + "/Update.EXE", dir + "/nonexistent", Kind::NeedsWine, {}},
        {dir + "/update.sh", "", Kind::Native, {dir + "/update.sh"}},
        {dir + "/notes.txt", withWine, Kind::NotRunnable, {}},
        {dir + "/gone.exe", withWine, Kind::NoFile, {}},
        {dir, withWine, Kind::NoFile, {}},
        {"", withWine, Kind::NoFile, {}},
    };
    for (const auto& c : cases) {
        const UpdaterCommand command = PlanUpdaterCommand(c.path, c.searchPath);
        EXPECT_EQ(command.kind, c.kind) << c.path;
        EXPECT_EQ(command.argv, c.argv) << c.path;
    }
    fs::remove_all(dir);
}

class FirmwareUpdateTest : public DeviceFixture {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        dir = makeTempDir("firmware");
        setup.paths.userDir = dir + "/user";
        setup.paths.packageDir = dir + "/Package";
        fs::create_directories(setup.paths.userDir);
        fs::create_directories(setup.paths.packageDir);
        setup.searchPath = "/nonexistent";
        setup.clock = [] { return std::time_t{1765375533}; };
        setup.start = [this](const std::vector<std::string>& argv, const std::string& workingDir, std::string*) {
            started.push_back(argv);
            startedIn = workingDir;
            backupsWhenStarted = backups();
            return startResult;
        };
        updater = dir + "/Package/update.sh";
        writeFile(updater, "#!/bin/sh\n", kExecutable);
        CreateDefault(working, "", 0, DefaultTarget::Store);
        working.image.setRecord(RecordNumber(1, kCapsLock), {KF_KEY, 0, kEscape});
    }
    void TearDown() override {
        fs::remove_all(dir);
        DeviceFixture::TearDown();
    }
    FirmwareUpdate make(TextLookup text = FakeText) {
        return FirmwareUpdate(&commands(), working, setup, std::move(text));
    }
    bool bootSent() const {
        return std::any_of(fake.sent.begin(), fake.sent.end(),
                           [](const Report& r) { return r.command() == CMD_ENTER_BOOT; });
    }
    std::vector<std::string> backups() const {
        std::vector<std::string> found;
        for (const auto& e : fs::directory_iterator(setup.paths.userDir))
            found.push_back(e.path().filename().string());
        return found;
    }

    std::string dir;
    std::string updater;
    FirmwareSetup setup;
    AssignmentStore working;
    QueuedQuestions questions;
    std::vector<std::vector<std::string>> started;
    std::string startedIn;
    std::vector<std::string> backupsWhenStarted;
    pid_t startResult = 4242;
};

TEST_F(FirmwareUpdateTest, AConfirmedUpdateBacksUpSendsTheBootRequestAndStartsTheUpdater) {
    FirmwareUpdate update = make();
    update.chooseUpdater(updater);
    questions.answers = {true};
    ASSERT_EQ(update.update(questions), UpdateOutcome::Started);

    const std::string backup = setup.paths.userDir + "/firmware-backup-" + [] {
        char stamp[32];
        const std::time_t t = 1765375533;
        std::tm local{};
        localtime_r(&t, &local);
        std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", &local);
        return std::string(stamp);
    }() + ".obp";
    EXPECT_EQ(update.lastAutomaticBackup(), backup);
    EXPECT_EQ(backupsWhenStarted, std::vector<std::string>{fs::path(backup).filename().string()});
    AssignmentStore restored;
    ASSERT_EQ(LoadStore(restored, backup), 1);
    EXPECT_EQ(restored.image.record(RecordNumber(1, kCapsLock)).value, kEscape);
    EXPECT_TRUE(bootSent());
    EXPECT_EQ(started, (std::vector<std::vector<std::string>>{{updater}}));
    EXPECT_EQ(startedIn, setup.paths.packageDir);
    EXPECT_EQ(update.updaterPath(), "");
    EXPECT_EQ(questions.log, (std::vector<std::string>{"ask [UPDATE_CONFIRM]", "tell [UPDATE_AUTO_BACKUP_WHERE]"}));

    // A second update in the same second does not replace the first backup.
    update.chooseUpdater(updater);
    questions.answers = {true};
    ASSERT_EQ(update.update(questions), UpdateOutcome::Started);
    EXPECT_EQ(update.lastAutomaticBackup(), backup.substr(0, backup.size() - 4) + "-2.obp");
    EXPECT_EQ(backups().size(), 2u);
}

TEST_F(FirmwareUpdateTest, NothingIsSentUntilTheUpdaterCanRunAndTheBackupIsWritten) {
    const std::string blocker = dir + "/not-a-folder";
    writeFile(blocker, "", kPlain);
    const struct {
        const char* what;
        std::string updater;
        std::deque<bool> answers;
        std::string userDir;
        UpdateOutcome outcome;
        std::string firstMessage;
    } cases[] = {
        {"no updater chosen", "", {true}, "", UpdateOutcome::NoUpdater, "tell [UPDATE_ERR_FILE]"},
        {"a Windows updater without wine",
         dir + "/Package/Update.exe",
         {true},
         "",
         UpdateOutcome::NeedsWine,
         "tell [UPDATE_NEED_WINE]"},
        {"the user says no", updater, {false}, "", UpdateOutcome::Declined, "ask [UPDATE_CONFIRM]"},
        {"the backup cannot be written",
         updater,
         {true},
         blocker + "/user",
         UpdateOutcome::BackupFailed,
         "ask [UPDATE_CONFIRM]"},
    };
    writeFile(dir + "/Package/Update.exe", "MZ", kPlain);
    for (const auto& c : cases) {
        if (!c.userDir.empty()) setup.paths.userDir = c.userDir;
        FirmwareUpdate update = make();
        update.chooseUpdater(c.updater);
        questions.answers = c.answers;
        questions.log.clear();
        EXPECT_EQ(update.update(questions), c.outcome) << c.what;
        ASSERT_FALSE(questions.log.empty()) << c.what;
        EXPECT_EQ(questions.log.front(), c.firstMessage) << c.what;
        EXPECT_FALSE(bootSent()) << c.what;
        EXPECT_TRUE(started.empty()) << c.what;
    }
    // The failed backup was told, with where it should have gone and why not.
    EXPECT_EQ(questions.log.size(), 2u);
    EXPECT_NE(questions.log.back().find("[UPDATE_AUTO_BACKUP_FAIL]\n"), std::string::npos) << questions.log.back();
}

TEST_F(FirmwareUpdateTest, FailuresAfterTheBackupAreToldWithWhereTheBackupIs) {
    FirmwareUpdate update = make();
    update.chooseUpdater(updater);
    questions.answers = {true};
    fake.sendResult = 0;
    EXPECT_EQ(update.update(questions), UpdateOutcome::BootRefused);
    EXPECT_EQ(questions.log.back(), "tell [UPDATE_ERR_BOOT]\n[UPDATE_AUTO_BACKUP_WHERE]");
    EXPECT_TRUE(started.empty());
    EXPECT_EQ(update.updaterPath(), updater); // may be tried again

    fake.sendResult = 1;
    startResult = 0;
    questions.answers = {true};
    EXPECT_EQ(update.update(questions), UpdateOutcome::StartFailed);
    EXPECT_EQ(questions.log.back().rfind("tell [UPDATE_ERR_RUN]\n", 0), 0u) << questions.log.back();
    EXPECT_EQ(update.updaterPath(), "");
}

TEST_F(FirmwareUpdateTest, TheUsersBackupUsesTheDialogsOwnTextsWhenTheLanguageFileLacksThem) {
    const TextLookup missing = [](std::string_view) { return std::string(kMissingText); };
    FirmwareUpdate update = make(missing);
    const std::string target = dir + "/mine.obp";
    EXPECT_TRUE(update.backup(target, questions));
    EXPECT_EQ(ValidateFile(target, screen), VALIDATE_OK);
    EXPECT_FALSE(update.backup(dir + "/no/such/folder/mine.obp", questions));
    ASSERT_EQ(questions.log.size(), 2u);
    EXPECT_EQ(questions.log[0], "tell 备份成功!");
    EXPECT_EQ(questions.log[1].rfind("tell 备份失败,请重新备份!\n", 0), 0u) << questions.log[1];
    EXPECT_FALSE(bootSent());
}

} // namespace
} // namespace ombrel::test
