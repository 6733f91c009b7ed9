#pragma once
// Display names of keys, from the key table's text keys and the "TEXT" section of the language file.

#include "keyboard/KeyTable.h"
#include "text/LanguageTexts.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

namespace ombrel {

inline constexpr std::size_t kKeyTextNoLimit = std::numeric_limits<std::size_t>::max();

// The name of the key with that code. A key without a text key, or whose text is empty, is named by the
// "UNKNOWN_KEY" text with the code (16 bits, unsigned) filled in. The name is cut to capacity - 1 characters
// (Unicode code points, never part of one), the room a buffer of `capacity` characters leaves after its
// terminating zero; a capacity of 0 gives "".
std::string KeyText(const LanguageTexts& texts, KeyCode code, int languageIndex,
                    std::size_t capacity = kKeyTextNoLimit);
std::string KeyText(KeyCode code, int languageIndex, std::size_t capacity = kKeyTextNoLimit); // shared texts

// The name shown at a position of the key picker list: the text of the lowest key-table row at that position,
// or "" when no row is there or the row has no text key.
std::string PickerText(const LanguageTexts& texts, std::uint16_t position, int languageIndex);
std::string PickerText(std::uint16_t position, int languageIndex); // shared texts

} // namespace ombrel
