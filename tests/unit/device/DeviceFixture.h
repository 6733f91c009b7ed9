#pragma once
// A device link over the fake service library, with short time-outs so failing exchanges end quickly.

#include "device/DeviceLink.h"
#include "support/FakeService.h"
#include "support/RecordingScreen.h"

#include <gtest/gtest.h>

#include <memory>

namespace ombrel::test {

class DeviceFixture : public ::testing::Test {
protected:
    void SetUp() override {
        fake.memory[3] = std::vector<std::uint8_t>(44, 0);
        fake.memory[5] = std::vector<std::uint8_t>(3 * 42, 0);
        fake.memory[7] = std::vector<std::uint8_t>(3 * 378, 0);
        fake.memory[9] = std::vector<std::uint8_t>(8192, 0);
        fake.memory[15] = std::vector<std::uint8_t>(378, 0);
        std::string error;
        link = DeviceLink::start(fake.api(), screen, &error,
                                 ExchangeTiming{std::chrono::milliseconds(40), std::chrono::milliseconds(1)});
        ASSERT_TRUE(link) << error;
        link->presence().windowPollInterval = std::chrono::milliseconds(1);
    }
    void TearDown() override {
        if (link) link->shutdown();
        EXPECT_FALSE(fake.checkFailed) << "a call carried a wrong check value";
    }

    DeviceCommands& commands() { return link->commands(); }

    FakeService fake;
    RecordingScreen screen;
    std::unique_ptr<DeviceLink> link;
};

} // namespace ombrel::test
