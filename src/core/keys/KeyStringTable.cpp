#include "keys/KeyStringTable.h"

#include "util/Bytes.h"

namespace ombrel {

namespace {

bool validSlot(int n) {
    return n >= 0 && n < kKeyRecordCount;
}

std::uint32_t sizeOf(const std::u16string& s) {
    return static_cast<std::uint32_t>(2 * (s.size() + 1));
}

// The zero-terminated string at `offset`, or nothing when the offset or the string runs outside the area.
std::optional<std::u16string> stringAt(std::span<const std::uint8_t> area, std::size_t offset) {
    std::u16string s;
    for (std::size_t at = offset; at + 1 < area.size(); at += 2) {
        const char16_t unit = static_cast<char16_t>(getLe16(&area[at]));
        if (unit == 0) return s;
        s.push_back(unit);
    }
    return std::nullopt;
}

} // namespace

KeyStringTable::KeyStringTable() : m_slots(kKeyRecordCount) {}

bool KeyStringTable::empty(int n) const {
    return !validSlot(n) || !m_slots[static_cast<std::size_t>(n)];
}

const std::u16string& KeyStringTable::text(int n) const {
    static const std::u16string kNone;
    return empty(n) ? kNone : *m_slots[static_cast<std::size_t>(n)];
}

std::uint32_t KeyStringTable::byteSize(int n) const {
    return empty(n) ? 0 : sizeOf(*m_slots[static_cast<std::size_t>(n)]);
}

void KeyStringTable::set(int n, std::u16string_view text) {
    if (!validSlot(n)) return;
    clear(n);
    const auto end = text.find(u'\0');
    auto& slot = m_slots[static_cast<std::size_t>(n)];
    slot = std::u16string(end == std::u16string_view::npos ? text : text.substr(0, end));
    m_stringBytes += sizeOf(*slot);
}

void KeyStringTable::clear(int n) {
    if (empty(n)) return;
    m_stringBytes -= byteSize(n);
    m_slots[static_cast<std::size_t>(n)].reset();
}

void KeyStringTable::clearAll() {
    for (auto& slot : m_slots)
        slot.reset();
    m_stringBytes = 0;
}

std::vector<std::uint8_t> KeyStringTable::pack(KeyImage& image) const {
    std::vector<std::uint8_t> area(m_stringBytes, 0);
    std::uint32_t offset = 0;
    for (int n = 0; n < kKeyRecordCount; ++n) {
        if (empty(n)) continue;
        KeyRecord r = image.record(n);
        if (!HasString(r.type)) continue;
        const std::u16string& s = text(n);
        const std::uint32_t size = sizeOf(s);
        if (size > m_stringBytes - offset) continue;
        for (std::size_t i = 0; i < s.size(); ++i)
            putLe16(&area[offset + 2 * i], s[i]);
        r.value = offset;
        image.setRecord(n, r);
        offset += size;
    }
    return area;
}

KeyStringTable KeyStringTable::unpack(const KeyImage& image, std::span<const std::uint8_t> area) {
    KeyStringTable table;
    for (int n = 0; n < kKeyRecordCount; ++n) {
        const KeyRecord r = image.record(n);
        if (!HasString(r.type)) continue;
        table.set(n, stringAt(area, r.value & ~std::uint32_t{1}).value_or(std::u16string()));
    }
    return table;
}

} // namespace ombrel
