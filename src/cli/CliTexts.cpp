#include "CliTexts.h"

#include "keyboard/KeyTable.h"

#include <cstdio>
#include <cstdlib>

namespace ombrel::cli {

namespace {

constexpr char kPerUserFolder[] = "Varn88-3_6027";

std::string envValue(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

} // namespace

CliTexts LoadCliTexts() {
    CliTexts t;
    t.text = [](std::string_view key) { return std::string(key); };
    t.keyName = [](KeyCode code) {
        const KeyIndex index = KeyIndexOf(code);
        if (index < KeyTable().size() && !KeyTable()[index].textKey.empty())
            return std::string(KeyTable()[index].textKey);
        char s[16];
        std::snprintf(s, sizeof s, "0x%03X", static_cast<unsigned>(code));
        return std::string(s);
    };
    return t;
}

std::string CliUserDir() {
    std::string base = envValue("XDG_DATA_HOME");
    if (base.empty() || base[0] != '/') base = envValue("HOME") + "/.local/share";
    return base + "/" + kPerUserFolder;
}

void ConsoleScreen::showMessage(std::string_view textKey) {
    std::fprintf(stderr, "%s\n", m_text(textKey).c_str());
}

void ConsoleScreen::showFormattedMessage(std::string_view textKey, std::string_view argument) {
    std::fprintf(stderr, "%s (%.*s)\n", m_text(textKey).c_str(), static_cast<int>(argument.size()), argument.data());
}

} // namespace ombrel::cli
