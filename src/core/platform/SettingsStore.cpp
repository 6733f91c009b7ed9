#include "platform/SettingsStore.h"

#include "text/IniFile.h"

#include <charconv>
#include <filesystem>
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

bool SettingsStore::writeProfileString(std::string_view key, std::string_view value) const {
    return writeCreatingFolder(m_appProfileIni, kProfilesSection, key, value);
}

std::optional<std::uint32_t> ParseStoredDword(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty()) return std::nullopt;
    std::uint32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

} // namespace ombrel
