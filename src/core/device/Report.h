#pragma once
// The 64-byte vendor report, the same layout for requests and replies:
// 0 report id (4), 1-2 sum of bytes 3..63 (LE), 3 command, 4 length, 5-6 offset (LE), 7 status, 8-63 payload.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace ombrel {

struct Report {
    static constexpr std::size_t kSize = 64;
    static constexpr std::size_t kPayloadOffset = 8;
    static constexpr std::size_t kPayloadSize = 56;
    static constexpr std::uint8_t kReportId = 4;

    std::array<std::uint8_t, kSize> bytes{};

    Report() { bytes[0] = kReportId; }
    // A report from up to 64 received bytes; missing bytes read as zero.
    static Report fromBytes(std::span<const std::uint8_t> data);

    std::uint8_t command() const { return bytes[3]; }
    std::uint8_t length() const { return bytes[4]; }
    std::uint16_t offset() const { return static_cast<std::uint16_t>(bytes[5] | (bytes[6] << 8)); }
    std::uint8_t status() const { return bytes[7]; }
    std::uint16_t storedSum() const { return static_cast<std::uint16_t>(bytes[1] | (bytes[2] << 8)); }
    std::span<std::uint8_t, kPayloadSize> payload() { return std::span<std::uint8_t, kPayloadSize>(&bytes[8], 56); }
    std::span<const std::uint8_t, kPayloadSize> payload() const {
        return std::span<const std::uint8_t, kPayloadSize>(&bytes[8], 56);
    }

    void setCommand(std::uint8_t c) { bytes[3] = c; }
    void setLength(std::uint8_t n) { bytes[4] = n; }
    void setOffset(std::uint16_t o) {
        bytes[5] = static_cast<std::uint8_t>(o & 0xFF);
        bytes[6] = static_cast<std::uint8_t>(o >> 8);
    }
    void setStatus(std::uint8_t s) { bytes[7] = s; }

    // Sum of bytes 3..63 modulo 65536. Computed last, after every other byte is final.
    std::uint16_t computeSum() const;
    void seal();
    bool sumMatches() const { return storedSum() == computeSum(); }
};

} // namespace ombrel
