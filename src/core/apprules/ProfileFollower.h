#pragma once
// Decides when the keyboard's profile follows the application in front. The desktop reports each activation; the
// keyboard switches only when the rules name another profile than the one it holds, and never while the window has
// something open that the switch would override: the activation then waits, and only the latest one is carried
// out once the window has settled. Rules changed meanwhile count from the next decision on, so a rule added while
// the user works in a window does not yank the keyboard away from a profile picked by hand.

#include "apprules/ApplicationRules.h"

#include <optional>
#include <string>
#include <string_view>

namespace ombrel::apprules {

struct FollowStep {
    enum class Action {
        Nothing,    // no switch is due, the rules are off, or the keyboard already holds the profile
        Switch,     // switch the keyboard to `profile`
        HoldBack,   // a switch is due but the window holds it back: ask again once it has settled
        NoKeyboard, // the keyboard's profile is unknown (and nothing holds back): ask again when the keyboard is back
    };
    Action action = Action::Nothing;
    int profile = -1; // 0..2, with Switch
    bool operator==(const FollowStep&) const = default;
};

// One decision: the profile the rules give `front`, against the keyboard's active profile (0..2, -1 unknown).
FollowStep DecideFollow(const ApplicationRules& rules, const ApplicationIdentity& front, int activeProfile,
                        bool heldBack);

class ProfileFollower {
public:
    void setRules(ApplicationRules rules) { m_rules = std::move(rules); }
    const ApplicationRules& rules() const { return m_rules; }

    // `front` came to the front; it replaces any activation still waiting.
    void activated(ApplicationIdentity front);
    // What to do now. A due activation is used up by Switch and Nothing, and kept by HoldBack and NoKeyboard.
    FollowStep next(int activeProfile, bool heldBack);
    bool due() const { return m_due; }
    const ApplicationIdentity& front() const { return m_front; }

private:
    ApplicationRules m_rules;
    ApplicationIdentity m_front;
    bool m_due = false;
};

// The identity a desktop's own report gives ("org.kde.konsole", "firefox.desktop"): the id without ".desktop" as
// the desktop file id. Nothing, with the reason in `problem`, for an empty id, one longer than
// kMaxApplicationLength bytes, or one no rule could name (see ApplicationProblem).
std::optional<ApplicationIdentity> IdentityFromDesktopId(std::string_view id, std::string* problem);

} // namespace ombrel::apprules
