#include "keyboardfile/KeyCodeNames.h"

#include "keyboardfile/KeyboardSetup.h"
#include "keys/KeyCodeText.h"
#include "keys/KeyFunction.h"
#include "keys/KeyImage.h"
#include "text/WholeNumber.h"

#include <algorithm>

namespace ombrel {

std::string KeyCodeNames::keyName(KeyIndex index) const {
    return KeyIndexText(index);
}

std::optional<KeyIndex> KeyCodeNames::key(std::string_view name, std::string* problem) const {
    std::optional<KeyIndex> index;
    if (name.size() >= 2 && (name[0] == 'G' || name[0] == 'g')) {
        const bool bankB = name.back() == 'B' || name.back() == 'b';
        const auto n = ParseDecimal(name.substr(1, name.size() - 1 - (bankB ? 1 : 0)));
        if (n && *n >= 1 && *n <= static_cast<unsigned>(kGKeysPerBank))
            index = static_cast<KeyIndex>(kFirstGKeyIndex + (*n - 1) + (bankB ? kGKeysPerBank : 0));
    } else if (const auto code = ParseHexKeyCode(name)) {
        index = KeyIndexOf(*code);
    }
    const auto& keys = SetupKeys();
    if (!index || std::find(keys.begin(), keys.end(), *index) == keys.end()) {
        *problem = "'" + std::string(name) + "' is not a key of the keyboard map";
        return std::nullopt;
    }
    return index;
}

std::string KeyCodeNames::keyCodeName(KeyCode code) const {
    return HexKeyCode(code);
}

std::optional<KeyCode> KeyCodeNames::keyCode(std::string_view name, std::string* problem) const {
    if (const auto code = ParseHexKeyCode(name)) return code;
    *problem = "'" + std::string(name) + "' is not a key code such as 0x03A";
    return std::nullopt;
}

std::string KeyCodeNames::functionName(const KeyRecord& r) const {
    switch (r.type) {
    case KF_DEFAULT:
        return "default";
    case KF_DISABLED:
        return "disabled";
    case KF_KEY:
        return "key:" + HexKeyCode(r.value);
    case KF_MACRO:
        return "macro:" + std::to_string(r.value);
    case KF_STOP_MACRO:
        return "stop-macro";
    case KF_MEDIA:
        return "media:" + std::to_string(r.value);
    case KF_FUNCTION:
        return "function:" + std::to_string(r.value + 1);
    default:
        return "default"; // programs and texts are not kept by the keyboard
    }
}

std::optional<KeyRecord> KeyCodeNames::function(std::string_view name, std::string* problem) const {
    const auto colon = name.find(':');
    const std::string_view kind = name.substr(0, colon);
    const std::string_view value = colon == std::string_view::npos ? std::string_view() : name.substr(colon + 1);
    if (name == "default") return KeyRecord{KF_DEFAULT};
    if (name == "disabled") return KeyRecord{KF_DISABLED};
    if (name == "stop-macro") return KeyRecord{KF_STOP_MACRO};
    if (kind == "key")
        if (const auto code = ParseHexKeyCode(value)) return KeyRecord{KF_KEY, 0, *code};
    if (kind == "macro")
        if (const auto n = ParseDecimal(value); n && *n >= 1 && *n <= 0xFFFF)
            return KeyRecord{KF_MACRO, 0, static_cast<unsigned>(*n)};
    if (kind == "media")
        if (const auto n = ParseDecimal(value); n && *n < 256) return KeyRecord{KF_MEDIA, 0, static_cast<unsigned>(*n)};
    if (kind == "function")
        if (const auto n = ParseDecimal(value); n && *n >= 1 && *n < 256)
            return KeyRecord{KF_FUNCTION, 0, static_cast<unsigned>(*n - 1)};
    *problem = "'" + std::string(name) + "' is not a key function";
    return std::nullopt;
}

std::string KeyCodeNames::describe(const KeyRecord& record, const std::string& macroName) const {
    if (record.type == KF_MACRO) return "macro " + macroName;
    return functionName(record);
}

} // namespace ombrel
