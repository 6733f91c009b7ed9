#include "apprules/ProfileFollower.h"

#include "apprules/ApplicationRulesFile.h"

#include <gtest/gtest.h>

namespace ombrel::apprules {
namespace {

using Action = FollowStep::Action;

ApplicationIdentity App(std::string windowClass) {
    ApplicationIdentity id;
    id.windowClass = std::move(windowClass);
    return id;
}

const ApplicationRules kRules{{{"Game", 3}, {"Editor", 2}}, 1};

TEST(ProfileFollowerTest, DecidesFromRulesActiveProfileAndHoldBack) {
    struct Case {
        const char* what;
        ApplicationRules rules;
        const char* front;
        int active;
        bool heldBack;
        FollowStep expected;
    };
    const Case cases[] = {
        {"a named application gets its profile", kRules, "game", 0, false, {Action::Switch, 2}},
        {"an unnamed one gets the default", kRules, "Terminal", 2, false, {Action::Switch, 0}},
        {"already active: nothing is sent", kRules, "Editor", 1, false, {}},
        {"already active while held back: nothing waits", kRules, "Editor", 1, true, {}},
        {"held back", kRules, "Game", 0, true, {Action::HoldBack}},
        {"rules off: nothing, whatever the profile", ApplicationRules{{}, 3}, "Game", 0, false, {}},
        {"profile unknown", kRules, "Game", -1, false, {Action::NoKeyboard}},
        {"profile unknown while held back", kRules, "Game", -1, true, {Action::HoldBack}},
        {"a profile outside 1..3 in the rules is never sent", ApplicationRules{{{"Game", 4}}, 1}, "Game", 0, false, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecideFollow(c.rules, App(c.front), c.active, c.heldBack), c.expected) << c.what;
}

TEST(ProfileFollowerTest, HeldBackActivationWaitsAndTheLatestOneWins) {
    ProfileFollower follower;
    follower.setRules(kRules);
    EXPECT_EQ(follower.next(0, false), FollowStep{}) << "nothing before an activation";

    follower.activated(App("Game"));
    EXPECT_EQ(follower.next(0, true).action, Action::HoldBack);
    follower.activated(App("Editor"));
    EXPECT_EQ(follower.next(0, true).action, Action::HoldBack);
    EXPECT_EQ(follower.next(0, false), (FollowStep{Action::Switch, 1})) << "the latest application, once settled";
    EXPECT_FALSE(follower.due());
    EXPECT_EQ(follower.next(0, false), FollowStep{}) << "a switch is carried out once";

    // A profile picked by hand stays until the next activation, even when the rules change meanwhile.
    follower.setRules(ApplicationRules{{{"Editor", 3}}, 1});
    EXPECT_EQ(follower.next(0, false), FollowStep{});

    follower.activated(App("Game"));
    EXPECT_EQ(follower.next(-1, false).action, Action::NoKeyboard);
    EXPECT_TRUE(follower.due()) << "kept until the keyboard is back";
    EXPECT_EQ(follower.next(1, false), (FollowStep{Action::Switch, 0}));
}

TEST(ProfileFollowerTest, IdentityFromADesktopsReport) {
    std::string problem;
    EXPECT_EQ(IdentityFromDesktopId("org.kde.konsole", &problem)->desktopId, "org.kde.konsole");
    EXPECT_EQ(IdentityFromDesktopId("firefox.desktop", &problem)->desktopId, "firefox");
    EXPECT_EQ(IdentityFromDesktopId(".desktop", &problem)->desktopId, ".desktop") << "nothing would be left";
    EXPECT_EQ(IdentityFromDesktopId(std::string(kMaxApplicationLength, 'a'), &problem)->desktopId.size(),
              kMaxApplicationLength);
    for (const std::string& bad :
         {std::string(), std::string(kMaxApplicationLength + 1, 'a'), std::string("a\nb"), std::string(" padded")}) {
        problem.clear();
        EXPECT_FALSE(IdentityFromDesktopId(bad, &problem)) << bad;
        EXPECT_FALSE(problem.empty());
    }
}

} // namespace
} // namespace ombrel::apprules
