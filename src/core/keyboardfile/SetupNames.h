#pragma once
// How the keyboard file names keys and key functions: by the words ombrelctl takes, which live with the user's
// language texts. The core reads and writes the file through this interface; the command line and the window
// give it their names.

#include "keyboard/KeyTable.h"
#include "keys/KeyRecord.h"

#include <optional>
#include <string>
#include <string_view>

namespace ombrel {

class SetupNames {
public:
    virtual ~SetupNames() = default;

    // A key of a profile's table (map keys and G keys), as written and as read back.
    virtual std::string keyName(KeyIndex index) const = 0;
    virtual std::optional<KeyIndex> key(std::string_view name, std::string* problem) const = 0;
    // A key a macro step presses or releases (any key code).
    virtual std::string keyCodeName(KeyCode code) const = 0;
    virtual std::optional<KeyCode> keyCode(std::string_view name, std::string* problem) const = 0;
    // A key function: "key:Esc", "macro:2", "default" ...
    virtual std::string functionName(const KeyRecord& record) const = 0;
    virtual std::optional<KeyRecord> function(std::string_view name, std::string* problem) const = 0;
    // What a function does in the window's words ("Key (Esc)"); `macroName` names the macro of a macro key.
    virtual std::string describe(const KeyRecord& record, const std::string& macroName) const = 0;
};

} // namespace ombrel
