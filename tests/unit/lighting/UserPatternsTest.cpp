// Per-key colours: the colour file's entries with their defaults, painting, loading a pattern, the base colour,
// names, and a colour file that cannot be written.
#include "lighting/UserPatterns.h"
#include "device/LinkResult.h"
#include "lighting/LightingFixture.h"
#include "platform/IniFile.h"
#include "support/TestPaths.h"

#include <filesystem>
#include <fstream>

namespace ombrel::test {
namespace {

constexpr int kEsc = 1022;
constexpr int kA = 1058; // slot 64

TEST(ColorFile, EntriesThatAreNotFourNumbersInRangeReadAsTheDefault) {
    const ColorEntry red{{255, 0, 0}, true};
    const struct {
        const char* text;
        ColorEntry expected;
    } cases[] = {
        {"10,20,30,0", {{10, 20, 30}, false}},
        {" 10 , 20,30 ,1", {{10, 20, 30}, true}},
        {"0,0,0,7", {{0, 0, 0}, true}}, // any flag but 0 is set
        {"0,0,0,-1", {{0, 0, 0}, true}},
        {"256,0,0,0", red},
        {"-1,0,0,0", red},
        {"1,2,3", red},
        {"1,2,3,4,5", red},
        {"1,2,,0", red},
        {"a,b,c,d", red},
        {"1,2,3,0x", red},
        {"99999999999999999999,0,0,0", red},
        {"", red},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseColorEntry(c.text).value_or(red), c.expected);
    }
    const IniDocument doc = IniDocument::fromBytes("[PRESENTMODE]\nmode=7\n[Mode0]\ntool=1\njcolor=1,2\ncolor=3,4,5\n"
                                                   "0=1,2,3,0\n1=junk\n");
    const ColorFileView file(doc);
    EXPECT_EQ(file.currentPattern(), 0);
    EXPECT_EQ(file.patternName(2), "0");
    EXPECT_EQ(file.settings(0), (PatternSettings{PaintTool::Base, kBlack, {3, 4, 5}}));
    EXPECT_EQ(file.entry(0, 0), (ColorEntry{{1, 2, 3}, false}));
    EXPECT_EQ(file.entry(0, 1), red);
    EXPECT_EQ(file.entry(1, 0), red);
    EXPECT_EQ(FormatColorEntry({{10, 20, 30}, false}), "10,20,30,0");
}

class UserPatternsTest : public LightingFixture {
protected:
    void SetUp() override {
        LightingFixture::SetUp();
        dir = makeTempDir("ombrel-colors");
        m_patterns = std::make_unique<UserPatterns>(commands(), dir + "/UserDengColor_");
        m_patterns->onFileUnwritable = [this](const std::string& path) { unwritable.push_back(path); };
    }
    void TearDown() override {
        std::filesystem::remove_all(dir);
        LightingFixture::TearDown();
    }
    std::string file(int profile) const { return dir + "/UserDengColor_" + std::to_string(profile) + ".userd"; }
    std::string read(int profile, const std::string& section, const std::string& key) const {
        return ReadIniString(file(profile), section, key, "<missing>");
    }
    Rgb keyboardColor(int profile, int slot) const {
        const auto& m = model.memory().keyColors;
        const std::size_t at = static_cast<std::size_t>(profile * 512 + slot * 3);
        return {m[at], m[at + 1], m[at + 2]};
    }

