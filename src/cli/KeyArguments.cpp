#include "KeyArguments.h"

#include "keys/FunctionLists.h"
#include "keys/KeyAliases.h"
#include "keys/KeyCodeText.h"
#include "keys/MacroRecord.h"
#include "keys/MediaTable.h"
#include "text/WholeNumber.h"

namespace ombrel::cli {

namespace {

std::optional<KeyRecord> failWith(std::string* error, std::string text) {
    if (error) *error = std::move(text);
    return std::nullopt;
}

NameLookup lookup(const NameMatcher& matcher, std::string_view text, const std::string& what) {
    const NameMatch m = matcher.match(text);
    if (m.value) return {m.value, {}, {}};
    const std::string hint = DidYouMean(m.suggestions);
    return {std::nullopt, "'" + std::string(text) + "' is not " + what + (hint.empty() ? "" : "; " + hint), hint};
}

std::optional<KeyIndex> gKey(std::string_view text) {
    if (text.size() < 2 || (text[0] != 'G' && text[0] != 'g')) return std::nullopt;
    std::string_view rest = text.substr(1);
    int bank = 0;
    if (rest.size() == 2 && (rest[1] == 'A' || rest[1] == 'a' || rest[1] == 'B' || rest[1] == 'b')) {
        bank = (rest[1] == 'B' || rest[1] == 'b') ? 1 : 0;
        rest = rest.substr(0, 1);
    }
    if (const auto n = ParseDecimal(rest); n && *n >= 1 && *n <= kGKeysPerBank)
        return static_cast<KeyIndex>(kFirstGKeyIndex + bank * kGKeysPerBank + (*n - 1));
    return std::nullopt;
}

} // namespace

const MouseArgument kMouseArguments[5] = {
    {"mouse:left", kMouseLeft}, {"mouse:right", kMouseRight}, {"mouse:middle", kMouseMiddle},
    {"wheel:up", kWheelUp},     {"wheel:down", kWheelDown},
};

const char* const kFunctionArgumentHelp =
    "FUNCTION is one of:\n"
    "  default                 the key's factory function\n"
    "  disabled                the key does nothing\n"
    "  key:KEY                 the key sends another key (a name or a hexadecimal key code)\n"
    "  mouse:left|right|middle a mouse button\n"
    "  wheel:up|down           a wheel step\n"
    "  media:NAME|ROW          a media function, by its name or its row 0..17\n"
    "  function:NAME|N         keyboard function N, 1..11, or its name\n"
    "  macro:ID                plays the macro with that id (see 'ombrelctl macro list')\n"
    "  stop-macro              stops the playing macro\n"
    "'ombrelctl names keys|media|functions|mouse' lists the names.\n";

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
        m_keys.add(text(table[index].textKey), KeyCodeOf(static_cast<KeyIndex>(index)));
    }
    for (const auto& [alias, code] : kKeyAliases)
        m_keys.addAlias(alias, code);
    for (std::size_t row = 0; row < MediaTable().size(); ++row)
        m_media.add(text(MediaTable()[row].nameKey), static_cast<int>(row));
    for (std::size_t row = 0; row < FunctionKeyList().size(); ++row)
        m_functions.add(text(FunctionKeyList()[row]), static_cast<int>(row));
}

std::optional<KeyCode> KeyNames::parse(std::string_view text) const {
    if (const auto code = ParseHexKeyCode(text)) return code;
    if (const auto found = m_keys.match(text).value) return static_cast<KeyCode>(*found);
    return std::nullopt;
}

NameLookup KeyNames::lookupKey(std::string_view text) const {
    if (const auto code = ParseHexKeyCode(text)) return {*code, {}, {}};
    return lookup(m_keys, text, "a key name or key code");
}

NameLookup KeyNames::lookupMedia(std::string_view text) const {
    if (const auto row = ParseDecimal(text); row && *row < MediaTable().size()) return {int(*row), {}, {}};
    return lookup(m_media, text, "a media function (a name or a row 0..17)");
}

NameLookup KeyNames::lookupFunction(std::string_view text) const {
    if (const auto n = ParseDecimal(text)) {
        if (*n >= 1 && *n <= kFunctionKeyCount) return {int(*n - 1), {}, {}};
        return {std::nullopt, "keyboard functions are numbered 1 to 11", {}};
    }
    return lookup(m_functions, text, "a keyboard function (a name or a number 1..11)");
}

