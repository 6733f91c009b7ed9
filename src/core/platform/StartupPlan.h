#pragma once
// What the program does before its main window exists, without any GUI. The application runs, in this order:
//
//   1. QApplication (GUI; replaces the static set-up of the graphics library and the "TaskbarCreated" message).
//   2. ProcessAppPaths(): every path, from the executable and the XDG folders (no GUI).
//   3. SettingsStore(paths.settingsIni, paths.appProfileIni): nothing to open; the files appear on first write,
//      and a store that cannot be written only loses that setting (no GUI).
//   4. The working stores and their locks belong to the key-assignment code, which sets them up itself.
//   5. PlanStartup(): the start switches, the single-instance rules and the daemon (no GUI). It must run before
//      any window exists, because a later start hands its request over and ends here.
//   6. The main window (GUI), which calls PreparePerUserFolder() during its own start-up, installs the channel's
//      handler and watches its fd; then the event loop runs for the whole life of the program.
//   7. After the event loop: the main window, the channel (its socket file goes) and the lock are destroyed, in
//      that order.

#include "platform/AppPaths.h"
#include "platform/CommandLine.h"
#include "platform/DaemonLauncher.h"
#include "platform/InstanceChannel.h"
#include "platform/InstanceClient.h"
#include "platform/InstanceLock.h"

#include <chrono>
#include <optional>
#include <string>

namespace ombrel {

struct StartupOptions {
    // How long a later start waits for the running instance to take and handle its request.
    std::chrono::milliseconds answerTimeout{5000};
    bool launchDaemon = true;
};

struct StartupPlan {
    bool exitNow = false;                   // end the process with exit code 0 before any window exists
    bool autoShowDone = false;              // "/Start": stay in the tray until the user opens the window
    std::optional<DeliveryResult> delivery; // what became of the request to the running instance, if one was sent
    InstanceLock lock;                      // owned while this process is the instance
    std::optional<InstanceChannel> channel; // present when the lock is owned and the socket could be set up
    DaemonLaunch daemon;
    std::string note; // why the single-instance rules are not in force, for a log line; empty when they are
};

// The single-instance rules. With "/Kill" the running instance is asked to end and this process always ends;
// otherwise a running instance is asked to show its window and this process ends, or, when none runs, this
// process becomes the instance. `runtimeDir` nullopt (no private folder) means running without the rules.
StartupPlan PlanStartup(const AppPaths& paths, const StartSwitches& switches,
                        const std::optional<std::string>& runtimeDir, const StartupOptions& options = {});

} // namespace ombrel
