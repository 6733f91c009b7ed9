#include "CliSetupNames.h"

#include "keyboardfile/KeyboardSetup.h"

#include <algorithm>
#include <cstdio>

namespace ombrel::cli {

CliSetupNames::CliSetupNames(const CliTexts& texts) : m_texts(texts), m_names(texts.text) {}

std::string CliSetupNames::keyName(KeyIndex index) const {
    // The name the window shows, unless it would not lead back to this key (then the key code).
    // toml++ 3.3 writes a key holding an apostrophe unquoted, which no reader takes back: such keys go by code.
    const std::string label = KeyLabel(index, m_texts.keyName);
    const bool writable = label.find('\'') == std::string::npos;
    return writable && ParseKeyArgument(label, m_names) == index ? label : KeyArgument(index);
}

std::optional<KeyIndex> CliSetupNames::key(std::string_view name, std::string* problem) const {
    const KeyArgumentLookup found = LookupKeyArgument(name, m_names);
    if (!found.index) {
        *problem = found.problem;
        return std::nullopt;
    }
    const auto& keys = SetupKeys();
    if (std::find(keys.begin(), keys.end(), *found.index) == keys.end()) {
        *problem = "'" + std::string(name) + "' is not a key of the keyboard map";
        return std::nullopt;
    }
    return found.index;
}

std::string CliSetupNames::keyCodeName(KeyCode code) const {
    const std::string name = m_texts.keyName(code);
    if (!name.empty() && m_names.parse(name) == code) return name; // values are quoted whatever they hold
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%03X", unsigned(code));
    return hex;
}

std::optional<KeyCode> CliSetupNames::keyCode(std::string_view name, std::string* problem) const {
    const NameLookup found = m_names.lookupKey(name);
    if (!found.value) {
        *problem = found.problem;
        return std::nullopt;
    }
    return static_cast<KeyCode>(*found.value);
}

std::string CliSetupNames::functionName(const KeyRecord& record) const {
    const std::string argument = FunctionArgument(record);
    if (record.type == KF_KEY && argument.rfind("key:", 0) == 0)
        return "key:" + keyCodeName(static_cast<KeyCode>(record.value));
    return argument;
}

std::optional<KeyRecord> CliSetupNames::function(std::string_view name, std::string* problem) const {
    std::string error;
    auto record = ParseFunctionArgument(name, m_names, &error);
    if (!record) *problem = error;
    return record;
}

std::string CliSetupNames::describe(const KeyRecord& record, const std::string& macroName) const {
    return FunctionDescription(record, m_texts.text, m_texts.keyName, [&](std::uint32_t) { return macroName; });
}

} // namespace ombrel::cli
