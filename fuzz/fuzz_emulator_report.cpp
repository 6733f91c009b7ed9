// Arbitrary 64-byte reports, one after another, to the keyboard model: no report may make it read or write out
// of bounds, and every reply must repeat the request's header and carry a matching sum.
#include "emulator/KeyboardModel.h"

#include <array>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ombrel::emu::KeyboardModel model;
    for (std::size_t pos = 0; pos < size; pos += ombrel::emu::Frame::kSize) {
        std::array<std::uint8_t, ombrel::emu::Frame::kSize> request{};
        std::memcpy(request.data(), data + pos, std::min(ombrel::emu::Frame::kSize, size - pos));
        const auto reply = model.handleReport(request);
        if (!reply) continue;
        if (!reply->checksumOk() || reply->bytes[0] != request[0] || std::memcmp(&reply->bytes[3], &request[3], 4) != 0)
            std::abort();
    }
    return 0;
}
