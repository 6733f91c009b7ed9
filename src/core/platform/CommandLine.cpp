#include "platform/CommandLine.h"

#include <algorithm>

namespace ombrel {

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

StartSwitch ClassifyArgument(std::string_view argument) {
    if (equalsIgnoringCase(argument, "/start") || equalsIgnoringCase(argument, "--start")) return StartSwitch::Start;
    if (equalsIgnoringCase(argument, "/kill") || equalsIgnoringCase(argument, "--kill")) return StartSwitch::Kill;
    return StartSwitch::None;
}

StartSwitches ParseStartSwitches(const std::vector<std::string_view>& arguments) {
    StartSwitches switches;
    for (std::string_view argument : arguments) {
        switch (ClassifyArgument(argument)) {
        case StartSwitch::Start:
            switches.start = true;
            break;
        case StartSwitch::Kill:
            switches.kill = true;
            return switches;
        case StartSwitch::None:
            break;
        }
    }
    return switches;
}

StartSwitches ParseStartSwitches(int argc, const char* const* argv) {
    std::vector<std::string_view> arguments;
    for (int i = 1; i < argc; ++i)
        if (argv[i]) arguments.emplace_back(argv[i]);
    return ParseStartSwitches(arguments);
}

} // namespace ombrel
