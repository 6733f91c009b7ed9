// The service driven through a fake backend: counts and their notifications, readers and their records, deletes
// from every thread, reopening after an unplug, and the write calls.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "FakeHidBackend.h"
#include "HidService.h"
#include "NotificationLog.h"
#include "SampleDescriptors.h"

namespace ombrel::hid::test {
namespace {

using namespace std::chrono_literals;

const std::string kBootNode = "/dev/hidraw0";
const std::string kConsumerNode = "/dev/hidraw1";
const std::string kVendorNode = "/dev/hidraw2";
const std::string kSecondVendorNode = "/dev/hidraw7";

std::vector<std::uint8_t> vendorReport(std::uint8_t command) {
    std::vector<std::uint8_t> report(64, 0);
    report[0] = 4;
    report[3] = command;
    return report;
}

class HidServiceTest : public ::testing::Test {
protected:
    void TearDown() override { service->shutdown(); }

    // A keyboard as it shows on hidraw: the boot keyboard, consumer control with the status collection, vendor.
    void plugKeyboard() {
        backend->plug(kBootNode, {{0x0001, 0x0006}});
        backend->plug(kConsumerNode, {{0x000C, 0x0001}, {0x0001, 0x0080}, {0x0008, 0x0089}}, kConsumerDescriptor);
        backend->plug(kVendorNode, {{0xFF1C, 0x0092}}, kVendorDescriptor);
    }
    void unplugKeyboard() {
        for (const std::string& node : {kBootNode, kConsumerNode, kVendorNode})
            backend->unplug(node);
    }
    std::uint32_t addReader(const DeviceFilter& filter, std::uint32_t tag) {
        return service->addReader(filter, &NotificationLog::callback, tag);
    }
    std::vector<std::uint32_t> countsDelivered() const {
        std::vector<std::uint32_t> counts;
        for (const Notification& n : log.ofKind(VEV_NOTIFY_DEVICE_COUNT)) {
            EXPECT_EQ(n.tag, VEV_TAG_CTRL);
            counts.push_back(n.length);
        }
        return counts;
    }

