#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace ombrel::cli {

// "0000  04 01 00 ...  " lines of 16 bytes with their offset, the way hexdump -C starts them.
std::string HexDump(std::span<const std::uint8_t> bytes, std::size_t baseOffset = 0);
// All bytes on one line, separated by spaces.
std::string HexLine(std::span<const std::uint8_t> bytes);

} // namespace ombrel::cli
