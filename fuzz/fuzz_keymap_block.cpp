// Key-function blocks as the keyboard hands them over: the input overwrites the emulated keyboard's three blocks
// and then its factory block (short inputs keep the real factory block). The program reads the factory block
// the way it does when the keyboard arrives, backs the keyboard up into a profile file, and writes the result
// back. The backup must be a file the program accepts, and once written back the blocks must be stable: reading
// and writing them a second time changes nothing.
#include "device/DeviceLink.h"
#include "device/LinkResult.h"
#include "emulator/KeyboardModel.h"
#include "keys/KeyboardBackup.h"
#include "keys/KeyboardWriter.h"
#include "profiles/ProfileStore.h"
#include "profiles/StoreFile.h"
#include "support/FakeService.h"

#include "inputs/InputFiles.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace {

using namespace ombrel;

constexpr std::size_t kBlocksSize = emu::KeyboardMemory::kKeymapSize;

std::optional<std::vector<std::uint8_t>> backup(DeviceLink& link) {
    return ReadKeyboardImage(link.commands(), link.state(), [](std::string_view) { return std::string("Macro "); });
}

// Loads a backup into the working store and writes all three profiles; false when any step fails.
bool writeBack(DeviceLink& link, const std::vector<std::uint8_t>& file) {
    const fuzz::MemoryFile stored(file);
    KeyStores stores;
    if (!stored.ok() || LoadStore(stores.workingStore, stored.path()) != 1) return false;
    NullScreen screen;
    static constexpr int kAll[] = {0, 1, 2};
    return WriteKeysToKeyboard(stores, link.commands(), link.state(), screen, kAll) == LINK_OK;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    emu::KeyboardModel model;
    model.writeArea(emu::Area::Keymap, 0, input.first(std::min(size, kBlocksSize)));
    if (size > kBlocksSize) {
        const std::size_t n = std::min(size - kBlocksSize, emu::KeyboardMemory::kKeymapBlockSize);
        model.writeArea(emu::Area::DefaultKeymap, 0, input.subspan(kBlocksSize, n));
    }
    test::FakeService fake;
    fake.onRequest = [&](const Report& request) {
        if (const auto reply = model.handleReport(request.bytes)) fake.deliverReply(*reply);
    };
    NullScreen screen;
    auto link = DeviceLink::start(fake.api(), screen, nullptr,
                                  ExchangeTiming{std::chrono::milliseconds(0), std::chrono::milliseconds(0)});
    if (!link) return 0;
    link->presence().PresenceWorker(1); // reads the factory block and the macro memory size

    const auto first = backup(*link);
    if (!first) std::abort(); // the emulated keyboard answers every read
    if (!ParseStoreFile(*first, true).check.ok()) std::abort();
    if (!writeBack(*link, *first)) std::abort();

    const std::array<std::uint8_t, kBlocksSize> written = model.memory().keymaps;
    const auto second = backup(*link);
    if (!second || !writeBack(*link, *second)) std::abort();
    if (model.memory().keymaps != written) std::abort();
    link->shutdown();
    return 0;
}
