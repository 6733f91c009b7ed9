// Hostile keyboard replies: the input is cut into replies of varying length that answer the command routines'
// requests in turn. Whatever comes back, the routines must stay inside their buffers and return a result code.
#include "device/ActiveProfile.h"
#include "device/DeviceLink.h"
#include "device/LinkResult.h"
#include "keyboard/ConfigBlock.h"
#include "support/FakeService.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ombrel;
    test::FakeService fake;
    std::size_t at = 0;
    fake.onRequest = [&](const Report&) {
        if (at >= size) return; // silence: the exchange times out
        const std::size_t length = std::min<std::size_t>(data[at] % 80, size - at - 1);
        const std::vector<std::uint8_t> reply(data + at + 1, data + at + 1 + length);
        at += 1 + length;
        fake.deliverReply(reply);
    };
    NullScreen screen;
    auto link = DeviceLink::start(fake.api(), screen, nullptr,
                                  ExchangeTiming{std::chrono::milliseconds(0), std::chrono::milliseconds(0)});
    if (!link) return 0;
    auto& c = link->commands();
    ConfigBlock config;
    if (c.ReadConfig(config.bytes) == LINK_OK) (void)config.offeredEffects();
    std::array<std::uint8_t, kKeymapSize> block{};
    c.ReadKeymap(block, static_cast<int>(size % 4));
    std::vector<std::uint8_t> macros(size % 300);
    c.ReadMacros(macros);
    std::array<std::uint8_t, kChunkSize> lighting{};
    c.ReadLighting(lighting, 56, 0);
    GetActiveProfile(c, link->state());
    link->shutdown();
    return 0;
}
