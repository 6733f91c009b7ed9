#pragma once
// Which language the program shows. The choice is stored as a language identifier ("dwLanguageId" of the
// settings): 0 means "follow the system language". The first time it is 0, the system language is turned into
// one the program has (through the alias table, else English) and stored, so the choice stays put afterwards.

#include <cstdint>
#include <optional>
#include <string_view>

namespace ombrel {

// Where the choice is kept; the settings store implements it, tests fake it.
class LanguageIdStore {
public:
    virtual ~LanguageIdStore() = default;
    // The stored identifier, or nothing when it is missing or cannot be read.
    virtual std::optional<std::uint32_t> loadLanguageId() = 0;
    // Returns false when it cannot be stored; the choice is then made again on every call.
    virtual bool storeLanguageId(std::uint32_t languageId) = 0;
};

// The identifier that stands in for a system identifier (0x0809 English, United Kingdom -> 0x0409, ...); the
// identifier itself when the alias table has no entry for it.
std::uint32_t AliasLanguageId(std::uint32_t systemLanguageId);

// Position of `languageId` in the language table (empty slots never match), or nothing.
std::optional<int> LanguageIndexOf(std::uint32_t languageId);

// The identifier in use; stores it as described above. A stored non-zero identifier is returned as it is, even
// one the program has no file for.
std::uint32_t currentLanguageId(LanguageIdStore& store, std::uint32_t systemLanguageId);
std::uint32_t currentLanguageId(LanguageIdStore& store); // with SystemLanguageId()

// The language index of currentLanguageId(), 0 when the identifier is not in the language table.
int currentLanguageIndex(LanguageIdStore& store, std::uint32_t systemLanguageId);
int currentLanguageIndex(LanguageIdStore& store);

// The language's name in that language ("Deutsch", "日本語"), as the language choice lists it; "" for an index
// outside the language table.
std::string_view LanguageOwnName(int languageIndex);

// The user picks the language of `languageIndex`: its identifier is stored, so it holds from now on whatever the
// system language is. False when the index is no language or the choice cannot be stored.
bool ChooseLanguage(LanguageIdStore& store, int languageIndex);

} // namespace ombrel
