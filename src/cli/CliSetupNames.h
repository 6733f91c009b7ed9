#pragma once
// The names of the keyboard file, as ombrelctl takes them on its command line.

#include "CliTexts.h"
#include "KeyArguments.h"
#include "keyboardfile/SetupNames.h"

namespace ombrel::cli {

class CliSetupNames : public SetupNames {
public:
    explicit CliSetupNames(const CliTexts& texts);

    std::string keyName(KeyIndex index) const override;
    std::optional<KeyIndex> key(std::string_view name, std::string* problem) const override;
    std::string keyCodeName(KeyCode code) const override;
    std::optional<KeyCode> keyCode(std::string_view name, std::string* problem) const override;
    std::string functionName(const KeyRecord& record) const override;
    std::optional<KeyRecord> function(std::string_view name, std::string* problem) const override;
    std::string describe(const KeyRecord& record, const std::string& macroName) const override;

private:
    const CliTexts& m_texts;
    KeyNames m_names;
};

} // namespace ombrel::cli
