#include "DeviceFixture.h"

#include "device/ActiveProfile.h"
#include "device/LinkResult.h"
#include "keyboard/ConfigBlock.h"

namespace ombrel::test {
namespace {

TEST(ConfigBlock, Fields) {
    ConfigBlock block;
    block.bytes[8] = 0x0F;
    block.bytes[9] = 0x01;
    EXPECT_TRUE(block.needsFirmwareUpdate());
    block.bytes[8] = 0x10;
    EXPECT_FALSE(block.needsFirmwareUpdate());
    block.bytes[11] = 0x40;
    EXPECT_EQ(block.macroCapacity(), 8192u);
    block.bytes[12] = 3;
    block.bytes[14] = 7;
    EXPECT_EQ(block.offeredEffects(), (std::vector<LightingEffect>{LightingEffect::Snake, LightingEffect::Reactive}));
    EXPECT_FALSE(block.offersEffect(LightingEffect::User));
    block.bytes[43] = 20; // a zero gap anywhere is skipped
    EXPECT_TRUE(block.offersEffect(LightingEffect::User));
    EXPECT_FALSE(block.offersEffect(LightingEffect::None));
}

using ActiveProfileTest = DeviceFixture;

TEST_F(ActiveProfileTest, SwitchKeepsTheOtherBytes) {
    auto& config = fake.memory[3];
    for (int i = 0; i < 8; ++i)
        config[i] = static_cast<std::uint8_t>(0x11 * (i + 1));
    config[10] = 0;
    auto& state = link->state();

    EXPECT_EQ(SetActiveProfile(commands(), state, 1), LINK_OK);
    EXPECT_EQ(config[10], 1);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(config[i], 0x11 * (i + 1));
    EXPECT_EQ(state.cachedProfile.load(), 1);

    // Cached: no exchange.
    fake.sent.clear();
    EXPECT_EQ(GetActiveProfile(commands(), state), 1);
    EXPECT_TRUE(fake.sent.empty());

    // A keyboard swapped in with another profile is asked again once the cache is cleared (removal).
    config[10] = 2;
    state.cachedProfile.store(-1);
    EXPECT_EQ(GetActiveProfile(commands(), state), 2);

    EXPECT_EQ(SetActiveProfile(commands(), state, -1), LINK_BAD_ARGUMENT);
    EXPECT_EQ(SetActiveProfile(commands(), state, 3), LINK_BAD_PROFILE);
    EXPECT_EQ(config[10], 2);
}

TEST_F(ActiveProfileTest, FailuresInvalidateOrKeepTheCache) {
    auto& state = link->state();
    state.cachedProfile.store(0);
    fake.onRequest = [&](const Report& r) {
        if (r.command() == CMD_WRITE_CONFIG)
            fake.deliverReply(fake.replyTo(r, 0xFE));
        else
            fake.answerFromMemory(r);
    };
    EXPECT_EQ(SetActiveProfile(commands(), state, 2), LINK_STATUS_FE);
    EXPECT_EQ(state.cachedProfile.load(), -1); // a failed switch leaves the profile unknown

    fake.deviceCount = 0;
    state.cachedProfile.store(1);
    EXPECT_EQ(SetActiveProfile(commands(), state, 2), LINK_NO_DEVICE);
    EXPECT_EQ(state.cachedProfile.load(), 1); // the read failed: nothing changed
    state.cachedProfile.store(-1);
    EXPECT_EQ(GetActiveProfile(commands(), state), -1);
}

} // namespace
} // namespace ombrel::test
