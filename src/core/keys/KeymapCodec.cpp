#include "keys/KeymapCodec.h"

#include "keys/FunctionLists.h"
#include "keys/MediaTable.h"
#include "keys/ModifierTable.h"

namespace ombrel {

namespace {

constexpr std::uint16_t kKeyboardPage = 7;
constexpr std::uint16_t kConsumerPage = 0x0C;
constexpr std::uint16_t kDesktopPage = 1;
constexpr std::uint8_t kWheelStepUp = 0x01;
constexpr std::uint8_t kWheelStepDown = 0xFF;

struct MouseCode {
    KeyCode code;
    std::uint8_t b1, b2;
};
constexpr MouseCode kMouseCodes[] = {
    {kMouseLeft, kMouseButton, 0x01},          {kMouseRight, kMouseButton, 0x02},
    {kMouseMiddle, kMouseButton, 0x04},        {kWheelUp, kMouseWheel, kWheelStepUp},
    {kWheelDown, kMouseWheel, kWheelStepDown},
};

KeyCode mouseKeyOf(std::uint8_t b1, std::uint8_t b2) {
    for (const MouseCode& m : kMouseCodes)
        if (m.b1 == b1 && m.b2 == b2) return m.code;
    return 0;
}

std::uint16_t usageOf(const KeymapEntry& e) {
    return static_cast<std::uint16_t>(e.b1 | (e.b2 << 8));
}

KeymapEntry keyEntry(KeyCode code) {
    if (const std::uint8_t bit = ModifierBitOfKey(code)) return {EK_KEYBOARD, kKeyboardModifier, bit};
    if (const auto mouse = MouseEntryOfKey(code)) return *mouse;
    const HidUsage u = UsageOfKey(code);
    return {EK_KEYBOARD, kKeyboardUsage, static_cast<std::uint8_t>(u.page == kKeyboardPage ? u.usage : 0)};
}

// The record a keyboard entry other than the factory one stands for.
KeyRecord recordOfEntry(const KeymapEntry& e) {
    KeyRecord r;
    r.type = KF_DISABLED;
    switch (e.kind) {
    case EK_SPECIAL:
        if (e.b1 == kSpecialPlayMacro) {
            r.type = KF_MACRO;
            r.value = e.b2 + 1u;
        } else if (e.b1 == kSpecialStopMacro) {
            r.type = KF_STOP_MACRO;
        } else if (e.b1 == kSpecialFunction && e.b2 < kFunctionKeyCount) {
            // A function number the keyboard does not have does nothing, like the other unknown entries.
            r.type = KF_FUNCTION;
            r.value = e.b2;
        }
        break;
    case EK_CONSUMER:
        if (const auto row = MediaRowOfUsage(usageOf(e))) {
            r.type = KF_MEDIA;
            r.value = static_cast<std::uint32_t>(*row);
        }
        break;
    case EK_MOUSE:
        // Entries other than the five mouse functions are never written by this program; they keep value 0.
        r.type = KF_KEY;
        r.value = mouseKeyOf(e.b1, e.b2);
        break;
    case EK_KEYBOARD: {
        KeyCode k = 0;
        if (e.b1 == kKeyboardUsage) k = KeyOfUsage(kKeyboardPage, e.b2);
        if (e.b1 == kKeyboardModifier) k = KeyOfModifierBits(e.b2);
        if (k != 0) {
            r.type = KF_KEY;
            r.value = k;
        }
        break;
    }
    default:
        break;
    }
    return r;
}

} // namespace

std::optional<KeymapEntry> MouseEntryOfKey(KeyCode code) {
    for (const MouseCode& m : kMouseCodes)
        if (m.code == code) return KeymapEntry{EK_MOUSE, m.b1, m.b2};
    return std::nullopt;
}

KeyCode KeyOfEntry(const KeymapEntry& e) {
    switch (e.kind) {
    case EK_MOUSE:
        return mouseKeyOf(e.b1, e.b2);
    case EK_KEYBOARD:
        return e.b1 == kKeyboardUsage ? KeyOfUsage(kKeyboardPage, e.b2) : KeyOfModifierBits(e.b2);
    case EK_CONSUMER:
        return KeyOfUsage(kConsumerPage, usageOf(e));
    case EK_SYSTEM:
        return KeyOfUsage(kDesktopPage, usageOf(e));
    case EK_GKEY:
        return e.b1 == kGKeyMarker ? static_cast<KeyCode>(0x1FF + e.b2) : KeyCode{0};
    default:
        return 0;
    }
}

KeymapEntry EncodeEntry(const KeyRecord& record, const KeymapEntry& factory, const MacroPositionLookup& macroPosition) {
    switch (record.type) {
    case KF_DISABLED:
    case KF_TEXT:
        return {};
    case KF_KEY:
        return keyEntry(static_cast<KeyCode>(record.value));
    case KF_MACRO: {
        const auto position = macroPosition ? macroPosition(record.value) : std::nullopt;
        if (!position || *position < 0 || *position > 0xFF) return factory;
        return {EK_SPECIAL, kSpecialPlayMacro, static_cast<std::uint8_t>(*position)};
    }
    case KF_STOP_MACRO:
        return {EK_SPECIAL, kSpecialStopMacro, 0};
    case KF_MEDIA: {
        if (record.value >= MediaTable().size()) return factory;
        const std::uint16_t usage = MediaTable()[record.value].usage;
        return {EK_CONSUMER, static_cast<std::uint8_t>(usage & 0xFF), static_cast<std::uint8_t>(usage >> 8)};
    }
    case KF_FUNCTION:
        if (record.value >= kFunctionKeyCount) return factory;
        return {EK_SPECIAL, kSpecialFunction, static_cast<std::uint8_t>(record.value)};
    default: // KF_DEFAULT, KF_PROGRAM and unknown types
        return factory;
    }
}

KeymapBlock EncodeKeymapBlock(const KeyImage& image, int layer, const KeymapBlock& factory,
                              const MacroPositionLookup& macroPosition) {
    KeymapBlock block = factory;
    for (int slot = 0; slot < KeymapBlock::kSlots; ++slot) {
        const KeymapEntry f = factory.entry(slot);
        const KeyCode k = KeyOfEntry(f);
        if (k == 0) continue;
        block.setEntry(slot, EncodeEntry(image.record(RecordNumber(layer, KeyIndexOf(k))), f, macroPosition));
    }
    return block;
}

void DecodeKeymapBlock(const KeymapBlock& keyboard, const KeymapBlock& factory, KeyImage& image, int layer) {
    ResetLayer(image, layer);
    for (int slot = 0; slot < KeymapBlock::kSlots; ++slot) {
        const KeymapEntry e = keyboard.entry(slot);
        const KeymapEntry f = factory.entry(slot);
        if (e == f) continue;
        const KeyCode k = KeyOfEntry(f);
        if (k == 0) continue;
        const KeyIndex index = KeyIndexOf(k);
        if (index >= kRecordsPerLayer) continue;
        const int n = RecordNumber(layer, index);
        KeyRecord r = image.record(n);
        const KeyRecord decoded = recordOfEntry(e);
        r.type = decoded.type;
        r.value = decoded.value;
        image.setRecord(n, r);
    }
}

} // namespace ombrel
