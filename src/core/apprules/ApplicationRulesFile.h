#pragma once
// The rules as the user keeps them: a small TOML file in the config folder that the window, ombrelctl and a text
// editor all edit.
//
//   default-profile = 1
//   [[rule]]
//   application = "steam_app_570"
//   profile = 2
//
// Everything is checked before anything is used. A file with a mistake gives no rules at all, only its problems:
// turning a damaged file into "no rules" would switch the keyboard by surprise and, once saved, lose the rules.

#include "apprules/ApplicationRules.h"
#include "platform/AppPaths.h"
#include "platform/SafeFileWriter.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ombrel::apprules {

inline constexpr const char* kRulesFileName = "application-profiles.toml";
inline constexpr int kFirstProfile = 1;
inline constexpr int kLastProfile = 3;
// Longer than any WM_CLASS, process name or desktop id a desktop hands out, short enough to show in a list.
inline constexpr std::size_t kMaxApplicationLength = 255;
// Thousands of rules fit in far less; a larger file is not one of ours.
inline constexpr std::size_t kMaxRulesFileSize = 1024 * 1024;

struct RulesProblem {
    int line = 0; // from 1
    int column = 0;
    std::string message;
    bool operator==(const RulesProblem&) const = default;
};

struct RulesRead {
    std::optional<ApplicationRules> rules; // none when there are problems
    std::vector<RulesProblem> problems;    // in the order of the file
};

RulesRead ParseApplicationRules(std::string_view text);

// The text of the file: a comment that says what it is, the default profile, then the rules in order.
std::string FormatApplicationRules(const ApplicationRules& rules);

// What is wrong with `application` as a rule's application ("" when nothing): empty, too long, not UTF-8, a
// control character, or a space at either end (no desktop hands out such an id, so the rule could never apply).
std::string ApplicationProblem(std::string_view application);

// The index of the rule that names `application` (ignoring ASCII case, as matching does), if any.
std::optional<std::size_t> FindRule(const ApplicationRules& rules, std::string_view application);

// "LINE:COLUMN: MESSAGE".
std::string DescribeProblem(const RulesProblem& problem);

// $XDG_CONFIG_HOME/ombrel/application-profiles.toml, beside settings.ini.
std::string ApplicationRulesPath(const AppPaths& paths);

struct RulesFile {
    enum class State {
        Missing,    // no file: no rules, the default profile 1; nothing to keep
        Read,       // `rules` holds the file
        Damaged,    // the file is there but not valid: `problems`; it must not be overwritten unasked
        Unreadable, // the file could not be read: `error` says why; it must not be overwritten
    };
    State state = State::Missing;
    ApplicationRules rules;
    std::vector<RulesProblem> problems;
    std::string error; // "cannot read PATH: REASON" for Unreadable
};

RulesFile LoadApplicationRules(const std::string& path);

// Writes the rules through the safe writer, creating the config folder when it is missing.
FileWriteResult SaveApplicationRules(const std::string& path, const ApplicationRules& rules);

} // namespace ombrel::apprules
