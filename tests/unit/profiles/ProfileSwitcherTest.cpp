// Switching profiles with and without unapplied edits, reloading from the keyboard, the profile name, and the
// profile manager's list, on a keyboard in memory.
#include "transfer/ProfileSwitcher.h"
#include "device/ActiveProfile.h"
#include "device/LinkResult.h"
#include "keys/KeyboardFixture.h"
#include "platform/IniFile.h"
#include "profiles/BinaryFile.h"
#include "profiles/ProfileListModel.h"
#include "profiles/ProfileStore.h"
#include "support/TestPaths.h"
#include "transfer/KeyboardWriter.h"

#include <deque>
#include <filesystem>

namespace ombrel::test {
namespace {

namespace fs = std::filesystem;

// The window as far as switching is concerned: it answers questions from a queue and writes down what happened.
class FakeProfileHost : public ProfileHost {
public:
    bool keyDialogOpen() const override { return keyDialog; }
    bool editsPending() const override { return pending; }
    void setEditsPending(bool p) override { pending = p; }
    void applyEdits() override {
        log.push_back("apply");
        if (onApply) onApply();
    }
    bool askYesNo(const std::string& text) override {
        log.push_back("ask " + text);
        if (duringQuestion) duringQuestion();
        const bool yes = !answers.empty() && answers.front();
        if (!answers.empty()) answers.pop_front();
        return yes;
    }
    // A window's three answers when queued, else the Yes/No question of hosts without Cancel.
    EditsAnswer askAboutEdits(const std::string& text) override {
        if (choices.empty()) return ProfileHost::askAboutEdits(text);
        log.push_back("ask3 " + text);
        const EditsAnswer answer = choices.front();
        choices.pop_front();
        return answer;
    }
    void tell(const std::string& text) override { log.push_back("tell " + text); }
    void refreshKeyMarks() override {}
    void showProfileName(const std::string& n, const std::string& t) override {
        name = n;
        tooltip = t;
    }
    void activeProfileChanged(int index) override { log.push_back("active " + std::to_string(index)); }

    bool keyDialog = false;
    bool pending = false;
    std::deque<bool> answers;
    std::deque<EditsAnswer> choices;
    std::function<void()> onApply;
    std::function<void()> duringQuestion;
    std::vector<std::string> log;
    std::string name;
    std::string tooltip;
};

class ProfileSwitcherTest : public KeyboardFixture {
protected:
    void SetUp() override {
        KeyboardFixture::SetUp();
        dir = makeTempDir("switch");
        paths.userDir = dir;
        paths.appProfileIni = dir + "/config/profile.ini";
        switcher = std::make_unique<ProfileSwitcher>(commands(), link->state(), working(), paths, FakeText, host);
        // The window's Apply: save into the store file, then write the active profile.
        host.onApply = [this] {
            SaveStore(working(), switcher->storePath(), true);
            if (ApplyToKeyboard(stores, commands(), link->state(), screen, 0) == LINK_OK) host.pending = false;
        };
    }
    void TearDown() override {
        fs::remove_all(dir);
        KeyboardFixture::TearDown();
    }
    AssignmentStore& working() { return stores.workingStore; }
    KeyRecord workingRecord(int profile, KeyCode key) { return working().image.record(RecordNumber(profile, key)); }
    // An edit in the window that has not been applied yet.
    void editCapsLock(int profile) {
        working().image.setRecord(RecordNumber(profile, kCapsLock), {KF_KEY, 0, kEscape});
        host.pending = true;
    }
    bool sent(std::uint8_t command) const {
        return std::any_of(fake.sent.begin(), fake.sent.end(), [&](const Report& r) { return r.command() == command; });
    }
    // Where in the reports sent the first one with `command` is; -1 when none.
    long firstSent(std::uint8_t command) const {
        const auto at =
            std::find_if(fake.sent.begin(), fake.sent.end(), [&](const Report& r) { return r.command() == command; });
        return at == fake.sent.end() ? -1 : at - fake.sent.begin();
    }

