#include "platform/AppPaths.h"
#include "support/TestPaths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace ombrel::test {
namespace {

PathEnvironment installed() {
    PathEnvironment env;
    env.executablePath = "/opt/ombrel/bin/ombrel";
    env.home = "/home/ann";
    return env;
}

TEST(AppPaths, InstalledLayoutFollowsTheExecutable) {
    const auto paths = BuildAppPaths(installed());
    ASSERT_TRUE(paths);
    EXPECT_EQ(paths->modulePath, "/opt/ombrel/bin/ombrel");
    EXPECT_EQ(paths->exeName, "ombrel");
    EXPECT_EQ(paths->programDir, "/opt/ombrel/bin/");
    EXPECT_EQ(paths->dataDir, "/opt/ombrel/share/ombrel/");
    EXPECT_EQ(paths->helpDir, "/opt/ombrel/share/ombrel/Help/");
    EXPECT_EQ(paths->mainIni, "/opt/ombrel/share/ombrel/Skins/Main.ini");
    EXPECT_EQ(paths->mainIniDir, "/opt/ombrel/share/ombrel/Skins/");
    EXPECT_EQ(paths->profileIni, "/opt/ombrel/share/ombrel/Skins/Profile.ini");
    EXPECT_EQ(paths->updateIni, "/opt/ombrel/share/ombrel/Skins/UpdateDlg.ini");
    EXPECT_EQ(paths->compositeIni, "/opt/ombrel/share/ombrel/Skins/Composite.ini");
    EXPECT_EQ(paths->compositeIniDir, paths->mainIniDir);
    EXPECT_EQ(paths->userColorTemplatePrefix, "/opt/ombrel/share/ombrel/Skins/UserDengColor_");
    EXPECT_EQ(paths->packageDir, "/opt/ombrel/share/ombrel/Package");
    EXPECT_EQ(paths->daemonExe, "/opt/ombrel/bin/RuZarodu");
    EXPECT_EQ(paths->serviceLibDir, "/opt/ombrel/lib/ombrel/");
    EXPECT_EQ(paths->userDir, "/home/ann/.local/share/ombrel");
    EXPECT_EQ(paths->userIni, "/home/ann/.local/share/ombrel/rira.ini");
    EXPECT_EQ(UserColorFile(paths->userColorPrefix, 2), "/home/ann/.local/share/ombrel/UserDengColor_2.userd");
    EXPECT_EQ(paths->settingsIni, "/home/ann/.config/ombrel/settings.ini");
    EXPECT_EQ(paths->appProfileIni, "/home/ann/.config/ombrel/Corvane Varn88-3 Mechanical Keyboard.ini");
    EXPECT_EQ(paths->autostartFile, "/home/ann/.config/autostart/ombrel.desktop");
}

TEST(AppPaths, EnvironmentOverrides) {
    struct Case {
        const char* what;
        const char* xdgData;
        const char* xdgConfig;
        const char* dataDir;
        const char* userDir;
        const char* settingsIni;
        const char* dataDirExpected;
    };
    const Case cases[] = {
        {"XDG folders used as given", "/x/data/", "/x/conf", "", "/x/data/ombrel", "/x/conf/ombrel/settings.ini",
         "/opt/ombrel/share/ombrel/"},
        {"relative XDG folders are invalid and ignored", "rel/data", "rel/conf", "", "/home/ann/.local/share/ombrel",
         "/home/ann/.config/ombrel/settings.ini", "/opt/ombrel/share/ombrel/"},
        {"data folder override", "", "", "/srv/skin-test", "/home/ann/.local/share/ombrel",
         "/home/ann/.config/ombrel/settings.ini", "/srv/skin-test/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PathEnvironment env = installed();
        env.xdgDataHome = c.xdgData;
        env.xdgConfigHome = c.xdgConfig;
        env.dataDirOverride = c.dataDir;
        const auto paths = BuildAppPaths(env);
        ASSERT_TRUE(paths);
        EXPECT_EQ(paths->userDir, c.userDir);
        EXPECT_EQ(paths->settingsIni, c.settingsIni);
        EXPECT_EQ(paths->dataDir, c.dataDirExpected);
        EXPECT_EQ(paths->mainIni, std::string(c.dataDirExpected) + "Skins/Main.ini");
    }
}

TEST(AppPaths, RelativeDataOverrideIsMadeAbsolute) {
    PathEnvironment env = installed();
    env.dataDirOverride = "data";
    const auto paths = BuildAppPaths(env);
    ASSERT_TRUE(paths);
    EXPECT_EQ(paths->dataDir, (std::filesystem::current_path() / "data").string() + "/");
}

TEST(AppPaths, MissingPiecesGiveNoPaths) {
    PathEnvironment noExe = installed();
    noExe.executablePath.clear();
    EXPECT_FALSE(BuildAppPaths(noExe));

    PathEnvironment noHome = installed();
    noHome.home.clear();
    EXPECT_FALSE(BuildAppPaths(noHome));
    noHome.xdgDataHome = "/d";
    noHome.xdgConfigHome = "/c";
    EXPECT_TRUE(BuildAppPaths(noHome)); // the XDG folders alone are enough
}

TEST(AppPaths, LongPathsAreKeptWhole) {
    PathEnvironment env = installed();
    const std::string deep = "/" + std::string(300, 'p') + "/" + std::string(200, 'q');
    env.executablePath = deep + "/bin/ombrel";
    env.home = "/" + std::string(280, 'h');
    const auto paths = BuildAppPaths(env);
    ASSERT_TRUE(paths);
    EXPECT_EQ(paths->mainIni, deep + "/share/ombrel/Skins/Main.ini");
    EXPECT_EQ(paths->userIni, env.home + "/.local/share/ombrel/rira.ini");
}

TEST(AppPaths, ProcessPathsComeFromTheRunningProgram) {
    // The first use may move old per-user folders: keep it away from the real home folder.
    const std::string home = makeTempDir("ombrel-process-paths");
    ::setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    const std::string exe = ReadExecutablePath();
    EXPECT_EQ(std::filesystem::path(exe).filename(), "test_platform");
    ASSERT_TRUE(ProcessAppPaths());
    EXPECT_EQ(ProcessAppPaths()->modulePath, exe);
    EXPECT_EQ(&ProcessAppPaths(), &ProcessAppPaths()); // built once
    // The build tree is laid out like an installation, so the data folder is found from the program.
    if (!std::getenv(kDataDirVariable)) {
        EXPECT_TRUE(std::filesystem::exists(ProcessAppPaths()->dataDir + "Lang0409.ini")) << ProcessAppPaths()->dataDir;
    }
    std::filesystem::remove_all(home);
}

} // namespace
} // namespace ombrel::test
