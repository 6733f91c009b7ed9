// ombrelctl as a user runs it, on the emulator (and, for the error paths, without any keyboard).
#include "cli/OmbrelctlFixture.h"
#include "text/FileBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstring>

namespace ombrel::test {
namespace {

using OmbrelctlTest = OmbrelctlFixture;

std::vector<std::string> linesStartingWith(const std::string& text, const std::string& prefix) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(prefix, 0) == 0) out.push_back(line);
    return out;
}

TEST_F(OmbrelctlTest, InfoDescribesTheKeyboard) {
    const auto r = run({emulator(), "info"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Firmware version:  1.10 (0x0110)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Macro capacity:    8192 bytes"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Offered effects:   1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 20"), std::string::npos)
        << r.out;
}

TEST_F(OmbrelctlTest, TraceShowsTheSevenRequestsOfAKeymapRead) {
    const auto r = run({"--emulator", "--trace", "read-keymap", "3"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto sent = linesStartingWith(r.err, "-> ");
    const auto received = linesStartingWith(r.err, "<- ");
    ASSERT_EQ(sent.size(), 7u) << r.err;
    EXPECT_EQ(received.size(), 7u);
    const char* expected[] = {"38 F4 02", "38 2C 03", "38 64 03", "38 9C 03", "38 D4 03", "38 0C 04", "2A 44 04"};
    for (std::size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i].size(), 3u + 64 * 3 - 1) << sent[i]; // 64 bytes on one line
        EXPECT_EQ(sent[i].substr(3 + 9, 2), "07") << sent[i];  // command byte
        EXPECT_EQ(sent[i].substr(3 + 12, 8), expected[i]) << sent[i];
    }
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 24) << r.out; // 378 bytes, 16 a line
}

TEST_F(OmbrelctlTest, ProfileSwitchIsKeptInTheStateFile) {
    const auto set = run({emulator(), "profile", "set", "3"});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    EXPECT_EQ(set.out, "profile 3 is active\n");
    const auto r = run({emulator(), "profile", "get"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "3\n");
    EXPECT_EQ(run({emulator(), "profile", "get", "--json"}).out, "{\n  \"active_profile\": 3\n}\n");
    const auto read = run({emulator(), "read-config"});
    EXPECT_EQ(read.out.substr(6 + 10 * 3, 2), "02") << "the keyboard counts its profiles from 0: " << read.out;
}

struct BadUse {
    std::vector<std::string> args;
    int exitCode;
    const char* message;
};

TEST_F(OmbrelctlTest, BadCommandLinesSayWhatIsWrong) {
    const BadUse cases[] = {
        {{}, 2, "no command given"},
        {{"--emulator", "frobnicate"}, 2, "unknown command 'frobnicate'"},
        {{"--emulator", "kaymap"}, 2, "unknown command 'kaymap'; did you mean 'keymap'?"},
        {{"--emulator", "profile", "set", "0"}, 2, "'0' is not a profile: profiles are 1, 2 and 3"},
        {{"--emulator", "profile", "set", "4"}, 2, "'4' is not a profile: profiles are 1, 2 and 3"},
        {{"--emulator", "read-lighting", "0"}, 2, "profiles are 1, 2 and 3"},
        {{"--emulator", "read-keymap", "1", "2"}, 2, "usage: ombrelctl read-keymap P"},
        {{"--emulator", "read-macros", "lots"}, 2, "not a byte count"},
        {{"--emulator", "read-macros", "8193"}, 2, "'8193' is not a byte count from 0 to 8192"},
        {{"--emulator", "read-macros", "0x2001"}, 2, "from 0 to 8192 (the keyboard's macro memory)"},
        {{"--emulator", "read-macros", "65537"}, 2, "from 0 to 8192"},
        {{"--emulator", "read-macros", "-1"}, 2, "'-1' is not a byte count"},
        {{"--emulator", "read-macros", "+5"}, 2, "'+5' is not a byte count"},
        {{"--emulator", "read-macros", "1e3"}, 2, "'1e3' is not a byte count"},
        {{"--emulator", "read-macros", "0x"}, 2, "'0x' is not a byte count"},
        {{"--emulator", "read-macros", "99999999999999999999999"}, 2, "is not a byte count"},
        {{"--emulator", "read-config", "--json"}, 2, "read-config does not take --json: it prints a hex dump"},
        {{"--emulator", "profile", "set", "--json", "2"}, 2, "it shows nothing but what it did"},
        {{"--emulator", "--json", "history", "list"}, 2, "history list does not take --json: it prints snapshots"},
        {{"--emulator", "info", "extra"}, 2, "unexpected argument 'extra'\nusage: ombrelctl info\n"},
        {{"--bogus", "info"}, 2, "unknown option --bogus"},
    };
    for (const auto& c : cases) {
        const auto r = run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.message;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    // One form of number everywhere: decimal or 0x hexadecimal, no sign, no blanks.
    const BadUse forms[] = {
        {{emulator(), "profile", "set", "-0"}, 2, "'-0' is not a profile"},
        {{emulator(), "profile", "set", "+1"}, 2, "'+1' is not a profile"},
        {{emulator(), "profile", "set", " 1"}, 2, "' 1' is not a profile"},
        {{emulator(), "lighting", "set", "1", "brightness", "-0"}, 2, "from 0 to 5, not '-0'"},
        {{emulator(), "lighting", "set", "1", "direction", "7"}, 2, "direction must be 0, 255, backward or forward"},
        {{emulator(), "profile", "set", "0x2"}, 0, ""},
        {{emulator(), "profile", "set", "03"}, 0, ""},
        {{emulator(), "lighting", "set", "1", "brightness", "0x3"}, 0, ""},
        {{emulator(), "lighting", "set", "1", "direction", "0xFF"}, 0, ""},
    };
    for (const auto& c : forms) {
        const auto r = run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.back() << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    for (const char* most : {"8192", "0x2000"}) {
        const auto r = run({"--emulator", "read-macros", most});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 512) << most;
    }
    const auto help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("read-default-keymap"), std::string::npos);
    EXPECT_NE(help.out.find("2  bad command line"), std::string::npos) << help.out;
    const auto version = run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("ombrelctl ", 0), 0u) << version.out;
}

