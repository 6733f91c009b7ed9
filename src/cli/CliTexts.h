#pragma once
// The texts ombrelctl shows and reads: the language file's texts and key names, and a screen that prints the
// messages the core would show in a message box.

#include "device/ScreenPort.h"
#include "keys/TextSources.h"

#include <string>

namespace ombrel::cli {

struct CliTexts {
    TextLookup text;
    KeyNameLookup keyName;
};

// The texts of the program's language file.
CliTexts LoadCliTexts();

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
