#include "profiles/ProfileNames.h"

#include "device/DeviceCommands.h"
#include "text/LanguageTexts.h"

namespace ombrel {

std::string ProfileDisplayName(int index, const TextLookup& text) {
    if (index < 0 || index >= kProfileCount) return text("DEFAULT_PROFILE_NAME");
    return text("PROFILE_" + std::to_string(index + 1));
}

std::string TextOr(const TextLookup& text, std::string_view key, std::string_view fallback) {
    std::string found = text(key);
    return found == kMissingText ? std::string(fallback) : found;
}

} // namespace ombrel
