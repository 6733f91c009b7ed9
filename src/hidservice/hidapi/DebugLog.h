#pragma once
// The library's diagnostics on stderr, off unless the program raises the level with Debug().

#include <string>

namespace ombrel::hid {

void setDebugLevel(int level);
// Prints "VevIroz: <text>" when the level is at least `level`.
void debugLog(int level, const std::string& text);
// strerror's text for an errno value, thread-safe.
std::string errorText(int error);

} // namespace ombrel::hid
