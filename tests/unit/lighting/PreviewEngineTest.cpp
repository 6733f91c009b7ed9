// The on-screen preview: its tables, and golden ticks of the effects whose motion is easy to get wrong.
#include "lighting/PreviewEngine.h"
#include "lighting/KeySlots.h"
#include "lighting/PreviewTables.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace ombrel {
namespace {

using namespace preview;

constexpr Rgb kRed{255, 0, 0};

// The fills of the chain's keys that are not black, by control.
std::map<int, Rgb> lit(const PreviewFrame& frame) {
    std::map<int, Rgb> keys;
    for (std::uint16_t key : PreviewChain()) {
        const PreviewFill& f = frame[static_cast<std::size_t>(SlotOfControl(key))];
        if (f.on && f.color != kBlack) keys[key] = f.color;
    }
    return keys;
}

std::map<int, Rgb> red(std::initializer_list<std::pair<int, int>> levels) {
    std::map<int, Rgb> keys;
    for (auto [key, level] : levels)
        keys[key] = kRed.scaled(static_cast<std::uint8_t>(level));
    return keys;
}

PreviewEngine fixedHues() {
    return PreviewEngine([] { return 0u; });
}

TEST(PreviewTables, CurvesWheelAndKeys) {
    const auto& wheel = HueWheel();
    EXPECT_EQ(wheel[0], (Rgb{255, 1, 0}));
    EXPECT_EQ(wheel[31], (Rgb{255, 255, 0}));
    EXPECT_EQ(wheel[32], (Rgb{248, 255, 0}));
    EXPECT_EQ(wheel[100], (Rgb{0, 194, 255}));
    EXPECT_EQ(wheel[191], (Rgb{255, 0, 0}));
    for (int i = 192; i < 256; ++i)
        EXPECT_EQ(wheel[static_cast<std::size_t>(i)], wheel[static_cast<std::size_t>(i - 192)]);

    const auto& pulse = PulseCurve();
    EXPECT_EQ(pulse[0], 22);
    EXPECT_EQ(pulse[47], 255);
    EXPECT_EQ(pulse[48], 255);
    EXPECT_EQ(pulse[95], 22);
    const auto& breath = BreathCurve();
    EXPECT_EQ(breath[23], 42);
    EXPECT_EQ(breath[24], 45);
    EXPECT_EQ(breath[63], 255);
    EXPECT_EQ(breath[127], 3);
    const auto& flash = FlashCurve();
    EXPECT_EQ(flash[16], 255);
    EXPECT_EQ(flash[17], 248);
    EXPECT_EQ(flash[63], 22);
    EXPECT_EQ(flash[64], 20);
    EXPECT_EQ(flash[79], 1);
    EXPECT_EQ(flash[128], 0);

    // Every key the tables name has a colour slot of its own (only a control that is none gets slot 0, Esc's).
    std::set<int> slots;
    for (std::uint16_t key : PreviewChain())
        slots.insert(SlotOfControl(key));
    EXPECT_EQ(slots.size(), 105u);
    for (const auto& row : PreviewGrid())
        for (std::uint16_t key : row)
            EXPECT_TRUE(key == kNoKey || slots.count(SlotOfControl(key))) << key;
    for (const Ring& ring : PreviewRings())
        for (std::uint16_t key : ring)
            EXPECT_TRUE(key == kNoKey || slots.count(SlotOfControl(key))) << key;
}

TEST(PreviewEngine, RainStartsWithThreeDropsAndTheSeedRisingFromBelow) {
    PreviewEngine engine = fixedHues();
    PreviewInput in{LightingEffect::Raindrops, 255, false, kRed, 1};
    engine.tick(in);
    EXPECT_EQ(lit(engine.frame()), red({{1023, 235}, {1026, 235}, {1091, 235}}));
    engine.tick(in);
    EXPECT_EQ(lit(engine.frame()), red({{1023, 215},
                                        {1026, 215},
                                        {1091, 215},
                                        {1086, 235},
                                        {1038, 235},
                                        {1041, 235},
                                        {1094, 235},
                                        {1010, 235},
                                        {1013, 235},
                                        {1015, 235}}));
}

TEST(PreviewEngine, CornerRipplesStartAtTheTopLeftWhereNoKeyLies) {
    PreviewEngine engine = fixedHues();
    PreviewInput in{LightingEffect::CornerRipples, 255, false, kRed, 1};
    EXPECT_TRUE(engine.tick(in)); // the chain's keys get their (black) fills
    EXPECT_TRUE(lit(engine.frame()).empty());
    engine.tick(in);
    EXPECT_EQ(lit(engine.frame()), red({{1029, 235}, {1022, 235}}));
}

TEST(PreviewEngine, LightShowOpensWithTheFirstScriptStep) {
    PreviewEngine engine = fixedHues();
    engine.tick({LightingEffect::LightShow, 255, false, kRed, 1});
    EXPECT_EQ(lit(engine.frame()), red({{1022, 225}, {1118, 225}}));
    // Its phases run on for good; a long run keeps lighting keys.
    std::size_t litTicks = 0;
    for (int t = 0; t < 3000; ++t) {
        engine.tick({LightingEffect::LightShow, 255, t % 500 < 250, kRed, 1});
        litTicks += lit(engine.frame()).empty() ? 0 : 1;
    }
    EXPECT_GT(litTicks, 2000u);
}

TEST(PreviewEngine, TwinklePicksEveryChainKeyButTheLastAndTheFirstTwice) {
    PreviewEngine engine = fixedHues(); // hue 0: a key picked this tick shows (235, 0, 0)
    std::map<int, int> picks;
    for (int t = 0; t < 105; ++t) { // 315 picks: three rounds
        engine.tick({LightingEffect::Twinkle, 255, false, kRed, 1});
        for (auto [key, color] : lit(engine.frame()))
            if (color == Rgb{235, 0, 0}) ++picks[key];
        EXPECT_FALSE(lit(engine.frame()).count(1113));
    }
    EXPECT_EQ(picks[1093], 6);
    EXPECT_EQ(picks.count(1113), 0u);
    EXPECT_EQ(picks.size(), 104u);
    for (auto [key, n] : picks)
        EXPECT_EQ(n, key == 1093 ? 6 : 3) << key;
}

TEST(PreviewEngine, ColourCycleTakes96Ticks) {
    PreviewEngine engine = fixedHues();
    std::vector<PreviewFrame> frames;
    for (int t = 0; t < 192; ++t) {
        EXPECT_TRUE(engine.tick({LightingEffect::ColorCycle, 255, false, kRed, 1}));
        frames.push_back(engine.frame());
        const Rgb expected = HueWheel()[static_cast<std::size_t>(2 * (t + 1) % 192)];
        EXPECT_EQ(engine.frame()[static_cast<std::size_t>(SlotOfControl(1058))], (PreviewFill{expected, true}));
        EXPECT_EQ(engine.frame()[static_cast<std::size_t>(SlotOfControl(1113))], (PreviewFill{expected, true}));
    }
    for (int t = 0; t < 96; ++t) {
        EXPECT_EQ(frames[static_cast<std::size_t>(t)], frames[static_cast<std::size_t>(t + 96)]);
        for (int u = t + 1; u < 96; ++u)
            EXPECT_NE(frames[static_cast<std::size_t>(t)], frames[static_cast<std::size_t>(u)]);
    }
}

TEST(PreviewEngine, WaveInOneColourFollowsThePulseColumnByColumn) {
    PreviewEngine engine = fixedHues();
    for (int t = 1; t <= 20; ++t) {
        engine.tick({LightingEffect::Wave, 255, false, kRed, 1});
        const int phase = 7 * t % 96;
        // Esc and the A key lie in column 2, key 1107 in the last column.
        for (auto [key, column] : {std::pair{1022, 2}, std::pair{1058, 2}, std::pair{1107, 22}}) {
            const Rgb expected = kRed.scaled(PulseCurve()[static_cast<std::size_t>((phase + 7 * column) % 96)]);
            EXPECT_EQ(engine.frame()[static_cast<std::size_t>(SlotOfControl(key))].color, expected) << key << " " << t;
        }
    }
}

TEST(PreviewEngine, StillEffectsAndUnknownOnesShowNoFills) {
    for (int number : {7, 8, 9, 17, 19, 99}) {
        SCOPED_TRACE(number);
        const auto effect = static_cast<LightingEffect>(number);
        PreviewEngine engine = fixedHues();
        engine.tick({LightingEffect::ColorCycle, 255, false, kRed, 1});
        EXPECT_TRUE(engine.tick({effect, 255, false, kRed, 2}));
        EXPECT_TRUE(
            std::all_of(engine.frame().begin(), engine.frame().end(), [](const PreviewFill& f) { return !f.on; }));
        EXPECT_FALSE(engine.tick({effect, 255, false, kRed, 2}));
    }
    // The user effect leaves the map to the user's own colours.
    PreviewEngine engine = fixedHues();
    EXPECT_FALSE(engine.tick({LightingEffect::User, 255, false, kRed, 1}));
}

TEST(PreviewEngine, EveryEffectRunsLongWithoutLeavingItsTables) {
    std::uint32_t seed = 1;
    PreviewEngine engine([&seed] { return seed = seed * 1103515245u + 12345u; });
    for (int number = 0; number <= 21; ++number)
        for (int t = 0; t < 400; ++t)
            engine.tick({static_cast<LightingEffect>(number),
                         static_cast<std::uint8_t>(t / 100 % 2 ? 0 : 255),
                         t % 3 != 0,
                         {9, 99, 199},
                         static_cast<std::uint32_t>(number + (t == 200 ? 100 : 0))});
}

} // namespace
} // namespace ombrel
