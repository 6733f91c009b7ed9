// The write history as a user meets it: every write through ombrelctl keeps the state it replaces, a restore
// gives back the keyboard's exact memory, and a write that fails halfway leaves its snapshot marked.
#include "OmbrelctlFixture.h"
#include "text/FileBytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <unistd.h>

namespace ombrel::test {
namespace {

namespace fs = std::filesystem;

class HistoryCliTest : public OmbrelctlFixture {
protected:
    void TearDown() override {
        unsetenv("OMBREL_EMU_FAIL_WRITES_AFTER");
        OmbrelctlFixture::TearDown();
    }
    std::string apply(const std::string& text) {
        const std::string path = dir + "/file.toml";
        std::ofstream(path) << text;
        return ok({"apply", path}).out;
    }
    // The emulator's memory as its state file holds it after a run.
    std::string memory() const { return ReadFileBytes(dir + "/state").bytes; }
    std::string historyFolder() const { return dir + "/state.userdata/history"; }
};

constexpr const char* kBase = "format = 1\n"
                              "[[macros]]\nid = 1\nname = \"Base\"\nsteps = [{ press = \"B\", delay = 10 }, "
                              "{ release = \"B\", delay = 20 }, { press = \"C\" }, { release = \"C\" }]\n"
                              "[profile.3.patterns.1.colors]\nEsc = \"102030\"\n";
constexpr const char* kFirst = "format = 1\n"
                               "[[macros]]\nid = 1\nname = \"One\"\nsteps = [{ press = \"A\", delay = 10 }]\n"
                               "[profile.1.keys]\nEsc = \"macro:1\"\n"
                               "[profile.2.lighting]\nbrightness = 1\n"
                               "[profile.3.patterns.1.colors]\nEsc = \"00FF00\"\n";
constexpr const char* kSecond = "format = 1\nmacros = []\n"
                                "[profile.1.keys]\nEsc = \"disabled\"\nF1 = \"key:F2\"\n"
                                "[profile.2.lighting]\nbrightness = 4\neffect = 3\n"
                                "[profile.3.patterns.1.colors]\nEsc = \"0000FF\"\nA = \"FFFFFF\"\n";

TEST_F(HistoryCliTest, RestoringSnapshotNGivesBackTheExactMemoryAndCanItselfBeUndone) {
    // What the program wrote itself: a factory keyboard's per-key colours cannot be read back, so the program
    // never knows them, and a factory's macro memory holds no image at all.
    apply(kBase);
    const std::string base = memory();
    apply(kFirst);
    const std::string first = memory();
    apply(kSecond);
    ASSERT_NE(memory(), first);

    const std::string list = ok({"history", "list"}).out;
    EXPECT_NE(list.find("   2  "), std::string::npos) << list;
    EXPECT_NE(list.find("ombrelctl  Macro 1 (One): name Base -> One"), std::string::npos) << list;
    EXPECT_NE(list.find("   3  "), std::string::npos) << list;
    EXPECT_EQ(list.find("   4  "), std::string::npos) << "one apply, one snapshot\n" << list;
    EXPECT_NE(ok({"history", "diff", "3"}).out.find("Profile 1, Esc: Macro (One) -> disabled"), std::string::npos);

    ok({"history", "restore", "3"});
    EXPECT_TRUE(memory() == first) << "snapshot 3 is the keyboard before the second apply";
    ok({"history", "restore", "2"});
    EXPECT_TRUE(memory() == base) << "snapshot 2 is the keyboard before the first apply";
    // Each restore was a write and was kept: undoing the last restore brings back the first apply.
    ok({"history", "restore", "5"});
    EXPECT_TRUE(memory() == first);
    // Applying a snapshot that matches sends nothing and keeps nothing.
    const std::size_t kept = std::distance(fs::directory_iterator(historyFolder()), fs::directory_iterator());
    ok({"history", "restore", "6"});
    ok({"history", "restore", "6"});
    EXPECT_EQ(std::distance(fs::directory_iterator(historyFolder()), fs::directory_iterator()),
              static_cast<long>(kept) + 1);
}

TEST_F(HistoryCliTest, AWriteThatPutsBackWhatWasThereIsNoRow) {
    // Each write twice: the second sends the same bytes again and changes nothing.
    for (const std::vector<std::string>& write : {std::vector<std::string>{"lighting", "set", "1", "brightness", "2"},
                                                  std::vector<std::string>{"colors", "paint", "1", "Esc", "00ff00"}}) {
        ok(write);
        ok(write);
    }
    const std::string list = ok({"history", "list"}).out;
    EXPECT_NE(list.find("   1  "), std::string::npos) << list;
    EXPECT_NE(list.find("   2  "), std::string::npos) << list;
    EXPECT_EQ(list.find("   3  "), std::string::npos) << "two writes changed something\n" << list;
    // The key colour lives in the colour file, which is written after the keyboard: the paint is still a change.
    EXPECT_NE(ok({"history", "diff", "2"}).out.find("colour of Esc: FF0000 -> 00FF00"), std::string::npos)
        << ok({"history", "diff", "2"}).out;
}

TEST_F(HistoryCliTest, AProfileSwitchIsItsOwnTwoReportsAndNoRow) {
    // The active profile is nothing the history keeps: reading the whole keyboard first would only slow every
    // switch (the application follower makes one whenever a window comes to the front).
    const ProgramResult r = ok({"--trace", "profile", "set", "2"});
    int sent = 0;
    std::istringstream trace(r.err);
    for (std::string line; std::getline(trace, line);)
        if (line.rfind("-> ", 0) == 0) ++sent;
    EXPECT_EQ(sent, 2) << "the configuration read and its write, nothing more\n" << r.err;
    EXPECT_EQ(ok({"profile", "get"}).out.find("2"), 0u);
    EXPECT_EQ(ok({"history", "list"}).out.find("   1  "), std::string::npos);
}

TEST_F(HistoryCliTest, AColourChangeSavedBeforeItsWriteIsKeptAndCanBeUndone) {
    // These save the colour file before the keyboard is written: the snapshot must still hold the colours from
    // before the change, or the change looks like none and cannot be taken back.
    std::ofstream(dir + "/colors.toml") << "format = 1\n[profile.1.patterns.2.colors]\nEsc = \"123456\"\n";
    const std::vector<std::vector<std::string>> changes = {
        {"colors", "slot", "1", "1"},
        {"colors", "base", "1", "123456"},
        {"colors", "paint", "1", "Esc", "00ff00", "--base"},
        {"apply", dir + "/colors.toml"},
    };
    // Every key's colour in the three patterns. The last column (whether a slot follows the base colour) is left
    // out: the keyboard file does not carry it, a restore derives it from the colours, and the factory file marks
    // slots as following a base colour they do not show.
    auto colours = [&] {
        std::string shown = ok({"colors", "show", "1", "0"}).out + ok({"colors", "show", "1", "1"}).out +
                            ok({"colors", "show", "1", "2"}).out;
        return std::regex_replace(shown, std::regex("  (base|brush)\n"), "\n");
    };
    int rows = 0;
    for (const auto& change : changes) {
        SCOPED_TRACE(change.front() + " " + change[1]);
        const std::string before = colours();
        ok(change);
        ASSERT_NE(colours(), before);
        ++rows;
        const std::string number = std::to_string(rows);
        auto row = [](int n) { // as the list aligns the numbers
            const std::string digits = std::to_string(n);
            return std::string(4 - digits.size(), ' ') + digits + "  ";
        };
        const std::string list = ok({"history", "list"}).out;
        EXPECT_NE(list.find(row(rows)), std::string::npos) << list;
        EXPECT_EQ(list.find(row(rows + 1)), std::string::npos) << "one change, one row\n" << list;
        EXPECT_EQ(ok({"history", "diff", number}).out.find("no change"), std::string::npos)
            << ok({"history", "diff", number}).out;
        // Undone, and the undo is a row of its own; then the change is made again for the next case.
        ok({"history", "restore", number});
        EXPECT_EQ(colours(), before);
        ok(change);
        rows += 2;
    }
}

TEST_F(HistoryCliTest, AWriteThatFailsHalfwayLeavesItsSnapshotMarkedForARestore) {
    apply(kFirst);
    const std::string before = memory();
    setenv("OMBREL_EMU_FAIL_WRITES_AFTER", "3", 1);
    const std::string path = dir + "/second.toml";
    std::ofstream(path) << kSecond;
    const ProgramResult failed = onEmulator({"apply", path});
    unsetenv("OMBREL_EMU_FAIL_WRITES_AFTER");
    EXPECT_EQ(failed.exitCode, 1) << failed.out << failed.err;
    EXPECT_NE(failed.err.find("history list"), std::string::npos) << failed.err;

    const std::string list = ok({"history", "list"}).out;
    EXPECT_NE(list.find("   2  "), std::string::npos) << list;
    EXPECT_NE(list.find("[write failed or cut off]"), std::string::npos) << list;
    EXPECT_TRUE(fs::exists(historyFolder() + "/000002.toml.interrupted"));

    ok({"history", "restore", "2"});
    EXPECT_TRUE(memory() == before) << "the restore undoes the half-done write";
    EXPECT_EQ(ok({"history", "list"}).out.find("[write failed or cut off]"), std::string::npos);
}

// A write cut off after its third report: the keyboard holds part of kSecond over kFirst (snapshot 4).
class CutOffWriteTest : public HistoryCliTest {
protected:
    void SetUp() override {
        HistoryCliTest::SetUp();
        apply(kFirst);
        before = ok({"export", "-"}).out;
        beforeMemory = memory();
        // Where a complete write leaves the keyboard, then back to before it.
        apply(kSecond);
        wanted = ok({"export", "-"}).out;
        ok({"history", "restore", "2"});
        ASSERT_TRUE(memory() == beforeMemory);

        setenv("OMBREL_EMU_FAIL_WRITES_AFTER", "3", 1);
        std::ofstream(dir + "/second.toml") << kSecond;
        ASSERT_EQ(onEmulator({"apply", dir + "/second.toml"}).exitCode, 1);
        unsetenv("OMBREL_EMU_FAIL_WRITES_AFTER");
        partialMemory = memory();
        ASSERT_NE(partialMemory, beforeMemory) << "the write must have been cut off halfway, not before it began";
    }
    std::string before, beforeMemory, wanted, partialMemory;
};

TEST_F(CutOffWriteTest, EveryCommandNamesTheWaysOutAndOnlyThoseThatReadGoAhead) {
    const ProgramResult read = onEmulator({"keymap", "show", "1"});
    EXPECT_EQ(read.exitCode, 0) << "a read-only command keeps its exit code";
    for (const char* named :
         {"was cut off", "ombrelctl history finish", "ombrelctl history restore 4", "ombrelctl history dismiss"})
        EXPECT_NE(read.err.find(named), std::string::npos) << read.err;
    for (const std::vector<std::string>& write : {std::vector<std::string>{"lighting", "set", "1", "brightness", "2"},
                                                  {"apply", dir + "/second.toml"},
                                                  {"profile", "set", "2"}}) {
        const ProgramResult refused = onEmulator(write);
        EXPECT_EQ(refused.exitCode, 1) << write[0];
        EXPECT_NE(refused.err.find("was not run; nothing was written"), std::string::npos) << refused.err;
        EXPECT_TRUE(memory() == partialMemory) << write[0] << " wrote over the cut-off write";
    }
    ok({"history", "dismiss"});
    EXPECT_TRUE(memory() == partialMemory) << "dismissing writes nothing";
    const ProgramResult after = ok({"lighting", "set", "1", "brightness", "2"});
    EXPECT_EQ(after.err, "") << "once the user chose, nothing more is said";
}

TEST_F(CutOffWriteTest, AWriteOfAProgramStillRunningIsLeftToIt) {
    const std::string mark = historyFolder() + "/000004.toml.interrupted";
    ASSERT_NE(ReadFileBytes(mark).bytes.find("process "), std::string::npos);
    // This test's own process stands for the program whose write is under way.
    std::ofstream(mark) << "Ombrel\nprocess " << ::getpid() << "\n";
    const ProgramResult read = ok({"keymap", "show", "1"});
    EXPECT_EQ(read.err, "");
    EXPECT_TRUE(fs::exists(mark)) << "not settled from under the program";
}

TEST_F(CutOffWriteTest, FinishingLeavesTheIntendedState) {
    ok({"history", "finish"});
    EXPECT_EQ(ok({"export", "-"}).out, wanted);
    EXPECT_EQ(ok({"history", "finish"}).out, "no write was left unfinished\n");
}

TEST_F(CutOffWriteTest, GoingBackLeavesThePreviousState) {
    ok({"history", "restore", "4"});
    EXPECT_TRUE(memory() == beforeMemory);
    EXPECT_EQ(ok({"export", "-"}).out, before);
    EXPECT_EQ(ok({"keymap", "show", "1"}).err, "") << "the restore settled the cut-off write";
}

TEST_F(HistoryCliTest, AWriteThatWentThroughOrNeverBeganIsSettledWithoutAWord) {
    apply(kFirst);
    // Cut off before its first report reached the keyboard: nothing to offer, and no history row either.
    setenv("OMBREL_EMU_FAIL_WRITES_AFTER", "0", 1);
    std::ofstream(dir + "/second.toml") << kSecond;
    EXPECT_EQ(onEmulator({"apply", dir + "/second.toml"}).exitCode, 1);
    unsetenv("OMBREL_EMU_FAIL_WRITES_AFTER");
    ASSERT_TRUE(fs::exists(historyFolder() + "/000002.toml.interrupted"));
    EXPECT_EQ(ok({"keymap", "show", "1"}).err, "");
    EXPECT_FALSE(fs::exists(historyFolder() + "/000002.toml")) << "the write never began";

    // Went through, but the program ended before it saw the keyboard's confirmation. Made by hand: the restore's
    // record (4) marked again, with the state it left (snapshot 3) as its intended state.
    apply("format = 1\n[profile.1.keys]\nEsc = \"key:F3\"\n");
    apply("format = 1\n[profile.1.keys]\nEsc = \"key:F4\"\n");
    ok({"history", "restore", "3"});
    fs::copy_file(historyFolder() + "/000003.toml", historyFolder() + "/000004.toml.intended");
    std::ofstream(historyFolder() + "/000004.toml.interrupted") << "ombrelctl\n";
    EXPECT_EQ(ok({"keymap", "show", "1"}).err, "");
    EXPECT_FALSE(fs::exists(historyFolder() + "/000004.toml.interrupted"));
    EXPECT_TRUE(fs::exists(historyFolder() + "/000004.toml")) << "the write happened: its row stays";

    // The same for a write of per-key colours: the colour files are saved before the keyboard gets them and the
    // keyboard cannot give them back, so files that hold all of it do not show that the keyboard does.
    apply("format = 1\n[profile.2.patterns.1.colors]\nEsc = \"0000FF\"\n");
    apply("format = 1\n[profile.2.patterns.1.colors]\nEsc = \"00FF00\"\n");
    ok({"history", "restore", "6"});
    fs::copy_file(historyFolder() + "/000006.toml", historyFolder() + "/000007.toml.intended");
    std::ofstream(historyFolder() + "/000007.toml.interrupted") << "ombrelctl\n";
    EXPECT_NE(ok({"keymap", "show", "1"}).err.find("ombrelctl history finish"), std::string::npos);
    ok({"history", "finish"});
    EXPECT_EQ(ok({"keymap", "show", "1"}).err, "");
}

TEST_F(HistoryCliTest, ABackupPutBackHalfwayCanBeFinished) {
    // Keys writes (as the window's Apply makes them) keep what they mean to leave as well.
    apply(kFirst);
    const std::string backup = dir + "/keys.bin";
    ok({"backup", backup});
    const std::string saved = ok({"export", "-"}).out;
    apply(kSecond);
    setenv("OMBREL_EMU_FAIL_WRITES_AFTER", "1", 1); // the macros go, the key functions do not
    EXPECT_EQ(onEmulator({"restore", backup}).exitCode, 1);
    unsetenv("OMBREL_EMU_FAIL_WRITES_AFTER");
    EXPECT_NE(onEmulator({"info"}).err.find("ombrelctl history finish"), std::string::npos);
    ok({"history", "finish"});
    const std::string now = ok({"export", "-"}).out;
    // The backup holds key functions and macros: those are back, the lighting stays as kSecond left it.
    const auto keysPart = [](const std::string& text) { return text.substr(0, text.find("[profile.1.lighting]")); };
    EXPECT_EQ(keysPart(now), keysPart(saved));
}

TEST_F(HistoryCliTest, ReadsAndUnknownSnapshotsKeepNothing) {
    ok({"keymap", "show", "1"});
    ok({"lighting", "show", "1"});
    EXPECT_EQ(ok({"history", "list"}).out.find("no writes kept yet"), 0u);
    const ProgramResult r = onEmulator({"history", "restore", "7"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("there is no snapshot 7"), std::string::npos) << r.err;
    // What is no number at all is said to be none, not looked for.
    for (const char* command : {"show", "diff", "restore"})
        for (const char* argument : {"abc", "0", "-1", "4294967297", "1.5"}) {
            const ProgramResult bad = onEmulator({"history", command, argument});
            EXPECT_EQ(bad.exitCode, 2) << command << " " << argument;
            EXPECT_NE(bad.err.find(std::string("'") + argument + "' is not a snapshot number"), std::string::npos)
                << bad.err;
        }
}

} // namespace
} // namespace ombrel::test
