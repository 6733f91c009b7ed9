#pragma once
// The texts the program shows, looked up by key in the language file of a language: "Lang" + the language
// identifier as four upper-case hexadecimal digits + ".ini" in the data folder, with the sections "TEXT" (general
// texts), "LIGHT" (lighting-panel labels) and "MODE" (lighting effect names keyed by the effect number in
// decimal). A missing file, section or key reads "#Error"; a key with an empty value reads "".
//
// Each file is parsed once and kept; a lookup only checks that the file on disk is still the one that was
// parsed (same inode, size and modification time) and parses it again when it changed, so an edited language
// file shows without a restart. Safe to use from any thread.

#include "text/IniDocument.h"

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

namespace ombrel {

// Languages offered, by language index: English (United States), German, French, Spanish, Simplified Chinese and
// Japanese. A zero entry would be an empty slot.
inline constexpr std::array<std::uint32_t, 6> kLanguageTable{0x0409, 0x0407, 0x040C, 0x0C0A, 0x0804, 0x0411};
inline constexpr std::string_view kMissingText = "#Error";
inline constexpr std::string_view kTextSection = "TEXT";
inline constexpr std::string_view kLightSection = "LIGHT";
inline constexpr std::string_view kModeSection = "MODE";

// "Lang0409.ini" for 0x0409.
std::string LanguageFileName(std::uint32_t languageId);

class LanguageTexts {
public:
    explicit LanguageTexts(std::string dataFolder = {});

    // Changes the folder the language files are read from (and forgets the files read so far).
    void setDataFolder(std::string dataFolder);
    std::string dataFolder() const;

    // A language index above 5 (or below 0) reads the file of entry 0.
    std::string lookupText(std::string_view key, int languageIndex) const;
    std::string lookupLight(std::string_view key, int languageIndex) const;
    std::string lookupMode(std::string_view key, int languageIndex) const;
    std::string lookup(std::string_view section, std::string_view key, int languageIndex) const;

    // Full path of the language file of that index.
    std::string filePath(int languageIndex) const;

private:
    struct FileStamp {
        unsigned long long device = 0;
        unsigned long long inode = 0;
        long long size = 0;
        long long modifiedSec = 0;
        long long modifiedNsec = 0;
        bool operator==(const FileStamp&) const = default;
    };
    struct CachedFile {
        FileStamp stamp;
        std::shared_ptr<const IniDocument> document;
    };

    std::shared_ptr<const IniDocument> document(const std::string& path) const;

    mutable std::mutex m_mutex; // guards m_dataFolder and m_cache
    std::string m_dataFolder;
    mutable std::unordered_map<std::string, CachedFile> m_cache; // by file path
};

// The process-wide texts of the program; the application sets its data folder at start-up.
LanguageTexts& SharedLanguageTexts();

// The shared texts' lookups, as the dialogs use them.
std::string lookupText(std::string_view key, int languageIndex);
std::string lookupLight(std::string_view key, int languageIndex);
std::string lookupMode(std::string_view key, int languageIndex);

} // namespace ombrel
