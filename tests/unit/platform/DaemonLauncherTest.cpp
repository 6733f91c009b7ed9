#include "PlatformFixture.h"

#include "platform/DaemonLauncher.h"
#include "platform/DetachedProcess.h"
#include "platform/InstanceLock.h"

#include <signal.h>

namespace ombrel::test {
namespace {

namespace fs = std::filesystem;

using DaemonLauncherTest = TempDirFixture;

TEST_F(DaemonLauncherTest, OnlyAnExecutableFileIsStarted) {
    const std::string daemon = dir + "/RuZarodu";
    EXPECT_EQ(LaunchDaemon(daemon).status, DaemonStatus::NotPresent);
    writeFile(daemon, "#!/bin/sh\nexit 0\n"); // not executable
    EXPECT_EQ(LaunchDaemon(daemon).status, DaemonStatus::NotPresent);
    fs::create_directory(dir + "/folder");
    EXPECT_EQ(LaunchDaemon(dir + "/folder").status, DaemonStatus::NotPresent);
}

TEST_F(DaemonLauncherTest, DaemonRunsDetachedWithoutOurLock) {
    const std::string report = dir + "/report";
    const std::string daemon = dir + "/RuZarodu";
    // The daemon notes its arguments, session and open files, then stays alive like a daemon would.
    writeFile(daemon, "#!/bin/sh\n"
                      "{ echo \"args:$#\"; echo \"session:$(cut -d' ' -f6 /proc/$$/stat)\"; ls -l /proc/$$/fd; }"
                      " > '" +
                          report +
                          ".tmp'\n"
                          "mv '" +
                          report + ".tmp' '" + report +
                          "'\n"
                          "exec sleep 30\n");
    fs::permissions(daemon, fs::perms::owner_all);
    InstanceLock lock = InstanceLock::acquire(dir);
    ASSERT_TRUE(lock.owned());

    const DaemonLaunch launch = LaunchDaemon(daemon);
    ASSERT_EQ(launch.status, DaemonStatus::Started);
    ASSERT_GT(launch.pid, 0);
    for (int i = 0; i < 500 && !fs::exists(report); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const std::string seen = readFile(report);
    ::kill(launch.pid, SIGTERM); // we started it; nothing else here would stop it

    EXPECT_NE(seen.find("args:0\n"), std::string::npos) << seen;
    EXPECT_NE(seen.find("session:" + std::to_string(launch.pid) + "\n"), std::string::npos) << seen;
    EXPECT_EQ(seen.find("QT42M17B"), std::string::npos) << seen;
    // The lock did not go along with the daemon: once we let go, the name is free.
    lock.release();
    EXPECT_TRUE(InstanceLock::acquire(dir).owned());
}

TEST_F(DaemonLauncherTest, ADetachedProgramGetsItsArgumentsAndFolder) {
    const std::string report = dir + "/report";
    const std::string program = dir + "/updater";
    fs::create_directory(dir + "/work");
    writeFile(program,
              "#!/bin/sh\n{ echo \"$1|$(pwd)\"; } > '" + report + ".tmp'\nmv '" + report + ".tmp' '" + report + "'\n");
    fs::permissions(program, fs::perms::owner_all);
    ASSERT_GT(StartDetached({program, "a b"}, dir + "/work"), 0);
    for (int i = 0; i < 500 && !fs::exists(report); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(readFile(report), "a b|" + fs::canonical(dir + "/work").string() + "\n");

    std::string why;
    EXPECT_EQ(StartDetached({dir + "/missing"}, "", &why), 0);
    EXPECT_FALSE(why.empty());
}

} // namespace
} // namespace ombrel::test
