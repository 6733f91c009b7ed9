// The panel's work without the widgets: loading with the user colours, the switch, reset and painting.
#include "lighting/LightingSession.h"
#include "device/LinkResult.h"
#include "lighting/LightingFixture.h"
#include "platform/IniFile.h"
#include "support/TestPaths.h"

#include <filesystem>
#include <fstream>

namespace ombrel::test {
namespace {

class LightingSessionTest : public LightingFixture {
protected:
    void SetUp() override {
        LightingFixture::SetUp();
        dir = makeTempDir("ombrel-session");
        std::ofstream(dir + "/template.userd") << "[PRESENTMODE]\nmode=1\n[MODENAME]\n1=Focus\n[Mode1]\n0=1,2,3,0\n";
        paths = {dir + "/rira.ini", dir + "/UserDengColor_", dir + "/template.userd"};
        model.writeArea(emu::Area::Config, 10, std::array<std::uint8_t, 1>{1});
    }
    void TearDown() override {
        std::filesystem::remove_all(dir);
        LightingFixture::TearDown();
    }
    std::string dir;
    LightingPaths paths;
};

TEST_F(LightingSessionTest, LoadWritesTheUserPatternOnlyWhenAskedAndOffered) {
    LightingSession session(commands(), paths);
    ASSERT_EQ(session.load(), LINK_OK);
    EXPECT_EQ(session.state().profile, 1);
    EXPECT_EQ(session.state().fields.effect, LightingEffect::User); // the emulator's factory lighting of profile 1
    auto sent = takeSent();
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(), [](const SentReport& r) { return r.command == 17; }), 8);

    ASSERT_EQ(session.load(false), LINK_OK);
    sent = takeSent();
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(), [](const SentReport& r) { return r.command == 17; }), 0);

    // A keyboard without the user effect gets no pattern.
    model.writeArea(emu::Area::Config, 12 + 18, std::array<std::uint8_t, 1>{0});
    ASSERT_EQ(session.load(), LINK_OK);
    EXPECT_FALSE(session.offersUserEffect());
    EXPECT_EQ(session.positionOfEffect(LightingEffect::User), -1);
    EXPECT_EQ(session.positionOfEffect(LightingEffect::ColorCycle), 3);
    sent = takeSent();
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(), [](const SentReport& r) { return r.command == 17; }), 0);
}

TEST_F(LightingSessionTest, SwitchPersistsAndResetRestoresDefaultsAndTemplate) {
    {
        LightingSession session(commands(), paths);
        EXPECT_FALSE(session.panelOn());
        EXPECT_TRUE(session.setPanelOn(true));
    }
    EXPECT_EQ(ReadIniString(paths.userIni, "KEYCOLOR", "DengCheck", ""), "1");
    LightingSession session(commands(), paths);
    EXPECT_TRUE(session.panelOn());

    ASSERT_EQ(session.load(), LINK_OK);
    session.patterns().setBrushColor({9, 9, 9});
    session.paintKey(1022);
    ASSERT_EQ(session.reset(), LINK_OK);
    EXPECT_EQ(session.state().fields, DefaultLightingFields());
    EXPECT_EQ(ReadIniString(paths.colorFilePrefix + "1.userd", "MODENAME", "1", ""), "Focus");
    EXPECT_EQ(session.patterns().currentPattern(), 1);
    EXPECT_EQ(session.patterns().colors(1)[0], (Rgb{1, 2, 3}));
    EXPECT_EQ(model.memory().keyColors[512], 1);
}

TEST_F(LightingSessionTest, KeysArePaintedOnlyInTheUserEffect) {
    LightingSession session(commands(), paths);
    ASSERT_EQ(session.load(), LINK_OK);
    session.writer().selectEffect(LightingEffect::ColorCycle);
    takeSent();
    EXPECT_EQ(session.paintKey(1022), LINK_OK);
    EXPECT_TRUE(takeSent().empty());
    session.writer().selectEffect(LightingEffect::User);
    takeSent();
    session.paintKey(1174);
    EXPECT_EQ(takeSent(), Bracket({{17, 512 + 110 * 3, {0, 0, 0}}}));
    // The preview starts again with each effect choice.
    EXPECT_EQ(session.previewInput().effectSelections, 2u);
}

} // namespace
} // namespace ombrel::test
