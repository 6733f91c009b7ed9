#include "HexDump.h"

#include <cstdio>

namespace ombrel::cli {

std::string HexLine(std::span<const std::uint8_t> bytes) {
    std::string out;
    out.reserve(bytes.size() * 3);
    char buf[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, i ? " %02X" : "%02X", bytes[i]);
        out += buf;
    }
    return out;
}

std::string HexDump(std::span<const std::uint8_t> bytes, std::size_t baseOffset) {
    std::string out;
    char offset[16];
    for (std::size_t row = 0; row < bytes.size(); row += 16) {
        std::snprintf(offset, sizeof offset, "%04zX  ", baseOffset + row);
        out += offset;
        out += HexLine(bytes.subspan(row, std::min<std::size_t>(16, bytes.size() - row)));
        out += '\n';
    }
    return out;
}

} // namespace ombrel::cli
