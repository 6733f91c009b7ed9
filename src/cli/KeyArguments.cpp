#include "KeyArguments.h"

#include "keys/FunctionLists.h"
#include "keys/MacroRecord.h"
#include "keys/MediaTable.h"

#include <charconv>
#include <cstdio>

namespace ombrel::cli {

namespace {

constexpr int kGKeysPerBank = 9;

// Long spellings of keys whose language-file names are usually abbreviated.
constexpr std::pair<std::string_view, KeyCode> kLongNames[] = {
    {"escape", 0x001},      {"return", 0x01C},       {"backspace", 0x00E},   {"control", 0x01D},
    {"leftcontrol", 0x01D}, {"rightcontrol", 0x11D}, {"delete", 0x153},      {"insert", 0x152},
    {"pageup", 0x149},      {"pagedown", 0x151},     {"printscreen", 0x137},
};

std::optional<unsigned long> parseUnsigned(std::string_view text, int base) {
    unsigned long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<KeyCode> parseHexCode(std::string_view text) {
    if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return std::nullopt;
    const auto value = parseUnsigned(text.substr(2), 16);
    if (!value || *value > 0xFFFF) return std::nullopt;
    return static_cast<KeyCode>(*value);
}

std::string hex3(unsigned value) {
    char s[16];
    std::snprintf(s, sizeof s, "0x%03X", value);
    return s;
}

std::optional<KeyRecord> failWith(std::string* error, std::string text) {
    if (error) *error = std::move(text);
    return std::nullopt;
}

} // namespace

const char* const kFunctionArgumentHelp =
    "FUNCTION is one of:\n"
    "  default                 the key's factory function\n"
    "  disabled                the key does nothing\n"
    "  key:KEY                 the key sends another key (a name or a hexadecimal key code)\n"
    "  mouse:left|right|middle a mouse button\n"
    "  wheel:up|down           a wheel step\n"
    "  media:NAME|ROW          a media function, by its name or its row 0..17\n"
    "  function:N              keyboard function N, 1..11\n"
    "  macro:ID                plays the macro with that id (see 'ombrelctl macro list')\n"
    "  stop-macro              stops the playing macro\n";

std::string NormaliseName(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '_' || c == '-') continue;
        out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    return out;
}

KeyNames::KeyNames(const TextLookup& text) {
    const auto& table = KeyTable();
    for (std::size_t index = 0; index < table.size(); ++index) {
        if (table[index].textKey.empty()) continue;
        const std::string name = NormaliseName(text(table[index].textKey));
        if (!name.empty()) m_byName.emplace(name, KeyCodeOf(static_cast<KeyIndex>(index)));
    }
}

std::optional<KeyCode> KeyNames::parse(std::string_view text) const {
    if (const auto code = parseHexCode(text)) return code;
    const std::string name = NormaliseName(text);
    if (const auto it = m_byName.find(name); it != m_byName.end()) return it->second;
    for (const auto& [longName, code] : kLongNames)
        if (name == longName) return code;
    return std::nullopt;
}

std::optional<KeyIndex> ParseKeyArgument(std::string_view text, const KeyNames& names) {
    if (text.size() >= 2 && (text[0] == 'G' || text[0] == 'g')) {
        std::string_view rest = text.substr(1);
        int bank = 0;
        if (rest.size() == 2 && (rest[1] == 'A' || rest[1] == 'a' || rest[1] == 'B' || rest[1] == 'b')) {
            bank = (rest[1] == 'B' || rest[1] == 'b') ? 1 : 0;
            rest = rest.substr(0, 1);
        }
        if (const auto n = parseUnsigned(rest, 10); n && *n >= 1 && *n <= kGKeysPerBank)
            return static_cast<KeyIndex>(kFirstGKeyIndex + bank * kGKeysPerBank + (*n - 1));
    }
    const auto code = names.parse(text);
    if (!code || *code == 0) return std::nullopt;
    const KeyIndex index = KeyIndexOf(*code);
    if (index >= kFirstGKeyIndex || KeyCodeOf(index) != *code) return std::nullopt;
    return index;
}

std::string KeyArgument(KeyIndex index) {
    if (index >= kFirstGKeyIndex && index < kFirstGKeyIndex + kGKeySlots) {
        const int m = index - kFirstGKeyIndex;
        return "G" + std::to_string(m % kGKeysPerBank + 1) + (m >= kGKeysPerBank ? "B" : "");
    }
    return hex3(KeyCodeOf(index));
}

std::optional<KeyRecord> ParseFunctionArgument(std::string_view text, const KeyNames& names, const TextLookup& texts,
                                               std::string* error) {
    const auto colon = text.find(':');
    const std::string kind = NormaliseName(text.substr(0, colon));
    const std::string_view value = colon == std::string_view::npos ? std::string_view() : text.substr(colon + 1);
    const std::string wanted = NormaliseName(value);
    if (colon == std::string_view::npos) {
        if (kind == "default") return KeyRecord{KF_DEFAULT};
        if (kind == "disabled") return KeyRecord{KF_DISABLED};
        if (kind == "stopmacro") return KeyRecord{KF_STOP_MACRO};
    } else if (kind == "key") {
        const auto code = names.parse(value);
        if (!code || *code == 0 || *code >= 0x200)
            return failWith(error, "'" + std::string(value) + "' is no key name or key code");
        return KeyRecord{KF_KEY, 0, *code};
    } else if (kind == "mouse" || kind == "wheel") {
        const std::pair<std::string_view, KeyCode> choices[] = {{"left", kMouseLeft},
                                                                {"right", kMouseRight},
                                                                {"middle", kMouseMiddle},
                                                                {"up", kWheelUp},
                                                                {"down", kWheelDown}};
        for (const auto& [name, code] : choices)
            if (wanted == name && (kind == "wheel") == (code == kWheelUp || code == kWheelDown))
                return KeyRecord{KF_KEY, 0, code};
        return failWith(error,
                        kind == "mouse" ? "mouse buttons are left, right and middle" : "wheel steps are up and down");
    } else if (kind == "media") {
        if (const auto row = parseUnsigned(value, 10); row && *row < MediaTable().size())
            return KeyRecord{KF_MEDIA, 0, static_cast<std::uint32_t>(*row)};
        for (std::size_t row = 0; row < MediaTable().size(); ++row)
            if (!wanted.empty() && NormaliseName(texts(MediaTable()[row].nameKey)) == wanted)
                return KeyRecord{KF_MEDIA, 0, static_cast<std::uint32_t>(row)};
        return failWith(error, "'" + std::string(value) + "' is no media function (a name or a row 0..17)");
    } else if (kind == "function") {
        if (const auto n = parseUnsigned(value, 10); n && *n >= 1 && *n <= kFunctionKeyCount)
            return KeyRecord{KF_FUNCTION, 0, static_cast<std::uint32_t>(*n - 1)};
        return failWith(error, "keyboard functions are numbered 1 to 11");
    } else if (kind == "macro") {
        if (const auto id = parseUnsigned(value, 10); id && *id >= 1 && *id <= kMaxMacros)
            return KeyRecord{KF_MACRO, 1, static_cast<std::uint32_t>(*id)};
        return failWith(error, "macro ids are 1 to 100");
    }
    return failWith(error, "'" + std::string(text) + "' is no key function (see --help)");
}

std::string FunctionArgument(const KeyRecord& r) {
    switch (r.type) {
    case KF_DEFAULT:
        return "default";
    case KF_DISABLED:
        return "disabled";
    case KF_KEY:
        switch (r.value) {
        case kMouseLeft:
            return "mouse:left";
        case kMouseRight:
            return "mouse:right";
        case kMouseMiddle:
            return "mouse:middle";
        case kWheelUp:
            return "wheel:up";
        case kWheelDown:
            return "wheel:down";
        default:
            return "key:" + hex3(r.value);
        }
    case KF_PROGRAM:
        return "program";
    case KF_MACRO:
        return "macro:" + std::to_string(r.value);
    case KF_STOP_MACRO:
        return "stop-macro";
    case KF_TEXT:
        return "text";
    case KF_MEDIA:
        return "media:" + std::to_string(r.value);
    case KF_FUNCTION:
        return "function:" + std::to_string(r.value + 1);
    default:
        return "type:" + std::to_string(r.type);
    }
}

} // namespace ombrel::cli
