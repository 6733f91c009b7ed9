// ombrelctl export and apply as a user runs them, on the emulator: the whole keyboard as a readable file.
#include "OmbrelctlFixture.h"
#include "keys/MacroRecord.h"
#include "text/FileBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>

namespace ombrel::test {
namespace {

namespace fs = std::filesystem;

// A setup that touches every area: a macro, keys that play it and others, lighting, a pattern and its colours.
constexpr const char* kSetup = R"(format = 1

[[macros]]
id = 3
name = "Hello"
cycles = 2
steps = [{ press = "H", delay = 20 }, { release = "H", delay = 30 }, { press = "Left Shift" }, { release = "Left Shift", delay = 40950 }]

[[macros]]
id = 9
name = "Second"
steps = [{ press = "0x03A", delay = 10 }]

[profile.1.keys]
"Caps Lock" = "key:Esc"
G1 = "macro:3"
G2B = "macro:9"
F5 = "media:2"

[profile.2.keys]
Esc = "disabled"
"Right Ctrl" = "mouse:left"

[profile.2.lighting]
effect = 3
brightness = 2
color = [255, 128, 0]
four_color = "blue"

[profile.3]
pattern = 2

[profile.3.patterns.2]
name = "Evening"
base_color = "#102030"
colors = { Esc = "00FF00", Fn = "0000FF", "G keys" = "ABCDEF" }
)";

class KeyboardFileCliTest : public OmbrelctlFixture {
protected:
    ProgramResult run(const std::string& state, std::vector<std::string> args) {
        args.insert(args.begin(), "--emulator=" + dir + "/" + state);
        return RunProgram("ombrelctl", args);
    }
    ProgramResult ok(const std::string& state, std::vector<std::string> args) {
        ProgramResult r = run(state, args);
        EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
        return r;
    }
    std::string write(const std::string& name, const std::string& text) {
        const std::string path = dir + "/" + name;
        std::ofstream(path) << text;
        return path;
    }
    std::string read(const std::string& path) { return ReadFileBytes(path).bytes; }
    // The export of the whole keyboard, as text.
    std::string exported(const std::string& state) { return ok(state, {"export", "-"}).out; }
    // Everything the emulator and the program keep for `state`: its memory and the per-user files beside it.
    std::string everything(const std::string& state) {
        std::string all = read(dir + "/" + state);
        if (fs::exists(dir + "/" + state + ".userdata"))
            for (const auto& e : fs::recursive_directory_iterator(dir + "/" + state + ".userdata"))
                if (e.is_regular_file()) all += e.path().string() + "\n" + read(e.path().string());
        return all;
    }
};

std::multiset<std::string> linesOf(const std::string& text) {
    std::multiset<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.insert(line);
    return lines;
}

// Whether `text` has exactly the lines `patterns` give, in order; '*' in a pattern stands for what the per-user
// folder was seeded with (the shipped colour templates).
bool linesMatch(const std::string& text, const std::vector<std::string>& patterns) {
    std::istringstream in(text);
    std::size_t i = 0;
    for (std::string line; std::getline(in, line); ++i) {
        if (i >= patterns.size()) return false;
        const std::string& p = patterns[i];
        const auto star = p.find('*');
        if (star == std::string::npos
                ? line != p
                : line.size() < p.size() - 1 || line.compare(0, star, p, 0, star) != 0 ||
                      line.compare(line.size() - (p.size() - star - 1), std::string::npos, p, star + 1) != 0)
            return false;
    }
    return i == patterns.size();
}

// Trace lines of reports that write to the keyboard's memory (command byte, the fourth, of a write command).
int writesIn(const std::string& trace) {
    int writes = 0;
    std::istringstream in(trace);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("-> ", 0) != 0 || line.size() < 14) continue;
        const int command = std::stoi(line.substr(12, 2), nullptr, 16);
        if (command == 4 || command == 6 || command == 8 || command == 10 || command == 17) ++writes;
    }
    return writes;
}

TEST_F(KeyboardFileCliTest, ExportApplyToFactoryKeyboardAndExportAgainIsIdentical) {
    ok("a", {"apply", write("setup.toml", kSetup)});
    const std::string first = exported("a");
    // The file holds what was applied, in the words the file was written in.
    EXPECT_NE(first.find("\"Caps Lock\" = \"key:Esc\""), std::string::npos) << first;
    EXPECT_NE(first.find("name = \"Evening\""), std::string::npos);
    EXPECT_NE(first.find("G1 = \"macro:1\""), std::string::npos) << "macros are numbered as the keyboard reports them";

    ok("b", {"apply", write("first.toml", first)});
    EXPECT_EQ(exported("b"), first);
    // Both keyboards hold the same memory, byte for byte.
    EXPECT_TRUE(read(dir + "/b") == read(dir + "/a")) << "the two emulators' memory differs";
}

