#include "CliTexts.h"

#include "platform/AppPaths.h"
#include "platform/PerUserFolder.h"
#include "text/KeyText.h"
#include "text/LanguageTexts.h"
#include "text/SafeFormat.h"

#include <cstdio>
#include <memory>

namespace ombrel::cli {

CliTexts LoadCliTexts(int languageIndex) {
    const auto& paths = ProcessAppPaths();
    auto texts = std::make_shared<LanguageTexts>(paths ? paths->dataDir : std::string());
    const int index = languageIndex;
    CliTexts t;
    t.text = [texts, index](std::string_view key) { return texts->lookupText(key, index); };
    t.keyName = [texts, index](KeyCode code) { return KeyText(*texts, code, index); };
    t.effectName = [texts, index](std::string_view number) { return texts->lookupMode(number, index); };
    return t;
}

bool EnsureUserFolder(const AppPaths& paths) {
    const PerUserFolderResult r = EnsurePerUserFolder(paths);
    if (r.status == PerUserFolderStatus::Failed)
        std::fprintf(stderr, "cannot create %s: %s\n", paths.userDir.c_str(), r.error.c_str());
    return r.status != PerUserFolderStatus::Failed;
}

void ConsoleScreen::showMessage(std::string_view textKey) {
    std::fprintf(stderr, "%s\n", m_text(textKey).c_str());
}

void ConsoleScreen::showFormattedMessage(std::string_view textKey, std::string_view argument) {
    std::fprintf(stderr, "%s\n", FormatTextString(m_text(textKey), argument).c_str());
}

} // namespace ombrel::cli
