#include "transfer/KeyboardWriter.h"

#include "device/ActiveProfile.h"
#include "device/LinkResult.h"
#include "keyboard/ConfigBlock.h"
#include "keys/KeymapCodec.h"
#include "keys/MacroImage.h"
#include "profiles/StoreFileHeader.h"

#include <mutex>
#include <vector>

namespace ombrel {

namespace {

constexpr int kFailed = 0;

std::mutex g_hookLock; // guards g_keysWriteHook
KeysWriteHook g_keysWriteHook;

KeysWriteHook keysWriteHook() {
    std::lock_guard guard(g_hookLock);
    return g_keysWriteHook;
}

// The keyboard's macro memory size, read from it when not known yet. A failed read is returned as such: an
// unknown size must not be taken for a memory too small for the macros, which would tell the user to shorten
// macros when the keyboard merely did not answer.
LinkResult macroCapacity(DeviceCommands& commands, DeviceState& state, unsigned& capacity) {
    capacity = state.macroCapacity.load();
    if (capacity) return LINK_OK;
    ConfigBlock config;
    if (const LinkResult r = commands.ReadConfig(config.bytes); r != LINK_OK) return r;
    capacity = config.macroCapacity();
    state.macroCapacity.store(capacity);
    return LINK_OK;
}

// outgoingStore = a snapshot of workingStore; the string offsets of both are brought up to date.
void takeSnapshot(AssignmentStore& working, AssignmentStore& outgoing) {
    ClearStrings(outgoing);
    ClearMacros(outgoing);
    ClearImage(outgoing);
    outgoing.stringArea = working.strings.pack(working.image);
    outgoing.image = working.image;
    WriteFileHeader(outgoing.image.bytes().first<kFileHeaderSize>(), working.macroCount(),
                    working.strings.stringBytes(), 0);
    outgoing.macros = working.macros;
}

} // namespace

void SetKeysWriteHook(KeysWriteHook hook) {
    std::lock_guard guard(g_hookLock);
    g_keysWriteHook = std::move(hook);
}

int WriteKeysToKeyboard(KeyStores& stores, DeviceCommands& commands, DeviceState& state, ScreenPort& screen,
                        std::span<const int> profiles) {
    std::lock_guard workingGuard(stores.workingStore.lock);
    std::lock_guard outgoingGuard(stores.outgoingStore.lock);
    AssignmentStore& out = stores.outgoingStore;
    takeSnapshot(stores.workingStore, out);

    unsigned capacity = 0;
    if (const int r = macroCapacity(commands, state, capacity); r != LINK_OK) return r;
    const MacroImageSizes sizes = MeasureMacroImage(out.macros);
    if (sizes.withoutNames > capacity) {
        screen.showMessage("EXTRA_MACRO_TOO_LONG");
        return kFailed;
    }
    const bool withNames = sizes.withNames <= capacity;
    const std::vector<std::uint8_t> image = BuildMacroImage(out.macros, withNames);

    const KeymapBlock factory(state.defaultKeymap());
    const MacroPositionLookup position = [&out](std::uint32_t id) { return FindMacro(out, id); };
    std::vector<KeymapBlock> blocks;
    for (int p : profiles)
        blocks.push_back(EncodeKeymapBlock(out.image, p, factory, position));

    const KeysWriteHook hook = keysWriteHook();
    const std::shared_ptr<void> told = hook ? hook(commands, out, profiles) : nullptr;
    const int result = commands.Bracketed([&] {
        int first = commands.WriteMacros(image);
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            const int r = commands.WriteKeymap(blocks[i].bytes(), profiles[i]);
            if (first == LINK_OK) first = r;
        }
        return first;
    });
    if (!withNames) screen.showMessage("EXTRA_PROFILE_SPACE_TIGHT");
    return result;
}

int ApplyToKeyboard(KeyStores& stores, DeviceCommands& commands, DeviceState& state, ScreenPort& screen,
                    int allProfiles) {
    if (allProfiles) {
        static constexpr int kAll[] = {0, 1, 2};
        return WriteKeysToKeyboard(stores, commands, state, screen, kAll);
    }
    const int active = GetActiveProfile(commands, state);
    if (active < 0 || active >= kProfileCount) return kFailed;
    const int one[] = {active};
    return WriteKeysToKeyboard(stores, commands, state, screen, one);
}

} // namespace ombrel
