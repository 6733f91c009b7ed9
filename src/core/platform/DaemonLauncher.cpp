#include "platform/DaemonLauncher.h"

#include "platform/DetachedProcess.h"

namespace ombrel {

DaemonLaunch LaunchDaemon(const std::string& daemonPath) {
    if (!IsExecutableFile(daemonPath)) return {DaemonStatus::NotPresent, 0};
    const pid_t pid = StartDetached({daemonPath}, std::string());
    return pid > 0 ? DaemonLaunch{DaemonStatus::Started, pid} : DaemonLaunch{DaemonStatus::Failed, 0};
}

} // namespace ombrel
