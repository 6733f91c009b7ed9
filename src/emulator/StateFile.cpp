#include "emulator/StateFile.h"

#include "platform/SafeFileWriter.h"
#include "text/FileBytes.h"
#include "util/Bytes.h"

#include <algorithm>
#include <array>

namespace ombrel::emu {

namespace {

constexpr std::array<std::uint8_t, 8> kMagic{'O', 'M', 'B', 'R', 'E', 'M', 'U', 0};
constexpr std::uint16_t kVersion = 1;
constexpr std::size_t kHeaderSize = 12;
constexpr std::size_t kSectionHeaderSize = 8;
constexpr std::size_t kCrcSize = 4;
// Far above any real state file; keeps a hostile file from making us read gigabytes.
constexpr std::size_t kMaxFileSize = 1u << 20;

} // namespace

std::uint32_t StateChecksum(std::span<const std::uint8_t> bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::uint8_t b : bytes)
        crc = table[(crc ^ b) & 0xFFu] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::vector<std::uint8_t> EncodeState(const KeyboardMemory& memory) {
    std::vector<std::uint8_t> out(kHeaderSize);
    std::copy(kMagic.begin(), kMagic.end(), out.begin());
    putLe16(&out[8], kVersion);
    putLe16(&out[10], static_cast<std::uint16_t>(kAreaCount));
    for (int a = 0; a < kAreaCount; ++a) {
        const auto bytes = memory.storage(static_cast<Area>(a));
        std::array<std::uint8_t, kSectionHeaderSize> head{};
        putLe16(&head[0], static_cast<std::uint16_t>(a));
        putLe32(&head[4], static_cast<std::uint32_t>(bytes.size()));
        out.insert(out.end(), head.begin(), head.end());
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    std::array<std::uint8_t, kCrcSize> crc{};
    putLe32(crc.data(), StateChecksum(out));
    out.insert(out.end(), crc.begin(), crc.end());
    return out;
}

std::optional<KeyboardMemory> DecodeState(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeaderSize + kCrcSize) return std::nullopt;
    if (!std::equal(kMagic.begin(), kMagic.end(), bytes.begin())) return std::nullopt;
    if (getLe16(&bytes[8]) != kVersion) return std::nullopt;
    const std::size_t bodyEnd = bytes.size() - kCrcSize;
    if (getLe32(&bytes[bodyEnd]) != StateChecksum(bytes.first(bodyEnd))) return std::nullopt;

    KeyboardMemory memory;
    std::array<bool, kAreaCount> seen{};
    const std::size_t sections = getLe16(&bytes[10]);
    std::size_t pos = kHeaderSize;
    for (std::size_t s = 0; s < sections; ++s) {
        if (bodyEnd - pos < kSectionHeaderSize) return std::nullopt;
        const std::uint16_t areaNumber = getLe16(&bytes[pos]);
        const std::uint32_t length = getLe32(&bytes[pos + 4]);
        pos += kSectionHeaderSize;
        if (length > bodyEnd - pos) return std::nullopt;
        const auto area = areaFromInt(areaNumber);
        if (area) {
            const auto target = memory.storage(*area);
            if (seen[areaNumber] || length != target.size()) return std::nullopt;
            std::copy_n(bytes.begin() + static_cast<long>(pos), length, target.begin());
            seen[areaNumber] = true;
        }
        pos += length;
    }
    if (pos != bodyEnd) return std::nullopt;
    if (!std::all_of(seen.begin(), seen.end(), [](bool b) { return b; })) return std::nullopt;
    return memory;
}

StateLoad LoadStateFile(const std::string& path) {
    StateLoad result;
    const FileBytes file = ReadFileBytes(path, kMaxFileSize);
    // An empty file holds nothing to keep: it is taken as a new state file, as a missing one is created.
    if (file.status == FileBytes::Status::Missing || (file.status == FileBytes::Status::Ok && file.bytes.empty())) {
        result.status = StateLoad::Status::Missing;
        return result;
    }
    if (file.status == FileBytes::Status::Ok) {
        const auto* data = reinterpret_cast<const std::uint8_t*>(file.bytes.data());
        result.memory = DecodeState(std::span<const std::uint8_t>(data, file.bytes.size()));
    }
    if (result.memory) {
        result.status = StateLoad::Status::Loaded;
    } else {
        result.problem = path + " is not an emulator state file (another kind of file, a damaged state file or one "
                                "of another version); it is left as it is: choose another file or move it away";
    }
    return result;
}

bool SaveStateFile(const std::string& path, const KeyboardMemory& memory, std::string* problem) {
    const std::vector<std::uint8_t> bytes = EncodeState(memory);
    const FileWriteResult written =
        WriteFileSafely(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (problem) *problem = written.message;
    return written.ok();
}

} // namespace ombrel::emu
