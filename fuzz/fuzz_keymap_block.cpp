// Key-function blocks as the keyboard hands them over: the input overwrites the emulated keyboard's three blocks
// and then its factory block (short inputs keep the real factory block). The program reads the factory block
// the way it does when the keyboard arrives, backs the keyboard up into a profile file, and puts the blocks the
// writer encodes from that file back into the keyboard, three times over. Every backup must be a file the program
// accepts, and the blocks must settle: the third write changes nothing. (Not the second: an entry no record can name,
// such as a sixth mouse button, comes back as a key without a code, which is written as "no key" and read back as a
// disabled key.)
#include "device/DeviceLink.h"
#include "emulator/KeyboardModel.h"
#include "keys/KeymapCodec.h"
#include "profiles/ProfileStore.h"
#include "profiles/StoreFile.h"
#include "support/FakeService.h"
#include "transfer/KeyboardBackup.h"

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

// Loads a backup the way the store is loaded and puts the blocks the writer would send into the keyboard's memory
// (the macro memory stays as it is, as the backup read it); false when the backup does not load.
bool writeBack(DeviceLink& link, emu::KeyboardModel& model, const std::vector<std::uint8_t>& file) {
    const fuzz::MemoryFile stored(file);
    AssignmentStore store;
    if (!stored.ok() || LoadStore(store, stored.path()) != 1) return false;
    const KeymapBlock factory(link.state().defaultKeymap());
    const MacroPositionLookup position = [&store](std::uint32_t id) { return FindMacro(store, id); };
    for (int p = 0; p < kProfileCount; ++p) {
        const KeymapBlock block = EncodeKeymapBlock(store.image, p, factory, position);
        model.writeArea(emu::Area::Keymap, static_cast<std::size_t>(p) * factory.bytes().size(), block.bytes());
    }
    return true;
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
        if (const auto reply = model.handleReport(request.bytes))
            fake.deliverReply(std::vector<std::uint8_t>(reply->bytes.begin(), reply->bytes.end()));
    };
    NullScreen screen;
    auto link = DeviceLink::start(fake.api(), screen, nullptr,
                                  ExchangeTiming{std::chrono::milliseconds(0), std::chrono::milliseconds(0)});
    if (!link) return 0;
    link->presence().PresenceWorker(1); // reads the factory block and the macro memory size

    std::array<std::uint8_t, kBlocksSize> previous{};
    for (int round = 0; round < 3; ++round) {
        const auto file = backup(*link);
        if (!file) std::abort(); // the emulated keyboard answers every read
        if (!ParseStoreFile(*file, true).check.ok()) std::abort();
        if (!writeBack(*link, model, *file)) std::abort();
        if (round == 2 && model.memory().keymaps != previous) std::abort();
        previous = model.memory().keymaps;
    }
    link->shutdown();
    return 0;
}
