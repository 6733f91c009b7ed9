#include <gtest/gtest.h>

#include "CallCheck.h"
#include "CheckValue.h"
#include "DeviceFilter.h"

namespace ombrel::hid::test {
namespace {

std::int32_t someCallback(void*) {
    return 1;
}

TEST(CallCheckTest, EveryPartOfTheCallEntersTheCheck) {
    const std::array<std::uint8_t, 16> filter = kVendorFilter.bytes();
    const std::vector<std::uint8_t> payload{0x05, 0x02};
    const VevNotifyFn callback = &someCallback;
    const std::uint32_t check = CheckValue(filter, reinterpret_cast<std::uintptr_t>(callback), VEV_TAG_DEL, payload);
    ASSERT_TRUE(callCheckMatches(filter.data(), callback, VEV_TAG_DEL, payload, check));

    std::array<std::uint8_t, 16> otherFilter = filter;
    otherFilter[9] ^= 0x01;
    const std::vector<std::uint8_t> otherPayload{0x05, 0x03};
    EXPECT_FALSE(callCheckMatches(otherFilter.data(), callback, VEV_TAG_DEL, payload, check));
    EXPECT_FALSE(callCheckMatches(filter.data(), nullptr, VEV_TAG_DEL, payload, check));
    EXPECT_FALSE(callCheckMatches(filter.data(), callback, VEV_TAG_CONS, payload, check));
    EXPECT_FALSE(callCheckMatches(filter.data(), callback, VEV_TAG_DEL, otherPayload, check));
    EXPECT_FALSE(callCheckMatches(filter.data(), callback, VEV_TAG_DEL, {}, check));
    EXPECT_FALSE(callCheckMatches(filter.data(), callback, VEV_TAG_DEL, payload, check + 1));
    EXPECT_FALSE(callCheckMatches(nullptr, callback, VEV_TAG_DEL, payload, check));
}

} // namespace
} // namespace ombrel::hid::test
