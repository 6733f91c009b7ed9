#pragma once
// A count as the command line and the bus take it: decimal or 0x hexadecimal, no sign.

#include <optional>
#include <string>

namespace ombrel::cli {

std::optional<long> ParseWholeNumber(const std::string& text);

} // namespace ombrel::cli
