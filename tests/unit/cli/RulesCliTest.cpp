// ombrelctl rules as a user meets it: each edit lands in the file the window reads, refusals leave the file exactly
// as it was, and a damaged file is never rewritten.
#include "OmbrelctlFixture.h"
#include "apprules/ApplicationRulesFile.h"
#include "text/FileBytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace ombrel::test {
namespace {

using apprules::ApplicationRules;

class RulesCliTest : public OmbrelctlFixture {
protected:
    std::string path() const { return dir + "/home/.config/ombrel/application-profiles.toml"; }
    ApplicationRules rules() const {
        const apprules::RulesFile file = apprules::LoadApplicationRules(path());
        EXPECT_EQ(file.state, apprules::RulesFile::State::Read);
        return file.rules;
    }
    void write(const std::string& text) const {
        std::filesystem::create_directories(dir + "/home/.config/ombrel");
        std::ofstream(path()) << text;
    }
    ProgramResult done(const std::vector<std::string>& args) {
        ProgramResult r = run(args);
        EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
        return r;
    }
};

TEST_F(RulesCliTest, EditsLandInTheFileInOrder) {
    EXPECT_NE(done({"rules", "list"}).out.find("no rules"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path())); // looking creates nothing

    EXPECT_EQ(done({"rules", "add", "steam_app_570", "2"}).out, "added rule 1: steam_app_570, profile 2\n");
    EXPECT_EQ(done({"rules", "add", "xterm", "3"}).out, "added rule 2: xterm, profile 3\n");
    EXPECT_EQ(done({"rules", "add", "firefox", "1", "--position", "1"}).out, "added rule 1: firefox, profile 1\n");
    EXPECT_EQ(done({"rules", "default", "3"}).out, "every application without a rule: profile 3\n");
    EXPECT_EQ(rules(), (ApplicationRules{{{"firefox", 1}, {"steam_app_570", 2}, {"xterm", 3}}, 3}));

    // One rule an application: adding it again changes it in place, or moves it with a position.
    EXPECT_EQ(done({"rules", "add", "XTerm", "1"}).out, "changed rule 3: XTerm, profile 1\n");
    EXPECT_EQ(done({"rules", "add", "Steam_App_570", "3", "--position=3"}).out,
              "changed rule 3: Steam_App_570, profile 3\n");
    EXPECT_EQ(rules(), (ApplicationRules{{{"firefox", 1}, {"XTerm", 1}, {"Steam_App_570", 3}}, 3}));

    EXPECT_EQ(done({"rules", "list"}).out, "  1  profile 1  firefox\n"
                                           "  2  profile 1  XTerm\n"
                                           "  3  profile 3  Steam_App_570\n"
                                           "     profile 3  every other application\n");
    EXPECT_EQ(done({"--json", "rules", "list"}).out,
              "{\n  \"file\": \"" + path() +
                  "\",\n  \"active\": true,\n  \"default_profile\": 3,\n  \"rules\": [\n"
                  "    {\n      \"position\": 1,\n      \"application\": \"firefox\",\n      \"profile\": 1\n    },\n"
                  "    {\n      \"position\": 2,\n      \"application\": \"XTerm\",\n      \"profile\": 1\n    },\n"
                  "    {\n      \"position\": 3,\n      \"application\": \"Steam_App_570\",\n      \"profile\": 3\n"
                  "    }\n  ]\n}\n");

    EXPECT_EQ(done({"rules", "remove", "xterm"}).out, "removed rule 2: XTerm\n");
    EXPECT_EQ(done({"rules", "remove", "1"}).out, "removed rule 1: firefox\n");
    EXPECT_EQ(done({"rules", "remove", "steam_app_570"}).out,
              "removed rule 1: Steam_App_570\n"
              "no rules left: the keyboard keeps its profile whatever application is in front\n");
    EXPECT_EQ(rules(), (ApplicationRules{{}, 3}));
}

TEST_F(RulesCliTest, RemoveTakesAnApplicationNamedLikeANumberFirst) {
    write("[[rule]]\napplication = \"a\"\nprofile = 1\n[[rule]]\napplication = \"1\"\nprofile = 2\n");
    done({"rules", "remove", "1"});
    EXPECT_EQ(rules(), (ApplicationRules{{{"a", 1}}, 1}));
}

TEST_F(RulesCliTest, BadArgumentsAreRefusedAndTheFileStaysAsItWas) {
    const std::string text = "# mine\n[[rule]]\napplication = \"xterm\"\nprofile = 2\n";
    write(text);
    const struct {
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        {{"rules", "add", "x", "4"}, "'4' is not a profile"},
        {{"rules", "add", "", "1"}, "the application is empty"},
        {{"rules", "add", " x", "1"}, "begins or ends with a space"},
        {{"rules", "add", std::string(256, 'a'), "1"}, "longer than 255 bytes"},
        {{"rules", "add", "a\xff", "1"}, "not UTF-8"},
        {{"rules", "add", "x", "1", "--position", "3"}, "'3' is not a position: give a number from 1 to 2"},
        {{"rules", "add", "x", "1", "--position", "0"}, "'0' is not a position"},
        {{"rules", "add", "x", "1", "--position"}, "--position needs a number"},
        {{"rules", "add", "x", "1", "2"}, "usage: ombrelctl rules add"},
        {{"rules", "remove", "2"}, "no rule names '2'"},
        {{"rules", "remove", "firefox"}, "no rule names 'firefox'"},
        {{"rules", "default", "0"}, "'0' is not a profile"},
        {{"--json", "rules", "add", "x", "1"}, "does not take --json"},
    };
    for (const auto& c : cases) {
        const ProgramResult r = run(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.error << r.err;
        EXPECT_NE(r.err.find(c.error), std::string::npos) << r.err;
        EXPECT_EQ(ReadFileBytes(path()).bytes, text) << c.error;
    }
}

TEST_F(RulesCliTest, ADamagedFileIsShownAndNeverRewritten) {
    const std::string text = "[[rule]]\napplication = \"xterm\"\nprofile = 2\n[[rule]]\napplication = \"eyes\"\n"
                             "profle = 3\n";
    write(text);
    for (const std::vector<std::string>& args : {std::vector<std::string>{"rules", "add", "x", "1"},
                                                 {"rules", "remove", "xterm"},
                                                 {"rules", "default", "2"},
                                                 {"rules", "list"},
                                                 {"--json", "rules", "list"}}) {
        const ProgramResult r = run(args);
        EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
        EXPECT_NE(r.err.find(path() + " has mistakes"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("  4:1: a rule needs an application and a profile\n"
                             "  6:1: unknown entry 'profle' in a rule"),
                  std::string::npos)
            << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(ReadFileBytes(path()).bytes, text);
    }
}

TEST_F(RulesCliTest, TheSystemsReasonWhenTheFileCannotBeReadOrWritten) {
    // The config folder's place is taken by a file: the folder cannot be made, nor the rules written.
    std::filesystem::create_directories(dir + "/home/.config");
    std::ofstream(dir + "/home/.config/ombrel") << "not a folder";
    ProgramResult r = run({"rules", "add", "xterm", "1"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("Not a directory"), std::string::npos) << r.err;

    std::filesystem::remove(dir + "/home/.config/ombrel");
    std::filesystem::create_directories(path()); // a folder where the file belongs
    r = run({"rules", "default", "2"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "cannot read " + path() + ": it is not a regular file\n");
}

} // namespace
} // namespace ombrel::test
