#include "CheckValue.h"

namespace ombrel {

namespace {

// 167 is odd, so i -> 167 i + 13 (mod 256) visits every byte value exactly once.
constexpr std::array<std::uint8_t, 256> makeTable() {
    std::array<std::uint8_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i)
        table[i] = static_cast<std::uint8_t>((i * 167u + 13u) & 0xFFu);
    return table;
}

constexpr std::array<std::uint8_t, 256> kCheckTable = makeTable();

std::uint32_t sumWord(std::uint32_t word) {
    std::uint32_t sum = 0;
    for (int shift = 0; shift < 32; shift += 8)
        sum += kCheckTable[(word >> shift) & 0xFFu];
    return sum;
}

} // namespace

const std::array<std::uint8_t, 256>& CheckTable() {
    return kCheckTable;
}

std::uint32_t CheckValue(std::span<const std::uint8_t, 16> filter, std::uintptr_t callback, std::uint32_t tag,
                         std::span<const std::uint8_t> payload) {
    std::uint32_t sum = 0;
    for (std::uint8_t b : filter)
        sum += kCheckTable[b];
    sum += sumWord(static_cast<std::uint32_t>(callback & 0xFFFFFFFFu));
    sum += sumWord(tag);
    for (std::uint8_t b : payload)
        sum += kCheckTable[b];
    return sum;
}

} // namespace ombrel
