#include "DeviceFixture.h"

#include "device/LinkResult.h"

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
    EXPECT_EQ(screen.events(), (Events{"reload-timer", "reload-timer", "tray 1 0", "tray 0 0", "tray 0 0"}));
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

} // namespace
} // namespace ombrel::test
