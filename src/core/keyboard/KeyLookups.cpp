#include "keyboard/KeyTable.h"

#include <cstdio>

namespace ombrel {
namespace {

constexpr KeyIndex kGKeyBase = 256;
constexpr std::uint8_t kFirstConsumerUsage = 0xC0;

// The lowest row that satisfies the predicate, or -1.
template <typename Predicate>
int LowestRow(Predicate matches) {
    const auto& keys = KeyTable();
    for (std::size_t index = 0; index < keys.size(); ++index) {
        if (matches(keys[index])) return static_cast<int>(index);
    }
    return -1;
}

KeyCode KeyOfRow(int index) {
    return index < 0 ? KeyCode{0} : KeyCodeOf(static_cast<KeyIndex>(index));
}

} // namespace

KeyIndex KeyIndexOf(KeyCode code) {
    if (code < 0x100) return code;
    if (code < 0x200) return static_cast<KeyIndex>((code - 0x80) & 0xFF);
    return static_cast<KeyIndex>(code - 0x100);
}

KeyCode KeyCodeOf(KeyIndex index) {
    if (index < 0x80) return index;
    if (index < kGKeyBase) return static_cast<KeyCode>(index + 0x80);
    return static_cast<KeyCode>(index + 0x100);
}

const KeyRow& KeyRowOf(KeyCode code) {
    static constexpr KeyRow kEmptyRow{};
    const auto& keys = KeyTable();
    const KeyIndex index = KeyIndexOf(code);
    return index < keys.size() ? keys[index] : kEmptyRow;
}

std::uint16_t PickerPosOfKey(KeyCode code) {
    return KeyRowOf(code).pickerPos;
}

KeyCode KeyOfPickerPos(std::uint16_t position) {
    return KeyOfRow(LowestRow([position](const KeyRow& row) { return row.pickerPos == position; }));
}

std::string_view PickerTextKey(std::uint16_t position) {
    const int index = LowestRow([position](const KeyRow& row) { return row.pickerPos == position; });
    return index < 0 ? std::string_view{} : KeyTable()[static_cast<std::size_t>(index)].textKey;
}

// Usages 0xC0..0xD5 (the media and office rows) stay on the keyboard page with the code itself: a keyboard
// entry "keyboard usage u" read back from the device then names the same row again, and writing it returns the
// same bytes.
HidUsage UsageOfKey(KeyCode code) {
    const std::uint8_t usage = KeyRowOf(code).usage;
    if (usage == 0 || usage == 0xFF) return {0, 0};
    if (usage >= 0x81 && usage <= 0x83) return {1, usage};
    if (usage >= 0xF1 && usage <= 0xF8) return {2, usage};
    return {7, usage};
}

KeyCode KeyOfUsage(std::uint16_t page, std::uint16_t usage) {
    std::uint16_t rowUsage = 0;
    if (page == 7) {
        rowUsage = usage;
    } else if (page == 1) {
        rowUsage = usage >= 0x81 && usage <= 0x83 ? usage : 0;
    } else if (page == 12 && usage != 0) {
        // Consumer usage 0 means "no usage" and so do the empty consumer rows; it names no key.
        const auto& consumer = ConsumerTable();
        for (std::size_t n = 0; n < consumer.size(); ++n) {
            if (consumer[n] == usage) {
                rowUsage = static_cast<std::uint16_t>(kFirstConsumerUsage + n);
                break;
            }
        }
    }
    return KeyOfRow(LowestRow([rowUsage](const KeyRow& row) { return row.usage == rowUsage; }));
}

KeyIndex GKeyIndex(int i, int bank) {
    if (i < 0 || i >= kGKeyCount) return 0;
    return static_cast<KeyIndex>(kGKeyBase + i + (bank == 0 ? 0 : kGKeyCount));
}

std::string SkinKeyOfButton(KeyCode code) {
    char name[16];
    std::snprintf(name, sizeof name, "KEY_%03X", static_cast<unsigned>(KeyIndexOf(code)));
    return name;
}

std::string SkinKeyOfGKey(int i) {
    if (i < 0 || i >= kGKeyCount) return {};
    return "FUNC_G" + std::to_string(i + 1);
}

} // namespace ombrel
