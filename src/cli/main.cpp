// ombrelctl: the keyboard's memory and commands from the command line, on the same core as the window.
#include "CliSession.h"
#include "Commands.h"
#include "DoctorCommand.h"
#include "HistoryCommands.h"
#include "TerminalSafeOutput.h"
#include "text/NameMatcher.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

using namespace ombrel::cli;

namespace {

constexpr const char* kGlobalOptions = "[--emulator[=STATE_FILE]] [--direct] [--trace] [--json]";
constexpr std::size_t kHeadWidth = 22;

void printHelp() {
    std::printf("Usage: ombrelctl %s COMMAND [ARGS]\n\n"
                "Reads and changes the memory of the 0C45:5204 gaming keyboard.\n\n"
                "Options:\n"
                "  --emulator[=FILE]  use the built-in keyboard emulator instead of the real keyboard;\n"
                "                     with FILE, the emulator keeps its memory there between runs\n"
                "  --direct           talk to the keyboard itself, even while the Ombrel program runs for it\n"
                "                     (otherwise the commands go through the program, over the session bus)\n"
                "  --trace            print every report sent (->) and every reply received (<-) as hex\n"
                "  --json             print what a command shows as JSON (see ombrelctl(1) for the shapes)\n"
                "  -h, --help         show this help (after a command: that command's help)\n"
                "  -V, --version      show the version\n\nCommands:\n",
                kGlobalOptions);
    for (const CommandInfo& c : AllCommands()) {
        const std::string head = std::string(c.name) + (*c.usage ? std::string(" ") + c.usage : "");
        // A long usage gets a line of its own, so the summaries stay in one column.
        if (head.size() > kHeadWidth)
            std::printf("  %s\n  %-*s %s\n", head.c_str(), int(kHeadWidth), "", c.summary);
        else
            std::printf("  %-*s %s\n", int(kHeadWidth), head.c_str(), c.summary);
    }
    std::printf("\nProfiles are numbered 1, 2 and 3, as the window shows them. Keys, media and keyboard functions go\n"
                "by their names (see 'ombrelctl names').\n\n"
                "Exit codes:\n"
                "  0  done\n"
                "  1  the keyboard refused or did not answer, or a file could not be read or written\n"
                "  2  bad command line: a wrong or missing argument, an unknown name, a macro that does not exist\n"
                "  3  no keyboard found or not accessible (info then lists what is missing)\n"
                "  4  the HID service library is missing or cannot start (the emulator refuses a state file that is\n"
                "     not one, or that another program uses)\n"
                "  5  apply --dry-run: the file would change the keyboard\n");
}

void printCommandHelp(const CommandInfo& c, std::FILE* to) {
    std::fprintf(to, "Usage: ombrelctl %s %s%s%s\n\n%s\n", kGlobalOptions, c.name, *c.usage ? " " : "", c.usage,
                 c.summary);
    if (c.details) std::fprintf(to, "\n%s\n", c.details);
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

// Says that `word` is no command, with the closest commands (first words such as "keymap" included).
void reportUnknownCommand(const std::string& word) {
    std::vector<std::string> known;
    for (const CommandInfo& c : AllCommands()) {
        const std::string name = c.name;
        const std::string first = name.substr(0, name.find(' '));
        if (std::find(known.begin(), known.end(), first) == known.end()) known.push_back(first);
    }
    ombrel::NameMatcher commands;
    for (std::size_t i = 0; i < known.size(); ++i)
        commands.add(known[i], static_cast<int>(i));
    const ombrel::NameMatch m = commands.match(word);
    const std::string hint =
        ombrel::DidYouMean(m.value ? std::vector{known[static_cast<std::size_t>(*m.value)]} : m.suggestions);
    std::fprintf(stderr, "unknown command '%s'%s%s (see ombrelctl --help)\n", word.c_str(), hint.empty() ? "" : "; ",
                 hint.c_str());
}

} // namespace

int main(int argc, char** argv) {
    MakeOutputTerminalSafe();
    CliOptions options;
    std::vector<std::string> words;
    bool help = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (arg == "--version" || arg == "-V") {
            std::printf("ombrelctl %s\n", OMBREL_VERSION);
            return kExitOk;
        } else if (arg == "--force") {
            options.force = true;
        } else if (arg == "--trace") {
            options.trace = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--direct") {
            options.direct = true;
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
            printCommandHelp(*command, stdout);
        else if (words.empty() || !PrintGroupUsage(words[0], stdout))
            printHelp();
        return kExitOk;
    }
    if (words.empty()) {
        std::fprintf(stderr, "no command given (see ombrelctl --help)\n");
        return kExitUsage;
    }
    if (!command) {
        // "keymap" alone, or with a word that is none of its commands: the usage of the group.
        if (words.size() > 1 && PrintGroupUsage(words[0], stderr)) {
            std::fprintf(stderr, "'%s' is not a command of '%s'\n", words[1].c_str(), words[0].c_str());
            return kExitUsage;
        }
        if (!PrintGroupUsage(words[0], stderr)) reportUnknownCommand(words[0]);
        return kExitUsage;
    }
    if (options.force && !command->takesForce) {
        std::fprintf(stderr, "%s does not take --force\n", command->name);
        return kExitUsage;
    }
    if (options.json && !command->takesJson) {
        // The read commands show raw memory, the history shows keyboard files and lines of changes; the others only
        // say what they did.
        const bool dump = std::strncmp(command->name, "read-", 5) == 0;
        const bool history = std::strncmp(command->name, "history ", 8) == 0;
        std::fprintf(stderr, "%s does not take --json: %s\n", command->name,
                     dump      ? "it prints a hex dump of the keyboard's memory, which has no JSON form"
                     : history ? "it prints snapshots and their changes as text, which has no JSON form"
                               : "it shows nothing but what it did");
        return kExitUsage;
    }
    const Args args(words.begin() + static_cast<long>(at), words.end());
    if (args.empty() && command->minArgs > 0) {
        printCommandHelp(*command, stderr);
        return kExitUsage;
    }
    if (static_cast<int>(args.size()) < command->minArgs || static_cast<int>(args.size()) > command->maxArgs) {
        if (static_cast<int>(args.size()) > command->maxArgs)
            std::fprintf(stderr, "unexpected argument '%s'\n",
                         args[static_cast<std::size_t>(command->maxArgs)].c_str());
        std::fprintf(stderr, "usage: ombrelctl %s%s%s\n(see ombrelctl %s --help)\n", command->name,
                     *command->usage ? " " : "", command->usage, command->name);
        return kExitUsage;
    }
    if (command->runOffline) return command->runOffline(args, options);
    // The boot request takes the keyboard away from whoever serves it: never sent through the running program.
    if (std::strcmp(command->name, "firmware boot") == 0) options.direct = true;
    int exitCode = kExitOk;
    auto session = CliSession::open(options, &exitCode);
    if (!session) {
        if (exitCode == kExitNoKeyboard && std::strcmp(command->name, "info") == 0) PrintKeyboardProblems();
        return exitCode;
    }
    if (const int guard = GuardUnfinishedWrite(*session, *command); guard != kExitOk) return guard;
    return command->run(*session, args);
}
