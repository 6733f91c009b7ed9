#include "CliTexts.h"

#include "platform/AppPaths.h"
#include "platform/SettingsStore.h"
#include "text/KeyText.h"
#include "text/LanguageTexts.h"
#include "text/SafeFormat.h"

#include <cstdio>
#include <memory>

namespace ombrel::cli {

namespace {

// The language the window would show, without storing a choice the way the window does on its first start.
int languageIndex(const AppPaths& paths) {
    SettingsStore settings(paths.settingsIni, paths.appProfileIni);
    const auto id = settings.loadLanguageId();
    return id ? LanguageIndexOf(*id).value_or(0) : 0;
}

} // namespace

CliTexts LoadCliTexts() {
    const auto& paths = ProcessAppPaths();
    auto texts = std::make_shared<LanguageTexts>(paths ? paths->dataDir : std::string());
    const int index = paths ? languageIndex(*paths) : 0;
    CliTexts t;
    t.text = [texts, index](std::string_view key) { return texts->lookupText(key, index); };
    t.keyName = [texts, index](KeyCode code) { return KeyText(*texts, code, index); };
    return t;
}

void ConsoleScreen::showMessage(std::string_view textKey) {
    std::fprintf(stderr, "%s\n", m_text(textKey).c_str());
}

void ConsoleScreen::showFormattedMessage(std::string_view textKey, std::string_view argument) {
    std::fprintf(stderr, "%s\n", FormatTextString(m_text(textKey), argument).c_str());
}

} // namespace ombrel::cli