    std::string dir;
    UserPatterns& patterns() { return *m_patterns; }
    std::unique_ptr<UserPatterns> m_patterns;
    std::vector<std::string> unwritable;
};

TEST_F(UserPatternsTest, AFreshFileLoadsAllRedAndWritesTheWholePatternInEightReports) {
    ASSERT_EQ(patterns().loadCurrent(2), LINK_OK);
    std::vector<SentReport> expected;
    for (int w = 0; w < 8; ++w) {
        std::vector<std::uint8_t> bytes(54, 0);
        for (int i = 0; i < 18 && w * 18 + i < 126; ++i)
            bytes[static_cast<std::size_t>(i) * 3] = 0xFF;
        expected.push_back({17, 2 * 512 + w * 54, bytes});
    }
    EXPECT_EQ(takeSent(), Bracket(expected));
    EXPECT_EQ(patterns().settings(), PatternSettings{});
    EXPECT_EQ(patterns().patternNames(), (std::array<std::string, 3>{"0", "0", "0"}));

    // Choosing another pattern keeps the choice in the file and writes that pattern.
    ASSERT_EQ(patterns().selectPattern(1), LINK_OK);
    EXPECT_EQ(read(2, "PRESENTMODE", "mode"), "1");
    EXPECT_EQ(takeSent().size(), 10u);
}

TEST_F(UserPatternsTest, PaintingAKeyWritesItsSlotAndItsFileEntry) {
    ASSERT_TRUE(WriteIniString(file(1), "PRESENTMODE", "mode", "2"));
    patterns().loadCurrent(1);
    ASSERT_TRUE(patterns().setBrushColor({10, 20, 30}));
    takeSent();
    ASSERT_EQ(patterns().paintControl(kEsc), LINK_OK);
    EXPECT_EQ(takeSent(), Bracket({{17, 512, {0x0A, 0x14, 0x1E}}}));
    EXPECT_EQ(read(1, "Mode2", "0"), "10,20,30,0");
    EXPECT_EQ(read(1, "Mode2", "color"), "10,20,30");
    EXPECT_EQ(patterns().colors(1)[0], (Rgb{10, 20, 30}));
    EXPECT_FALSE(patterns().baseFlag(1, 0));

    // Fn has its own slot; the base tool paints with the base colour and marks the key.
    ASSERT_TRUE(patterns().setTool(PaintTool::Base));
    patterns().paintControl(1174);
    EXPECT_EQ(read(1, "Mode2", "110"), "0,0,0,1");
    EXPECT_EQ(read(1, "Mode2", "tool"), "1");

    // What was painted comes back on the next load.
    UserPatterns again(commands(), dir + "/UserDengColor_");
    again.loadCurrent(1);
    EXPECT_EQ(again.currentPattern(), 2);
    EXPECT_EQ(again.colors(1)[0], (Rgb{10, 20, 30}));
    EXPECT_EQ(keyboardColor(1, 0), (Rgb{10, 20, 30}));
}

TEST_F(UserPatternsTest, ANewBaseColourRepaintsOnlyTheKeysThatCarryIt) {
    patterns().loadCurrent(0); // every key red, carrying the base colour
    patterns().setBrushColor({0, 0, 255});
    patterns().paintControl(kA);
    takeSent();

    ASSERT_EQ(patterns().setBaseColor({0, 255, 0}), LINK_OK);
    EXPECT_EQ(takeSent().size(), 10u); // the whole pattern
    EXPECT_EQ(keyboardColor(0, 64), (Rgb{0, 0, 255}));
    EXPECT_EQ(keyboardColor(0, 90), (Rgb{0, 255, 0}));
    EXPECT_EQ(keyboardColor(0, kGKeySlot), (Rgb{0, 255, 0}));
    EXPECT_EQ(read(0, "Mode0", "90"), "0,255,0,1");
    EXPECT_EQ(read(0, "Mode0", "125"), "0,255,0,1");
    EXPECT_EQ(read(0, "Mode0", "64"), "0,0,255,0");
    EXPECT_EQ(read(0, "Mode0", "13"), "<missing>"); // a slot no key shows is left alone
    EXPECT_EQ(read(0, "Mode0", "jcolor"), "0,255,0");

    // The same colour again changes nothing.
    EXPECT_EQ(patterns().setBaseColor({0, 255, 0}), LINK_OK);
    EXPECT_TRUE(takeSent().empty());
}

TEST_F(UserPatternsTest, RenamingAndAnUnwritableFileReportedOnce) {
    patterns().loadCurrent(0);
    ASSERT_TRUE(patterns().renameCurrent("Game"));
    ASSERT_TRUE(patterns().renameCurrent("Gamer\nline"));
    EXPECT_EQ(read(0, "MODENAME", "0"), "Gamer line");
    EXPECT_EQ(patterns().patternNames()[0], "Gamer line");

    UserPatterns lost(commands(), dir + "/missing-folder/UserDengColor_");
    lost.onFileUnwritable = [this](const std::string& path) { unwritable.push_back(path); };
    lost.loadCurrent(0);
    lost.setBrushColor({1, 2, 3});
    EXPECT_EQ(lost.paintControl(kEsc), LINK_OK); // the keyboard still gets the colour
    lost.renameCurrent("x");
    ASSERT_EQ(unwritable.size(), 1u);
    EXPECT_NE(unwritable[0].find(dir + "/missing-folder/UserDengColor_0.userd"), std::string::npos) << unwritable[0];
}

} // namespace
} // namespace ombrel::test
