#pragma once
// Names for the keyboard file that need no language file: keys by code ("0x03A", G1..G9, G1B..G9B) and functions
// in the forms ombrelctl takes ("key:0x01E", "media:2", "macro:1"). The write history uses them, so a snapshot
// reads the same whatever language the program that wrote it showed.

#include "keyboardfile/SetupNames.h"

namespace ombrel {

class KeyCodeNames : public SetupNames {
public:
    std::string keyName(KeyIndex index) const override;
    std::optional<KeyIndex> key(std::string_view name, std::string* problem) const override;
    std::string keyCodeName(KeyCode code) const override;
    std::optional<KeyCode> keyCode(std::string_view name, std::string* problem) const override;
    std::string functionName(const KeyRecord& record) const override;
    std::optional<KeyRecord> function(std::string_view name, std::string* problem) const override;
    std::string describe(const KeyRecord& record, const std::string& macroName) const override;
};

} // namespace ombrel
