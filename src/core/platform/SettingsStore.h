#pragma once
// The program's two small settings stores, both INI files under $XDG_CONFIG_HOME: settings.ini holds the stored
// language choice "dwLanguageId"; the application profile holds the section "PROFILES" (layout flip, macro
// recording delays, the profile list written for outside tools). A store that cannot be read gives the default;
// one that cannot be written reports false and the program runs on without it.

#include "text/LanguageChoice.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ombrel {

inline constexpr const char* kLanguageIdKey = "dwLanguageId";
inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kProfilesSection = "PROFILES";

class SettingsStore : public LanguageIdStore {
public:
    SettingsStore(std::string settingsIni, std::string appProfileIni);

    // The stored language identifier; nullopt when it is missing or is not a whole number from 0 to 0xFFFFFFFF
    // (decimal, or hexadecimal with "0x" for a value set by hand).
    std::optional<std::uint32_t> loadLanguageId() override;
    bool storeLanguageId(std::uint32_t languageId) override;

    // Section "PROFILES" of the application profile.
    std::string getProfileString(std::string_view key, std::string_view defaultText) const;
    // A value of the section read as a whole number (ParseProfileInt); `defaultValue` when the key is missing.
    int getProfileInt(std::string_view key, int defaultValue) const;
    bool writeProfileString(std::string_view key, std::string_view value) const;

    const std::string& settingsIni() const { return m_settingsIni; }
    const std::string& appProfileIni() const { return m_appProfileIni; }

private:
    std::string m_settingsIni;
    std::string m_appProfileIni;
};

// "123" or "0x7B" as an unsigned 32-bit value; anything else (signs, blanks inside, overflow) is nullopt.
std::optional<std::uint32_t> ParseStoredDword(std::string_view text);

// A whole number read the way atoi reads it (leading blanks, one sign, the digits up to the first other
// character; 0 without digits), except that a value beyond the int range is clamped instead of undefined.
int ParseProfileInt(std::string_view text);

} // namespace ombrel
