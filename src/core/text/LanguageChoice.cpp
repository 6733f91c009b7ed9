#include "text/LanguageChoice.h"

#include "text/LanguageTexts.h"
#include "text/SystemLanguage.h"

#include <array>
#include <utility>

namespace ombrel {

namespace {

// Regional variants that use the file of another identifier, consulted in this order.
constexpr std::array<std::pair<std::uint32_t, std::uint32_t>, 11> kLanguageAliases{{
    {0x1004, 0x0404},
    {0x0809, 0x0409},
    {0x0C09, 0x0409},
    {0x1009, 0x0409},
    {0x1409, 0x0409},
    {0x1809, 0x0409},
    {0x1C09, 0x0409},
    {0x2009, 0x0409},
    {0x2409, 0x0409},
    {0x2809, 0x0409},
    {0x2C09, 0x0409},
}};

// Every entry is searched: a language in the last slot must be as reachable as the others.
constexpr int kSearchedEntries = static_cast<int>(kLanguageTable.size());

} // namespace

std::uint32_t AliasLanguageId(std::uint32_t systemLanguageId) {
    for (const auto& [from, to] : kLanguageAliases)
        if (from == systemLanguageId) return to;
    return systemLanguageId;
}

std::optional<int> LanguageIndexOf(std::uint32_t languageId) {
    // An empty slot is no language: without this an identifier of 0 would pick slot 1 and a file that does not
    // exist, and every text would read "#Error".
    if (languageId == 0) return std::nullopt;
    for (int i = 0; i < kSearchedEntries; ++i)
        if (kLanguageTable[static_cast<std::size_t>(i)] == languageId) return i;
    return std::nullopt;
}

std::uint32_t currentLanguageId(LanguageIdStore& store, std::uint32_t systemLanguageId) {
    // A missing or unreadable value counts as 0; the choice made below is stored in its place.
    const std::optional<std::uint32_t> stored = store.loadLanguageId();
    if (stored && *stored != 0) return *stored;
    const std::uint32_t wanted = AliasLanguageId(systemLanguageId);
    const std::uint32_t chosen = LanguageIndexOf(wanted) ? wanted : kEnglishUs;
    store.storeLanguageId(chosen);
    return chosen;
}

std::uint32_t currentLanguageId(LanguageIdStore& store) {
    return currentLanguageId(store, SystemLanguageId());
}

int currentLanguageIndex(LanguageIdStore& store, std::uint32_t systemLanguageId) {
    return LanguageIndexOf(currentLanguageId(store, systemLanguageId)).value_or(0);
}

int currentLanguageIndex(LanguageIdStore& store) {
    return currentLanguageIndex(store, SystemLanguageId());
}

std::string_view LanguageOwnName(int languageIndex) {
    // In the order of the language table.
    constexpr std::array<std::string_view, kLanguageTable.size()> kOwnNames{"English", "Deutsch",  "Français",
                                                                            "Español", "简体中文", "日本語"};
    if (languageIndex < 0 || languageIndex >= static_cast<int>(kOwnNames.size())) return {};
    return kOwnNames[static_cast<std::size_t>(languageIndex)];
}

bool ChooseLanguage(LanguageIdStore& store, int languageIndex) {
    if (languageIndex < 0 || languageIndex >= kSearchedEntries) return false;
    const std::uint32_t languageId = kLanguageTable[static_cast<std::size_t>(languageIndex)];
    return languageId != 0 && store.storeLanguageId(languageId);
}

} // namespace ombrel
