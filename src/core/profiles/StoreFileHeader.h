#pragma once
// The two 32-byte headers at the start of every profile file (and of every key image): the file header, which
// says how many macros and string bytes follow and carries a checksum, and the image header, a constant
// description of the key records and of the keyboard they belong to.

#include <cstddef>
#include <cstdint>
#include <span>

namespace ombrel {

inline constexpr std::size_t kFileHeaderSize = 32;
inline constexpr std::size_t kImageHeaderOffset = 32;
inline constexpr std::uint16_t kFileMagic = 0x4446;
inline constexpr std::uint16_t kFileFormatMajor = 3;
inline constexpr std::uint16_t kFileFormatMinor = 1;
inline constexpr std::uint16_t kFileRecordCount = 2048;
inline constexpr std::uint8_t kMaxFileFlags = 1;

struct StoreFileHeader {
    std::uint16_t magic = 0;
    std::uint16_t headerSize = 0;
    std::uint16_t formatMajor = 0;
    std::uint16_t formatMinor = 0;
    std::uint32_t totalSize = 0;
    std::uint16_t recordCount = 0;
    std::uint16_t macroCount = 0;
    std::uint32_t stringSize = 0;
    std::uint8_t flags = 0;
    std::uint8_t checksum = 0;
    std::uint8_t computedChecksum = 0; // of the bytes read

    static StoreFileHeader read(std::span<const std::uint8_t, kFileHeaderSize> bytes);
    // Every field as a file written by this program has it: magic, sizes, format, record count, at most 100
    // macros, flags 0 or 1, a total size equal to what the counts add up to, and a matching checksum.
    bool wellFormed() const;
};

// The size a file with these counts has (computed without wrapping round).
std::uint64_t StoreFileSize(std::uint64_t macroCount, std::uint64_t stringSize);
// Sum of bytes 0..30, modulo 256.
std::uint8_t FileHeaderChecksum(std::span<const std::uint8_t, kFileHeaderSize> bytes);

void WriteFileHeader(std::span<std::uint8_t, kFileHeaderSize> bytes, std::uint16_t macroCount, std::uint32_t stringSize,
                     std::uint8_t flags);
void WriteImageHeader(std::span<std::uint8_t, kFileHeaderSize> bytes);

} // namespace ombrel