KeyArgumentLookup LookupKeyArgument(std::string_view text, const KeyNames& names) {
    if (const auto g = gKey(text)) return {*g, {}, {}};
    const NameLookup found = names.lookupKey(text);
    const std::string notAKey = "'" + std::string(text) + "' is not a key of the keyboard";
    if (!found.value)
        return {std::nullopt,
                notAKey + (found.hint.empty() ? ": give its name or its key code (0x03A)" : "; " + found.hint),
                found.hint};
    const auto code = static_cast<KeyCode>(*found.value);
    const KeyIndex index = KeyIndexOf(code);
    if (code == 0 || index >= kFirstGKeyIndex || KeyCodeOf(index) != code)
        return {std::nullopt, notAKey + ": give its name or its key code (0x03A)", {}};
    return {index, {}, {}};
}

std::optional<KeyIndex> ParseKeyArgument(std::string_view text, const KeyNames& names) {
    return LookupKeyArgument(text, names).index;
}

std::string KeyArgument(KeyIndex index) {
    return KeyIndexText(index);
}

std::string KeyLabel(KeyIndex index, const KeyNameLookup& keyName) {
    if (index >= kFirstGKeyIndex) return KeyArgument(index);
    return keyName(KeyCodeOf(index));
}

std::optional<KeyRecord> ParseFunctionArgument(std::string_view text, const KeyNames& names, std::string* error) {
    const auto colon = text.find(':');
    const std::string kind = NormaliseName(text.substr(0, colon));
    const std::string_view value = colon == std::string_view::npos ? std::string_view() : text.substr(colon + 1);
    if (colon == std::string_view::npos) {
        if (kind == "default") return KeyRecord{KF_DEFAULT};
        if (kind == "disabled") return KeyRecord{KF_DISABLED};
        if (kind == "stopmacro") return KeyRecord{KF_STOP_MACRO};
    } else if (kind == "key") {
        const NameLookup found = names.lookupKey(value);
        if (!found.value || *found.value == 0 || *found.value >= 0x200)
            return failWith(error,
                            found.value ? "'" + std::string(value) + "' is not a key name or key code" : found.problem);
        return KeyRecord{KF_KEY, 0, static_cast<std::uint32_t>(*found.value)};
    } else if (kind == "mouse" || kind == "wheel") {
        const std::string wanted = kind + ":" + NormaliseName(value);
        for (const MouseArgument& m : kMouseArguments)
            if (wanted == m.argument) return KeyRecord{KF_KEY, 0, m.code};
        return failWith(error,
                        kind == "mouse" ? "mouse buttons are left, right and middle" : "wheel steps are up and down");
    } else if (kind == "media") {
        const NameLookup found = names.lookupMedia(value);
        if (!found.value) return failWith(error, found.problem);
        return KeyRecord{KF_MEDIA, 0, static_cast<std::uint32_t>(*found.value)};
    } else if (kind == "function") {
        const NameLookup found = names.lookupFunction(value);
        if (!found.value) return failWith(error, found.problem);
        return KeyRecord{KF_FUNCTION, 0, static_cast<std::uint32_t>(*found.value)};
    } else if (kind == "macro") {
        if (const auto id = ParseDecimal(value); id && *id >= 1 && *id <= kMaxMacros)
            return KeyRecord{KF_MACRO, 1, static_cast<std::uint32_t>(*id)};
        return failWith(error, "macro ids are 1 to 100");
    }
    return failWith(error, "'" + std::string(text) + "' is not a key function (see 'ombrelctl keymap set --help')");
}

std::string FunctionArgument(const KeyRecord& r) {
    switch (r.type) {
    case KF_DEFAULT:
        return "default";
    case KF_DISABLED:
        return "disabled";
    case KF_KEY:
        for (const MouseArgument& m : kMouseArguments)
            if (r.value == m.code) return m.argument;
        return "key:" + HexKeyCode(r.value);
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

std::string FunctionDescription(const KeyRecord& r, const TextLookup& text, const KeyNameLookup& keyNames,
                                const MacroNameLookup& macroName) {
    switch (r.type) {
    case KF_DEFAULT:
        return "factory function";
    case KF_DISABLED:
        return "disabled";
    case KF_STOP_MACRO:
        return "stops the playing macro";
    case KF_PROGRAM:
        return "starts a program";
    case KF_TEXT:
        return "types a text";
    default:
        break;
    }
    // A macro kept without its name (when memory is short) still says which one it is.
    const MacroNameLookup namedMacro = [&](std::uint32_t id) {
        const std::string name = macroName(id);
        return name.empty() ? "id " + std::to_string(id) : name;
    };
    const std::string prompt = text("KEY_PROMPT_SET");
    const std::string caption = AssignmentCaption("", r, text, keyNames, namedMacro);
    std::string description = caption.substr(std::min(prompt.size(), caption.size()));
    return description.empty() ? "unknown function " + FunctionArgument(r) : description;
}

std::string KeyLine(const std::string& keyLabel, const std::string& description, const TextLookup& text) {
    return keyLabel + text("KEY_PROMPT_SET") + description;
}

} // namespace ombrel::cli
