// The device link against the emulated keyboard behind the real library interface: replies, faults, unplugging
// and the keyboard's own notifications, each through the library's threads.
#include "device/ActiveProfile.h"
#include "device/DeviceLink.h"
#include "device/LinkResult.h"
#include "keyboard/ConfigBlock.h"
#include "support/EmulatorLibrary.h"
#include "support/RecordingScreen.h"

#include <gtest/gtest.h>

#include <thread>

namespace ombrel::test {
namespace {

using Events = std::vector<std::string>;
using namespace std::chrono_literals;

// Long enough that a loaded machine (or a sanitizer build) never misses a 1 ms reply, short enough for quick tests.
constexpr auto kReplyTimeout = 250ms;

class EmulatedLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        emu.configure(nullptr);
        std::string error;
        link = DeviceLink::start(EmulatorLibrary().api(), screen, &error, ExchangeTiming{kReplyTimeout, 1ms});
        ASSERT_TRUE(link) << error;
        emu.reset();
        link->presence().windowPollInterval = 1ms;
    }
    void TearDown() override {
        link->shutdown();
        emu.reset();
    }
    // Waits (bounded) until the screen has seen `n` events.
    bool waitForEvents(std::size_t n) {
        for (int i = 0; i < 400 && screen.events().size() < n; ++i)
            std::this_thread::sleep_for(5ms);
        return screen.events().size() >= n;
    }

    const EmulatorControl& emu = Emulator();
    RecordingScreen screen;
    std::unique_ptr<DeviceLink> link;
};

TEST_F(EmulatedLinkTest, ReadsTheFactoryStateAndWritesBack) {
    ConfigBlock config;
    ASSERT_EQ(link->commands().ReadConfig(config.bytes), LINK_OK);
    EXPECT_EQ(config.firmwareVersion(), 0x0110);
    EXPECT_EQ(config.macroCapacity(), 8192u);
    std::vector<LightingEffect> effects;
    for (int e = 1; e <= 18; ++e)
        effects.push_back(static_cast<LightingEffect>(e));
    effects.push_back(static_cast<LightingEffect>(20));
    EXPECT_EQ(config.offeredEffects(), effects);

    std::array<std::uint8_t, kKeymapSize> factory{}, profile2{};
    ASSERT_EQ(link->commands().ReadDefaultKeymap(factory), LINK_OK);
    ASSERT_EQ(link->commands().ReadKeymap(profile2, 2), LINK_OK);
    EXPECT_EQ(factory, profile2);

    // A changed block and macro image come back as written.
    profile2[3 * 11] = 2;
    profile2[3 * 11 + 1] = 2;
    profile2[3 * 11 + 2] = 0x29; // Caps Lock slot sends Escape
    std::vector<std::uint8_t> image(8192);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 31 + 7);
    const int written = link->commands().Bracketed([&] {
        const int r = link->commands().WriteMacros(image);
        return r == LINK_OK ? link->commands().WriteKeymap(profile2, 2) : r;
    });
    ASSERT_EQ(written, LINK_OK);
    std::array<std::uint8_t, kKeymapSize> back{};
    std::vector<std::uint8_t> imageBack(8192);
    ASSERT_EQ(link->commands().ReadKeymap(back, 2), LINK_OK);
    ASSERT_EQ(link->commands().ReadMacros(imageBack), LINK_OK);
    EXPECT_EQ(back, profile2);
    EXPECT_EQ(imageBack, image);

    ASSERT_EQ(SetActiveProfile(link->commands(), link->state(), 2), LINK_OK);
    link->state().cachedProfile.store(-1);
    EXPECT_EQ(GetActiveProfile(link->commands(), link->state()), 2);
}

TEST_F(EmulatedLinkTest, LateReplyIsTakenByTheNextAttempt) {
    // The first attempt's reply arrives half-way through the second attempt's wait.
    emu.injectFault(EMU_FAULT_DELAY_REPLY, static_cast<int>(kReplyTimeout.count() * 3 / 2));
    emu.injectFault(EMU_FAULT_DROP_REPLY, 0); // the second attempt's own reply is lost
    ConfigBlock config;
    EXPECT_EQ(link->commands().ReadConfig(config.bytes), LINK_OK);
    EXPECT_EQ(config.firmwareVersion(), 0x0110);
    EXPECT_EQ(emu.reportCount(), 2u);
}

struct FaultCase {
    const char* name;
    int fault;
    int times;
    int expected;
    unsigned reports;
};

