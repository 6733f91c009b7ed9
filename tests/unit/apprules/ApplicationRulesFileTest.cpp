// The rules file: what reads, what each kind of mistake says and where, and that a damaged or unreadable file is
// never taken for "no rules".
#include "apprules/ApplicationRulesFile.h"
#include "support/TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace ombrel::apprules {
namespace {

std::string problemsOf(std::string_view text) {
    const RulesRead read = ParseApplicationRules(text);
    EXPECT_EQ(read.rules.has_value(), read.problems.empty());
    std::string all;
    for (const RulesProblem& p : read.problems)
        all += DescribeProblem(p) + "\n";
    return all;
}

TEST(ApplicationRulesFile, RulesWrittenReadBackTheSameInTheirOrder) {
    const ApplicationRules cases[] = {
        {},
        {{}, 3},
        {{{"steam_app_570", 2}, {"org.gnome.Terminal", 3}, {"xterm", 1}}, 2},
        // Whatever a desktop may hand out as an id must survive the file: quotes, backslashes, apostrophes, UTF-8.
        {{{"a \"quoted\" \\ name", 1}, {"it's", 2}, {"Spiel für Ärger 游戏", 3}, {std::string(255, 'x'), 1}}, 1},
    };
    for (const ApplicationRules& rules : cases) {
        const std::string text = FormatApplicationRules(rules);
        const RulesRead read = ParseApplicationRules(text);
        ASSERT_TRUE(read.rules) << text << problemsOf(text);
        EXPECT_EQ(*read.rules, rules) << text;
    }
}

TEST(ApplicationRulesFile, HandWrittenFilesRead) {
    const RulesRead read = ParseApplicationRules("# mine\n"
                                                 "rule = [{ application = 'Inline', profile = 3 }]\n"
                                                 "default-profile = 2\n");
    ASSERT_TRUE(read.rules);
    EXPECT_EQ(*read.rules, (ApplicationRules{{{"Inline", 3}}, 2}));

    const RulesRead empty = ParseApplicationRules("");
    ASSERT_TRUE(empty.rules);
    EXPECT_FALSE(empty.rules->active());
    EXPECT_EQ(empty.rules->defaultProfile, 1);
}

TEST(ApplicationRulesFile, EachMistakeIsReportedWhereItIs) {
    struct Case {
        std::string text;
        std::string problems; // DescribeProblem of each, one a line
    };
    const Case cases[] = {
        {"default-profile = 4\n", "1:19: default-profile must be from 1 to 3, not 4\n"},
        {"default-profile = \"2\"\n", "1:19: default-profile must be a profile number from 1 to 3\n"},
        {"[[rule]]\napplication = \"x\"\nprofile = 0\n", "3:11: profile must be from 1 to 3, not 0\n"},
        {"[[rule]]\napplication = \"x\"\nprofile = 1.5\n", "3:11: profile must be a profile number from 1 to 3\n"},
        {"[[rule]]\napplication = \"\"\nprofile = 1\n", "2:15: the application is empty\n"},
        {"[[rule]]\napplication = \"" + std::string(256, 'a') + "\"\nprofile = 1\n",
         "2:15: the application is longer than 255 bytes\n"},
        {"[[rule]]\napplication = \" steam\"\nprofile = 1\n",
         "2:15: the application begins or ends with a space, so it would never match\n"},
        {"[[rule]]\napplication = \"a\\u0007b\"\nprofile = 1\n",
         "2:15: the application contains a control character\n"},
        {"[[rule]]\napplication = 5\nprofile = 1\n", "2:15: application must be a text in quotes\n"},
        {"[[rule]]\napplication = \"x\"\n", "1:1: a rule needs an application and a profile\n"},
        {"[[rule]]\napplication = \"x\"\nprofle = 1\n",
         "1:1: a rule needs an application and a profile\n"
         "3:1: unknown entry 'profle' in a rule (it has application and profile)\n"},
        {"defaultprofile = 2\n",
         "1:1: unknown entry 'defaultprofile' (the file has default-profile and [[rule]] tables)\n"},
        {"[rule]\napplication = \"x\"\nprofile = 1\n",
         "1:1: each rule must be a [[rule]] table (two brackets on each side)\n"},
        {"rule = [1]\n", "1:9: each rule must be a table with an application and a profile\n"},
        // The second rule for an application (in any case) could never apply: almost surely a mistake.
        {"[[rule]]\napplication = \"Steam\"\nprofile = 1\n[[rule]]\napplication = \"steam\"\nprofile = 2\n",
         "5:15: 'steam' already has a rule on line 2; only the first would ever apply\n"},
        // Several mistakes come in the order of the file, whatever order the parser visits them in.
        {"rule = [{ application = \"\", profile = 9 }]\ndefault-profile = 0\n",
         "1:25: the application is empty\n"
         "1:39: profile must be from 1 to 3, not 9\n"
         "2:19: default-profile must be from 1 to 3, not 0\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(problemsOf(c.text), c.problems) << c.text;
}

TEST(ApplicationRulesFile, SyntaxErrorsAndOversizedFilesGiveNoRules) {
    for (const std::string& text :
         {std::string("default-profile = \n"), std::string("[[rule]\n"), std::string("application = \"\xff\"\n"),
          "# " + std::string(kMaxRulesFileSize, 'x') + "\n"}) {
        const RulesRead read = ParseApplicationRules(text);
        EXPECT_FALSE(read.rules);
        ASSERT_EQ(read.problems.size(), 1u);
        EXPECT_GE(read.problems[0].line, 1);
    }
}

TEST(ApplicationRulesFile, ApplicationChecksCoverWhatTheFileCannotHold) {
    EXPECT_EQ(ApplicationProblem("steam_app_570"), "");
    EXPECT_EQ(ApplicationProblem("Spiel für Ärger"), "");
    EXPECT_EQ(ApplicationProblem("a\xc3"), "the application is not UTF-8 text");
    EXPECT_EQ(ApplicationProblem("\xc0\xaf"), "the application is not UTF-8 text");     // overlong '/'
    EXPECT_EQ(ApplicationProblem("\xed\xa0\x80"), "the application is not UTF-8 text"); // a surrogate
    EXPECT_EQ(ApplicationProblem("line\nbreak"), "the application contains a control character");
}

TEST(ApplicationRulesFile, FindRuleIgnoresCaseLikeMatching) {
    const ApplicationRules rules{{{"Steam", 1}, {"xterm", 2}}, 1};
    EXPECT_EQ(FindRule(rules, "STEAM"), 0u);
    EXPECT_EQ(FindRule(rules, "XTerm"), 1u);
    EXPECT_EQ(FindRule(rules, "xter"), std::nullopt);
}

class RulesFileOnDisk : public ::testing::Test {
protected:
    void SetUp() override { dir = test::makeTempDir("ombrel-apprules"); }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string dir;
};

TEST_F(RulesFileOnDisk, PathIsBesideTheSettings) {
    PathEnvironment env;
    env.executablePath = dir + "/bin/ombrel";
    env.home = dir + "/home";
    env.xdgConfigHome = dir + "/config";
    EXPECT_EQ(ApplicationRulesPath(*BuildAppPaths(env)), dir + "/config/ombrel/application-profiles.toml");
}

TEST_F(RulesFileOnDisk, SavedRulesLoadAndEachStateIsTold) {
    const std::string path = dir + "/config/ombrel/" + kRulesFileName;
    EXPECT_EQ(LoadApplicationRules(path).state, RulesFile::State::Missing);

    const ApplicationRules rules{{{"steam_app_570", 2}}, 3};
    ASSERT_TRUE(SaveApplicationRules(path, rules)); // creates the folder
    const RulesFile read = LoadApplicationRules(path);
    EXPECT_EQ(read.state, RulesFile::State::Read);
    EXPECT_EQ(read.rules, rules);

    std::ofstream(path) << "default-profile = 7\n";
    const RulesFile damaged = LoadApplicationRules(path);
    EXPECT_EQ(damaged.state, RulesFile::State::Damaged);
    EXPECT_FALSE(damaged.rules.active());
    ASSERT_EQ(damaged.problems.size(), 1u);
    EXPECT_EQ(DescribeProblem(damaged.problems[0]), "1:19: default-profile must be from 1 to 3, not 7");

    const std::string folder = dir + "/folder.toml";
    std::filesystem::create_directory(folder);
    const RulesFile unreadable = LoadApplicationRules(folder);
    EXPECT_EQ(unreadable.state, RulesFile::State::Unreadable);
    EXPECT_EQ(unreadable.error, "cannot read " + folder + ": it is not a regular file");
    const FileWriteResult refused = SaveApplicationRules(folder, rules);
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.message.find(folder), std::string::npos);

    const std::string big = dir + "/big.toml";
    std::ofstream(big) << std::string(kMaxRulesFileSize + 1, '#');
    EXPECT_EQ(LoadApplicationRules(big).state, RulesFile::State::Unreadable);
}

} // namespace
} // namespace ombrel::apprules
