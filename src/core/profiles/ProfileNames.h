#pragma once
// The names a person sees for the keyboard's profiles. The store file's own name (one file for all
// three profiles) says nothing to a user, so a profile is named by the language file's caption of its profile
// button ("Profile 1" ...), the same words the buttons beside the map show.

#include "keys/TextSources.h"

#include <string>

namespace ombrel {

// The caption of profile `index` (0..2); for any other index, as for an unreadable active profile, the text of
// "DEFAULT_PROFILE_NAME".
std::string ProfileDisplayName(int index, const TextLookup& text);

// The language text of `key`, or `fallback` when the language file does not have it.
std::string TextOr(const TextLookup& text, std::string_view key, std::string_view fallback);

} // namespace ombrel
