#pragma once
// The emulated keyboard's memory on disk, so a demo or a chain of command-line calls sees its own earlier
// writes.
//
// Layout (little-endian), version 1:
//   0   8 bytes  magic "OMBREMU\0"
//   8   u16      version (1)
//   10  u16      section count
//   12  sections, each: u16 area number, u16 reserved (0), u32 length, then `length` bytes
//   end u32      CRC-32 (IEEE) of every byte before it
// Every memory area appears exactly once with exactly its storage size. Sections with unknown area numbers
// are skipped, so a later version may add some.

#include "emulator/KeyboardMemory.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ombrel::emu {

struct StateLoad {
    enum class Status { Loaded, Missing, Refused };
    Status status = Status::Refused;
    std::optional<KeyboardMemory> memory; // set when Loaded
    std::string problem;                  // why, when Refused
};

// CRC-32 (IEEE) as the file's last four bytes carry it.
std::uint32_t StateChecksum(std::span<const std::uint8_t> bytes);

std::vector<std::uint8_t> EncodeState(const KeyboardMemory& memory);
// Parses the bytes of a state file; bounds-checked, never reads past the span.
std::optional<KeyboardMemory> DecodeState(std::span<const std::uint8_t> bytes);

// Reads the state file at `path`. Anything there that is not a state file of this version (another file of the
// user's, a damaged state file, a folder, a device) is Refused, so the caller never writes over it.
StateLoad LoadStateFile(const std::string& path);
// Replaces `path` through the safe writer (see platform/SafeFileWriter.h). False, with the system's reason in
// `problem` and `path` untouched, on failure.
bool SaveStateFile(const std::string& path, const KeyboardMemory& memory, std::string* problem = nullptr);

} // namespace ombrel::emu
