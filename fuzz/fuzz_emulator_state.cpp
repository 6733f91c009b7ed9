// The emulator's state file reader against arbitrary bytes: it must never read out of bounds, and whatever it
// accepts must encode back to a file it reads as the same memory. Each input is also tried with its checksum
// made to match, so mutations reach the section parser instead of stopping at the checksum.
#include "emulator/StateFile.h"

#include "util/Bytes.h"

#include <cstdlib>
#include <vector>

namespace {

void decodeAndCheck(std::span<const std::uint8_t> bytes) {
    const auto memory = ombrel::emu::DecodeState(bytes);
    if (!memory) return;
    const auto again = ombrel::emu::DecodeState(ombrel::emu::EncodeState(*memory));
    if (!again || !(*again == *memory)) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    decodeAndCheck(std::span<const std::uint8_t>(data, size));
    if (size >= 4) {
        std::vector<std::uint8_t> fixed(data, data + size);
        const std::size_t body = size - 4;
        ombrel::putLe32(&fixed[body], ombrel::emu::StateChecksum(std::span<const std::uint8_t>(fixed).first(body)));
        decodeAndCheck(fixed);
    }
    return 0;
}
