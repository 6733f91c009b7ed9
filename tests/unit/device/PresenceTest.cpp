#include "DeviceFixture.h"

#include "device/LinkResult.h"

#include <algorithm>
#include <atomic>
#include <thread>

namespace ombrel::test {
namespace {

using Events = std::vector<std::string>;

class PresenceTest : public DeviceFixture {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        fake.memory[3][11] = 0x40;
        for (std::size_t i = 0; i < 378; ++i)
            fake.memory[15][i] = static_cast<std::uint8_t>(i * 7);
    }
    void arrive(int count) {
        fake.deliverDeviceCount(count);
        link->presence().drain();
    }
};

TEST_F(PresenceTest, StartWithKeyboardReadsBlocksAndOpensOnce) {
    link->startPresence();
    link->presence().drain();
    EXPECT_EQ(screen.events(), (Events{"reload-profile", "tray present", "open"}));
    EXPECT_EQ(link->state().macroCapacity.load(), 8192u);
    EXPECT_EQ(link->state().defaultKeymap()[10], static_cast<std::uint8_t>(70));
    EXPECT_TRUE(link->state().devicePresent());

    // Removal, then arrival again: no second automatic showing.
    link->state().cachedProfile.store(1);
    screen.clear();
    arrive(0);
    EXPECT_EQ(screen.events(), (Events{"detach", "gone", "tray absent"}));
    EXPECT_EQ(link->state().cachedProfile.load(), -1);
    screen.clear();
    arrive(1);
    EXPECT_EQ(screen.events(), (Events{"reload-profile", "tray present"}));
}

TEST_F(PresenceTest, ShutdownDuringArrivalLetsTheReadFinishAndSkipsTheRest) {
    std::thread closer;
    std::atomic<bool> closing{false};
    fake.onRequest = [&](const Report& request) {
        if (request.command() == 15 && !closing.load()) {
            // The program ends while the factory block is being read.
            closer = std::thread([this] { link->shutdown(); });
            closing.store(true);
            while (!link->presence().stopping())
                std::this_thread::yield();
        }
        fake.answerFromMemory(request);
    };
    fake.deliverDeviceCount(1);
    while (!closing.load())
        std::this_thread::yield();
    closer.join();

    // Every chunk of the read was answered once; nothing was read or shown after it.
    std::vector<std::uint8_t> commands;
    for (const Report& r : fake.sent)
        commands.push_back(r.command());
    EXPECT_EQ(commands, std::vector<std::uint8_t>(7, 15));
    EXPECT_TRUE(screen.events().empty());
}

TEST_F(PresenceTest, StartWithoutKeyboardOpensTheWindowOnItsFirstArrival) {
    fake.deviceCount = 0;
    link->startPresence();
    link->presence().drain();
    EXPECT_TRUE(screen.events().empty());
    EXPECT_FALSE(link->state().autoShowDone.load());
    fake.deviceCount = 1;
    arrive(1);
    EXPECT_EQ(screen.events(), (Events{"reload-profile", "tray present", "open"}));
    EXPECT_TRUE(link->state().autoShowDone.load());
    // Once only: unplugged and plugged in again, the window is left as the user has it.
    screen.clear();
    arrive(0);
    arrive(1);
    EXPECT_EQ(screen.events(), (Events{"detach", "gone", "tray absent", "reload-profile", "tray present"}));
}

TEST_F(PresenceTest, SameCountDoesNothingAndMoreKeyboardsCountAsArrival) {
    link->state().autoShowDone.store(true);
    arrive(1);
    screen.clear();
    fake.sent.clear();
    arrive(1);
    EXPECT_TRUE(screen.events().empty());
    EXPECT_TRUE(fake.sent.empty());
    arrive(2);
    EXPECT_EQ(screen.events(), (Events{"reload-profile", "tray present"}));
    EXPECT_FALSE(fake.sent.empty());
}

TEST_F(PresenceTest, UnreadableDefaultBlockKeepsTheOldOneAndGoesOn) {
    link->state().autoShowDone.store(true);
    fake.onRequest = [&](const Report& r) {
        if (r.command() == CMD_READ_DEFAULT_KEYMAP)
            fake.deliverReply(fake.replyTo(r, 0xFF));
        else
            fake.answerFromMemory(r);
    };
    const KeymapBytes before = link->state().defaultKeymap();
    arrive(1);
    EXPECT_EQ(screen.events(), (Events{"message MAIN_DEFAULT_MATRIX_PROMPT", "reload-profile", "tray present"}));
    EXPECT_EQ(link->state().defaultKeymap(), before);
    EXPECT_EQ(link->state().macroCapacity.load(), 8192u);
}

TEST_F(PresenceTest, KeyboardPulledOutDuringTheArrivalReadAsksTheUserNothing) {
    link->state().autoShowDone.store(true);
    fake.onRequest = [&](const Report& r) {
        if (r.command() == CMD_READ_DEFAULT_KEYMAP) {
            fake.deviceCount = 0; // gone: no reply comes
            return;
        }
        fake.answerFromMemory(r);
    };
    arrive(1);
    arrive(0);
    const Events events = screen.events();
    EXPECT_EQ(std::count(events.begin(), events.end(), "message MAIN_DEFAULT_MATRIX_PROMPT"), 0);
    EXPECT_EQ(events.back(), "tray absent");
    EXPECT_EQ(link->state().arrivals.load(), 1u);
    EXPECT_EQ(link->state().departures.load(), 1u);
}

TEST_F(PresenceTest, WaitsForTheWindowBeforeTheIcon) {
    screen.ready = false;
    fake.deliverDeviceCount(1);
    for (int i = 0; i < 400 && screen.events().empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(20)); // the worker keeps waiting for the window
    EXPECT_EQ(screen.events(), (Events{"reload-profile"}));
    EXPECT_EQ(link->state().lastDeviceCount.load(), 0);
    screen.ready = true;
    link->presence().drain();
    EXPECT_EQ(screen.events(), (Events{"reload-profile", "tray present", "open"}));
}

TEST(BuiltInDefaultKeymap, HoldsThePartialTable) {
    const KeymapBytes& block = BuiltInDefaultKeymap();
    auto entry = [&](int slot) {
        return std::array<std::uint8_t, 3>{block[slot * 3], block[slot * 3 + 1], block[slot * 3 + 2]};
    };
    EXPECT_EQ(entry(0), (std::array<std::uint8_t, 3>{5, 0, 0}));
    EXPECT_EQ(entry(12), (std::array<std::uint8_t, 3>{2, 1, 2}));
    EXPECT_EQ(entry(53), (std::array<std::uint8_t, 3>{5, 2, 2}));
    EXPECT_EQ(entry(62), (std::array<std::uint8_t, 3>{2, 2, 0x48}));
    EXPECT_EQ(entry(63), (std::array<std::uint8_t, 3>{0, 0, 0}));
    int named = 0;
    for (int s = 0; s < 126; ++s)
        named += block[s * 3] != 0;
    EXPECT_EQ(named, 52);
}

} // namespace
} // namespace ombrel::test
