// Arbitrary macro memory on the emulated keyboard, read back the way a backup reads it: the first input byte is
// the macro memory size in units of 128 bytes, the rest fills the memory. Whatever the memory holds, the backup
// must stay inside what it read, and the profile file it builds must be one the program accepts.
#include "device/DeviceLink.h"
#include "emulator/KeyboardModel.h"
#include "keys/MacroImage.h"
#include "profiles/StoreFile.h"
#include "support/FakeService.h"
#include "transfer/KeyboardBackup.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ombrel;
    const std::span<const std::uint8_t> input(data, size);
    (void)DecodeMacroImage(input, u"M");

    emu::KeyboardModel model;
    const std::uint8_t units = size > 0 ? data[0] : 0;
    model.writeArea(emu::Area::Config, emu::KeyboardMemory::kMacroUnitsOffset, std::span(&units, 1));
    if (size > 1) {
        const std::size_t n = std::min(size - 1, emu::KeyboardMemory::kMacroStorageSize);
        model.writeArea(emu::Area::Macros, 0, input.subspan(1, n));
    }
    test::FakeService fake;
    fake.onRequest = [&](const Report& request) {
        if (const auto reply = model.handleReport(request.bytes)) fake.deliverReply(Report::fromBytes(reply->bytes));
    };
    NullScreen screen;
    auto link = DeviceLink::start(fake.api(), screen, nullptr,
                                  ExchangeTiming{std::chrono::milliseconds(0), std::chrono::milliseconds(0)});
    if (!link) return 0;
    link->state().macroCapacity.store(units * 128u);
    int result = 0;
    const auto file = ReadKeyboardImage(
        link->commands(), link->state(), [](std::string_view) { return std::string("Macro "); }, &result);
    if (file && !ParseStoreFile(*file, true).check.ok()) std::abort();
    link->shutdown();
    return 0;
}
