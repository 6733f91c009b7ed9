#include "emulator/Frame.h"

#include <algorithm>
#include <numeric>

namespace ombrel::emu {

namespace {

constexpr std::size_t kSummedFrom = 3;

std::uint16_t SumOfBody(const std::array<std::uint8_t, Frame::kSize>& bytes) {
    const unsigned sum = std::accumulate(bytes.begin() + kSummedFrom, bytes.end(), 0u);
    return static_cast<std::uint16_t>(sum & 0xFFFFu);
}

} // namespace

Frame Frame::received(std::span<const std::uint8_t> received) {
    Frame frame;
    std::copy_n(received.begin(), std::min(received.size(), kSize), frame.bytes.begin());
    return frame;
}

Frame Frame::replyTo(const Frame& request, std::uint8_t status) {
    Frame reply;
    reply.bytes[0] = kReportId;
    std::copy_n(request.bytes.begin() + 3, 4, reply.bytes.begin() + 3); // command, length, offset
    reply.bytes[7] = status;
    return reply;
}

std::uint16_t Frame::offset() const {
    return static_cast<std::uint16_t>(bytes[5] + 256 * bytes[6]);
}

bool Frame::checksumOk() const {
    const std::uint16_t sum = SumOfBody(bytes);
    return bytes[1] == (sum & 0xFF) && bytes[2] == (sum >> 8);
}

void Frame::stampChecksum() {
    const std::uint16_t sum = SumOfBody(bytes);
    bytes[1] = static_cast<std::uint8_t>(sum & 0xFF);
    bytes[2] = static_cast<std::uint8_t>(sum >> 8);
}

} // namespace ombrel::emu
