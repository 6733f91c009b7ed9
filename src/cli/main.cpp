// ombrelctl: the keyboard's memory and commands from the command line, on the same core as the window.
#include "CliSession.h"
#include "Commands.h"

#include <cstdio>
#include <cstring>
#include <string>

using namespace ombrel::cli;

namespace {

void printHelp() {
    std::printf("Usage: ombrelctl [--emulator[=STATE_FILE]] [--trace] COMMAND [ARGS]\n\n"
                "Reads and changes the memory of the 0C45:5204 gaming keyboard.\n\n"
                "Options:\n"
                "  --emulator[=FILE]  use the built-in keyboard emulator instead of the real keyboard;\n"
                "                     with FILE, the emulator keeps its memory there between runs\n"
                "  --trace            print every report sent (->) and every reply received (<-) as hex\n"
                "  --help             show this help\n\nCommands:\n");
    for (const CommandInfo& c : AllCommands()) {
        const std::string head = std::string(c.name) + (*c.usage ? std::string(" ") + c.usage : "");
        std::printf("  %-22s %s\n", head.c_str(), c.summary);
    }
    std::printf("\nProfiles are numbered 0, 1 and 2. Exit codes: 0 done, 1 the keyboard refused or did not answer,\n"
                "2 bad command line, 3 no keyboard found or not accessible, 4 the HID service library is missing or\n"
                "cannot start (the emulator refuses a state file that is not one, or that another program uses).\n");
}

void printCommandHelp(const CommandInfo& c) {
    std::printf("Usage: ombrelctl [--emulator[=STATE_FILE]] [--trace] %s%s%s\n\n%s\n", c.name, *c.usage ? " " : "",
                c.usage, c.summary);
    if (c.details) std::printf("\n%s\n", c.details);
}

// Finds the command whose words start `words` at `at`; advances `at` past them.
const CommandInfo* findCommand(const std::vector<std::string>& words, std::size_t& at) {
    for (const CommandInfo& c : AllCommands()) {
        const std::string name = c.name;
        const auto space = name.find(' ');
        if (space == std::string::npos) {
            if (words[at] == name) return at += 1, &c;
        } else if (at + 1 < words.size() && words[at] == name.substr(0, space) &&
                   words[at + 1] == name.substr(space + 1)) {
            return at += 2, &c;
        }
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    CliOptions options;
    std::vector<std::string> words;
    bool help = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (arg == "--force") {
            options.force = true;
        } else if (arg == "--trace") {
            options.trace = true;
        } else if (arg == "--emulator") {
            options.emulator = true;
        } else if (arg.rfind("--emulator=", 0) == 0) {
            options.emulator = true;
            options.emulatorState = arg.substr(std::strlen("--emulator="));
        } else if (arg.size() > 1 && arg[0] == '-' && words.empty()) {
            std::fprintf(stderr, "unknown option %s (see ombrelctl --help)\n", arg.c_str());
            return kExitUsage;
        } else {
            words.push_back(arg);
        }
    }
    std::size_t at = 0;
    const CommandInfo* command = words.empty() ? nullptr : findCommand(words, at);
    if (help) {
        if (command)
            printCommandHelp(*command);
        else
            printHelp();
        return kExitOk;
    }
    if (words.empty()) {
        std::fprintf(stderr, "no command given (see ombrelctl --help)\n");
        return kExitUsage;
    }
    if (!command) {
        std::fprintf(stderr, "unknown command '%s' (see ombrelctl --help)\n", words[0].c_str());
        return kExitUsage;
    }
    if (options.force && !command->takesForce) {
        std::fprintf(stderr, "%s does not take --force\n", command->name);
        return kExitUsage;
    }
    const Args args(words.begin() + static_cast<long>(at), words.end());
    if (static_cast<int>(args.size()) < command->minArgs || static_cast<int>(args.size()) > command->maxArgs) {
        std::fprintf(stderr, "usage: ombrelctl %s %s\n", command->name, command->usage);
        return kExitUsage;
    }
    if (command->runOffline) return command->runOffline(args);
    int exitCode = kExitOk;
    auto session = CliSession::open(options, &exitCode);
    if (!session) return exitCode;
    return command->run(*session, args);
}
