#include "assign/AssignmentCaption.h"

#include "keys/FunctionLists.h"
#include "keys/MediaTable.h"
#include "keys/Utf16Text.h"

namespace ombrel {

namespace {

constexpr int kGKeysPerBank = 9;

std::string described(const TextLookup& text, std::string_view promptKey, const std::string& what) {
    return text(promptKey) + what + ")";
}

} // namespace

std::string KeyDisplayName(KeyIndex index, const KeyNameLookup& keyName) {
    if (index >= kFirstGKeyIndex && index < kFirstGKeyIndex + kGKeySlots)
        return "G" + std::to_string((index - kFirstGKeyIndex) % kGKeysPerBank + 1);
    return keyName(KeyCodeOf(index));
}

std::string AssignmentCaption(std::string_view keyName, const KeyRecord& record, const TextLookup& text,
                              const KeyNameLookup& keyNames, const MacroNameLookup& macroName) {
    std::string caption(keyName);
    if (record.type == KF_DEFAULT) return caption;
    caption += text("KEY_PROMPT_SET");
    switch (record.type) {
    case KF_KEY:
        caption += described(text, "KEY_PROMPT_SINGLE", keyNames(static_cast<KeyCode>(record.value)));
        break;
    case KF_MACRO:
        caption += described(text, "KEY_PROMPT_MACRO", macroName(record.value));
        break;
    case KF_MEDIA:
        caption += described(text, "KEY_PROMPT_MEDIA",
                             record.value < MediaTable().size() ? keyNames(MediaTable()[record.value].code) : "");
        break;
    case KF_FUNCTION:
        caption += described(text, "KEY_PROMPT_FUNCTION",
                             record.value < FunctionKeyList().size() ? text(FunctionKeyList()[record.value]) : "");
        break;
    default:
        break;
    }
    return caption;
}

MacroNameLookup MacroNamesOf(const AssignmentStore& store) {
    return [&store](std::uint32_t macroId) {
        std::lock_guard guard(store.lock);
        const auto i = FindMacro(store, macroId);
        return i ? Utf16ToUtf8(store.macros[static_cast<std::size_t>(*i)].name()) : std::string();
    };
}

} // namespace ombrel
