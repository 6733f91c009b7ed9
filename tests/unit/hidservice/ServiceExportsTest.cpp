// The built libVevIroz.so through its C interface, on a machine without the keyboard.

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cerrno>

#include "NotificationLog.h"
#include "VevIroz.h"
#include "device/CheckValue.h"
#include "device/DeviceFilter.h"
#include "support/TestPaths.h"

namespace ombrel::hid::test {
namespace {

class ServiceExportsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_library = dlopen(ombrel::test::serviceLibraryPath("libVevIroz.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_library, nullptr) << dlerror();
        for (const char* name : {"Debug", "Init", "End", "RequestGetDeviceCount", "DeleteRequestFromUnitId",
                                 "DeleteRequestFromHandle", "RequestWrite", "RequestWriteOne", "RequestStatusWrite",
                                 "RequestStatusGet", "RequestAsyncRead", "RequestStatusSetFeature", "VevIrozProbe"}) {
            EXPECT_NE(dlsym(m_library, name), nullptr) << name;
        }
        init = resolve<VevInitFn>("Init");
        end = resolve<VevEndFn>("End");
        count = resolve<VevRequestGetDeviceCountFn>("RequestGetDeviceCount");
        asyncRead = resolve<VevRequestAsyncReadFn>("RequestAsyncRead");
        deleteUnit = resolve<VevDeleteRequestFromUnitIdFn>("DeleteRequestFromUnitId");
        writeOne = resolve<VevRequestWriteOneFn>("RequestWriteOne");
        probe = resolve<VevProbeFn>("VevIrozProbe");
    }
    void TearDown() override {
        if (m_library) dlclose(m_library); // ends the service if a test left it running
    }

    template <typename Fn>
    Fn resolve(const char* name) {
        return reinterpret_cast<Fn>(dlsym(m_library, name));
    }
    static std::uint32_t check(const DeviceFilter& filter, VevNotifyFn callback, std::uint32_t tag,
                               std::span<const std::uint8_t> payload = {}) {
        return CheckValue(filter.bytes(), reinterpret_cast<std::uintptr_t>(callback), tag, payload);
    }
    std::uint32_t registerReader(const DeviceFilter& filter, std::uint32_t tag, std::uint32_t checkOffset = 0) {
        std::uint32_t unitId = 0xDEADBEEF;
        const VevNotifyFn callback = &NotificationLog::callback;
        const std::int32_t result =
            asyncRead(filter.bytes().data(), callback, tag, check(filter, callback, tag) + checkOffset, &unitId);
        EXPECT_EQ(result, unitId != 0 ? 1 : 0);
        return unitId;
    }

    void* m_library = nullptr;
    VevInitFn init = nullptr;
    VevEndFn end = nullptr;
    VevRequestGetDeviceCountFn count = nullptr;
    VevRequestAsyncReadFn asyncRead = nullptr;
    VevDeleteRequestFromUnitIdFn deleteUnit = nullptr;
    VevRequestWriteOneFn writeOne = nullptr;
    VevProbeFn probe = nullptr;
    NotificationLog log;
};

TEST_F(ServiceExportsTest, WorksWithoutKeyboardAndStartsAgainAfterEnd) {
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_EQ(init(0), 1);
        EXPECT_EQ(init(0), 1); // already running
        EXPECT_EQ(count(kVendorFilter.bytes().data(), nullptr, 0, check(kVendorFilter, nullptr, 0), nullptr), 0);

        char node[32] = "unchanged";
        EXPECT_EQ(probe(node, sizeof node), -1);
        EXPECT_STREQ(node, "");

        const std::uint32_t control = registerReader(kVendorFilter, VEV_TAG_CTRL);
        const std::uint32_t consumer = registerReader(kConsumerFilter, VEV_TAG_CONS);
        EXPECT_NE(control, 0u);
        EXPECT_NE(consumer, 0u);
        EXPECT_NE(control, consumer);
        EXPECT_EQ(deleteUnit(consumer), 1);
        EXPECT_EQ(deleteUnit(consumer), 0);
        EXPECT_EQ(deleteUnit(0), 0);

        std::array<std::uint8_t, 64> report{4};
        EXPECT_EQ(writeOne(kVendorFilter.bytes().data(), nullptr, 0, report.data(), 64,
                           check(kVendorFilter, nullptr, 0, report), nullptr),
                  0); // nothing to write to

        EXPECT_EQ(end(), 1); // joins the control reader still waiting for a keyboard
        EXPECT_EQ(end(), 1);
        EXPECT_EQ(deleteUnit(control), 0);
        EXPECT_EQ(registerReader(kVendorFilter, VEV_TAG_CTRL), 0u);
    }
    EXPECT_TRUE(log.all().empty());
}

TEST_F(ServiceExportsTest, CallsWithAWrongCheckValueAreRefused) {
    ASSERT_EQ(init(0), 1);
    EXPECT_EQ(registerReader(kVendorFilter, VEV_TAG_CTRL, 1), 0u);
    const std::uint32_t accepted = registerReader(kVendorFilter, VEV_TAG_CTRL);
    EXPECT_NE(accepted, 0u);

    EXPECT_EQ(end(), 1);
}

TEST_F(ServiceExportsTest, UnloadingEndsARunningService) {
    ASSERT_EQ(init(0), 1);
    EXPECT_NE(registerReader(kVendorFilter, VEV_TAG_CTRL), 0u);
    EXPECT_EQ(dlclose(m_library), 0); // no reader thread may outlive the library's code
    m_library = nullptr;
}

} // namespace
} // namespace ombrel::hid::test
