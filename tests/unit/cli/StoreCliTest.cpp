// The key-function, macro and profile-file commands of ombrelctl as a user runs them, on the emulator.
#include "cli/OmbrelctlFixture.h"
#include "emulator/FactoryMemory.h"
#include "emulator/StateFile.h"
#include "keys/KeysTestData.h"
#include "keys/MacroImage.h"
#include "platform/AppPaths.h"
#include "profiles/ProfileStore.h"
#include "text/FileBytes.h"
#include "text/LanguageTexts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <optional>
#include <sstream>
#include <sys/stat.h>

namespace ombrel::test {
namespace {

namespace fs = std::filesystem;

class StoreCliTest : public OmbrelctlFixture {
protected:
    // What "keymap show" says a key does: "Key (Esc)" from the line "Caps Lock: Key (Esc)".
    std::string shown(int profile, const std::string& key) {
        const ProgramResult r = ok({"keymap", "show", std::to_string(profile)});
        std::istringstream in(r.out);
        for (std::string line; std::getline(in, line);)
            if (line.rfind(key + ": ", 0) == 0) return line.substr(key.size() + 2);
        return "(" + key + " not shown)";
    }
    // On the emulator the profile store lives beside the state file, apart from the real keyboard's.
    std::string storeFile() const { return dir + "/state.userdata/keyboard-profiles.obp"; }
    std::string realStoreFolder() const { return dir + "/data/ombrel"; }
    // A profile file with `count` macros of `steps` steps, named "Macro number N".
    std::string macroFile(int count, int steps) {
        AssignmentStore s;
        CreateDefault(s, "", 0, DefaultTarget::Store);
        for (int i = 1; i <= count; ++i)
            s.macros.push_back(MakeMacro(static_cast<std::uint16_t>(i), u"Macro number " + std::u16string(1, u'0' + i),
                                         steps, static_cast<std::uint8_t>(i)));
        const std::string path = dir + "/macros" + std::to_string(count) + "x" + std::to_string(steps) + ".obp";
        EXPECT_EQ(ExportStore(s, path, true), 1);
        return path;
    }

