#include "profiles/StoreFileHeader.h"

#include "keys/KeyImage.h"
#include "keys/MacroRecord.h"
#include "util/Bytes.h"

#include <algorithm>

namespace ombrel {

namespace {

constexpr std::size_t kChecksumOffset = 31;
constexpr std::uint16_t kImageMagic = 0x484B;
constexpr std::uint32_t kImageDataSize = 32800; // the image after its file header
constexpr std::uint16_t kVendorId = 0x0C45;
constexpr std::uint16_t kProductId = 0x5204;
constexpr std::uint32_t kImageSignature = 0x000E1C4F;

} // namespace

StoreFileHeader StoreFileHeader::read(std::span<const std::uint8_t, kFileHeaderSize> bytes) {
    const std::uint8_t* p = bytes.data();
    StoreFileHeader h;
    h.magic = getLe16(p);
    h.headerSize = getLe16(p + 2);
    h.formatMajor = getLe16(p + 4);
    h.formatMinor = getLe16(p + 6);
    h.totalSize = getLe32(p + 8);
    h.recordCount = getLe16(p + 12);
    h.macroCount = getLe16(p + 14);
    h.stringSize = getLe32(p + 16);
    h.flags = p[30];
    h.checksum = p[kChecksumOffset];
    h.computedChecksum = FileHeaderChecksum(bytes);
    return h;
}

bool StoreFileHeader::wellFormed() const {
    return magic == kFileMagic && headerSize == kFileHeaderSize && formatMajor == kFileFormatMajor &&
           formatMinor == kFileFormatMinor && totalSize >= kKeyImageSize && recordCount == kFileRecordCount &&
           macroCount <= kMaxMacros && flags <= kMaxFileFlags && totalSize == StoreFileSize(macroCount, stringSize) &&
           checksum == computedChecksum;
}

std::uint64_t StoreFileSize(std::uint64_t macroCount, std::uint64_t stringSize) {
    return kKeyImageSize + macroCount * kMacroRecordSize + stringSize;
}

std::uint8_t FileHeaderChecksum(std::span<const std::uint8_t, kFileHeaderSize> bytes) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < kChecksumOffset; ++i)
        sum += bytes[i];
    return static_cast<std::uint8_t>(sum & 0xFF);
}

void WriteFileHeader(std::span<std::uint8_t, kFileHeaderSize> bytes, std::uint16_t macroCount, std::uint32_t stringSize,
                     std::uint8_t flags) {
    std::uint8_t* p = bytes.data();
    std::fill(bytes.begin(), bytes.end(), std::uint8_t{0});
    putLe16(p, kFileMagic);
    putLe16(p + 2, kFileHeaderSize);
    putLe16(p + 4, kFileFormatMajor);
    putLe16(p + 6, kFileFormatMinor);
    putLe32(p + 8, static_cast<std::uint32_t>(StoreFileSize(macroCount, stringSize)));
    putLe16(p + 12, kFileRecordCount);
    putLe16(p + 14, macroCount);
    putLe32(p + 16, stringSize);
    p[30] = flags;
    p[kChecksumOffset] = FileHeaderChecksum(bytes);
}

void WriteImageHeader(std::span<std::uint8_t, kFileHeaderSize> bytes) {
    std::uint8_t* p = bytes.data();
    std::fill(bytes.begin(), bytes.end(), std::uint8_t{0});
    putLe16(p, kImageMagic);
    putLe16(p + 2, kFileHeaderSize);
    putLe32(p + 4, kImageDataSize);
    putLe16(p + 8, kKeyLayerCount);
    putLe16(p + 10, kRecordsPerLayer);
    // bytes 12..15 stay 0
    putLe16(p + 16, kVendorId);
    putLe16(p + 18, kProductId);
    putLe32(p + 20, kImageSignature);
    // bytes 24..31 stay 0
}

} // namespace ombrel