TEST_F(KeyboardFileCliTest, ApplyingTheSameFileAgainSendsNothing) {
    const std::string file = write("setup.toml", kSetup);
    ok("a", {"apply", file});
    const std::string before = everything("a");
    for (const auto& args : {std::vector<std::string>{"--trace", "apply", file},
                             std::vector<std::string>{"--trace", "apply", "--dry-run", file}}) {
        const ProgramResult r = ok("a", args);
        EXPECT_EQ(writesIn(r.err), 0) << r.err;
        EXPECT_TRUE(everything("a") == before) << "the keyboard or its files changed";
    }
    // A dry run of an unchanged keyboard prints nothing at all.
    EXPECT_EQ(ok("a", {"apply", "--dry-run", file}).out, "");
}

TEST_F(KeyboardFileCliTest, PartialFilesChangeOnlyWhatTheyName) {
    struct Case {
        const char* name;
        const char* file;
        std::vector<std::string> changes; // what the dry run says
    };
    const Case cases[] = {
        {"one key",
         "format = 1\n[profile.2.keys]\nesc = \"key:F1\"\n",
         {"Profile 2, Esc: factory function -> Key (F1)"}},
        {"lighting field",
         "format = 1\n[profile.3.lighting]\nbrightness = 1\n",
         {"Profile 3, lighting brightness: 5 -> 1"}},
        {"one colour",
         "format = 1\n[profile.1.patterns.1.colors]\nA = \"0000FF\"\n",
         {"Profile 1, pattern 1 colour of A: * -> 0000FF"}},
        {"pattern name and pattern in use",
         "format = 1\n[profile.1]\npattern = 3\n[profile.1.patterns.3]\nname = \"Night\"\n",
         {"Profile 1, pattern in use: 1 -> 3", "Profile 1, pattern 3 name: * -> Night"}},
        {"macros only",
         "format = 1\n[[macros]]\nid = 1\nname = \"M\"\nsteps = [{ press = \"A\", delay = 10 }]\n",
         {"Macro 1 (M) added: 1 steps, 1 cycles"}},
        {"nothing but the format", "format = 1\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir + "/k");
        fs::remove_all(dir + "/k.userdata");
        const std::string before = exported("k");
        const std::string file = write("partial.toml", c.file);
        const ProgramResult dry = run("k", {"apply", "--dry-run", file});
        EXPECT_TRUE(linesMatch(dry.out, c.changes)) << dry.out;
        EXPECT_EQ(dry.exitCode, c.changes.empty() ? 0 : 5) << dry.err;
        EXPECT_EQ(exported("k"), before) << "a dry run writes nothing";

        const std::string applied = ok("k", {"apply", file}).out;
        if (c.changes.empty())
            EXPECT_EQ(applied, "the keyboard already matches " + file + "; nothing was written\n");
        else
            EXPECT_EQ(applied, dry.out) << "apply says what the dry run said";
        EXPECT_EQ(run("k", {"apply", "--dry-run", file}).exitCode, 0) << "applied, the file matches";
        // The export changed by the lines of what the file named (and a macro's few lines), nothing else.
        std::multiset<std::string> was = linesOf(before), is = linesOf(exported("k"));
        std::vector<std::string> added;
        std::set_difference(is.begin(), is.end(), was.begin(), was.end(), std::back_inserter(added));
        EXPECT_LE(added.size(), c.changes.size() * 6);
    }
}

TEST_F(KeyboardFileCliTest, BadFilesAreRefusedWithLineAndColumnAndNothingIsWritten) {
    std::string longMacro = "format = 1\n[[macros]]\nid = 1\nname = \"Long\"\nsteps = [";
    for (int i = 0; i < 4001; ++i)
        longMacro += "{ press = \"A\" },";
    longMacro += "]\n";
    struct Case {
        std::string file;
        std::string where; // "LINE:COLUMN:"
        std::string says;
    };
    const Case cases[] = {
        {"format = 1\n[profile.1.keys\nEsc = \"disabled\"\n", "2:16:", "Error while parsing table header"},
        {"[profile.1.keys]\nEsc = \"disabled\"\n", "1:1:", "format = 1"},
        {"format = 2\n", "1:10:", "format 2 is not one this program reads"},
        {"format = 1\n[profile.1.keys]\nNoSuchKey = \"disabled\"\n", "3:1:", "'NoSuchKey' is not a key"},
        {"format = 1\n[profile.1.keys]\nEsc = \"key:NoSuchKey\"\n", "3:7:", "NoSuchKey"},
        {"format = 1\n[profile.4.keys]\nEsc = \"disabled\"\n", "2:10:", "'4' is not a profile"},
        {"format = 1\n[profile.1.lighting]\nbrightnes = 3\n", "3:1:", "unknown entry 'brightnes'"},
        {"format = 1\n[profile.1.lighting]\nbrightness = 9\n", "3:14:", "from 0 to 5, not 9"},
        {"format = 1\n[profile.1.lighting]\ncolor = [256, 0, 0]\n", "3:10:", "from 0 to 255, not 256"},
        {"format = 1\n[profile.1.lighting]\ncolor = \"FF00GG\"\n", "3:9:", "must be a colour"},
        {"format = 1\n[profile.1.patterns.1.colors]\nEsc = \"1234567\"\n", "3:7:", "must be a colour"},
        {longMacro, "5:9:", "too long: 4001 steps"},
        {"format = 1\n[[macros]]\nid = 1\nname = \"" + std::string(kMaxMacroNameLength + 1, 'n') + "\"\n",
         "4:8:", "a macro's name is at most " + std::to_string(kMaxMacroNameLength) + " characters long"},
        {"format = 1\n[[macros]]\nid = 1\nname = \"Same\"\n[[macros]]\nid = 2\nname = \"Same\"\n",
         "7:8:", "two macros are named 'Same' (the other on line 4)"},
        {"format = 1\n[[macros]]\nid = 1\nname = \"A\"\n[[macros]]\nid = 1\nname = \"B\"\n",
         "6:6:", "two macros have the id 1"},
        {"format = 1\n[profile.1.keys]\nEsc = \"disabled\"\nescape = \"disabled\"\n",
         "4:1:", "names the same key as line 3"},
        {"format = 1\n[profile.1.keys]\nEsc = \"disabled\"\nEsc = \"default\"\n", "4:7:", "cannot redefine"},
        {"format = 1\n[profile.1.keys]\nEsc = \"macro:4\"\n", "3:7:", "no macro with id 4"},
        {"format = 1\n[[macros]]\nid = 1\nname = \"A\"\nsteps = [{ press = \"A\", delay = 15 }]\n",
         "5:33:", "multiple of 10"},
    };
    ok("k", {"apply", write("setup.toml", kSetup)});
    const std::string before = everything("k");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.substr(0, 80));
        const std::string file = write("bad.toml", c.file);
        const ProgramResult r = run("k", {"apply", file});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find(file + ":" + c.where), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("nothing was written"), std::string::npos) << r.err;
        EXPECT_TRUE(everything("k") == before) << "the keyboard or its files changed";
    }
}