    // The language file's text, as ombrelctl (which lies next to this test) shows it.
    static std::string text(std::string_view key) {
        return LanguageTexts(ProcessAppPaths()->dataDir).lookupText(key, 0);
    }
};

TEST_F(StoreCliTest, ChangesGoToTheKeyboardTheStoreFileAndBackups) {
    ok({"keymap", "set", "1", "0x03A", "key:0x001"});
    ok({"keymap", "set", "2", "G1", "mouse:left"});
    ok({"keymap", "set", "3", "0x01E", "function:3"});
    ok({"keymap", "set", "3", "G9B", "wheel:down"});
    ok({"keymap", "set", "1", "0x01E", "disabled"});
    EXPECT_TRUE(fs::exists(storeFile()));
    EXPECT_FALSE(fs::exists(realStoreFolder())) << "the real keyboard's data is not touched by an emulator run";

    EXPECT_EQ(shown(1, "Caps Lock"), "Key (Esc)");
    EXPECT_EQ(shown(2, "G1"), "Key (Left Click)");
    EXPECT_EQ(shown(1, "G1"), "factory function");
    EXPECT_EQ(shown(3, "A"), "Function (Keyboard function 3)");
    EXPECT_EQ(shown(3, "G9B"), "Key (Wheel Down)");
    EXPECT_EQ(shown(1, "A"), "disabled");

    const std::string backup = dir + "/b.obp";
    ok({"backup", backup});
    const ProgramResult valid = ok({"validate", backup});
    EXPECT_NE(valid.out.find("is a valid profile file"), std::string::npos) << valid.out;

    ok({"keymap", "reset", "1", "0x03A"});
    EXPECT_EQ(shown(1, "Caps Lock"), "factory function");
    ok({"restore", backup});
    EXPECT_EQ(shown(1, "Caps Lock"), "Key (Esc)");
    EXPECT_EQ(shown(3, "G9B"), "Key (Wheel Down)");
}

TEST_F(StoreCliTest, KeysAndFunctionsGoByForgivingNames) {
    const struct {
        const char* key;
        const char* function;
        const char* line; // what "keymap set" prints
    } cases[] = {
        {"CapsLock", "key:Escape", "Profile 2: Caps Lock: Key (Esc)"},
        {"caps", "media:play", "Profile 2: Caps Lock: Media (Play/Pause)"},
        {"caps lock",
         "media:"
         "Mute",
         "Profile 2: Caps Lock: Media (Mute)"},
        {"Ctrl", "key:left click", "Profile 2: Left Ctrl: Key (Left Click)"},
        {"Ctr", "default", "Profile 2: Left Ctrl: factory function"}, // a unique beginning of the caption "Ctrl"
        {"win", "function:keyboard function 4", "Profile 2: Left Win: Function (Keyboard function 4)"},
        {"Del", "media:17", "Profile 2: Delete: Media (Email)"},
        {"H", "disabled", "Profile 2: H: disabled"},
        {"h", "stop-macro", "Profile 2: H: stops the playing macro"},
        {"G3B", "default", "Profile 2: G3B: factory function"},
    };
    for (const auto& c : cases) {
        const ProgramResult set = ok({"keymap", "set", "2", c.key, c.function});
        EXPECT_EQ(set.out, std::string(c.line) + "\n") << c.key << " " << c.function;
    }
    EXPECT_EQ(shown(2, "Left Win"), "Function (Keyboard function 4)");
    ok({"backup", dir + "/b.obp"});
    ok({"validate", dir + "/b.obp"});

    // Every name "names" lists is taken back.
    for (const char* kind : {"media", "functions", "mouse"}) {
        const ProgramResult names = ok({"names", kind});
        std::istringstream in(names.out);
        int listed = 0;
        for (std::string name; std::getline(in, name); ++listed) {
            const std::string function = std::string(kind) == "mouse"   ? name
                                         : std::string(kind) == "media" ? "media:" + name
                                                                        : "function:" + name;
            const ProgramResult set = onEmulator({"keymap", "set", "1", "H", function});
            EXPECT_EQ(set.exitCode, 0) << function << ": " << set.err;
        }
        EXPECT_GT(listed, 0) << kind;
    }
}

TEST_F(StoreCliTest, KeymapAndMacrosAsJson) {
    ok({"restore", macroFile(2, 3)});
    ok({"keymap", "set", "2", "Caps Lock", "macro:2"});
    ok({"keymap", "set", "2", "G1B", "key:Esc"});
    const ProgramResult keys = ok({"--json", "keymap", "show", "2"});
    EXPECT_EQ(keys.out.rfind("{\n  \"profile\": 2,\n  \"keys\": [\n", 0), 0u) << keys.out;
    for (const char* key : {"    {\n"
                            "      \"key\": \"Caps Lock\",\n"
                            "      \"key_argument\": \"0x03A\",\n"
                            "      \"key_code\": 58,\n"
                            "      \"function\": \"macro:2\",\n"
                            "      \"description\": \"Macro (Macro number 2)\"\n"
                            "    }",
                            "    {\n"
                            "      \"key\": \"G1B\",\n"
                            "      \"key_argument\": \"G1B\",\n"
                            "      \"function\": \"key:0x001\",\n"
                            "      \"description\": \"Key (Esc)\"\n"
                            "    }"})
        EXPECT_NE(keys.out.find(key), std::string::npos) << key << "\n" << keys.out;

    const ProgramResult macros = ok({"macro", "list", "--json"});
    EXPECT_NE(macros.out.find("      \"id\": 2,\n"
                              "      \"name\": \"Macro number 2\",\n"
                              "      \"cycles\": 2,\n"
                              "      \"steps\": 3,\n"
                              "      \"keys\": [\n"
                              "        {\n"
                              "          \"profile\": 2,\n"
                              "          \"key\": \"Caps Lock\",\n"
                              "          \"key_argument\": \"0x03A\"\n"
                              "        }\n"
                              "      ]\n"),
              std::string::npos)
        << macros.out;
}

TEST_F(StoreCliTest, MacrosComeFromARestoredFileAndKeysPlayThem) {
    ok({"restore", macroFile(3, 10)});
    ok({"keymap", "set", "1", "0x03A", "macro:2"});
    const ProgramResult list = ok({"macro", "list"});
    EXPECT_NE(list.out.find("Macro number 2"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("1:Caps Lock"), std::string::npos) << list.out;
    EXPECT_EQ(shown(1, "Caps Lock"), "Macro (Macro number 2)");

    const ProgramResult missing = onEmulator({"keymap", "set", "1", "0x03A", "macro:4"});
    EXPECT_EQ(missing.exitCode, 2) << "a macro that does not exist is the user's mistake";
    EXPECT_NE(missing.err.find("no macro with id 4"), std::string::npos) << missing.err;
}

TEST_F(StoreCliTest, MacroMemoryLimitsAreReported) {
    // 8 KiB of macro memory: 9 macros of 220 steps need 7990 bytes without names and 8242 with them.
    const ProgramResult tight = ok({"restore", macroFile(9, 220)});
    EXPECT_NE(tight.err.find(text("EXTRA_PROFILE_SPACE_TIGHT")), std::string::npos) << tight.err;
    const ProgramResult list = ok({"macro", "list"});
    EXPECT_EQ(list.out.find("Macro number"), std::string::npos) << "names were left out: " << list.out;
    EXPECT_NE(list.out.find(" 220 "), std::string::npos) << "the steps are all there: " << list.out;

    // One true reason, with the exit code of a refused file; nothing reaches the keyboard or the store file.
    const std::string storeBefore = ReadFileBytes(storeFile()).bytes;
    const ProgramResult tooLong = onEmulator({"restore", macroFile(9, 300)});
    EXPECT_EQ(tooLong.exitCode, 1);
    EXPECT_EQ(tooLong.err,
              "the macros need 10870 bytes but the keyboard's macro memory holds 8192; nothing was written. Shorten "
              "or delete some macros\n");
    EXPECT_EQ(tooLong.out, "");
    EXPECT_EQ(ReadFileBytes(storeFile()).bytes, storeBefore);
    EXPECT_NE(ok({"macro", "list"}).out.find(" 220 "), std::string::npos);
}

// A keyboard holding what the window never writes (a macro step on a usage no key has, a key playing a macro the
// memory does not hold, a function number the keyboard lacks, a macro played 0 times) still gives a backup that
// validates and restores without --force, again and again.
TEST_F(StoreCliTest, ABackupOfAnyKeyboardRestoresWithoutForce) {
    emu::KeyboardMemory memory = emu::FactoryMemory();
    MacroRecord macro = MakeMacro(1, u"odd", 6, 0);
    std::vector<std::uint8_t> image = BuildMacroImage(std::span(&macro, 1), true);
    const std::size_t step6 = kMacroImageHeaderSize + 2 + 4 + 4 * 5;
    image[step6 + 1] = 0x80; // kind 0: a usage no key has
    std::copy(image.begin(), image.end(), memory.storage(emu::Area::Macros).begin());
    auto keymap = memory.storage(emu::Area::Keymap);
    const std::uint8_t odd[][3] = {{0x05, 0x01, 0x07}, {0x05, 0x05, 0xC8}, {0x01, 0x09, 0x09}, {0x06, 0xA2, 0x00}};
    for (std::size_t i = 0; i < std::size(odd); ++i)
        std::copy(odd[i], odd[i] + 3, keymap.begin() + 378 + 3 * static_cast<long>(i + 10));
    ASSERT_TRUE(emu::SaveStateFile(dir + "/state", memory));

    const std::string first = dir + "/first.obp", second = dir + "/second.obp";
    ok({"backup", first});
    ok({"validate", first});
    const ProgramResult restored = ok({"restore", first});
    EXPECT_EQ(restored.err, "");
    // What the restore wrote backs up and restores the same way.
    const std::string shownBefore = ok({"keymap", "show", "2"}).out;
    ok({"backup", second});
    EXPECT_EQ(ok({"restore", second}).err, "");
    EXPECT_EQ(ok({"keymap", "show", "2"}).out, shownBefore);
}

// The window's language changes nothing for a script: names, messages and JSON are the same in German.
TEST_F(StoreCliTest, ScriptsGetTheSameAnswerInEveryLanguage) {
    const std::vector<std::vector<std::string>> commands = {
        {"keymap", "set", "2", "Ctrl", "media:play"},
        {"keymap", "set", "1", "Enter", "key:Delete"},
        {"keymap", "set", "1", "UpArrow", "key:Enter"},
        {"lighting", "set", "1", "effect", "Breathing"},
        {"lighting", "set", "1", "effect", "Statisch"}, // refused the same way in both
        {"keymap", "set", "1", "Delete", "media:nonsense"},
        {"--json", "keymap", "show", "1"},
        {"--json", "lighting", "show", "1"},
        {"--json", "profile", "list"},
        {"--json", "info"},
        {"keymap", "show", "2"},
    };
    auto runAll = [&] {
        fs::remove_all(dir + "/state");
        fs::remove_all(dir + "/state.userdata");
        std::vector<ProgramResult> results;
        for (const auto& c : commands)
            results.push_back(onEmulator(c));
        return results;
    };
    const std::vector<ProgramResult> english = runAll();
    const std::string settings = dir + "/home/.config/ombrel/settings.ini";
    fs::create_directories(fs::path(settings).parent_path());
    std::ofstream(settings) << "[Settings]\ndwLanguageId=1031\n";
    const std::vector<ProgramResult> german = runAll();
    for (std::size_t i = 0; i < commands.size(); ++i) {
        SCOPED_TRACE(commands[i][1] + " " + commands[i].back());
        EXPECT_EQ(english[i].exitCode, i < 4 ? 0 : commands[i][0] == "--json" || i == 10 ? 0 : 2) << english[i].err;
        EXPECT_EQ(german[i].exitCode, english[i].exitCode) << german[i].err;
        EXPECT_EQ(german[i].out, english[i].out);
        EXPECT_EQ(german[i].err, english[i].err);
    }
}

// A pipe nobody writes to would hold a reader up for good: it, a folder and a link into nothing are refused
// before anything is read, with the reason.
TEST_F(StoreCliTest, OnlyRegularFilesAreReadAsProfileFiles) {
    ASSERT_EQ(::mkfifo((dir + "/fifo").c_str(), 0600), 0);
    fs::create_directory(dir + "/folder");
    fs::create_symlink(dir + "/nothing", dir + "/dangling");
    const struct {
        const char* name;
        const char* reason;
    } files[] = {{"fifo", "it is not a regular file"},
                 {"folder", "it is not a regular file"},
                 {"dangling", "the file does not exist"}};
    for (const auto& f : files)
        for (const std::vector<std::string>& command :
             {std::vector<std::string>{"validate"}, {"restore"}, {"restore", "--force"}}) {
            std::vector<std::string> args{"--emulator=" + dir + "/state"};
            args.insert(args.end(), command.begin(), command.end());
            args.push_back(dir + "/" + f.name);
            const ProgramResult r = RunProgram("ombrelctl", args, 10);
            EXPECT_EQ(r.exitCode, 1) << f.name << " " << command.back() << r.err;
            EXPECT_NE(r.err.find(f.reason), std::string::npos) << r.err;
            EXPECT_EQ(r.out, "");
        }
}

TEST_F(StoreCliTest, BadArgumentsAndFilesSayWhatIsWrong) {
    const std::string damaged = dir + "/damaged.obp";
    {
        std::ofstream out(damaged, std::ios::binary);
        out << std::string(40000, 'x');
    }
    struct BadUse {
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    };
    const BadUse cases[] = {
        {{"keymap", "set", "1", "NoSuchKey", "disabled"}, 2, "'NoSuchKey' is not a key"},
        {{"keymap", "set", "1", "G10", "disabled"}, 2, "'G10' is not a key"},
        {{"keymap", "set", "1", "Cpas Lock", "disabled"}, 2, "is not a key of the keyboard; did you mean 'Caps Lock'?"},
        {{"keymap", "set", "1", "0x054", "disabled"}, 2, "the keyboard has no key 0x054"}, // SysRq: no slot
        {{"keymap", "set", "1", "0x03A", "key:nothing"}, 2, "'nothing' is not a key name"},
        {{"keymap", "set", "1", "0x03A", "key:Esk"}, 2, "did you mean 'Esc'?"},
        {{"keymap", "set", "1", "0x03A", "media:mutte"}, 2, "did you mean 'Mute'?"},
        {{"keymap", "set", "1", "0x03A", "media:browser"}, 2, "'Browser Home', 'Browser Refresh'"},
        {{"keymap", "set", "1", "0x03A", "mouse:up"}, 2, "mouse buttons are left, right and middle"},
        {{"keymap", "set", "1", "0x03A", "function:12"}, 2, "numbered 1 to 11"},
        {{"keymap", "set", "1", "0x03A", "macro:0"}, 2, "macro ids are 1 to 100"},
        {{"keymap", "set", "1", "0x03A", "frobnicate"}, 2, "not a key function"},
        {{"keymap", "set", "0", "0x03A", "disabled"}, 2, "profiles are 1, 2 and 3"},
        {{"keymap", "set", "4", "0x03A", "disabled"}, 2, "profiles are 1, 2 and 3"},
        {{"keymap", "show", "7"}, 2, "profiles are 1, 2 and 3"},
        {{"keymap", "set", "1", "H", "disabled", "--json"}, 2, "does not take --json"},
        {{"names", "colours"}, 2, "keys, keyboard, media, functions or mouse"},
        {{"validate", damaged}, 1, "header is damaged"},
        {{"validate", dir + "/none.obp"}, 1, "does not exist"},
        {{"restore", damaged}, 1, "header is damaged"},
    };
    for (const BadUse& c : cases) {
        const ProgramResult r = onEmulator(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.message << ": " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        if (c.exitCode == 2) {
            EXPECT_EQ(r.out, "") << c.message;
        }
    }
    EXPECT_FALSE(fs::exists(storeFile())) << "nothing was changed";
}

TEST_F(StoreCliTest, ProgramsSharingAStateFileLoseNoChange) {
    // Eight changes at once, half of them through a link to the state file: each program waits for the one
    // before to let the file go, whichever name it was given.
    setenv("OMBREL_STATE_LOCK_WAIT_MS", "300000", 1);
    ok({"keymap", "show", "1"});
    fs::create_symlink(dir + "/state", dir + "/link");
    const char* keys[] = {"0x010", "0x011", "0x012", "0x013", "0x014", "0x015", "0x016", "0x017"};
    std::vector<std::future<ProgramResult>> runs;
    for (std::size_t i = 0; i < std::size(keys); ++i)
        runs.push_back(std::async(std::launch::async, [this, i, key = keys[i]] {
            const std::string state = dir + (i % 2 ? "/link" : "/state");
            return RunProgram("ombrelctl", {"--emulator=" + state, "keymap", "set", "2", key, "disabled"});
        }));
    for (auto& r : runs) {
        const ProgramResult result = r.get();
        EXPECT_EQ(result.exitCode, 0) << result.err;
    }
    unsetenv("OMBREL_STATE_LOCK_WAIT_MS");
    EXPECT_FALSE(fs::exists(dir + "/link.lock"));
    EXPECT_FALSE(fs::exists(dir + "/link.userdata"));
    const ProgramResult shownKeys = ok({"--json", "keymap", "show", "2"});
    for (const char* key : keys)
        EXPECT_NE(shownKeys.out.find(std::string(key) + "\",\n      \"key_code\": "), std::string::npos) << key;
    for (const char* name : {"Q", "W", "E", "R", "T", "Y", "U", "I"})
        EXPECT_EQ(shown(2, name), "disabled") << name;
}

TEST_F(StoreCliTest, BackupReplacesOnlyWhatTheUserAllows) {
    const std::string existing = dir + "/existing.obp";
    {
        std::ofstream out(existing, std::ios::binary);
        out << "the user's own file";
    }
    const std::string fifo = dir + "/pipe"; // stands for a device node: never aim a test at a real one
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    };
    fs::create_directory(dir + "/folder");
    fs::create_symlink(dir + "/nothing", dir + "/dangling");
    const Case cases[] = {
        {{"backup", existing}, 1, "already exists; give --force to replace it"},
        {{"backup", "--force", fifo}, 1, "not a regular file"},
        {{"backup", fifo}, 1, "not a regular file"},
        {{"backup", dir + "/folder"}, 1, "it is a folder"},
        {{"backup", "--force", dir + "/folder"}, 1, "it is a folder"},
        {{"backup", dir + "/dangling"}, 1, "a link to a file that does not exist"},
        {{"backup", dir + "/dangling", "--force"}, 1, "a link to a file that does not exist"},
        {{"firmware", "boot", "--backup", fifo, "--force"}, 1, "not a regular file"},
        {{"backup", dir + "/no/such/folder/b.obp"}, 1, "No such file or directory"},
        {{"backup", ""}, 2, "no file name given"},
        {{"keymap", "show", "--force"}, 2, "does not take --force"},
    };
    for (const Case& c : cases) {
        const ProgramResult r = onEmulator(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.back() << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        if (c.args[0] == "backup" && c.exitCode == 1 &&
            c.message != std::string("already exists; give --force to replace it")) {
            EXPECT_EQ(r.err.find("--force"), std::string::npos) << "--force would not help: " << r.err;
        }
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(fs::exists(dir + "/nothing"));
    EXPECT_EQ(ReadFileBytes(existing).bytes, "the user's own file");
    EXPECT_TRUE(fs::is_fifo(fifo));
    fs::permissions(existing, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ok({"backup", "--force", existing});
    EXPECT_EQ(fs::file_size(existing), 32832u);
    // A firmware update's backup takes --force the same way, wherever it stands.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--force", "firmware", "boot", "--backup", existing},
          {"firmware", "boot", "--backup", existing, "--force"}}) {
        fs::resize_file(existing, 0);
        const ProgramResult r = ok(args);
        EXPECT_NE(r.out.find("boot request sent"), std::string::npos) << r.out;
        EXPECT_EQ(fs::file_size(existing), 32832u);
    }
    EXPECT_EQ(fs::status(existing).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read)
        << "a replaced file keeps its permissions";
}

TEST_F(StoreCliTest, ADamagedProfileFileIsListedAndOnlyRestoredWhenForced) {
    ok({"keymap", "set", "1", "0x03A", "key:0x001"});
    const std::string damaged = dir + "/damaged.obp";
    ok({"backup", damaged});
    {
        // Key record of profile 2, key 0x01E (index 0x1E): an unknown kind of function.
        std::fstream f(damaged, std::ios::binary | std::ios::in | std::ios::out);
        f.seekp(64 + 16 * (512 + 0x1E));
        f.put(0x09);
    }
    const ProgramResult check = onEmulator({"validate", damaged});
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_NE(check.err.find("profile 2, key 0x01E: unknown kind of function 0x0009"), std::string::npos) << check.err;

    ok({"keymap", "reset", "1", "0x03A"});
    const std::string storeBefore = ReadFileBytes(storeFile()).bytes;
    const ProgramResult refused = onEmulator({"restore", damaged});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("nothing was restored"), std::string::npos) << refused.err;
    EXPECT_EQ(shown(1, "Caps Lock"), "factory function") << "the keyboard is as it was";
    EXPECT_EQ(ReadFileBytes(storeFile()).bytes, storeBefore);

    ok({"restore", "--force", damaged});
    EXPECT_EQ(shown(1, "Caps Lock"), "Key (Esc)");
}

TEST_F(StoreCliTest, EachCommandHasItsOwnHelp) {
    for (const char* command :
         {"backup", "validate", "restore", "keymap show", "keymap set", "keymap reset", "macro list"}) {
        std::vector<std::string> args = words(command);
        args.push_back("--help");
        const ProgramResult r = RunProgram("ombrelctl", args);
        EXPECT_EQ(r.exitCode, 0) << command;
        EXPECT_NE(
            r.out.find(std::string("ombrelctl [--emulator[=STATE_FILE]] [--direct] [--trace] [--json] ") + command),
            std::string::npos)
            << r.out;
    }
    EXPECT_NE(RunProgram("ombrelctl", {"keymap", "set", "--help"}).out.find("wheel:up|down"), std::string::npos);
}

} // namespace
} // namespace ombrel::test
