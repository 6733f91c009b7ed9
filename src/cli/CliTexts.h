#pragma once
// The texts ombrelctl shows and reads: the language file's texts and key names, and a screen that prints the
// messages the core would show in a message box.

#include "device/ScreenPort.h"
#include "keys/TextSources.h"
#include "platform/AppPaths.h"

#include <string>

namespace ombrel::cli {

struct CliTexts {
    TextLookup text;
    KeyNameLookup keyName;
    TextLookup effectName; // by effect number in decimal
};

// The texts of the English language file (the first of the language table) by default: ombrelctl speaks English
// whatever the window's language, so scripts get the same names, messages and JSON on every machine. The window
// passes its own language for what it shows.
CliTexts LoadCliTexts(int languageIndex = 0);

// Creates and seeds the per-user folder of `paths` when it is missing; prints why and returns false when that fails.
bool EnsureUserFolder(const AppPaths& paths);

// Prints each message's text on stderr.
class ConsoleScreen : public NullScreen {
public:
    explicit ConsoleScreen(TextLookup text) : m_text(std::move(text)) {}
    void showMessage(std::string_view textKey) override;
    void showFormattedMessage(std::string_view textKey, std::string_view argument) override;

private:
    TextLookup m_text;
};

} // namespace ombrel::cli