TEST_F(KeyboardFileCliTest, MacrosLargerThanTheKeyboardsMemoryAreRefusedBeforeAnythingIsSent) {
    std::string file = "format = 1\n[profile.1.keys]\nEsc = \"disabled\"\n";
    for (int m = 1; m <= 20; ++m) {
        file += "[[macros]]\nid = " + std::to_string(m) + "\nname = \"M" + std::to_string(m) + "\"\nsteps = [";
        for (int i = 0; i < 1000; ++i)
            file += "{ press = \"A\", delay = 10 },";
        file += "]\n";
    }
    exported("k");
    const std::string before = everything("k");
    const ProgramResult r = run("k", {"--trace", "apply", write("big.toml", file)});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("big.toml:4:1: the macros need"), std::string::npos) << r.err.substr(r.err.size() - 400);
    EXPECT_EQ(writesIn(r.err), 0);
    EXPECT_TRUE(everything("k") == before) << "the keyboard or its files changed";
}

TEST_F(KeyboardFileCliTest, ExportOfOneProfileLeavesTheOthersAndTheMacrosOut) {
    ok("k", {"apply", write("setup.toml", kSetup)});
    const std::string one = ok("k", {"export", "-", "--profile", "2"}).out;
    EXPECT_EQ(one.find("[profile.1"), std::string::npos);
    EXPECT_EQ(one.find("macros"), std::string::npos);
    EXPECT_NE(one.find("[profile.2.lighting]"), std::string::npos);
    // Applied elsewhere, it brings profile 2 and nothing else.
    ok("other", {"apply", write("two.toml", one)});
    EXPECT_EQ(ok("other", {"export", "-", "--profile", "2"}).out, one);
}

TEST_F(KeyboardFileCliTest, ExportKeepsAnExistingFileUnlessForced) {
    const std::string target = write("mine.toml", "my own notes\n");
    const ProgramResult r = run("k", {"export", target});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("--force"), std::string::npos) << r.err;
    EXPECT_EQ(read(target), "my own notes\n");
    ok("k", {"--force", "export", target});
    EXPECT_EQ(read(target), exported("k"));

    // A folder is named as one, and --force, which could not help, is not proposed.
    const std::string folder = std::filesystem::path(target).parent_path().string();
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"--force", "export", folder}, std::vector<std::string>{"export", folder},
          std::vector<std::string>{"apply", folder}}) {
        const ProgramResult refused = run("k", command);
        EXPECT_EQ(refused.exitCode, 1) << command[command.size() - 2];
        EXPECT_NE(refused.err.find("it is a folder"), std::string::npos) << refused.err;
        EXPECT_EQ(refused.err.find("--force"), std::string::npos) << refused.err;
    }
}

} // namespace
} // namespace ombrel::test
