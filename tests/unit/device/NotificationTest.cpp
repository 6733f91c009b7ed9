#include "DeviceFixture.h"

#include "device/LinkResult.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <thread>

namespace ombrel::test {
namespace {

using Events = std::vector<std::string>;
using NotificationTest = DeviceFixture;

TEST_F(NotificationTest, BankKeyTwiceComesBackToBankA) {
    fake.deliverConsumer(767);
    EXPECT_EQ(link->state().bank(), 1);
    fake.deliverConsumer(767);
    EXPECT_EQ(link->state().bankStatus(), (std::array<std::uint8_t, 2>{0x05, 0x02}));
    EXPECT_EQ(fake.statusWrites, (std::vector<std::vector<std::uint8_t>>{{0x05, 0x03}, {0x05, 0x02}}));
    EXPECT_EQ(screen.events(), (Events{"bank 1", "bank 0"}));
    // Each switch replaced the previous status registration.
    EXPECT_EQ(fake.deletes, 1);
}

TEST_F(NotificationTest, ConsumerCodes) {
    for (std::uint16_t code : {1025, 1025, 6161, 6160, 6160, 6145, 6148, 1234})
        fake.deliverConsumer(code);
    link->notifications().drainIconChanges();
    // Two reloads before the timer fired are two starts of one timer; the icon changes keep their order.
    EXPECT_EQ(screen.events(),
              (Events{"reload-timer", "reload-timer", "tray activity", "tray activity-ended", "tray activity-ended"}));
}

TEST_F(NotificationTest, MalformedRecordsAreIgnored) {
    VevRequestRecord noHolder{VEV_TAG_CONS, 2, nullptr, nullptr};
    VevReportHolder emptyHolder{};
    VevRequestRecord nullReport{VEV_TAG_CONS, 2, nullptr, &emptyHolder};
    VevRequestRecord unknownTag{0x12345678, 4, nullptr, nullptr};
    VevNotifyRecord records[] = {{VEV_NOTIFY_DATA, 0, &noHolder},
                                 {VEV_NOTIFY_DATA, 0, &nullReport},
                                 {VEV_NOTIFY_DATA, 0, &unknownTag},
                                 {7, 0, &unknownTag},
                                 {VEV_NOTIFY_DEVICE_COUNT, 0, &noHolder}}; // a count on the consumer channel
    for (auto& r : records)
        EXPECT_EQ(HidNotify(&r), 1);
    link->presence().drain();
    EXPECT_TRUE(screen.events().empty());
}

TEST_F(NotificationTest, NothingArrivesAfterShutdown) {
    link->shutdown();
    fake.deliverConsumer(1025);
    fake.deliverDeviceCount(1);
    EXPECT_TRUE(screen.events().empty());
}

// Like the real libraries, cancelling a registration here returns only when no callback of it runs any more:
// the hook starts a bank key press on the library's side and waits for its callback to end.
std::function<void()> g_beforeCancel;

std::int32_t cancelWaitingForCallbacks(std::uint32_t unit) {
    if (g_beforeCancel) g_beforeCancel();
    return FakeService::current()->api().DeleteRequestFromUnitId(unit);
}

TEST(NotificationShutdown, BankKeyPressedWhileTheChannelsAreCancelled) {
    FakeService fake;
    RecordingScreen screen;
    ServiceApi api = fake.api();
    api.DeleteRequestFromUnitId = &cancelWaitingForCallbacks;
    std::string error;
    auto link = DeviceLink::start(api, screen, &error);
    ASSERT_TRUE(link) << error;

    std::atomic<bool> armed{true};
    std::thread press;
    bool callbackEnded = false;
    g_beforeCancel = [&] {
        if (!armed.exchange(false)) return;
        std::packaged_task<void()> task([&fake] { fake.deliverConsumer(767); });
        std::future<void> ended = task.get_future();
        press = std::thread(std::move(task));
        // Only a hang reaches the limit; a working hub ends the callback at once.
        callbackEnded = ended.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    };
    link->shutdown();
    press.join();
    g_beforeCancel = nullptr;
    EXPECT_TRUE(callbackEnded) << "the bank switch waited for the shutdown that waited for it";
    // Nothing was registered after the cancel.
    EXPECT_TRUE(fake.statusWrites.empty());
}

} // namespace
} // namespace ombrel::test