class EmulatedFaults : public EmulatedLinkTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(EmulatedFaults, ReadConfig) {
    const FaultCase& c = GetParam();
    for (int i = 0; i < c.times; ++i)
        emu.injectFault(c.fault, 0);
    ConfigBlock config;
    EXPECT_EQ(link->commands().ReadConfig(config.bytes), c.expected);
    EXPECT_EQ(emu.reportCount(), c.reports);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, EmulatedFaults,
    ::testing::Values(FaultCase{"status_ff_three_times", EMU_FAULT_STATUS_FF, 3, LINK_STATUS_FF, 3},
                      FaultCase{"status_fe_three_times", EMU_FAULT_STATUS_FE, 3, LINK_STATUS_FE, 3},
                      FaultCase{"status_ff_twice", EMU_FAULT_STATUS_FF, 2, LINK_OK, 3},
                      FaultCase{"other_command_three_times", EMU_FAULT_WRONG_COMMAND, 3, LINK_NO_REPLY, 3},
                      FaultCase{"silence_three_times", EMU_FAULT_DROP_REPLY, 3, LINK_NO_REPLY, 3},
                      FaultCase{"short_reply_three_times", EMU_FAULT_SHORT_REPLY, 3, LINK_NO_REPLY, 3},
                      FaultCase{"send_fails", EMU_FAULT_SEND_FAIL, 1, LINK_SEND_FAILED, 0}),
    [](const auto& paramInfo) { return std::string(paramInfo.param.name); });

TEST_F(EmulatedLinkTest, UnplugInTheMiddleOfABlock) {
    link->state().autoShowDone.store(true);
    link->startPresence();
    ASSERT_TRUE(waitForEvents(2)); // reload-profile, tray 0 141
    screen.clear();
    for (int i = 0; i < 3; ++i)
        emu.injectFault(EMU_FAULT_NONE, 0);
    emu.injectFault(EMU_FAULT_UNPLUG, 0);
    std::array<std::uint8_t, kKeymapSize> block{};
    const int result = link->commands().ReadKeymap(block, 1);
    // The write of the fourth chunk fails as the keyboard disappears under it.
    EXPECT_EQ(result, LINK_SEND_FAILED) << LinkResultName(result);
    ASSERT_TRUE(waitForEvents(3));
    // The worker notes the count it handled just after the tray: let it finish before asking.
    link->presence().drain();
    EXPECT_EQ(screen.events(), (Events{"detach", "gone", "tray absent"}));
    EXPECT_FALSE(link->state().devicePresent());

    // Nothing is sent while it is gone; it comes back when plugged in again.
    EXPECT_EQ(link->commands().ReadKeymap(block, 1), LINK_NO_DEVICE);
    screen.clear();
    emu.plug();
    ASSERT_TRUE(waitForEvents(2));
    EXPECT_EQ(screen.events(), (Events{"reload-profile", "tray present"}));
    EXPECT_EQ(link->commands().ReadKeymap(block, 1), LINK_OK);
}

TEST_F(EmulatedLinkTest, OverlappingCallersFromTwoThreads) {
    std::array<std::uint8_t, kKeymapSize> expected0{}, expected1{};
    emu.readMemory(EMU_AREA_KEYMAP, 0, expected0.data(), kKeymapSize);
    expected1 = expected0;
    expected1[0] = 0x02;
    expected1[1] = 0x02;
    expected1[2] = 0x04;
    emu.writeMemory(EMU_AREA_KEYMAP, kKeymapSize, expected1.data(), kKeymapSize);
    std::atomic<int> failures{0};
    auto reader = [&](int profile, const std::array<std::uint8_t, kKeymapSize>& expected) {
        for (int i = 0; i < 10; ++i) {
            std::array<std::uint8_t, kKeymapSize> block{};
            if (link->commands().ReadKeymap(block, profile) != LINK_OK || block != expected) ++failures;
        }
    };
    std::thread a(reader, 0, std::cref(expected0)), b(reader, 1, std::cref(expected1));
    a.join();
    b.join();
    EXPECT_EQ(failures.load(), 0);
}

TEST_F(EmulatedLinkTest, KeyboardNotifications) {
    emu.pressBankKey();
    ASSERT_TRUE(waitForEvents(1));
    std::uint8_t status[2] = {};
    emu.bankStatus(status);
    EXPECT_EQ(status[0], 0x05);
    EXPECT_EQ(status[1], 0x03);
    emu.pressBankKey();
    ASSERT_TRUE(waitForEvents(2));
    emu.bankStatus(status);
    EXPECT_EQ(status[1], 0x02);

    emu.sendConsumer(6161);
    emu.sendConsumer(6160);
    emu.sendConsumer(1025);
    ASSERT_TRUE(waitForEvents(5));
    link->notifications().drainIconChanges();
    const Events events = screen.events();
    EXPECT_EQ(Events(events.begin(), events.begin() + 2), (Events{"bank 1", "bank 0"}));
    // The icon worker and the timer run independently; each kind keeps its own order.
    Events trays, timers;
    for (const auto& e : events)
        (e.rfind("tray", 0) == 0 ? trays : timers).push_back(e);
    EXPECT_EQ(trays, (Events{"tray activity", "tray activity-ended"}));
    EXPECT_EQ(timers, (Events{"bank 1", "bank 0", "reload-timer"}));
}

TEST_F(EmulatedLinkTest, BootRequestSendsTheKeyboardAway) {
    EXPECT_EQ(link->commands().EnterBoot(), 1);
    for (int i = 0; i < 100 && !emu.bootRequested(); ++i)
        std::this_thread::sleep_for(5ms);
    EXPECT_EQ(emu.bootRequested(), 1);
}

} // namespace
} // namespace ombrel::test
