#pragma once
// What a key does in a profile: the type field of a key record.

#include <cstdint>

namespace ombrel {

enum KeyFunction : std::uint16_t {
    KF_DEFAULT = 0,    // the key's factory function
    KF_DISABLED = 1,   // the key does nothing
    KF_KEY = 2,        // sends another key or a mouse button / wheel step; value = key code
    KF_PROGRAM = 3,    // starts a program (acted on outside this program); value = string offset in files
    KF_MACRO = 4,      // plays a macro; value = macro id
    KF_STOP_MACRO = 5, // stops the playing macro
    KF_TEXT = 6,       // types a text (acted on outside this program); value = string offset in files
    KF_MEDIA = 7,      // a media function; value = row of the media table
    KF_FUNCTION = 8,   // a keyboard function; value = row of the function key list
};

// Program and text assignments carry a string; every other type has none.
constexpr bool HasString(std::uint16_t type) {
    return type == KF_PROGRAM || type == KF_TEXT;
}

} // namespace ombrel
