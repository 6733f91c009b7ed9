#pragma once
// Which on-board profile the keyboard should hold while a given application is in front: an ordered list of
// rules (first match wins) and a profile for every other application. The rules are off while the list is empty,
// so a user who never adds one never sees the keyboard switch by itself.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ombrel::apprules {

// What the desktop tells us about the application in front. Any field may be empty: Wayland desktops give only
// an application id (kept in desktopId), X11 gives the WM_CLASS pair and, through the window's pid, the process.
struct ApplicationIdentity {
    std::string windowClass;    // WM_CLASS class, e.g. "Steam"
    std::string windowInstance; // WM_CLASS instance, e.g. "steamwebhelper"
    std::string processName;    // /proc/<pid>/comm of the window's process
    std::string desktopId;      // desktop file id without ".desktop", e.g. "org.gnome.Terminal", "steam_app_570"
};

struct ApplicationRule {
    std::string application; // matched, without regard to case, against each field of an identity
    int profile = 1;         // 1..3
    bool operator==(const ApplicationRule&) const = default;
};

struct ApplicationRules {
    std::vector<ApplicationRule> rules;
    int defaultProfile = 1; // 1..3, for every application no rule names

    bool active() const { return !rules.empty(); }
    bool operator==(const ApplicationRules&) const = default;
};

// One running application the window can offer when the user adds a rule.
struct RunningApplication {
    ApplicationIdentity identity;
    std::string title; // the window's title, for the user to recognise it
};

// True when `application` names this identity: equal to one of its non-empty fields, ignoring ASCII case.
bool RuleMatches(std::string_view application, const ApplicationIdentity& identity);

// The profile the keyboard should hold for this application; nothing while the rules are off.
std::optional<int> ProfileFor(const ApplicationRules& rules, const ApplicationIdentity& identity);

} // namespace ombrel::apprules
