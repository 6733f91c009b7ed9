// Input reports of the consumer interface, as the service library reads them and the program receives them: the
// first byte says whether the interface numbers its reports, the rest is one report. The library leaves out the
// report id of a numbered report; the program acts on the code that follows. Exactly a bank-switch code must
// flip the bank and tell the keyboard once; no report may make either side read past it.
#include "Registration.h"
#include "device/DeviceLink.h"
#include "device/NotificationHub.h"
#include "support/FakeService.h"
#include "util/Bytes.h"

#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ombrel;
    if (size == 0) return 0;
    const bool numbered = (data[0] & 1) != 0;
    const std::span<const std::uint8_t> report(data + 1, size - 1);

    test::FakeService fake;
    NullScreen screen;
    auto link = DeviceLink::start(fake.api(), screen, nullptr,
                                  ExchangeTiming{std::chrono::milliseconds(0), std::chrono::milliseconds(0)});
    if (!link) return 0;
    const int bankBefore = link->state().bank();
    const std::size_t statusWritesBefore = fake.statusWrites.size();

    hid::Registration channel(1, kConsumerFilter, &HidNotify, VEV_TAG_CONS);
    channel.deliverData(report, numbered);
    link->notifications().drainIconChanges();

    // What the program should have seen: the two bytes after the report id, if the report has them.
    const std::span<const std::uint8_t> consumer = numbered && !report.empty() ? report.subspan(1) : report;
    const bool bankSwitch = consumer.size() >= 2 && getLe16(consumer.data()) == kConsumerBankSwitch;
    if ((link->state().bank() != bankBefore) != bankSwitch) std::abort();
    if (fake.statusWrites.size() - statusWritesBefore != (bankSwitch ? 1u : 0u)) std::abort();
    link->shutdown();
    return 0;
}
