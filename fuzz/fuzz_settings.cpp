// The program's settings files after the INI parse: the stored language identifier and the whole numbers of the
// application profile (the layout Flip). The first four input bytes are the system's language identifier, the rest
// is the text of both files. The language choice must be a known one or the stored one, and the number must read
// as atoi reads it, clamped where atoi would overflow.
#include "platform/SettingsStore.h"
#include "text/LanguageChoice.h"
#include "text/LanguageTexts.h"
#include "util/Bytes.h"

#include "inputs/InputFiles.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ombrel;
    if (size < 4) return 0;
    const std::uint32_t systemLanguage = getLe32(data);
    const std::span<const std::uint8_t> text(data + 4, size - 4);
    const auto& scratch = fuzz::ScratchFolder::instance();
    SettingsStore store(scratch.write("settings.ini", text), scratch.write("profile.ini", text));

    const std::optional<std::uint32_t> stored = store.loadLanguageId();
    if (stored && ParseStoredDword(std::to_string(*stored)) != stored) std::abort();
    const std::uint32_t chosen = currentLanguageId(store, systemLanguage);
    if (stored && *stored != 0 && chosen != *stored) std::abort();
    if (!(stored && *stored != 0)) {
        if (!LanguageIndexOf(chosen)) std::abort();         // a choice made here is one the program has
        if (store.loadLanguageId() != chosen) std::abort(); // and it is kept
    }
    const int index = currentLanguageIndex(store, systemLanguage);
    if (index < 0 || index >= static_cast<int>(kLanguageTable.size())) std::abort();

    const std::string flipText = store.getProfileString("Flip", "0");
    const long long wide = std::strtoll(flipText.c_str(), nullptr, 10);
    const int expected = static_cast<int>(std::clamp<long long>(wide, INT_MIN, INT_MAX));
    if (store.getProfileInt("Flip", 0) != expected) std::abort();
    return 0;
}