    std::string dir;
    AppPaths paths;
    FakeProfileHost host;
    std::unique_ptr<ProfileSwitcher> switcher;
};

TEST_F(ProfileSwitcherTest, ReloadMirrorsTheKeyboardOrFallsBackToFactoryFunctions) {
    KeymapBytes block = TestFactoryBlock().bytes();
    block[3 * kCapsLockSlot] = 0; // Caps Lock disabled in profile 1
    block[3 * kCapsLockSlot + 1] = 0;
    block[3 * kCapsLockSlot + 2] = 0;
    std::copy(block.begin(), block.end(), fake.memory[7].begin() + 378);
    host.pending = true;

    EXPECT_TRUE(switcher->ReloadFromKeyboard(false));
    EXPECT_EQ(workingRecord(1, kCapsLock).type, KF_DISABLED);
    EXPECT_EQ(ValidateFile(switcher->storePath(), screen), VALIDATE_OK);
    EXPECT_FALSE(host.pending);

    // A keyboard that does not answer: the map shows factory functions; keepApply leaves the edits' Apply alone.
    host.pending = true;
    fake.onRequest = [](const Report&) {};
    link->state().cachedProfile.store(-1);
    EXPECT_FALSE(switcher->ReloadFromKeyboard(true));
    EXPECT_EQ(workingRecord(1, kCapsLock).type, KF_DEFAULT);
    EXPECT_TRUE(host.pending);
}

TEST_F(ProfileSwitcherTest, AnsweringNoDiscardsTheEditsAndSwitches) {
    ASSERT_TRUE(switcher->ReloadFromKeyboard(false));
    editCapsLock(1);
    host.answers = {false};
    fake.sent.clear();

    EXPECT_TRUE(switcher->SwitchProfile(2));
    EXPECT_EQ(host.log, (std::vector<std::string>{"ask [PROFILE_SELECT_PROMPT]", "active 2"}));
    EXPECT_EQ(workingRecord(1, kCapsLock).type, KF_DEFAULT); // back to what the store file holds
    EXPECT_FALSE(host.pending);
    EXPECT_FALSE(sent(CMD_WRITE_KEYMAP));
    EXPECT_EQ(keyboardBlock(1), TestFactoryBlock());
    EXPECT_EQ(fake.memory[3][10], 2);
    EXPECT_EQ(host.name, "[PROFILE_3]");
    EXPECT_EQ(host.tooltip, "[PROFILE_TIP][PROFILE_3]");
}

TEST_F(ProfileSwitcherTest, AnsweringYesWritesTheEditsToTheOldProfileThenSwitches) {
    ASSERT_TRUE(switcher->ReloadFromKeyboard(false));
    editCapsLock(1);
    host.answers = {true};
    fake.sent.clear();

    EXPECT_TRUE(switcher->SwitchProfile(0));
    EXPECT_EQ(host.log, (std::vector<std::string>{"ask [PROFILE_SELECT_PROMPT]", "apply", "active 0"}));
    EXPECT_EQ(keyboardBlock(1).entry(kCapsLockSlot), (KeymapEntry{EK_KEYBOARD, kKeyboardUsage, 0x29}));
    ASSERT_GE(firstSent(CMD_WRITE_KEYMAP), 0);
    EXPECT_LT(firstSent(CMD_WRITE_KEYMAP), firstSent(CMD_WRITE_CONFIG)); // written before the switch
    EXPECT_EQ(fake.memory[3][10], 0);
    EXPECT_EQ(workingRecord(1, kCapsLock).value, kEscape); // the edit stays, now applied

    // When the edits cannot be written (the write said why), the profile stays so they are not left behind.
    editCapsLock(0);
    host.answers = {true};
    host.onApply = [] {};
    host.log.clear();
    EXPECT_FALSE(switcher->SwitchProfile(2));
    EXPECT_EQ(host.log, (std::vector<std::string>{"ask [PROFILE_SELECT_PROMPT]", "apply"}));
    EXPECT_EQ(fake.memory[3][10], 0);
}

TEST_F(ProfileSwitcherTest, CancelKeepsTheEditsAndTheProfile) {
    ASSERT_TRUE(switcher->ReloadFromKeyboard(false));
    editCapsLock(1);
    host.choices = {ProfileHost::EditsAnswer::Cancel, ProfileHost::EditsAnswer::Cancel};
    const auto activeBefore = fake.memory[3][10];
    fake.sent.clear();

    // From the profile buttons and from the profile manager's Apply alike.
    EXPECT_FALSE(switcher->SwitchProfile(2));
    EXPECT_FALSE(switcher->ApplyProfileChoice(0));
    EXPECT_EQ(host.log, (std::vector<std::string>{"ask3 [PROFILE_SELECT_PROMPT]", "ask3 [PROFILE_SELECT_PROMPT]"}));
    EXPECT_TRUE(host.pending);
    EXPECT_EQ(workingRecord(1, kCapsLock).value, kEscape);
    EXPECT_FALSE(sent(CMD_WRITE_KEYMAP));
    EXPECT_FALSE(sent(CMD_WRITE_CONFIG));
    EXPECT_EQ(fake.memory[3][10], activeBefore);
}

TEST_F(ProfileSwitcherTest, ASecondChangeWhileTheQuestionIsOpenDoesNotAskAgain) {
    ASSERT_TRUE(switcher->ReloadFromKeyboard(false));
    editCapsLock(1);
    host.answers = {false};
    host.duringQuestion = [this] {
        host.duringQuestion = nullptr;
        EXPECT_TRUE(switcher->SwitchProfile(0));
    };
    EXPECT_TRUE(switcher->SwitchProfile(2));
    EXPECT_EQ(host.log, (std::vector<std::string>{"ask [PROFILE_SELECT_PROMPT]", "active 0", "active 2"}));
    EXPECT_EQ(fake.memory[3][10], 2);
}

TEST_F(ProfileSwitcherTest, RefusalsAndOddIndexes) {
    ASSERT_TRUE(switcher->ReloadFromKeyboard(false));
    host.keyDialog = true;
    fake.sent.clear();
    EXPECT_FALSE(switcher->SwitchProfile(2));
    EXPECT_EQ(host.log, (std::vector<std::string>{"tell [PROFILE_SEELCT_PROMPT2]"}));
    EXPECT_TRUE(fake.sent.empty());

    host.keyDialog = false;
    for (int index : {3, 7, -1}) {
        fake.memory[3][10] = 1;
        link->state().cachedProfile.store(-1);
        EXPECT_TRUE(switcher->SwitchProfile(index)) << index;
        EXPECT_EQ(fake.memory[3][10], 0) << index;
    }

    // The keyboard refuses the switch: not shown as active, and the name falls back.
    refuse(CMD_WRITE_CONFIG);
    host.log.clear();
    EXPECT_FALSE(switcher->SwitchProfile(1));
    EXPECT_TRUE(host.log.empty());
    fake.onRequest = [](const Report&) {};
    link->state().cachedProfile.store(-1);
    switcher->RefreshProfileName();
    EXPECT_EQ(host.name, "[DEFAULT_PROFILE_NAME]");
}

// The profile manager's list and its Apply.
class ProfileListTest : public ProfileSwitcherTest {
protected:
    SettingsStore settings() const { return SettingsStore(dir + "/settings.ini", paths.appProfileIni); }
    std::string listed(const std::string& key) const {
        return ReadIniString(paths.appProfileIni, "PROFILES", key, "(none)");
    }
};

TEST_F(ProfileListTest, RowsAddLoadDeleteAndApply) {
    ProfileListModel model(1, switcher->storePath(), FakeText);
    ASSERT_EQ(model.rows().size(), 3u);
    EXPECT_EQ(model.rows()[2].name, "[PROFILE_3]");
    EXPECT_EQ(model.rows()[2].folder, dir + "/");
    EXPECT_EQ(model.checkedRow(), 1);
    EXPECT_FALSE(model.applyEnabled());

    const std::string added = dir + "/added.obp";
    ASSERT_TRUE(model.addNew(added));
    EXPECT_EQ(fs::file_size(added), 32832u);
    EXPECT_EQ(ValidateFile(added, screen), VALIDATE_OK);
    AssignmentStore fresh;
    ASSERT_EQ(LoadStore(fresh, added), 1);
    EXPECT_EQ(fresh.image, DefaultKeyImage());
    EXPECT_TRUE(model.applyEnabled());

    std::string why;
    EXPECT_FALSE(model.addNew(dir + "/no/such/folder/x.obp", &why));
    EXPECT_FALSE(why.empty());
    model.addExisting("/elsewhere/kept.obp");
    ASSERT_EQ(model.rows().size(), 5u);
    EXPECT_EQ(model.rows()[4].name, "kept");
    EXPECT_EQ(model.rows()[4].folder, "/elsewhere/");

    // Only the keyboard's profiles can be activated, and only files can be taken off the list.
    EXPECT_FALSE(model.check(3));
    EXPECT_FALSE(model.remove(0));
    ASSERT_TRUE(model.remove(3));
    EXPECT_TRUE(fs::exists(added)); // the row goes, the file stays
    ASSERT_TRUE(model.check(2));

    fake.sent.clear();
    EXPECT_TRUE(model.apply(settings(), *switcher));
    EXPECT_EQ(fake.memory[3][10], 2);
    EXPECT_TRUE(sent(CMD_READ_KEYMAP)); // reloaded
    EXPECT_FALSE(model.applyEnabled());
    EXPECT_EQ(host.name, "[PROFILE_3]");
    EXPECT_EQ(listed("PROFILE00"), "4");
    EXPECT_EQ(listed("PROFILE01"), dir + "/keyboard-profiles.obp");
    EXPECT_EQ(listed("PROFILE04"), "/elsewhere/kept.obp");
}

TEST_F(ProfileListTest, ApplyWithNoRowCheckedKeepsTheProfileAndStillReloads) {
    ProfileListModel model(-1, switcher->storePath(), FakeText);
    EXPECT_EQ(model.checkedRow(), -1);
    fake.sent.clear();
    EXPECT_TRUE(model.apply(settings(), *switcher));
    EXPECT_FALSE(sent(CMD_WRITE_CONFIG));
    EXPECT_EQ(fake.memory[3][10], 1);
    EXPECT_TRUE(sent(CMD_READ_KEYMAP));
    EXPECT_TRUE(FileExists(switcher->storePath()));
    EXPECT_EQ(host.name, "[PROFILE_2]");
}

TEST_F(ProfileListTest, ApplyAsksAboutUnappliedEditsInsteadOfDroppingThem) {
    ASSERT_TRUE(switcher->ReloadFromKeyboard(false));
    editCapsLock(1);
    host.answers = {true};
    ProfileListModel model(1, switcher->storePath(), FakeText);
    ASSERT_TRUE(model.check(0));
    EXPECT_TRUE(model.apply(settings(), *switcher));
    EXPECT_EQ(keyboardBlock(1).entry(kCapsLockSlot), (KeymapEntry{EK_KEYBOARD, kKeyboardUsage, 0x29}));
    EXPECT_EQ(workingRecord(1, kCapsLock).value, kEscape); // read back from the keyboard after the switch
    EXPECT_EQ(fake.memory[3][10], 0);
}

} // namespace
} // namespace ombrel::test
