#pragma once
// The program paths and texts of program and text assignments: one slot per key record number. A slot is empty
// or holds a UTF-16 string that is stored with its terminating zero, so it takes 2 x (characters + 1) bytes in
// the packed string area of a profile file.

#include "keys/KeyImage.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ombrel {

class KeyStringTable {
public:
    KeyStringTable();

    bool empty(int n) const;
    // The slot's text; "" for an empty slot or a number outside 0..2047.
    const std::u16string& text(int n) const;
    // 2 x (characters + 1), or 0 for an empty slot.
    std::uint32_t byteSize(int n) const;
    // The sum of all byte sizes.
    std::uint32_t stringBytes() const { return m_stringBytes; }

    // Stores `text` up to its first zero unit (a stored string ends at its terminating zero).
    void set(int n, std::u16string_view text);
    void clear(int n);
    void clearAll();

    // The packed string area: strings of program and text records, in record order, back to back. Each packed
    // record's value becomes its string's byte offset. The area is stringBytes() long; a string that does not fit
    // any more is left out and its record keeps its value; bytes no string fills are zero.
    std::vector<std::uint8_t> pack(KeyImage& image) const;

    // The table of an image whose program and text records point into `area`. An odd offset is taken from the
    // even offset below. A record whose offset lies outside the area, or whose string has no terminating zero
    // inside it, gets an empty string (""): the bytes cannot be trusted, the assignment itself is kept.
    static KeyStringTable unpack(const KeyImage& image, std::span<const std::uint8_t> area);

    bool operator==(const KeyStringTable&) const = default;

private:
    std::vector<std::optional<std::u16string>> m_slots;
    std::uint32_t m_stringBytes = 0;
};

} // namespace ombrel