    std::shared_ptr<FakeHidBackend> backend = std::make_shared<FakeHidBackend>();
    NotificationLog log;
    // Short waits keep the retries fast; nothing below depends on how long they take. A claim on the keyboard lasts
    // through a test, and a write finding the keyboard claimed by another gives up almost at once.
    static constexpr ServiceTiming kTiming{5ms, 200ms, 10s, 30ms};
    std::unique_ptr<HidService> service = std::make_unique<HidService>(backend, kTiming);
};

TEST_F(HidServiceTest, CountFollowsDeviceChangesAndIsToldToVendorRegistrationsOnly) {
    service->refreshDevices();
    EXPECT_EQ(service->deviceCount(kVendorFilter), 0u);
    addReader(kVendorFilter, VEV_TAG_CTRL);
    addReader(kConsumerFilter, VEV_TAG_CONS);

    plugKeyboard();
    service->refreshDevices();
    EXPECT_EQ(service->deviceCount(kVendorFilter), 1u);
    EXPECT_EQ(service->deviceCount(kConsumerFilter), 1u);
    service->refreshDevices(); // an event that changes nothing is not told

    backend->plug(kSecondVendorNode, {{0xFF1C, 0x0092}}, kVendorDescriptor);
    service->refreshDevices();
    EXPECT_EQ(service->deviceCount(kVendorFilter), 2u);

    unplugKeyboard();
    backend->unplug(kSecondVendorNode);
    service->refreshDevices();
    EXPECT_EQ(service->deviceCount(kVendorFilter), 0u);

    EXPECT_EQ(countsDelivered(), (std::vector<std::uint32_t>{1, 2, 0}));
    EXPECT_TRUE(log.ofKind(VEV_NOTIFY_DATA).empty());
}

// A quick replug can put the keyboard back before the service looks: the udev events still say its nodes went,
// and the program must hear of the departure (its state of the keyboard is stale) before the arrival.
TEST_F(HidServiceTest, UnplugAndReplugWithinOneBatchOfEventsIsToldAsBoth) {
    addReader(kVendorFilter, VEV_TAG_CTRL);
    plugKeyboard();
    service->refreshDevices();
    unplugKeyboard();
    plugKeyboard();
    service->refreshDevices({kBootNode, kConsumerNode, kVendorNode});
    // Another device's node going, or a removal the last look had already seen, is no departure of the keyboard.
    backend->plug("/dev/hidraw9", {{0x0001, 0x0002}});
    service->refreshDevices();
    backend->unplug("/dev/hidraw9");
    service->refreshDevices({"/dev/hidraw9"});
    unplugKeyboard();
    service->refreshDevices({kConsumerNode});
    service->refreshDevices({kVendorNode});
    EXPECT_EQ(countsDelivered(), (std::vector<std::uint32_t>{1, 0, 1, 0}));
    EXPECT_EQ(service->deviceCount(kVendorFilter), 0u);
}

TEST_F(HidServiceTest, WithoutHotPlugEventsEveryQueryLooksAgain) {
    service->setRefreshOnQuery(true);
    std::vector<std::uint32_t> countsAskedInCallback;
    log.setHook([&](VevNotifyRecord& record) {
        if (record.kind == VEV_NOTIFY_DEVICE_COUNT)
            countsAskedInCallback.push_back(service->deviceCount(kVendorFilter));
    });
    addReader(kVendorFilter, VEV_TAG_CTRL);
    EXPECT_EQ(service->deviceCount(kVendorFilter), 0u);
    plugKeyboard();
    EXPECT_EQ(service->deviceCount(kVendorFilter), 1u);
    EXPECT_EQ(service->deviceCount(kVendorFilter), 1u);
    unplugKeyboard();
    EXPECT_EQ(service->deviceCount(kVendorFilter), 0u);
    EXPECT_EQ(countsDelivered(), (std::vector<std::uint32_t>{1, 0}));
    EXPECT_EQ(countsAskedInCallback, (std::vector<std::uint32_t>{1, 0}));
}

TEST_F(HidServiceTest, DataRecordsCarryTheReportAndTheConsumerReportWithoutItsId) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::uint16_t, std::uint16_t>> collections;
        std::vector<std::uint8_t> descriptor;
        DeviceFilter filter;
        std::vector<std::uint8_t> input;
        std::vector<std::uint8_t> consumer;
    };
    const std::vector<std::uint8_t> reply = vendorReport(3);
    const std::vector<Case> cases{
        {"vendor reply",
         {{0xFF1C, 0x0092}},
         kVendorDescriptor,
         kVendorFilter,
         reply,
         std::vector<std::uint8_t>(reply.begin() + 1, reply.end())},
        {"numbered consumer",
         {{0x000C, 0x0001}},
         kConsumerDescriptor,
         kConsumerFilter,
         {0x03, 0xFF, 0x02},
         {0xFF, 0x02}},
        {"plain consumer", {{0x000C, 0x0001}}, kPlainConsumerDescriptor, kConsumerFilter, {0x01, 0x04}, {0x01, 0x04}},
        {"unreadable descriptor", {{0x000C, 0x0001}}, {}, kConsumerFilter, {0x10, 0x18}, {0x10, 0x18}},
        {"id alone", {{0x000C, 0x0001}}, kConsumerDescriptor, kConsumerFilter, {0x03}, {}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        const std::string node = "/dev/hidraw" + std::to_string(10 + i);
        backend->plug(node, c.collections, c.descriptor);
        service->refreshDevices();
        const std::uint32_t id = addReader(c.filter, VEV_TAG_CONS);
        backend->pushInput(node, c.input);
        ASSERT_TRUE(log.waitFor(VEV_NOTIFY_DATA, i + 1));
        const Notification got = log.ofKind(VEV_NOTIFY_DATA).back();
        EXPECT_EQ(got.tag, VEV_TAG_CONS);
        EXPECT_EQ(got.length, c.input.size());
        EXPECT_EQ(got.data, c.input);
        EXPECT_EQ(got.consumer, c.consumer);
        EXPECT_TRUE(service->remove(id));
        backend->unplug(node);
    }
}

TEST_F(HidServiceTest, ReaderReopensAfterReplugBeforeTheCountIsTold) {
    std::vector<int> handlesWhenTold;
    log.setHook([&](VevNotifyRecord& record) {
        if (record.kind == VEV_NOTIFY_DEVICE_COUNT) handlesWhenTold.push_back(backend->openHandles(kVendorNode));
    });
    addReader(kVendorFilter, VEV_TAG_CTRL);

    for (int round = 0; round < 2; ++round) {
        plugKeyboard();
        backend->refuseOpens(kVendorNode, 2); // udev not done with the permissions yet
        service->refreshDevices();
        backend->pushInput(kVendorNode, vendorReport(static_cast<std::uint8_t>(round)));
        ASSERT_TRUE(log.waitFor(VEV_NOTIFY_DATA, static_cast<std::size_t>(round) + 1));
        unplugKeyboard();
        service->refreshDevices();
        // A person plugs it in again long after the reader saw its node fail.
        ASSERT_TRUE(eventually([&] { return backend->devicesAlive() == 0; }));
    }
    EXPECT_EQ(countsDelivered(), (std::vector<std::uint32_t>{1, 0, 1, 0}));
    EXPECT_EQ(handlesWhenTold, (std::vector<int>{1, 0, 1, 0}));
}

// An idle program must not wake: the reader sleeps in one wait until input comes, and a delete, which has no input
// to wake it, still ends it (a reader that only looks at its stop flag between time-outs would hang here).
TEST_F(HidServiceTest, IdleReaderSleepsInOneWaitThatADeleteEnds) {
    plugKeyboard();
    service->refreshDevices();
    const std::uint32_t id = addReader(kVendorFilter, VEV_TAG_CTRL);
    ASSERT_TRUE(backend->waitForReaderWaits(1, 5s));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(backend->readsStarted(), 1);
    backend->pushInput(kVendorNode, vendorReport(1));
    ASSERT_TRUE(log.waitFor(VEV_NOTIFY_DATA, 1));
    ASSERT_TRUE(eventually([&] { return backend->readsStarted() == 2; }));
    ASSERT_TRUE(backend->waitForReaderWaits(1, 5s));
    EXPECT_TRUE(service->remove(id));
    EXPECT_EQ(backend->openHandles(kVendorNode), 0);
}

TEST_F(HidServiceTest, ReaderThatCannotOpenTriesAgainAtTheNextDeviceChange) {
    plugKeyboard();
    backend->refuseOpens(kVendorNode, -1); // no permission at all
    service->refreshDevices();
    addReader(kVendorFilter, VEV_TAG_CTRL);
    backend->plug("/dev/hidraw9", {{0x0001, 0x0002}}); // some other node comes and the rule is fixed meanwhile
    backend->refuseOpens(kVendorNode, 0);
    service->refreshDevices();
    ASSERT_TRUE(eventually([&] { return backend->openHandles(kVendorNode) == 1; }));
    backend->pushInput(kVendorNode, vendorReport(1));
    EXPECT_TRUE(log.waitFor(VEV_NOTIFY_DATA, 1));
}

TEST_F(HidServiceTest, DeleteFromInsideTheCallbackEndsTheRegistration) {
    for (const bool byHandle : {false, true}) {
        SCOPED_TRACE(byHandle ? "by handle" : "by unit id");
        NotificationLog own;
        plugKeyboard();
        service->refreshDevices();
        std::atomic<std::uint32_t> id{0};
        std::atomic<bool> deleted{false};
        own.setHook([&](VevNotifyRecord& record) {
            deleted = byHandle ? service->removeByRecord(record.request) : service->remove(id.load());
        });
        id = addReader(kConsumerFilter, VEV_TAG_CONS);
        backend->pushInput(kConsumerNode, {0x03, 0xFF, 0x02});
        ASSERT_TRUE(own.waitFor(VEV_NOTIFY_DATA, 1));
        EXPECT_TRUE(deleted.load());
        backend->pushInput(kConsumerNode, {0x03, 0xFF, 0x02});
        // The reader ends by itself once its callback has returned; it no longer holds the node.
        EXPECT_TRUE(eventually([&] { return backend->openHandles(kConsumerNode) == 0; }));
        EXPECT_EQ(own.ofKind(VEV_NOTIFY_DATA).size(), 1u);
        EXPECT_FALSE(service->remove(id.load()));
        unplugKeyboard();
    }
}

TEST_F(HidServiceTest, NoCallbackRunsAfterDeleteReturns) {
    plugKeyboard();
    service->refreshDevices();
    std::atomic<bool> inCallback{false};
    log.setHook([&](VevNotifyRecord&) {
        inCallback = true;
        std::this_thread::sleep_for(1ms);
        inCallback = false;
    });
    const std::uint32_t id = addReader(kConsumerFilter, VEV_TAG_CONS);
    std::atomic<bool> feeding{true};
    std::thread feeder([&] {
        while (feeding) {
            backend->pushInput(kConsumerNode, {0x03, 0x01, 0x04});
            std::this_thread::sleep_for(200us);
        }
    });
    ASSERT_TRUE(log.waitFor(VEV_NOTIFY_DATA, 5));
    EXPECT_TRUE(service->remove(id));
    EXPECT_FALSE(inCallback.load());
    const std::size_t delivered = log.all().size();
    std::this_thread::sleep_for(20ms);
    feeding = false;
    feeder.join();
    EXPECT_EQ(log.all().size(), delivered);
}

TEST_F(HidServiceTest, RegistrationsAndDeletesWithoutKeyboardDoNotHang) {
    service->refreshDevices();
    std::vector<std::uint32_t> ids;
    for (std::uint32_t tag : {VEV_TAG_CTRL, VEV_TAG_CONS, VEV_TAG_CTRL}) {
        ids.push_back(addReader(tag == VEV_TAG_CTRL ? kVendorFilter : kConsumerFilter, tag));
    }
    EXPECT_NE(ids[0], 0u);
    EXPECT_NE(ids[0], ids[1]);
    EXPECT_NE(ids[1], ids[2]);
    EXPECT_TRUE(service->remove(ids[1]));
    EXPECT_FALSE(service->remove(ids[1]));
    EXPECT_FALSE(service->remove(12345));
    EXPECT_EQ(service->write(kVendorFilter, vendorReport(1)), -1);
    service->shutdown(); // joins the two readers still waiting for a keyboard
    EXPECT_EQ(addReader(kVendorFilter, VEV_TAG_CTRL), 0u);
    EXPECT_TRUE(log.all().empty());
}

TEST_F(HidServiceTest, WritesGoToTheNamedInterfaceOnHandlesOfTheirOwn) {
    plugKeyboard();
    service->refreshDevices();
    addReader(kVendorFilter, VEV_TAG_CTRL);

    const std::vector<std::uint8_t> request = vendorReport(3);
    EXPECT_EQ(service->write(kVendorFilter, request), 64);
    EXPECT_EQ(service->write(kVendorFilter, request), 64);
    EXPECT_EQ(backend->openHandles(kVendorNode), 2); // the reader's and the writers' (opened once)

    const std::vector<std::uint8_t> bank{0x05, 0x03};
    const std::uint32_t statusId =
        service->addStatusWrite(kBankStatusFilter, &NotificationLog::callback, VEV_TAG_DEL, bank);
    EXPECT_NE(statusId, 0u);
    EXPECT_EQ(backend->writes(kVendorNode), (std::vector<std::vector<std::uint8_t>>{request, request}));
    EXPECT_EQ(backend->writes(kConsumerNode), (std::vector<std::vector<std::uint8_t>>{bank}));
    EXPECT_TRUE(service->remove(statusId));

    // A failed write drops its handle; the next one opens the node afresh.
    backend->failWrites(kVendorNode, true);
    EXPECT_EQ(service->write(kVendorFilter, request), -1);
    EXPECT_EQ(service->addStatusWrite(kVendorFilter, &NotificationLog::callback, VEV_TAG_DEL, bank), 0u);
    backend->failWrites(kVendorNode, false);
    const int opensBefore = backend->opensSoFar(kVendorNode);
    EXPECT_EQ(service->write(kVendorFilter, request), 64);
    EXPECT_EQ(backend->opensSoFar(kVendorNode), opensBefore + 1);
    EXPECT_TRUE(log.all().empty());
}

// Every program with the vendor node open sees every reply, so two programs talking at once would take each other's
// replies. The first to write keeps the keyboard while it talks (until it ends, falls silent or the keyboard goes);
// the other one writes nothing meanwhile.
TEST_F(HidServiceTest, SecondProgramWritesNothingWhileTheFirstTalksToTheKeyboard) {
    plugKeyboard();
    service->refreshDevices();
    HidService second(backend, kTiming);
    second.refreshDevices();

    const std::vector<std::uint8_t> first = vendorReport(1);
    const std::vector<std::uint8_t> other = vendorReport(2);
    EXPECT_EQ(service->write(kVendorFilter, first), 64);
    EXPECT_TRUE(service->holdsClaim(kVendorNode));
    EXPECT_EQ(second.write(kVendorFilter, other), -1);
    EXPECT_FALSE(second.holdsClaim(kVendorNode));
    // Only the vendor interface is claimed: the bank status goes out from either.
    const std::vector<std::uint8_t> bank{0x05, 0x03};
    EXPECT_EQ(second.write(kBankStatusFilter, bank), 2);
    EXPECT_EQ(backend->writes(kVendorNode), (std::vector<std::vector<std::uint8_t>>{first}));

    // A replugged keyboard is free again; the program that writes first gets it.
    unplugKeyboard();
    plugKeyboard();
    service->refreshDevices();
    second.refreshDevices();
    EXPECT_EQ(second.write(kVendorFilter, other), 64);
    EXPECT_EQ(service->write(kVendorFilter, first), -1);

    // When the holder ends, the other one may talk.
    second.shutdown();
    EXPECT_EQ(service->write(kVendorFilter, first), 64);
    EXPECT_EQ(backend->writes(kVendorNode), (std::vector<std::vector<std::uint8_t>>{other, first}));
}

// A program that falls silent gives the keyboard back, so the window in the tray and ombrelctl take turns: a write
// that finds the other program talking waits for its turn instead of failing.
TEST_F(HidServiceTest, ProgramsTakeTurnsWithTheKeyboard) {
    plugKeyboard();
    HidService first(backend, ServiceTiming{5ms, 200ms, 150ms, 30ms});
    HidService second(backend, ServiceTiming{5ms, 200ms, 150ms, 5s});
    first.refreshDevices();
    second.refreshDevices();

    EXPECT_EQ(first.write(kVendorFilter, vendorReport(1)), 64);
    EXPECT_EQ(second.write(kVendorFilter, vendorReport(2)), 64); // once the first has been silent long enough
    EXPECT_FALSE(first.holdsClaim(kVendorNode));
    EXPECT_TRUE(second.holdsClaim(kVendorNode));
    EXPECT_EQ(backend->writes(kVendorNode), (std::vector<std::vector<std::uint8_t>>{vendorReport(1), vendorReport(2)}));
    first.shutdown();
    second.shutdown();
}

} // namespace
} // namespace ombrel::hid::test
