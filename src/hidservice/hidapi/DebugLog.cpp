#include "DebugLog.h"

#include <atomic>
#include <cstdio>
#include <cstring>

namespace ombrel::hid {

namespace {
std::atomic<int> g_level{0};
} // namespace

void setDebugLevel(int level) {
    g_level.store(level);
}

void debugLog(int level, const std::string& text) {
    if (g_level.load() < level) return;
    std::fprintf(stderr, "VevIroz: %s\n", text.c_str());
}

std::string errorText(int error) {
    char buffer[128] = {};
    // The GNU strerror_r returns the text, which may or may not be in `buffer`.
    const char* text = strerror_r(error, buffer, sizeof buffer);
    return text ? std::string(text) : std::to_string(error);
}

} // namespace ombrel::hid
