// The emulator's state file reader against arbitrary bytes: it must never read out of bounds, and whatever it
// accepts must encode back to a file it reads as the same memory. Each input is also tried with its checksum
// made to match, so mutations reach the section parser instead of stopping at the checksum, and is loaded from a
// file as the emulator loads it at start, which must agree with the bytes decoded in memory.
#include "emulator/StateFile.h"

#include "util/Bytes.h"

#include "inputs/InputFiles.h"

#include <cstdlib>
#include <vector>

namespace {

void decodeAndCheck(std::span<const std::uint8_t> bytes) {
    const auto memory = ombrel::emu::DecodeState(bytes);
    if (!memory) return;
    const auto again = ombrel::emu::DecodeState(ombrel::emu::EncodeState(*memory));
    if (!again || !(*again == *memory)) std::abort();
}

void loadAndCompare(std::span<const std::uint8_t> bytes) {
    const ombrel::fuzz::MemoryFile file(bytes);
    if (!file.ok()) return;
    const ombrel::emu::StateLoad loaded = ombrel::emu::LoadStateFile(file.path());
    // An empty file is a new state file, as a missing one; any other file is loaded or refused.
    if (loaded.status == ombrel::emu::StateLoad::Status::Missing) {
        if (!bytes.empty()) std::abort();
        return;
    }
    const auto decoded = ombrel::emu::DecodeState(bytes);
    if (loaded.memory.has_value() != decoded.has_value()) std::abort();
    if (loaded.memory && !(*loaded.memory == *decoded)) std::abort();
    if (!loaded.memory && loaded.problem.empty()) std::abort(); // a refusal always says why
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    decodeAndCheck(std::span<const std::uint8_t>(data, size));
    if (size >= 4) {
        std::vector<std::uint8_t> fixed(data, data + size);
        const std::size_t body = size - 4;
        ombrel::putLe32(&fixed[body], ombrel::emu::StateChecksum(std::span<const std::uint8_t>(fixed).first(body)));
        decodeAndCheck(fixed);
        loadAndCompare(fixed);
    } else {
        loadAndCompare(std::span<const std::uint8_t>(data, size));
    }
    return 0;
}
