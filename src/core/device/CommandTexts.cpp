#include "device/CommandTexts.h"

#include "device/LinkResult.h"

#include <cstdio>

namespace ombrel {

std::string NotAProfileText(std::string_view given) {
    return "'" + std::string(given) + "' is not a profile: profiles are 1, 2 and 3";
}

std::string FailureText(std::string_view what, int result) {
    return std::string(what) + " failed: " + LinkResultDescription(result) + " (" + LinkResultName(result) + " " +
           std::to_string(result) + ")";
}

std::string FirmwareVersionText(unsigned code) {
    char s[16];
    std::snprintf(s, sizeof s, "%u.%02X", (code >> 8) & 0xFFu, code & 0xFFu);
    return s;
}

} // namespace ombrel
