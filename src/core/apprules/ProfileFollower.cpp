#include "apprules/ProfileFollower.h"

#include "apprules/ApplicationRulesFile.h"

namespace ombrel::apprules {

FollowStep DecideFollow(const ApplicationRules& rules, const ApplicationIdentity& front, int activeProfile,
                        bool heldBack) {
    const std::optional<int> wanted = ProfileFor(rules, front);
    if (!wanted || *wanted < 1 || *wanted > 3) return {};
    // Unknown while held back: the window may not ask the keyboard then, and the answer is needed only later.
    if (activeProfile < 0) return {heldBack ? FollowStep::Action::HoldBack : FollowStep::Action::NoKeyboard};
    if (*wanted - 1 == activeProfile) return {};
    if (heldBack) return {FollowStep::Action::HoldBack};
    return {FollowStep::Action::Switch, *wanted - 1};
}

void ProfileFollower::activated(ApplicationIdentity front) {
    m_front = std::move(front);
    m_due = true;
}

FollowStep ProfileFollower::next(int activeProfile, bool heldBack) {
    if (!m_due) return {};
    const FollowStep step = DecideFollow(m_rules, m_front, activeProfile, heldBack);
    if (step.action == FollowStep::Action::Nothing || step.action == FollowStep::Action::Switch) m_due = false;
    return step;
}

std::optional<ApplicationIdentity> IdentityFromDesktopId(std::string_view id, std::string* problem) {
    if (std::string why = ApplicationProblem(id); !why.empty()) {
        if (problem) *problem = std::move(why);
        return std::nullopt;
    }
    constexpr std::string_view kSuffix = ".desktop";
    if (id.size() > kSuffix.size() && id.substr(id.size() - kSuffix.size()) == kSuffix)
        id.remove_suffix(kSuffix.size());
    ApplicationIdentity identity;
    identity.desktopId = std::string(id);
    return identity;
}

} // namespace ombrel::apprules
