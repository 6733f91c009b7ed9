// Each change of the lighting panel is one bracket with its fields at profile x 42 + field offset, and the shown
// state follows what the keyboard holds, also when it refuses.
#include "lighting/LightingWriter.h"
#include "device/LinkResult.h"
#include "lighting/EffectCatalogue.h"
#include "lighting/LightingFixture.h"

#include <functional>

namespace ombrel::test {
namespace {

class LightingWriterTest : public LightingFixture {
protected:
    void SetUp() override {
        LightingFixture::SetUp();
        model.writeArea(emu::Area::Config, 10, std::array<std::uint8_t, 1>{1}); // profile 1 active
        ASSERT_EQ(LoadLighting(commands(), state), LINK_OK);
        takeSent();
    }
    LightingState state;
};

struct ChangeCase {
    const char* name;
    int profile;
    std::function<void(LightingState&)> before; // the shown state before the change
    std::function<int(LightingWriter&)> change;
    std::vector<SentReport> writes; // inside one bracket; empty: nothing at all is sent
};

const ChangeCase kChanges[] = {
    {"EffectWithColorfulSwitch",
     0,
     [](LightingState& s) { s.fields.colorful = true; },
     [](LightingWriter& w) { return w.selectEffect(LightingEffect::Breathing); },
     {{6, 0, {5}}, {6, 4, {1}}}},
    {"UserEffectWritesOnlyItsNumber",
     1,
     nullptr,
     [](LightingWriter& w) { return w.selectEffect(LightingEffect::User); },
     {{6, 42, {20}}}},
    {"EffectWithoutColorful",
     2,
     nullptr,
     [](LightingWriter& w) { return w.selectEffect(LightingEffect::VerticalWave); },
     {{6, 84, {12}}}},
    {"BrightnessOfProfile2", 2, nullptr, [](LightingWriter& w) { return w.setBrightness(3); }, {{6, 85, {3}}}},
    {"SameBrightnessSendsNothing", 0, nullptr, [](LightingWriter& w) { return w.setBrightness(5); }, {}},
    {"SpeedSliderAtFastest",
     0,
     nullptr,
     [](LightingWriter& w) { return w.setSpeed(LightingWriter::SpeedOfSliderPosition(0)); },
     {{6, 2, {4}}}},
    {"SpeedSliderAtSlowest",
     0,
     nullptr,
     [](LightingWriter& w) { return w.setSpeed(LightingWriter::SpeedOfSliderPosition(5)); },
     {{6, 2, {0}}}},
    {"SpeedSliderFrom4To5SendsNothing",
     0,
     [](LightingState& s) { s.fields.speed = 0; },
     [](LightingWriter& w) { return w.setSpeed(LightingWriter::SpeedOfSliderPosition(5)); },
     {}},
    {"DirectionWrittenEvenUnchanged", 1, nullptr, [](LightingWriter& w) { return w.setDirection(0); }, {{6, 45, {0}}}},
    {"PickedColourTurnsColorfulOff",
     0,
     nullptr,
     [](LightingWriter& w) {
         return w.setColor({255, 0, 0});
     },
     {{6, 4, {0}}, {6, 5, {0xFF, 0, 0}}}},
    {"Swatch3",
     1,
     nullptr,
     [](LightingWriter& w) { return w.setColor(PresetColors()[2]); },
     {{6, 46, {0}}, {6, 47, {0x00, 0x7E, 0xFF}}}},
    {"ColorfulOn", 2, nullptr, [](LightingWriter& w) { return w.setColorful(true); }, {{6, 88, {1}}}},
    {"FourColourChoice", 0, nullptr, [](LightingWriter& w) { return w.setColorChoice(3); }, {{6, 17, {3}}}},
    {"ReportRate", 1, nullptr, [](LightingWriter& w) { return w.setReportRate(2); }, {{6, 57, {2}}}},
    {"Reset", 2, nullptr, [](LightingWriter& w) { return w.reset(); }, {{6, 84, {1, 5, 2, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0,
                                                                                 0, 0, 0, 0, 0,    0,    0,    0,    0,
                                                                                 0, 0, 0, 0, 0,    0,    0,    0,    0,
                                                                                 0, 0, 0, 0, 0,    0,    0,    0}}}},
};

TEST_F(LightingWriterTest, EachChangeIsOneBracketAtTheProfilesBlock) {
    for (const ChangeCase& c : kChanges) {
        SCOPED_TRACE(c.name);
        state.showProfile(c.profile);
        if (c.before) c.before(state);
        LightingWriter writer(commands(), state);
        EXPECT_EQ(c.change(writer), LINK_OK);
        EXPECT_EQ(takeSent(), c.writes.empty() ? std::vector<SentReport>{} : Bracket(c.writes));
        // The keyboard holds what the state shows.
        const LightingBytes& shown = state.blocks[static_cast<std::size_t>(c.profile)];
        for (int i = 0; i < 42; ++i)
            EXPECT_EQ(shown[static_cast<std::size_t>(i)], lightingByte(c.profile * 42 + i)) << "byte " << i;
        ASSERT_EQ(ReadLightingBlocks(commands(), state), LINK_OK);
        takeSent();
    }
}

TEST_F(LightingWriterTest, RefusedChangeIsReadBackAndTheStateKeepsTheKeyboardsValue) {
    state.showProfile(1);
    const LightingFields before = state.fields;
    refusedCommand = 6;
    LightingWriter writer(commands(), state);
    EXPECT_EQ(writer.setBrightness(2), LINK_STATUS_FF);
    EXPECT_EQ(state.fields, before);
    const auto sent = takeSent();
    // The refused bracket (the transport tries a refused report again), then a bracketed read of the block.
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(std::vector<SentReport>(sent.end() - 3, sent.end()), Bracket({{5, 42, {}}}));

    // Something else changed the keyboard meanwhile: the read-back shows it.
    model.writeArea(emu::Area::Lighting, 42, std::array<std::uint8_t, 1>{7});
    EXPECT_NE(writer.setColor({1, 2, 3}), LINK_OK);
    EXPECT_EQ(state.fields.effect, LightingEffect::Reactive);
    EXPECT_EQ(state.fields.color, before.color);

    // Nothing answers at all: the state stays as it was before the change.
    refusedCommand = -1;
    fake.onRequest = [](const Report&) {};
    EXPECT_NE(writer.setReportRate(3), LINK_OK);
    EXPECT_EQ(state.fields.reportRate, before.reportRate);
}

TEST_F(LightingWriterTest, OutOfRangeValuesSendNothing) {
    LightingWriter writer(commands(), state);
    EXPECT_EQ(writer.setBrightness(6), LINK_BAD_ARGUMENT);
    EXPECT_EQ(writer.setSpeed(5), LINK_BAD_ARGUMENT);
    EXPECT_EQ(writer.setReportRate(4), LINK_BAD_ARGUMENT);
    EXPECT_EQ(writer.setColorChoice(-1), LINK_BAD_ARGUMENT);
    EXPECT_TRUE(takeSent().empty());
}

TEST_F(LightingWriterTest, LoadShowsTheActiveProfileWithItsClamps) {
    model.writeArea(emu::Area::Lighting, 2 * 42 + 15, std::array<std::uint8_t, 1>{7});
    model.writeArea(emu::Area::Lighting, 2 * 42 + 17, std::array<std::uint8_t, 1>{9});
    model.writeArea(emu::Area::Config, 10, std::array<std::uint8_t, 1>{2});
    ASSERT_EQ(LoadLighting(commands(), state), LINK_OK);
    EXPECT_EQ(state.profile, 2);
    EXPECT_EQ(state.fields.reportRate, 3);
    EXPECT_EQ(state.fields.colorChoice, 0);
    EXPECT_EQ(takeSent(),
              (std::vector<SentReport>{{3, 0, {}}, {1, 0, {}}, {5, 0, {}}, {5, 42, {}}, {5, 84, {}}, {2, 0, {}}}));

    // A configuration that cannot be read changes nothing.
    const LightingState kept = state;
    refusedCommand = 3;
    EXPECT_EQ(LoadLighting(commands(), state), LINK_STATUS_FF);
    EXPECT_EQ(state.profile, kept.profile);
    EXPECT_EQ(state.blocks, kept.blocks);
}

} // namespace
} // namespace ombrel::test
