#include "RulesCommands.h"

#include "JsonOutput.h"
#include "apprules/ApplicationRulesFile.h"
#include "text/WholeNumber.h"

#include <cstdio>
#include <optional>
#include <string>

namespace ombrel::cli {

namespace {

using namespace ombrel::apprules;

std::optional<std::string> rulesPath() {
    const auto& paths = ProcessAppPaths();
    if (!paths) {
        std::fprintf(stderr, "cannot tell where the settings are (no /proc/self/exe or no home folder)\n");
        return std::nullopt;
    }
    return ApplicationRulesPath(*paths);
}

void printProblems(const RulesFile& file) {
    for (const RulesProblem& p : file.problems)
        std::fprintf(stderr, "  %s\n", DescribeProblem(p).c_str());
}

// The rules as the file holds them; prints why not and sets `exitCode` when they cannot be had. `editing` says
// whether the caller means to write them back: a damaged file is then refused, so the user's rules are not lost.
std::optional<ApplicationRules> loadRules(const std::string& path, bool editing, int* exitCode) {
    const RulesFile file = LoadApplicationRules(path);
    switch (file.state) {
    case RulesFile::State::Missing:
    case RulesFile::State::Read:
        return file.rules;
    case RulesFile::State::Unreadable:
        std::fprintf(stderr, "%s\n", file.error.c_str());
        break;
    case RulesFile::State::Damaged:
        if (editing)
            std::fprintf(stderr, "%s has mistakes, so it is left as it is; mend it in a text editor or remove it:\n",
                         path.c_str());
        else
            std::fprintf(stderr, "%s has mistakes, so the program does not take its rules:\n", path.c_str());
        printProblems(file);
        break;
    }
    *exitCode = kExitFailed;
    return std::nullopt;
}

int save(const std::string& path, const ApplicationRules& rules) {
    const FileWriteResult written = SaveApplicationRules(path, rules);
    if (!written) {
        std::fprintf(stderr, "%s\n", written.message.c_str());
        return kExitFailed;
    }
    return kExitOk;
}

// A profile from 1 to 3 as the file holds it; prints why not.
std::optional<int> profileArgument(const std::string& text) {
    const auto index = parseProfile(text);
    if (!index) return std::nullopt;
    return ProfileNumber(*index);
}

std::optional<int> positionArgument(const std::string& text, std::size_t last) {
    const auto n = ParseDecimal(text);
    if (!n || *n < 1 || *n > last) {
        std::fprintf(stderr, "'%s' is not a position: give a number from 1 to %zu\n", text.c_str(), last);
        return std::nullopt;
    }
    return static_cast<int>(*n);
}

int cmdRulesList(const Args&, const CliOptions& options) {
    const auto path = rulesPath();
    if (!path) return kExitFailed;
    int code = kExitOk;
    const auto rules = loadRules(*path, false, &code);
    if (!rules) return code;
    if (options.json) {
        Json list = Json::array();
        for (std::size_t i = 0; i < rules->rules.size(); ++i)
            list.push_back(Json{{"position", i + 1},
                                {"application", rules->rules[i].application},
                                {"profile", rules->rules[i].profile}});
        PrintJson(Json{{"file", *path},
                       {"active", rules->active()},
                       {"default_profile", rules->defaultProfile},
                       {"rules", std::move(list)}});
        return kExitOk;
    }
    if (!rules->active()) {
        std::printf("no rules: the keyboard keeps its profile whatever application is in front\n"
                    "(add one with: ombrelctl rules add APPLICATION PROFILE)\n");
        return kExitOk;
    }
    for (std::size_t i = 0; i < rules->rules.size(); ++i)
        std::printf("%3zu  profile %d  %s\n", i + 1, rules->rules[i].profile, rules->rules[i].application.c_str());
    std::printf("     profile %d  every other application\n", rules->defaultProfile);
    return kExitOk;
}

int cmdRulesAdd(const Args& args, const CliOptions&) {
    // APP PROFILE, with --position N (or --position=N) anywhere after them.
    Args plain;
    std::optional<std::string> positionText;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--position") {
            if (i + 1 == args.size()) {
                std::fprintf(stderr, "--position needs a number\n");
                return kExitUsage;
            }
            positionText = args[++i];
        } else if (args[i].rfind("--position=", 0) == 0) {
            positionText = args[i].substr(std::string("--position=").size());
        } else {
            plain.push_back(args[i]);
        }
    }
    if (plain.size() != 2) {
        std::fprintf(stderr, "usage: ombrelctl rules add APPLICATION PROFILE [--position N]\n");
        return kExitUsage;
    }
    const std::string& application = plain[0];
    if (const std::string wrong = ApplicationProblem(application); !wrong.empty()) {
        std::fprintf(stderr, "%s\n", wrong.c_str());
        return kExitUsage;
    }
    const auto profile = profileArgument(plain[1]);
    if (!profile) return kExitUsage;

