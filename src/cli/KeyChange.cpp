#include "KeyChange.h"

#include "device/DeviceCommands.h"
#include "keyboard/KeyTable.h"
#include "keys/KeymapCodec.h"

namespace ombrel::cli {

bool FactoryBlockHasKey(const KeymapBytes& factory, KeyIndex index) {
    const KeymapBlock block(factory);
    for (int slot = 0; slot < KeymapBlock::kSlots; ++slot)
        if (const KeyCode k = KeyOfEntry(block.entry(slot)); k != 0 && KeyIndexOf(k) == index) return true;
    return false;
}

std::string NoSuchKeyText(const std::string& keyArgument) {
    return "the keyboard has no key " + keyArgument + ": its factory key functions do not name it";
}

std::string ChangeKeyFunction(AssignmentStore& store, int profile, KeyIndex index, KeyRecord record) {
    if (record.type == KF_MACRO) {
        const auto at = FindMacro(store, record.value);
        if (!at)
            return "the keyboard holds no macro with id " + std::to_string(record.value) +
                   " (see ombrelctl macro list)";
        record.extra = store.macros[static_cast<std::size_t>(*at)].cycles();
    }
    const int n = RecordNumber(profile, index);
    if (index >= kFirstGKeyIndex) record.extra = store.image.record(n).extra; // G keys keep their tag
    store.strings.clear(n);
    store.image.setRecord(n, record);
    return {};
}

std::vector<KeyIndex> ProfileKeys() {
    std::vector<KeyIndex> keys;
    for (const KeyButton& b : KeyButtonTable())
        keys.push_back(KeyIndexOf(b.code));
    for (int m = 0; m < kGKeySlots; ++m)
        keys.push_back(static_cast<KeyIndex>(kFirstGKeyIndex + m));
    return keys;
}

std::vector<std::pair<int, KeyIndex>> KeysPlayingMacro(const AssignmentStore& store, std::uint32_t id) {
    std::vector<std::pair<int, KeyIndex>> keys;
    for (int p = 0; p < kProfileCount; ++p)
        for (KeyIndex index : ProfileKeys()) {
            const KeyRecord r = store.image.record(RecordNumber(p, index));
            if (r.type == KF_MACRO && r.value == id) keys.emplace_back(p, index);
        }
    return keys;
}

} // namespace ombrel::cli
