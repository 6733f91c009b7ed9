#include "text/LanguageTexts.h"

#include "text/FileBytes.h"

#include <cstdio>
#include <sys/stat.h>

namespace ombrel {

namespace {

std::size_t tableIndex(int languageIndex) {
    return (languageIndex < 0 || static_cast<std::size_t>(languageIndex) >= kLanguageTable.size())
               ? 0
               : static_cast<std::size_t>(languageIndex);
}

} // namespace

std::string LanguageFileName(std::uint32_t languageId) {
    char name[32];
    std::snprintf(name, sizeof name, "Lang%04X.ini", static_cast<unsigned>(languageId));
    return name;
}

LanguageTexts::LanguageTexts(std::string dataFolder) : m_dataFolder(std::move(dataFolder)) {}

void LanguageTexts::setDataFolder(std::string dataFolder) {
    const std::lock_guard lock(m_mutex);
    m_dataFolder = std::move(dataFolder);
    m_cache.clear();
}

std::string LanguageTexts::dataFolder() const {
    const std::lock_guard lock(m_mutex);
    return m_dataFolder;
}

std::string LanguageTexts::filePath(int languageIndex) const {
    std::string folder = dataFolder();
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + LanguageFileName(kLanguageTable[tableIndex(languageIndex)]);
}

std::shared_ptr<const IniDocument> LanguageTexts::document(const std::string& path) const {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return nullptr;
    const FileStamp stamp{static_cast<unsigned long long>(info.st_dev), static_cast<unsigned long long>(info.st_ino),
                          static_cast<long long>(info.st_size), static_cast<long long>(info.st_mtim.tv_sec),
                          static_cast<long long>(info.st_mtim.tv_nsec)};
    {
        const std::lock_guard lock(m_mutex);
        const auto it = m_cache.find(path);
        if (it != m_cache.end() && it->second.stamp == stamp) return it->second.document;
    }
    // Parsed outside the lock so a slow disk does not hold up lookups in files that are already cached.
    const FileBytes file = ReadFileBytes(path);
    if (file.status != FileBytes::Status::Ok) return nullptr;
    auto doc = std::make_shared<const IniDocument>(IniDocument::fromBytes(file.bytes));
    const std::lock_guard lock(m_mutex);
    m_cache[path] = CachedFile{stamp, doc};
    return doc;
}

std::string LanguageTexts::lookup(std::string_view section, std::string_view key, int languageIndex) const {
    const auto doc = document(filePath(languageIndex));
    if (!doc) return std::string(kMissingText);
    return doc->readString(section, key, kMissingText);
}

std::string LanguageTexts::lookupText(std::string_view key, int languageIndex) const {
    return lookup(kTextSection, key, languageIndex);
}

std::string LanguageTexts::lookupLight(std::string_view key, int languageIndex) const {
    return lookup(kLightSection, key, languageIndex);
}

std::string LanguageTexts::lookupMode(std::string_view key, int languageIndex) const {
    return lookup(kModeSection, key, languageIndex);
}

LanguageTexts& SharedLanguageTexts() {
    static LanguageTexts texts;
    return texts;
}

std::string lookupText(std::string_view key, int languageIndex) {
    return SharedLanguageTexts().lookupText(key, languageIndex);
}

std::string lookupLight(std::string_view key, int languageIndex) {
    return SharedLanguageTexts().lookupLight(key, languageIndex);
}

std::string lookupMode(std::string_view key, int languageIndex) {
    return SharedLanguageTexts().lookupMode(key, languageIndex);
}

} // namespace ombrel
