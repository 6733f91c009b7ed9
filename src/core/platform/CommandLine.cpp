#include "platform/CommandLine.h"

#include "text/AsciiCase.h"

namespace ombrel {

StartSwitch ClassifyArgument(std::string_view argument) {
    const std::string lower = AsciiLower(argument);
    if (lower == "/start" || lower == "--start") return StartSwitch::Start;
    if (lower == "/kill" || lower == "--kill") return StartSwitch::Kill;
    if (lower == "--force") return StartSwitch::Force;
    return StartSwitch::None;
}

StartSwitches ParseStartSwitches(const std::vector<std::string_view>& arguments) {
    StartSwitches switches;
    for (std::string_view argument : arguments)
        if (ClassifyArgument(argument) == StartSwitch::Force) switches.force = true;
    for (std::string_view argument : arguments) {
        switch (ClassifyArgument(argument)) {
        case StartSwitch::Start:
            switches.start = true;
            break;
        case StartSwitch::Kill:
            switches.kill = true;
            return switches;
        case StartSwitch::Force:
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