    const auto path = rulesPath();
    if (!path) return kExitFailed;
    int code = kExitOk;
    auto rules = loadRules(*path, true, &code);
    if (!rules) return code;

    // An application has one rule: adding it again changes that rule (and moves it when a position is given).
    const auto existing = FindRule(*rules, application);
    std::size_t at = existing ? *existing : rules->rules.size();
    if (existing) rules->rules.erase(rules->rules.begin() + static_cast<long>(*existing));
    if (positionText) {
        const auto position = positionArgument(*positionText, rules->rules.size() + 1);
        if (!position) return kExitUsage;
        at = static_cast<std::size_t>(*position - 1);
    }
    rules->rules.insert(rules->rules.begin() + static_cast<long>(at), ApplicationRule{application, *profile});
    if (const int r = save(*path, *rules); r != kExitOk) return r;
    std::printf("%s rule %zu: %s, profile %d\n", existing ? "changed" : "added", at + 1, application.c_str(), *profile);
    return kExitOk;
}

int cmdRulesRemove(const Args& args, const CliOptions&) {
    const auto path = rulesPath();
    if (!path) return kExitFailed;
    int code = kExitOk;
    auto rules = loadRules(*path, true, &code);
    if (!rules) return code;
    // An application's name first: a game may well be called "2048".
    auto index = FindRule(*rules, args[0]);
    if (!index) {
        const auto n = ParseDecimal(args[0]);
        if (n && *n >= 1 && *n <= rules->rules.size()) index = static_cast<std::size_t>(*n - 1);
    }
    if (!index) {
        std::fprintf(stderr, "no rule names '%s', and it is no rule's number (see ombrelctl rules list)\n",
                     args[0].c_str());
        return kExitUsage;
    }
    const ApplicationRule removed = rules->rules[*index];
    rules->rules.erase(rules->rules.begin() + static_cast<long>(*index));
    if (const int r = save(*path, *rules); r != kExitOk) return r;
    std::printf("removed rule %zu: %s\n", *index + 1, removed.application.c_str());
    if (!rules->active())
        std::printf("no rules left: the keyboard keeps its profile whatever application is in front\n");
    return kExitOk;
}

int cmdRulesDefault(const Args& args, const CliOptions&) {
    const auto profile = profileArgument(args[0]);
    if (!profile) return kExitUsage;
    const auto path = rulesPath();
    if (!path) return kExitFailed;
    int code = kExitOk;
    auto rules = loadRules(*path, true, &code);
    if (!rules) return code;
    rules->defaultProfile = *profile;
    if (const int r = save(*path, *rules); r != kExitOk) return r;
    std::printf("every application without a rule: profile %d%s\n", *profile,
                rules->active() ? "" : " (once there is a rule)");
    return kExitOk;
}

} // namespace

const std::vector<CommandInfo>& RulesCommands() {
    static const std::vector<CommandInfo> commands = {
        {"rules list", "", "the rules that switch the profile with the application in front, in order", 0, 0, nullptr,
         "The first rule that names the application in front wins; every other application gets the default\n"
         "profile. While there is no rule the keyboard keeps its profile whatever is in front. The rules are kept\n"
         "in $XDG_CONFIG_HOME/ombrel/application-profiles.toml, which the window's \"Switch profiles with the\n"
         "application\" page edits too. A file with mistakes is shown with them (exit code 1).",
         cmdRulesList, false, true},
        {"rules add", "APPLICATION PROFILE [--position N]", "switch to PROFILE while APPLICATION is in front", 2, 4,
         nullptr,
         "APPLICATION is matched, ignoring case, against the window's class and instance (WM_CLASS), its\n"
         "process name and its desktop file id (\"steam_app_570\" for a Steam game). The rule goes last, or at\n"
         "position N (1 is first). An application that already has a rule keeps its place and gets the new\n"
         "profile, unless --position moves it. A rules file with mistakes is left as it is (exit code 1).",
         cmdRulesAdd},
        {"rules remove", "APPLICATION|N", "remove the rule for APPLICATION, or rule N", 1, 1, nullptr,
         "A rule that names APPLICATION (ignoring case) goes first; otherwise N is the rule's number in\n"
         "'ombrelctl rules list'. Removing the last rule turns the switching off.",
         cmdRulesRemove},
        {"rules default", "PROFILE", "the profile for every application no rule names", 1, 1, nullptr,
         "It applies while there is at least one rule.", cmdRulesDefault},
    };
    return commands;
}

} // namespace ombrel::cli