TEST_F(OmbrelctlTest, ACommandWithoutItsArgumentsPrintsItsUsage) {
    const struct {
        std::vector<std::string> args;
        const char* usage;
    } cases[] = {
        {{"keymap"}, "ombrelctl keymap set P KEY FUNCTION"},
        {{"keymap", "frob"}, "ombrelctl keymap show [P]"},
        {{"profile"}, "ombrelctl profile set N"},
        {{"macro"}, "ombrelctl macro list"},
        {{"lighting"}, "ombrelctl lighting set P FIELD VALUE"},
        {{"colors"}, "ombrelctl colors paint P KEY COLOR [--base]"},
        {{"firmware"}, "ombrelctl firmware boot"},
        {{"keymap", "set"},
         "Usage: ombrelctl [--emulator[=STATE_FILE]] [--direct] [--trace] [--json] keymap set P KEY FUNCTION"},
        {{"profile", "set"}, "profile set N"},
        {{"read-keymap"}, "read-keymap P"},
        {{"names"}, "names KIND"},
        {{"validate"}, "validate FILE"},
        {{"backup"}, "backup [--force] FILE"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{emulator()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto r = run(args);
        EXPECT_EQ(r.exitCode, 2) << c.usage;
        EXPECT_NE(r.err.find(c.usage), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(dir + "/state")) << "the keyboard was not even opened";
}

TEST_F(OmbrelctlTest, ProfileListNamesTheThreeProfilesAndMarksTheActiveOne) {
    ASSERT_EQ(run({emulator(), "profile", "set", "3"}).exitCode, 0);
    const auto r = run({emulator(), "profile", "list"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "  1  Profile 1\n  2  Profile 2\n* 3  Profile 3\n");
    const auto json = run({emulator(), "--json", "profile", "list"});
    EXPECT_EQ(json.out, "{\n"
                        "  \"active_profile\": 3,\n"
                        "  \"profiles\": [\n"
                        "    {\n"
                        "      \"profile\": 1,\n"
                        "      \"name\": \"Profile 1\",\n"
                        "      \"active\": false\n"
                        "    },\n"
                        "    {\n"
                        "      \"profile\": 2,\n"
                        "      \"name\": \"Profile 2\",\n"
                        "      \"active\": false\n"
                        "    },\n"
                        "    {\n"
                        "      \"profile\": 3,\n"
                        "      \"name\": \"Profile 3\",\n"
                        "      \"active\": true\n"
                        "    }\n"
                        "  ]\n"
                        "}\n");
}

TEST_F(OmbrelctlTest, FirmwareBootBacksUpFirstAndRefusesWithoutABackupTarget) {
    const std::string existing = dir + "/existing.obp";
    std::FILE* f = std::fopen(existing.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    const BadUse refused[] = {
        {{emulator(), "firmware", "boot"}, 2, "give\n--backup FILE, or --no-backup"},
        {{emulator(), "firmware", "boot", "--backup", existing}, 1, "already exists; give --force"},
        {{emulator(), "firmware", "boot", "--backup", dir + "/no/such/folder/b.obp"}, 1, "cannot write the backup"},
    };
    for (const auto& c : refused) {
        const auto r = run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.message << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.out.find("boot request sent"), std::string::npos) << r.out;
    }
    EXPECT_EQ(std::filesystem::file_size(existing), 0u);

    const std::string backup = dir + "/before-update.obp";
    const auto r = run({emulator(), "firmware", "boot", "--backup", backup});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_LT(r.out.find("backed up to " + backup), r.out.find("boot request sent")) << r.out;
    EXPECT_EQ(run({"validate", backup}).exitCode, 0);

    const auto without = run({emulator(), "firmware", "boot", "--no-backup"});
    EXPECT_EQ(without.exitCode, 0) << without.err;
    EXPECT_NE(without.out.find("boot request sent"), std::string::npos) << without.out;
}

TEST_F(OmbrelctlTest, WithoutAKeyboardInfoSaysWhatIsMissing) {
    // This machine has no keyboard attached: the real service library finds none, and the doctor's check of the
    // hidraw nodes says so with what to do.
    const auto r = run({"info"});
    EXPECT_EQ(r.exitCode, 3) << r.out << r.err;
    EXPECT_NE(r.err.find("no keyboard found"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("What is missing:\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("no keyboard (USB 0C45:5204) is connected"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("    fix: "), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

TEST_F(OmbrelctlTest, InfoAsJson) {
    const auto r = run({emulator(), "info", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\n"
                          "  \"firmware_version\": \"1.10\",\n"
                          "  \"firmware_version_code\": 272,\n"
                          "  \"firmware_update_recommended\": false,\n"
                          "  \"active_profile\": 1,\n"
                          "  \"macro_capacity_bytes\": 8192,\n"
                          "  \"offered_effects\": [\n"
                          "    {\n"
                          "      \"number\": 1,\n"
                          "      \"name\": \"Wave\"\n"
                          "    },\n",
                          0),
              0u)
        << r.out;
    EXPECT_EQ(r.out.substr(r.out.size() - 6), "  ]\n}\n");
}

TEST_F(OmbrelctlTest, NamesListsWhatTheOtherCommandsTake) {
    const struct {
        const char* kind;
        std::vector<const char*> listed;
    } cases[] = {
        {"keys", {"\nEsc\n", "\nCaps Lock\n", "\nLeft Ctrl\n", "\nG9B\n", "\nCtrl\n", "\nWin\n"}},
        {"media", {"Media Player\n", "\nPlay/Pause\n", "\nEmail\n"}},
        {"functions", {"Keyboard function 1\n", "\nKeyboard function 11\n"}},
        {"mouse", {"mouse:left\n", "\nwheel:down\n"}},
    };
    for (const auto& c : cases) {
        const auto r = run({"names", c.kind});
        EXPECT_EQ(r.exitCode, 0) << c.kind << r.err;
        for (const char* name : c.listed)
            EXPECT_NE(("\n" + r.out).find(name), std::string::npos) << c.kind << ": " << name;
    }
    EXPECT_EQ(run({"names", "mouse", "--json"}).out, "{\n"
                                                     "  \"names\": [\n"
                                                     "    \"mouse:left\",\n"
                                                     "    \"mouse:right\",\n"
                                                     "    \"mouse:middle\",\n"
                                                     "    \"wheel:up\",\n"
                                                     "    \"wheel:down\"\n"
                                                     "  ],\n"
                                                     "  \"other_spellings\": []\n"
                                                     "}\n");
}

TEST_F(OmbrelctlTest, AFileThatIsNoStateFileIsRefusedAndKeptByteForByte) {
    const std::string path = dir + "/state";
    const std::string text = "a file of the user's, not an emulator state\n";
    {
        std::ofstream out(path, std::ios::binary);
        out << text;
    }
    for (const char* command : {"info", "profile set 3"}) {
        std::vector<std::string> args{emulator()};
        for (const std::string& w : words(command))
            args.push_back(w);
        const auto r = run(args);
        EXPECT_EQ(r.exitCode, 4) << command;
        EXPECT_NE(r.err.find(path + " is not an emulator state file"), std::string::npos) << r.err;
        EXPECT_EQ(ReadFileBytes(path).bytes, text);
    }
}

// An empty file holds nothing to lose and becomes a state file, as a missing one does; a pipe is refused at once.
TEST_F(OmbrelctlTest, AnEmptyStateFileIsTakenAndAPipeRefused) {
    const std::string path = dir + "/state";
    std::ofstream(path).close();
    const auto r = run({emulator(), "profile", "set", "2"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(run({emulator(), "profile", "get"}).out, "2\n");

    const std::string fifo = dir + "/pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto refused = RunProgram("ombrelctl", {"--emulator=" + fifo, "info"}, 10);
    EXPECT_EQ(refused.exitCode, 4) << refused.err;
    EXPECT_NE(refused.err.find("is not an emulator state file"), std::string::npos) << refused.err;
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

TEST_F(OmbrelctlTest, ACommandThatChangesNothingDoesNotRewriteTheStateFile) {
    ASSERT_EQ(run({emulator(), "profile", "set", "2"}).exitCode, 0);
    struct stat before {};
    ASSERT_EQ(::stat((dir + "/state").c_str(), &before), 0);
    const auto r = run({emulator(), "profile", "get"});
    EXPECT_EQ(r.out, "2\n") << r.err;
    struct stat after {};
    ASSERT_EQ(::stat((dir + "/state").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the file was replaced";
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
}

// Runs ombrelctl with files limited to `bytes`: the state file then cannot be written, as on a full disk, and that
// holds for root as well. SIGXFSZ is ignored so the write fails with EFBIG instead of ending the program.
ProgramResult runWithFileSizeLimit(const std::vector<std::string>& args, rlim_t bytes) {
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const rlimit small{bytes, old.rlim_max};
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    ProgramResult r = RunProgram("ombrelctl", args);
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, oldHandler);
    return r;
}

TEST_F(OmbrelctlTest, AChangeTheKeyboardDidNotKeepFailsAndSaysWhy) {
    const std::string state = dir + "/state";
    const std::string backup = dir + "/backup.obp";
    ASSERT_EQ(run({emulator(), "backup", backup}).exitCode, 0);
    ASSERT_EQ(run({emulator(), "colors", "show", "1"}).exitCode, 0);
    const std::string before = ReadFileBytes(state).bytes;
    for (const char* command :
         {"profile set 3", "keymap set 1 CapsLock key:Escape", "lighting set 1 brightness 1", "lighting reset 2",
          "colors paint 1 Esc 00ff00", "colors base 1 0000ff", "restore BACKUP"}) {
        std::vector<std::string> args{emulator()};
        for (const std::string& w : words(command))
            args.push_back(w == "BACKUP" ? backup : w);
        const auto r = runWithFileSizeLimit(args, 1024);
        EXPECT_EQ(r.exitCode, 1) << command << "\n" << r.out << r.err;
        EXPECT_EQ(r.out, "") << command << ": no success line";
        EXPECT_NE(r.err.find(std::strerror(EFBIG)), std::string::npos) << command << "\n" << r.err;
        EXPECT_EQ(ReadFileBytes(state).bytes, before) << command;
    }
    // Nothing of it was kept: the keyboard shows what it held before.
    EXPECT_EQ(run({emulator(), "profile", "get"}).out, "1\n");
    EXPECT_NE(run({emulator(), "keymap", "show", "1"}).out.find("Caps Lock: factory function"), std::string::npos);
}

TEST_F(OmbrelctlTest, TemporaryFilesOfAKilledRunAreRemovedAtTheNextRun) {
    ASSERT_EQ(run({emulator(), "keymap", "set", "1", "CapsLock", "key:Escape"}).exitCode, 0);
    const std::string userData = dir + "/state.userdata";
    const std::vector<std::string> stale{dir + "/.state.a1B2c3", userData + "/.keyboard-profiles.obp.Zz9Yy8"};
    const std::vector<std::string> kept{dir + "/.state.lock", dir + "/.state.toolong1", dir + "/notes.a1B2c3",
                                        userData + "/.keyboard-profiles.obp.bak"};
    for (const auto& list : {stale, kept})
        for (const std::string& path : list)
            std::ofstream(path) << "left over\n";
    ASSERT_EQ(run({emulator(), "keymap", "set", "1", "CapsLock", "default"}).exitCode, 0);
    for (const std::string& path : stale)
        EXPECT_FALSE(std::filesystem::exists(path)) << path;
    for (const std::string& path : kept)
        EXPECT_TRUE(std::filesystem::exists(path)) << path;
}

// What a user typed comes back in messages; a control character in it is shown, never sent to the terminal.
TEST_F(OmbrelctlTest, EchoedArgumentsCannotDriveTheTerminal) {
    const std::string evil = "x\x1b]0;owned\x07\x1b[2J\r\x7f";
    const std::string shown = "x\\x1B]0;owned\\x07\\x1B[2J\\x0D\\x7F";
    const std::vector<std::vector<std::string>> commands = {
        {evil},
        {"--emulator", "profile", "set", evil},
        {"--emulator", "keymap", "set", "1", evil, "default"},
        {"--emulator", "lighting", "set", "1", "effect", evil},
        {"validate", dir + "/" + evil},
        {emulator(), "backup", dir + "/" + evil},
    };
    for (const auto& args : commands) {
        const auto r = run(args);
        const std::string both = r.out + r.err;
        EXPECT_NE(both.find(shown), std::string::npos) << both;
        EXPECT_EQ(both.find_first_of("\x1b\x07\r\x7f"), std::string::npos) << both;
    }
}

} // namespace
} // namespace ombrel::test
