#include "platform/StartupPlan.h"

#include "platform/RuntimeDir.h"

#include <thread>

namespace ombrel {

namespace {

// Between tries while the running instance has the lock but is not accepting yet (it is starting up).
constexpr std::chrono::milliseconds kRetryPause{20};

void becomeInstance(StartupPlan& plan, InstanceLock lock) {
    plan.lock = std::move(lock);
    std::string error;
    plan.channel = InstanceChannel::listen(plan.lock, &error);
    if (!plan.channel) plan.note = "later starts cannot reach this instance: " + error;
}

} // namespace

StartupPlan PlanStartup(const AppPaths& paths, const StartSwitches& switches,
                        const std::optional<std::string>& runtimeDir, const StartupOptions& options) {
    StartupPlan plan;
    plan.autoShowDone = switches.start;
    const InstanceRequest request = !switches.kill   ? InstanceRequest::Open
                                    : switches.force ? InstanceRequest::KillForced
                                                     : InstanceRequest::Kill;
    const Deadline deadline = std::chrono::steady_clock::now() + options.answerTimeout;

    if (!runtimeDir) {
        plan.note = "no private runtime folder; running without the single-instance rules";
        plan.exitNow = switches.kill;
    } else {
        for (;;) {
            InstanceLock lock = InstanceLock::acquire(*runtimeDir);
            if (lock.state() != InstanceLock::State::HeldElsewhere) {
                // No instance runs ("/Kill" then has nothing to do), or the lock cannot be used at all.
                if (switches.kill) {
                    plan.exitNow = true;
                } else if (lock.owned()) {
                    becomeInstance(plan, std::move(lock));
                } else {
                    plan.note = lock.error();
                }
                break;
            }
            const DeliveryResult result = SendInstanceRequest(InstanceSocketPath(*runtimeDir), request, deadline);
            if (result != DeliveryResult::NotListening || std::chrono::steady_clock::now() >= deadline) {
                plan.delivery = result;
                plan.exitNow = true;
                break;
            }
            std::this_thread::sleep_for(kRetryPause);
        }
    }

    if (!plan.exitNow && options.launchDaemon) plan.daemon = LaunchDaemon(paths.daemonExe);
    return plan;
}

} // namespace ombrel
