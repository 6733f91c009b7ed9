// The built libVevIroz.so through its C interface, on a machine without the keyboard.

#include <gtest/gtest.h>

#include <dlfcn.h>

#include "CheckValue.h"
#include "DeviceFilter.h"
#include "NotificationLog.h"
#include "VevIroz.h"
#include "device/ServiceLibrary.h"
#include "support/TestPaths.h"

namespace ombrel::hid::test {
namespace {

class ServiceExportsTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Loaded the way the program loads it, which also proves every call is there.
        std::string error;
        const std::optional<ServiceLibrary> library = ServiceLibrary::load(libraryPath(), &error);
        ASSERT_TRUE(library) << error;
        api = library->api();
        ASSERT_NE(api.Probe, nullptr);
    }
    void TearDown() override {
        if (api.End) api.End();
    }

    static std::string libraryPath() { return ombrel::test::serviceLibraryPath(kServiceLibraryName); }
    static std::uint32_t check(const DeviceFilter& filter, VevNotifyFn callback, std::uint32_t tag,
                               std::span<const std::uint8_t> payload = {}) {
        return CheckValue(filter.bytes(), reinterpret_cast<std::uintptr_t>(callback), tag, payload);
    }
    std::uint32_t registerReader(const DeviceFilter& filter, std::uint32_t tag, std::uint32_t checkOffset = 0) {
        std::uint32_t unitId = 0xDEADBEEF;
        const VevNotifyFn callback = &NotificationLog::callback;
        const std::int32_t result = api.RequestAsyncRead(filter.bytes().data(), callback, tag,
                                                         check(filter, callback, tag) + checkOffset, &unitId);
        EXPECT_EQ(result, unitId != 0 ? 1 : 0);
        return unitId;
    }

    ServiceApi api;
    NotificationLog log;
};

TEST_F(ServiceExportsTest, WorksWithoutKeyboardAndStartsAgainAfterEnd) {
    char node[32] = "unchanged";
    if (api.Probe(node, sizeof node) != -1) GTEST_SKIP() << "a keyboard is attached at " << node;
    EXPECT_STREQ(node, "");
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(api.Init(0), 1);
        EXPECT_EQ(api.Init(0), 1); // already running
        EXPECT_EQ(api.RequestGetDeviceCount(kVendorFilter.bytes().data(), nullptr, 0, check(kVendorFilter, nullptr, 0),
                                            nullptr),
                  0);

        const std::uint32_t control = registerReader(kVendorFilter, VEV_TAG_CTRL);
        const std::uint32_t consumer = registerReader(kConsumerFilter, VEV_TAG_CONS);
        EXPECT_NE(control, 0u);
        EXPECT_NE(consumer, 0u);
        EXPECT_NE(control, consumer);
        EXPECT_EQ(api.DeleteRequestFromUnitId(consumer), 1);
        EXPECT_EQ(api.DeleteRequestFromUnitId(consumer), 0);
        EXPECT_EQ(api.DeleteRequestFromUnitId(0), 0);

        std::array<std::uint8_t, 64> report{4};
        EXPECT_EQ(api.RequestWriteOne(kVendorFilter.bytes().data(), nullptr, 0, report.data(), 64,
                                      check(kVendorFilter, nullptr, 0, report), nullptr),
                  0); // nothing to write to

        EXPECT_EQ(api.End(), 1); // joins the control reader still waiting for a keyboard
        EXPECT_EQ(api.End(), 1);
        EXPECT_EQ(api.DeleteRequestFromUnitId(control), 0);
        EXPECT_EQ(registerReader(kVendorFilter, VEV_TAG_CTRL), 0u);
    }
    EXPECT_TRUE(log.all().empty());
}

TEST_F(ServiceExportsTest, CallsWithAWrongCheckValueAreRefused) {
    ASSERT_EQ(api.Init(0), 1);
    EXPECT_EQ(registerReader(kVendorFilter, VEV_TAG_CTRL, 1), 0u);
    const std::uint32_t accepted = registerReader(kVendorFilter, VEV_TAG_CTRL);
    EXPECT_NE(accepted, 0u);

    EXPECT_EQ(api.End(), 1);
}

TEST(ServiceUnloadTest, UnloadingEndsARunningService) {
    // Proves the unloading only where nothing else holds the library, as when CTest runs each test alone.
    void* library = dlopen(ombrel::test::serviceLibraryPath(kServiceLibraryName).c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    const auto init = reinterpret_cast<VevInitFn>(dlsym(library, "Init"));
    const auto asyncRead = reinterpret_cast<VevRequestAsyncReadFn>(dlsym(library, "RequestAsyncRead"));
    ASSERT_TRUE(init && asyncRead);
    ASSERT_EQ(init(0), 1);
    std::uint32_t unitId = 0;
    const VevNotifyFn callback = &NotificationLog::callback;
    const std::uint32_t check =
        CheckValue(kVendorFilter.bytes(), reinterpret_cast<std::uintptr_t>(callback), VEV_TAG_CTRL, {});
    EXPECT_EQ(asyncRead(kVendorFilter.bytes().data(), callback, VEV_TAG_CTRL, check, &unitId), 1);
    EXPECT_EQ(dlclose(library), 0); // no reader thread may outlive the library's code
}

} // namespace
} // namespace ombrel::hid::test
