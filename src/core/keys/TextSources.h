#pragma once
// Where the key and macro code gets the texts it shows: the language file's texts by key, and the display name of
// a key. Both come in as callables so this code does not depend on how the language file is read.

#include "keyboard/KeyTable.h"

#include <functional>
#include <string>
#include <string_view>

namespace ombrel {

using TextLookup = std::function<std::string(std::string_view key)>;
using KeyNameLookup = std::function<std::string(KeyCode code)>;

} // namespace ombrel
