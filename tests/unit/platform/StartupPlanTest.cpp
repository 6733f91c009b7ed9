#include "PlatformFixture.h"

#include "platform/StartupPlan.h"

#include <future>
#include <mutex>
#include <vector>

namespace ombrel::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class StartupPlanTest : public TempDirFixture {
protected:
    void SetUp() override {
        TempDirFixture::SetUp();
        runtime = dir + "/run";
        fs::create_directory(runtime);
        paths = pathsUnder(dir);
    }
    StartupPlan start(std::vector<std::string_view> arguments, StartupOptions options = {}) {
        return PlanStartup(paths, ParseStartSwitches(arguments), runtime, options);
    }
    void installDaemon() {
        // A daemon that leaves a mark and ends at once.
        writeFile(paths.daemonExe, "#!/bin/sh\n: > '" + dir + "/daemon-ran'\n");
        fs::permissions(paths.daemonExe, fs::perms::owner_all);
    }

    AppPaths paths;
    std::string runtime;
};

TEST_F(StartupPlanTest, FirstStartBecomesTheInstanceAndLaterStartsReachIt) {
    StartupPlan first = start({"/start"});
    EXPECT_FALSE(first.exitNow);
    EXPECT_TRUE(first.autoShowDone);
    EXPECT_TRUE(first.lock.owned());
    ASSERT_TRUE(first.channel) << first.note;
    EXPECT_EQ(first.daemon.status, DaemonStatus::NotPresent); // none is shipped

    std::mutex mutex;
    std::vector<InstanceRequest> received;
    first.channel->setHandler([&](InstanceRequest request) {
        std::lock_guard lock(mutex);
        received.push_back(request);
    });
    {
        ChannelServer server(*first.channel);
        StartupPlan second = start({});
        EXPECT_TRUE(second.exitNow);
        EXPECT_EQ(second.delivery, DeliveryResult::Delivered);
        EXPECT_FALSE(second.lock.owned());
        StartupPlan killer = start({"/Start", "/KILL"});
        EXPECT_TRUE(killer.exitNow);
        EXPECT_EQ(killer.delivery, DeliveryResult::Delivered);
        EXPECT_EQ(start({"--force", "/Kill"}).delivery, DeliveryResult::Delivered);
    }
    EXPECT_EQ(received, (std::vector<InstanceRequest>{InstanceRequest::Open, InstanceRequest::Kill,
                                                      InstanceRequest::KillForced}));
}

TEST_F(StartupPlanTest, LaterStartWaitsForAnInstanceThatIsStillStarting) {
    // The first instance holds the lock but listens only a little later.
    InstanceLock lock = InstanceLock::acquire(runtime);
    ASSERT_TRUE(lock.owned());
    auto second = std::async(std::launch::async, [&] { return start({}); });
    std::this_thread::sleep_for(50ms);
    auto channel = InstanceChannel::listen(lock);
    ASSERT_TRUE(channel);
    channel->setHandler([](InstanceRequest) {});
    ChannelServer server(*channel);
    const StartupPlan plan = second.get();
    EXPECT_TRUE(plan.exitNow);
    EXPECT_EQ(plan.delivery, DeliveryResult::Delivered);
}

TEST_F(StartupPlanTest, SilentInstanceDoesNotHoldTheNextStartForever) {
    InstanceLock lock = InstanceLock::acquire(runtime); // an instance that never listens
    StartupOptions quick;
    quick.answerTimeout = 100ms;
    const StartupPlan plan = start({}, quick);
    EXPECT_TRUE(plan.exitNow);
    EXPECT_EQ(plan.delivery, DeliveryResult::NotListening);
}

TEST_F(StartupPlanTest, KillWithoutInstanceEndsWithoutStartingAnything) {
    installDaemon();
    const StartupPlan plan = start({"--kill"});
    EXPECT_TRUE(plan.exitNow);
    EXPECT_FALSE(plan.delivery);
    EXPECT_FALSE(plan.lock.owned());
    EXPECT_FALSE(plan.channel);
    EXPECT_EQ(plan.daemon.status, DaemonStatus::NotPresent); // not even looked for
    EXPECT_TRUE(InstanceLock::acquire(runtime).owned());
}

TEST_F(StartupPlanTest, DaemonStartsWhenPresentAndTheProcessRuns) {
    installDaemon();
    const StartupPlan plan = start({});
    EXPECT_FALSE(plan.exitNow);
    EXPECT_EQ(plan.daemon.status, DaemonStatus::Started);
    for (int i = 0; i < 500 && !fs::exists(dir + "/daemon-ran"); ++i)
        std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(fs::exists(dir + "/daemon-ran"));
}

TEST_F(StartupPlanTest, WithoutARuntimeFolderTheProgramRunsWithoutTheRules) {
    const StartupPlan plan = PlanStartup(paths, {}, std::nullopt, {});
    EXPECT_FALSE(plan.exitNow);
    EXPECT_FALSE(plan.channel);
    EXPECT_FALSE(plan.note.empty());

    runtime = dir + "/missing"; // the lock file cannot be made there
    const StartupPlan unlocked = start({});
    EXPECT_FALSE(unlocked.exitNow);
    EXPECT_FALSE(unlocked.lock.owned());
    EXPECT_FALSE(unlocked.note.empty());
}

} // namespace
} // namespace ombrel::test
