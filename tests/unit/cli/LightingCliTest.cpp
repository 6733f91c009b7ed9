// ombrelctl lighting and colors as a user runs them, on the emulator: what reaches the keyboard's memory and the
// colour file, and bad values refused before anything is sent.
#include "cli/OmbrelctlFixture.h"
#include "emulator/StateFile.h"
#include "platform/AppPaths.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <fstream>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <regex>

namespace ombrel::test {
namespace {

class LightingCliTest : public OmbrelctlFixture {
protected:
    void SetUp() override {
        OmbrelctlFixture::SetUp();
        // An existing per-user folder without colour files: every pattern starts from the defaults (all keys red,
        // carrying the base colour), whatever template the build ships.
        std::filesystem::create_directories(dir + "/state.userdata");
    }
    emu::KeyboardMemory memory() const {
        const emu::StateLoad load = emu::LoadStateFile(dir + "/state");
        EXPECT_TRUE(load.memory) << load.problem;
        return load.memory.value_or(emu::KeyboardMemory{});
    }
    std::string colorFile(int profile) const {
        // On the emulator the per-user data lives beside its state file.
        return dir + "/state.userdata/UserDengColor_" + std::to_string(profile) + ".userd";
    }
    // The begin, write and end reports of a trace: command, length, offset and first payload byte of each.
    static std::vector<std::string> writes(const std::string& trace) {
        std::vector<std::string> out;
        const std::regex sent("-> 04 .. .. (0[126]|11) (..) (.. ..) .. (..)");
        for (auto it = std::sregex_iterator(trace.begin(), trace.end(), sent); it != std::sregex_iterator(); ++it) {
            const std::smatch& m = *it;
            out.push_back(m[1].str() + " " + m[2].str() + " " + m[3].str() + (m[1] == "06" ? " " + m[4].str() : ""));
        }
        return out;
    }
};

TEST_F(LightingCliTest, SetWritesEachFieldAtItsProfilesBlock) {
    ok({"lighting", "set", "3", "brightness", "3"});
    ok({"lighting", "set", "2", "effect", "Raindrops"});
    ok({"lighting", "set", "1", "color", "10,20,30"});
    ok({"lighting", "set", "1", "four-color", "blue"});
    ok({"lighting", "set", "2", "report-rate", "2"});
    auto m = memory();
    EXPECT_EQ(m.lighting[85], 3);
    EXPECT_EQ(m.lighting[42], 15);
    EXPECT_EQ(m.lighting[4], 0);
    EXPECT_EQ((std::array<int, 3>{m.lighting[5], m.lighting[6], m.lighting[7]}), (std::array<int, 3>{10, 20, 30}));
    EXPECT_EQ(m.lighting[17], 3);
    EXPECT_EQ(m.lighting[42 + 15], 2);
    const ProgramResult shown = ok({"lighting", "show", "3"});
    EXPECT_NE(shown.out.find("brightness   3\n"), std::string::npos) << shown.out;
    const ProgramResult json = ok({"lighting", "show", "1", "--json"});
    EXPECT_EQ(json.out.rfind("{\n"
                             "  \"profile\": 1,\n"
                             "  \"active\": true,\n"
                             "  \"effect\": {\n"
                             "    \"number\": 1,\n"
                             "    \"name\": \"Wave\"\n"
                             "  },\n"
                             "  \"brightness\": 5,\n"
                             "  \"speed\": 2,\n"
                             "  \"direction\": 0,\n"
                             "  \"direction_name\": \"backward\",\n"
                             "  \"colorful\": false,\n"
                             "  \"color\": {\n"
                             "    \"hex\": \"0A141E\",\n"
                             "    \"red\": 10,\n"
                             "    \"green\": 20,\n"
                             "    \"blue\": 30\n"
                             "  },\n"
                             "  \"four_color\": \"blue\",\n"
                             "  \"report_rate\": 0,\n"
                             "  \"offered_effects\": [\n",
                             0),
              0u)
        << json.out;

    // One change, one bracket (after the bracket of the reads): begin, the write, end; then the bracket of the
    // reads that tell the write history whether the write changed anything.
    const ProgramResult traced = ok({"--trace", "lighting", "set", "2", "speed", "4"});
    EXPECT_EQ(writes(traced.err),
              (std::vector<std::string>{"01 00 00 00", "02 00 00 00", "01 00 00 00", "06 01 2C 00 04", "02 00 00 00",
                                        "01 00 00 00", "02 00 00 00"}));

    ok({"lighting", "reset", "3"});
    m = memory();
    EXPECT_EQ((std::vector<int>(m.lighting.begin() + 84, m.lighting.begin() + 92)),
              (std::vector<int>{1, 5, 2, 0, 255, 255, 255, 255}));
}

TEST_F(LightingCliTest, ValuesOutOfRangeAreRefusedAndNothingIsWritten) {
    const std::vector<std::vector<std::string>> bad = {
        {"lighting", "set", "1", "brightness", "6"},
        {"lighting", "set", "1", "speed", "5"},
        {"lighting", "set", "1", "direction", "7"},
        {"lighting", "set", "1", "color", "12345"},
        {"lighting", "set", "1", "color", "1,2,256"},
        {"lighting", "set", "1", "colorful", "maybe"},
        {"lighting", "set", "1", "four-color", "purple"},
        {"lighting", "set", "1", "report-rate", "4"},
        {"lighting", "set", "4", "brightness", "1"},
        {"lighting", "set", "0", "brightness", "1"},
        {"lighting", "show", "0"},
        {"lighting", "set", "1", "glow", "1"},
        {"colors", "paint", "1", "Esc", "red"},
        {"colors", "paint", "1", "NoSuchKey", "ff0000"},
        {"colors", "paint", "1", "G1", "ff0000"},
        {"colors", "slot", "1", "3"},
        {"colors", "base", "1", "-1,0,0"},
    };
    for (auto args : bad) {
        args.insert(args.begin(), "--trace");
        const ProgramResult r = onEmulator(args);
        SCOPED_TRACE(args[1] + " " + args[2] + " " + args[args.size() - 1]);
        EXPECT_EQ(r.exitCode, 2) << r.err;
        EXPECT_EQ(r.err.find("-> "), std::string::npos) << r.err; // not a single report
        EXPECT_FALSE(r.err.empty());
    }
    // An effect the keyboard does not offer is found out by reading it; nothing is written.
    const ProgramResult r = onEmulator({"--trace", "lighting", "set", "1", "effect", "19"});
    EXPECT_EQ(r.exitCode, 2);
    for (const std::string& w : writes(r.err))
        EXPECT_NE(w.substr(0, 2), "06") << w;
    EXPECT_NE(r.err.find("does not offer"), std::string::npos);
    const ProgramResult typo = onEmulator({"lighting", "set", "1", "effect", "Rain rdops"});
    EXPECT_EQ(typo.exitCode, 2);
    EXPECT_NE(typo.err.find("'Rain rdops', did you mean 'Raindrops'?"), std::string::npos) << typo.err;
    const ProgramResult several = onEmulator({"lighting", "set", "1", "effect", "r"});
    EXPECT_EQ(several.exitCode, 2);
    EXPECT_NE(several.err.find("'r' is the beginning of several effects (Reactive, Reactive Ripple, "),
              std::string::npos)
        << several.err;
    EXPECT_NE(ok({"lighting", "show", "1"}).out.find("direction    0 (backward)\n"), std::string::npos);
    const ProgramResult beginning = ok({"lighting", "set", "1", "effect", "breath"});
    EXPECT_EQ(beginning.out, "profile 1: effect 5 (Breathing)\n");
}

TEST_F(LightingCliTest, PaintingGoesToTheKeyboardAndTheColourFile) {
    ok({"colors", "slot", "2", "2"});
    ok({"colors", "paint", "2", "Esc", "0a141e"});
    auto m = memory();
    EXPECT_EQ((std::array<int, 3>{m.keyColors[512], m.keyColors[513], m.keyColors[514]}),
              (std::array<int, 3>{0x0A, 0x14, 0x1E}));
    EXPECT_EQ(ReadIniString(colorFile(1), "Mode2", "0", ""), "10,20,30,0");
    EXPECT_EQ(ReadIniString(colorFile(1), "PRESENTMODE", "mode", ""), "2");

    // A base colour reaches the keys that carry it, not the painted one.
    ok({"colors", "paint", "2", "fn", "1,2,3", "--base"});
    m = memory();
    EXPECT_EQ((std::array<int, 3>{m.keyColors[512 + 110 * 3], m.keyColors[512 + 110 * 3 + 1],
                                  m.keyColors[512 + 110 * 3 + 2]}),
              (std::array<int, 3>{1, 2, 3}));
    EXPECT_EQ(m.keyColors[512 + 125 * 3 + 2], 3); // the G keys
    EXPECT_EQ(m.keyColors[512], 0x0A);
    const ProgramResult shown = ok({"colors", "show", "2"});
    EXPECT_NE(shown.out.find("slot   0  0A141E  brush"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("slot 110  010203  base"), std::string::npos) << shown.out;
    const ProgramResult json = ok({"colors", "show", "2", "--json"});
    EXPECT_NE(json.out.find("  \"profile\": 2,\n"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("  \"current_pattern\": 2,\n"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("      \"key\": \"Esc\",\n"
                            "      \"key_argument\": \"0x001\",\n"
                            "      \"slot\": 0,\n"
                            "      \"color\": {\n"
                            "        \"hex\": \"0A141E\",\n"
                            "        \"red\": 10,\n"
                            "        \"green\": 20,\n"
                            "        \"blue\": 30\n"
                            "      },\n"
                            "      \"base\": false\n"),
              std::string::npos)
        << json.out;
}

// A new state file's colours are the seeded ones from the first look on, so painting one key changes only that
// key; a damaged colour file is named once per command and then rewritten as defaults by a change.
TEST_F(LightingCliTest, ColoursShowTheSameBeforeAndAfterAnyWrite) {
    // The program's data with a colour template, as an installed program has it.
    const std::string data = dir + "/share";
    std::filesystem::copy(ProcessAppPaths()->dataDir, data, std::filesystem::copy_options::recursive);
    std::filesystem::create_directories(data + "/Skins");
    std::ofstream(data + "/Skins/UserDengColor_3.userd") << "[MODENAME]\n0=Sweep\n1=Focus\n2=Ember\n";
    setenv("OMBREL_DATA_DIR", data.c_str(), 1);
    std::filesystem::remove_all(dir + "/state.userdata"); // a state file that never ran: nothing seeded yet
    const std::string before = ok({"--json", "colors", "show", "1"}).out;
    EXPECT_NE(before.find("\"Ember\""), std::string::npos) << before;
    ok({"keymap", "set", "2", "CapsLock", "key:Escape"});
    EXPECT_EQ(ok({"--json", "colors", "show", "1"}).out, before);

    for (const char* damage : {"\x01\x02garbage without any section\n", "[Other]\nkey=1\n"}) {
        std::ofstream(colorFile(1), std::ios::binary) << damage; // profile 2 on the command line
        const ProgramResult shown = ok({"colors", "show", "2"});
        EXPECT_EQ(shown.err, "warning: the colour file " + colorFile(1) +
                                 " is damaged (it holds no colour pattern); its patterns read as defaults\n");
        const ProgramResult painted = ok({"colors", "paint", "2", "Esc", "00ff00"});
        EXPECT_EQ(painted.err, shown.err) << "said once";
        EXPECT_EQ(ok({"colors", "show", "2"}).err, "") << "the change rewrote it";
    }
    unsetenv("OMBREL_DATA_DIR");
}

} // namespace
} // namespace ombrel::test
