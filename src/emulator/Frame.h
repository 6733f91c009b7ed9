#pragma once
// A frame of the keyboard's vendor interface as the keyboard itself reads and writes it. The emulator frames and
// checks every frame with this code of its own, never with the program's, so a framing fault in the program
// meets a keyboard that disagrees instead of a shared helper that agrees with it.
//
// Byte 0 report id 4; bytes 1-2 the sum of bytes 3..63, low byte first; 3 command; 4 length; 5-6 offset, low
// byte first; 7 status; 8..63 data.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace ombrel::emu {

struct Frame {
    static constexpr std::size_t kSize = 64;
    static constexpr std::size_t kDataSize = 56;
    static constexpr std::uint8_t kReportId = 4;

    std::array<std::uint8_t, kSize> bytes{};

    // The first 64 bytes of `received`; bytes it lacks read as zero.
    static Frame received(std::span<const std::uint8_t> received);
    // A reply that repeats the request's command, length and offset, with `status` and no data yet.
    static Frame replyTo(const Frame& request, std::uint8_t status);

    std::uint8_t reportId() const { return bytes[0]; }
    std::uint8_t command() const { return bytes[3]; }
    std::uint8_t length() const { return bytes[4]; }
    std::uint16_t offset() const;
    std::uint8_t status() const { return bytes[7]; }
    std::span<std::uint8_t, kDataSize> payload() { return std::span<std::uint8_t, kDataSize>(bytes.data() + 8, 56); }
    std::span<const std::uint8_t, kDataSize> payload() const {
        return std::span<const std::uint8_t, kDataSize>(bytes.data() + 8, 56);
    }

    void setCommand(std::uint8_t command) { bytes[3] = command; }
    void setStatus(std::uint8_t status) { bytes[7] = status; }

    // Whether bytes 1-2 hold the sum of bytes 3..63.
    bool checksumOk() const;
    // Writes the sum into bytes 1-2; the last step before the frame leaves the keyboard.
    void stampChecksum();
};

} // namespace ombrel::emu
