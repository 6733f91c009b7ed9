#include "platform/SettingsStore.h"

#include "platform/IniFile.h"
#include "text/WholeNumber.h"

#include <charconv>
#include <filesystem>
#include <limits>
#include <system_error>
#include <utility>

namespace ombrel {

namespace {

// The INI writer creates the file but not its folder; the config folders may not exist on a first start.
bool writeCreatingFolder(const std::string& path, std::string_view section, std::string_view key,
                         std::string_view value) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    return !ec && WriteIniString(path, section, key, value);
}

} // namespace

SettingsStore::SettingsStore(std::string settingsIni, std::string appProfileIni)
    : m_settingsIni(std::move(settingsIni)), m_appProfileIni(std::move(appProfileIni)) {}

std::optional<std::uint32_t> SettingsStore::loadLanguageId() {
    return ParseStoredDword(ReadIniString(m_settingsIni, kSettingsSection, kLanguageIdKey, ""));
}

bool SettingsStore::storeLanguageId(std::uint32_t languageId) {
    return writeCreatingFolder(m_settingsIni, kSettingsSection, kLanguageIdKey, std::to_string(languageId));
}

std::string SettingsStore::getProfileString(std::string_view key, std::string_view defaultText) const {
    return ReadIniString(m_appProfileIni, kProfilesSection, key, defaultText);
}

int SettingsStore::getProfileInt(std::string_view key, int defaultValue) const {
    return ParseProfileInt(getProfileString(key, std::to_string(defaultValue)));
}

bool SettingsStore::writeProfileString(std::string_view key, std::string_view value) const {
    return writeCreatingFolder(m_appProfileIni, kProfilesSection, key, value);
}

std::optional<std::uint32_t> ParseStoredDword(std::string_view text) {
    const auto value = ParseWholeNumber(text);
    if (!value || *value > 0xFFFFFFFF) return std::nullopt;
    return static_cast<std::uint32_t>(*value);
}

int ParseProfileInt(std::string_view text) {
    std::size_t at = text.find_first_not_of(" \t\n\v\f\r");
    if (at == std::string_view::npos) return 0;
    const bool negative = text[at] == '-';
    if (text[at] == '-' || text[at] == '+') ++at;
    // Accumulated towards the sign's side, so the most negative int is reached without overflow.
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    int value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        const int digit = text[at] - '0';
        if (negative) {
            if (value < (kMin + digit) / 10) return kMin;
            value = value * 10 - digit;
        } else {
            if (value > (kMax - digit) / 10) return kMax;
            value = value * 10 + digit;
        }
    }
    return value;
}

} // namespace ombrel
